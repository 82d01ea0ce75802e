#pragma once
// The skinned windows' drawing at the Win32 edge: showing a composed canvas
// on a window's surface, and the text-renderer port on GDI with the program's
// two fonts (englishFont and chineseFont).
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/canvas.h"
#include "ui/text_renderer.h"

namespace korvel::win {

// Copies the canvas to the device context at (x, y), one to one.
void showCanvas(HDC dc, std::int32_t x, std::int32_t y, const Canvas& canvas);

// Text through GDI: GetTextExtentPointW to measure, TextOutW with a
// transparent background to draw. The canvas pixels under the text are put
// into a DIB section, written on there and copied back.
class GdiTextRenderer : public TextRendererPort {
public:
    GdiTextRenderer();
    ~GdiTextRenderer() override;
    GdiTextRenderer(const GdiTextRenderer&) = delete;
    GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

    TextExtent measure(UiFont font, std::u16string_view text) override;
    void draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
              Rgb colour) override;

private:
    bool ensureSurface(std::int32_t width, std::int32_t height);
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

// The process's one GDI text renderer (user-interface thread only).
GdiTextRenderer& gdiText();

}  // namespace korvel::win
