#include "platform/win32/gdiplus_image.h"

#include <windows.h>
// The GDI+ headers call unqualified min and max, which windows.h only
// provides without NOMINMAX; give them the standard ones either way.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <string>

namespace korvel::win32 {

GdiplusImageDecoder::GdiplusImageDecoder() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusImageDecoder::~GdiplusImageDecoder() {
    if (token_) Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(token_));
}

std::optional<Canvas> GdiplusImageDecoder::decode(std::u16string_view path) {
    if (!token_) return std::nullopt;
    const std::wstring wide(path.begin(), path.end());
    Gdiplus::Bitmap bitmap(wide.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    const UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    if (width == 0 || height == 0 || width > 16384 || height > 16384) return std::nullopt;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok)
        return std::nullopt;
    Canvas canvas(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    for (UINT y = 0; y < height; ++y) {
        // Rows may run bottom-up (negative stride); pixels are blue, green, red.
        const auto* from = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::uint8_t* to = canvas.data() + static_cast<std::size_t>(y) * canvas.stride();
        for (UINT x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    bitmap.UnlockBits(&data);
    return canvas;
}

}  // namespace korvel::win32
