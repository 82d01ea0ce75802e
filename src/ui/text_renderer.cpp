#include "ui/text_renderer.h"

#include <algorithm>
#include <limits>

namespace korvel {

std::int32_t centredStart(std::int32_t boxStart, std::int32_t boxSize, std::int32_t textSize) {
    const std::int64_t v = std::int64_t{boxStart} + (std::int64_t{boxSize} - textSize) / 2;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

TextExtent drawTextCentred(TextRendererPort& text, Canvas& canvas, UiFont font, const SkinBox& box,
                           std::u16string_view caption, Rgb colour) {
    const TextExtent e = text.measure(font, caption);
    const std::int32_t x = centredStart(box.x, box.width, e.cx);
    const std::int32_t y = centredStart(box.y, box.height, e.cy);
    text.draw(canvas, x, y, font, caption, colour);
    return TextExtent{x, y};
}

namespace {
bool fullWidth(char16_t c) {
    // CJK, kana, Hangul and the full-width forms take two cells.
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}
}  // namespace

std::int32_t BoxTextRenderer::advance(UiFont font, char16_t c) {
    const std::int32_t base = font == UiFont::English ? kEnglishAdvance : kChineseAdvance;
    return font == UiFont::Chinese && fullWidth(c) ? 2 * base : base;
}

std::int32_t BoxTextRenderer::height(UiFont font) { return font == UiFont::English ? kEnglishHeight : kChineseHeight; }

TextExtent BoxTextRenderer::measure(UiFont font, std::u16string_view text) {
    std::int64_t cx = 0;
    for (char16_t c : text) cx += advance(font, c);
    return TextExtent{static_cast<std::int32_t>(std::min<std::int64_t>(cx, std::numeric_limits<std::int32_t>::max())),
                      text.empty() ? 0 : height(font)};
}

void BoxTextRenderer::draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
                           Rgb colour) {
    const std::int32_t h = height(font);
    // Far-away text (a box from a hand-edited file) draws nothing.
    if (y >= canvas.height() || std::int64_t{y} + h <= 0 || x >= canvas.width()) return;
    std::int64_t pen = x;
    for (char16_t c : text) {
        const std::int32_t a = advance(font, c);
        if (pen >= canvas.width()) break;
        if (c != u' ' && pen + a > 0) canvas.fillRect(static_cast<std::int32_t>(pen) + 1, y + 2, a - 2, h - 4, colour);
        pen += a;
    }
}

}  // namespace korvel
