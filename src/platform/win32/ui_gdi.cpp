#include "ui_gdi.h"

#include <algorithm>

#include "fonts.h"
#include "win_text.h"

namespace korvel::win {

namespace {

HFONT fontOf(UiFont font) { return font == UiFont::English ? englishFont() : chineseFont(); }

BITMAPINFO topDownInfo(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The extra room around measured text: glyphs may overhang their advance.
constexpr std::int32_t kOverhang = 4;

}  // namespace

void showCanvas(HDC dc, std::int32_t x, std::int32_t y, const Canvas& canvas) {
    if (canvas.empty()) return;
    // 32-bit rows need no padding; GDI wants blue, green, red, unused.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(canvas.width()) * canvas.height() * 4);
    const std::uint8_t* from = canvas.data();
    std::uint8_t* to = pixels.data();
    const std::size_t count = static_cast<std::size_t>(canvas.width()) * canvas.height();
    for (std::size_t i = 0; i < count; ++i, from += 3, to += 4) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
        to[3] = 0;
    }
    const BITMAPINFO info = topDownInfo(canvas.width(), canvas.height());
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(canvas.width()), static_cast<DWORD>(canvas.height()), 0, 0, 0,
                      static_cast<UINT>(canvas.height()), pixels.data(), &info, DIB_RGB_COLORS);
}

GdiTextRenderer::GdiTextRenderer() { dc_ = CreateCompatibleDC(nullptr); }

GdiTextRenderer::~GdiTextRenderer() {
    if (dc_ != nullptr && oldBitmap_ != nullptr) SelectObject(dc_, oldBitmap_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
}

bool GdiTextRenderer::ensureSurface(std::int32_t width, std::int32_t height) {
    if (dc_ == nullptr) return false;
    if (bitmap_ != nullptr && width <= width_ && height <= height_) return true;
    width = std::max(width, width_);
    height = std::max(height, height_);
    const BITMAPINFO info = topDownInfo(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return false;
    HGDIOBJ old = SelectObject(dc_, bitmap);
    if (oldBitmap_ == nullptr) oldBitmap_ = old;
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    bitmap_ = bitmap;
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

TextExtent GdiTextRenderer::measure(UiFont font, std::u16string_view text) {
    if (dc_ == nullptr) return {};
    const std::wstring w = wide(text);
    HGDIOBJ old = SelectObject(dc_, fontOf(font));
    SIZE size{};
    GetTextExtentPointW(dc_, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc_, old);
    return TextExtent{size.cx, size.cy};
}

void GdiTextRenderer::draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
                           Rgb colour) {
    if (text.empty()) return;
    const TextExtent e = measure(font, text);
    // The part of the canvas the text can touch.
    const SkinBox area = clipBox(SkinBox{static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{x} - kOverhang, INT32_MIN)), y,
                                         static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{e.cx} + 2 * kOverhang, INT32_MAX)),
                                         e.cy + kOverhang},
                                 canvas.width(), canvas.height());
    if (area.width <= 0 || area.height <= 0 || !ensureSurface(area.width, area.height)) return;
    GdiFlush();
    for (std::int32_t row = 0; row < area.height; ++row) {
        const std::uint8_t* from = canvas.data() + static_cast<std::size_t>(area.y + row) * canvas.stride() + std::size_t(area.x) * 3;
        std::uint8_t* to = bits_ + static_cast<std::size_t>(row) * width_ * 4;
        for (std::int32_t i = 0; i < area.width; ++i, from += 3, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    const std::wstring w = wide(text);
    HGDIOBJ old = SelectObject(dc_, fontOf(font));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(colour.r, colour.g, colour.b));
    TextOutW(dc_, x - area.x, y - area.y, w.c_str(), static_cast<int>(w.size()));
    SelectObject(dc_, old);
    GdiFlush();
    for (std::int32_t row = 0; row < area.height; ++row) {
        const std::uint8_t* from = bits_ + static_cast<std::size_t>(row) * width_ * 4;
        std::uint8_t* to = canvas.data() + static_cast<std::size_t>(area.y + row) * canvas.stride() + std::size_t(area.x) * 3;
        for (std::int32_t i = 0; i < area.width; ++i, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

GdiTextRenderer& gdiText() {
    static GdiTextRenderer renderer;
    return renderer;
}

}  // namespace korvel::win
