#pragma once
// A small test skin held in memory: every image is one solid colour, so the
// look of a box tells which image it came from, and the layout puts every
// control on its own square of a grid.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "macro/macro_library.h"
#include "profile/profile.h"
#include "ui/canvas.h"
#include "ui/layout.h"
#include "ui/page_painter.h"
#include "ui/skin_image.h"
#include "ui/text_renderer.h"
#include "ui/ui_state.h"

namespace korvel::test {

inline constexpr Rgb kNormal{10, 10, 10};
inline constexpr Rgb kOver{20, 200, 20};
inline constexpr Rgb kDown{200, 20, 20};
inline constexpr Rgb kUnlit{90, 90, 90};
inline constexpr Rgb kBlue{0, 0, 200};
inline constexpr Rgb kColourNormal{60, 10, 60};
inline constexpr Rgb kColourOver{230, 40, 40};
inline constexpr Rgb kColourDown{110, 30, 200};
inline constexpr std::int32_t kSkinW = 400, kSkinH = 360;

// Serves named pictures of the test skin and counts decodes.
class MemoryDecoder : public ImageDecoderPort {
public:
    std::optional<Canvas> decode(std::u16string_view path) override {
        ++decodes;
        for (const auto& [name, picture] : files)
            if (path.size() >= name.size() && path.substr(path.size() - name.size()) == name) return picture;
        return std::nullopt;
    }
    std::map<std::u16string, Canvas> files;
    int decodes = 0;
};

inline void addPageImages(MemoryDecoder& d) {
    const struct {
        std::u16string_view name;
        Rgb colour;
    } images[] = {{skinFile::kMainNormal, kNormal},         {skinFile::kMainOver, kOver},
                  {skinFile::kMainDown, kDown},             {skinFile::kAdvancedNormal, kNormal},
                  {skinFile::kAdvancedOver, kOver},         {skinFile::kAdvancedDown, kDown},
                  {skinFile::kColourNormal, kColourNormal}, {skinFile::kColourOver, kColourOver},
                  {skinFile::kColourDown, kColourDown},     {skinFile::kColourUnlit, kUnlit},
                  {skinFile::kColourBlue, kBlue}};
    for (const auto& i : images) d.files[std::u16string(i.name)] = Canvas(kSkinW, kSkinH, i.colour);
}

// Main entry i on a 16-column grid of 20-pixel squares (24 apart) from the
// top; colour entries on a row below; advanced entries on rows below that,
// except the fire-time bar, 300 pixels wide at the bottom.
inline SkinBox gridBox(int column, int row, std::int32_t top) { return SkinBox{column * 24, top + row * 24, 20, 20}; }

inline SkinLayouts testLayouts() {
    SkinLayouts L;
    for (int i = 0; i < static_cast<int>(kMainEntries); ++i) {
        L.mainBoxes[i] = gridBox(i % 16, i / 16, 0);
        L.mainCaptions[i] = u"m" + decimalText(i);
    }
    for (int j = 0; j < static_cast<int>(kColourEntries); ++j) {
        L.colourBoxes[j] = gridBox(j, 0, 200);
        L.colourCaptions[j] = u"c" + decimalText(j);
    }
    for (int j = 0; j < static_cast<int>(kAdvancedEntries); ++j) {
        L.advancedBoxes[j] = gridBox(j % 16, j / 16, 230);
        L.advancedCaptions[j] = u"a" + decimalText(j);
    }
    L.advancedBoxes[30] = SkinBox{10, 330, 300, 10};
    for (int n = 1; n < static_cast<int>(L.functionCaptions.size()); ++n) L.functionCaptions[n] = u"F" + decimalText(n);
    L.functionCaptions[14] = u"OFF";
    L.warningBoxes = {SkinBox{10, 60, 50, 20}, SkinBox{70, 60, 50, 20}, SkinBox{0, 10, 160, 20}};
    L.warningCaptions = {u"Go", u"No", u"Only left button"};
    return L;
}

// Every text the painter writes, on top of the fixed-width boxes.
class RecordingText : public BoxTextRenderer {
public:
    struct Call {
        std::int32_t x, y;
        UiFont font;
        std::u16string text;
        Rgb colour;
    };
    void draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
              Rgb colour) override {
        calls.push_back(Call{x, y, font, std::u16string(text), colour});
        BoxTextRenderer::draw(canvas, x, y, font, text, colour);
    }
    const Call* find(std::u16string_view text) const {
        for (const Call& c : calls)
            if (c.text == text) return &c;
        return nullptr;
    }
    std::vector<Call> calls;
};

// The colour that fills most of a box's inside (its centre pixel).
inline Rgb centreOf(const Canvas& c, const SkinBox& b) { return c.pixel(b.x + b.width / 2, b.y + b.height / 2); }

inline void setMacroNames(MacroTables& macros, int count) {
    macros.userMacroCount = static_cast<std::int16_t>(count);
    for (int i = 0; i < count; ++i) setMacroName(macros.userMacros[i], u"Macro" + decimalText(i + 1));
}

}  // namespace korvel::test
