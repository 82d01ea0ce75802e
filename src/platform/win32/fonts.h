#pragma once
// The two text fonts of every skinned window, created once and kept for the run.
#include <windows.h>

#include <cstdint>

namespace korvel::win {

void createFonts();
HFONT englishFont();
HFONT chineseFont();
// The font of the edition: English for every verSel but 0.
HFONT editionFont(std::int32_t verSel);

}  // namespace korvel::win
