#pragma once
// The image decoder of the Windows program: skin JPEGs through GDI+.
#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/canvas.h"
#include "ui/skin_image.h"

namespace korvel::win32 {

// Starts GDI+ for its lifetime (one instance for the run, created on the
// user-interface thread before the first paint).
class GdiplusImageDecoder : public ImageDecoderPort {
public:
    GdiplusImageDecoder();
    ~GdiplusImageDecoder() override;
    GdiplusImageDecoder(const GdiplusImageDecoder&) = delete;
    GdiplusImageDecoder& operator=(const GdiplusImageDecoder&) = delete;

    bool started() const { return token_ != 0; }
    std::optional<Canvas> decode(std::u16string_view path) override;

private:
    std::uintptr_t token_ = 0;
};

}  // namespace korvel::win32
