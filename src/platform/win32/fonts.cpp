#include "fonts.h"

namespace korvel::win {

namespace {
HFONT gEnglish = nullptr;
HFONT gChinese = nullptr;
}  // namespace

void createFonts() {
    if (gEnglish == nullptr)
        gEnglish = CreateFontW(14, 7, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_CHARACTER_PRECIS,
                               CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, L"Consolas");
    if (gChinese == nullptr)
        gChinese = CreateFontW(12, 6, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"宋体");
}

HFONT englishFont() { return gEnglish; }
HFONT chineseFont() { return gChinese; }
HFONT editionFont(std::int32_t verSel) { return verSel != 0 ? gEnglish : gChinese; }

}  // namespace korvel::win
