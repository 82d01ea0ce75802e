#pragma once
// Text on skinned surfaces: captions of the pages, the function menus and the
// warning dialog. Every skinned window writes in one of two fonts, chosen by
// the language edition; the platform measures and draws (GDI on Windows,
// FreeType in the native tools, fixed-width boxes in tests).
#include <cstdint>
#include <string_view>

#include "ui/canvas.h"
#include "ui/layout.h"

namespace korvel {

enum class UiFont : std::uint8_t {
    English,  // englishFont: "Consolas", 14 high, 7 wide, fixed pitch
    Chinese,  // chineseFont: "宋体", 12 high, 6 wide
};

// The font of an edition: englishFont for every verSel but 0.
inline UiFont editionUiFont(std::int32_t verSel) { return verSel != 0 ? UiFont::English : UiFont::Chinese; }

struct TextExtent {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    bool operator==(const TextExtent&) const = default;
};

inline constexpr Rgb kCaptionWhite{255, 255, 255};
inline constexpr Rgb kCaptionRed{255, 0, 0};

class TextRendererPort {
public:
    virtual ~TextRendererPort() = default;
    // The extent of the text written in one line.
    virtual TextExtent measure(UiFont font, std::u16string_view text) = 0;
    // Writes the text in one line with a transparent background, its cell's
    // top-left corner at (x, y), unclipped except by the canvas.
    virtual void draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
                      Rgb colour) = 0;
};

// Where centred text starts: box x + (box width - cx) / 2 and the same
// vertically, divisions truncating toward zero; saturated to 32 bits.
std::int32_t centredStart(std::int32_t boxStart, std::int32_t boxSize, std::int32_t textSize);

// Writes the text centred in the box; returns where it went.
TextExtent drawTextCentred(TextRendererPort& text, Canvas& canvas, UiFont font, const SkinBox& box,
                           std::u16string_view caption, Rgb colour);

// A deterministic renderer for tests and for tools without fonts: every code
// unit is a cell as wide as its font's advance (full-width characters twice
// as wide in the Chinese font), as high as the font; a visible character is
// drawn as a solid block inside its cell, one pixel in from each side and
// two from the top and bottom, a blank leaves its cell untouched.
class BoxTextRenderer : public TextRendererPort {
public:
    static constexpr std::int32_t kEnglishAdvance = 7, kEnglishHeight = 14;
    static constexpr std::int32_t kChineseAdvance = 6, kChineseHeight = 12;

    static std::int32_t advance(UiFont font, char16_t c);
    static std::int32_t height(UiFont font);

    TextExtent measure(UiFont font, std::u16string_view text) override;
    void draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
              Rgb colour) override;
};

}  // namespace korvel
