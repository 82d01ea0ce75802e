#pragma once
// Skin images: JPEG files in skinFolder decoded into canvases through the
// platform's decoder (GDI+ on Windows, libjpeg-turbo elsewhere).
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/canvas.h"

namespace korvel {

// Decodes an image file into RGB pixels; nothing when the file is missing or
// cannot be decoded.
class ImageDecoderPort {
public:
    virtual ~ImageDecoderPort() = default;
    virtual std::optional<Canvas> decode(std::u16string_view path) = 0;
};

// A decoded skin file. A missing or undecodable file gives an empty image
// (0 x 0): copies from it copy nothing, and a mask of it gives no window.
struct SkinImage {
    Canvas pixels;
    bool loaded = false;
    std::int32_t width() const { return pixels.width(); }
    std::int32_t height() const { return pixels.height(); }
};

// Image names of the skin (appended to skinFolder as they stand).
namespace skinFile {
inline constexpr std::u16string_view kMainNormal = u"\\main_normal.jpg";
inline constexpr std::u16string_view kMainOver = u"\\main_over.jpg";
inline constexpr std::u16string_view kMainDown = u"\\main_down.jpg";
inline constexpr std::u16string_view kMainMask = u"\\main_mask.jpg";
inline constexpr std::u16string_view kAdvancedNormal = u"\\advanced_normal.jpg";
inline constexpr std::u16string_view kAdvancedOver = u"\\advanced_over.jpg";
inline constexpr std::u16string_view kAdvancedDown = u"\\advanced_down.jpg";
inline constexpr std::u16string_view kColourNormal = u"\\color_normal_pink.jpg";
inline constexpr std::u16string_view kColourOver = u"\\color_over_red.jpg";
inline constexpr std::u16string_view kColourDown = u"\\color_down_purple.jpg";
inline constexpr std::u16string_view kColourUnlit = u"\\color_normal_gray.jpg";
inline constexpr std::u16string_view kColourBlue = u"\\color_over_blue.jpg";
inline constexpr std::u16string_view kMenuNormal = u"\\menu_normal.jpg";
inline constexpr std::u16string_view kMenuOver = u"\\menu_over.jpg";
inline constexpr std::u16string_view kMenuDown = u"\\menu_down.jpg";
inline constexpr std::u16string_view kMenuMask = u"\\menu_mask.jpg";
inline constexpr std::u16string_view kSubMenuNormal = u"\\advanced menu_normal.jpg";
inline constexpr std::u16string_view kSubMenuOver = u"\\advanced menu_over.jpg";
inline constexpr std::u16string_view kSubMenuDown = u"\\advanced menu_down.jpg";
inline constexpr std::u16string_view kSubMenuMask = u"\\advanced menu_mask.jpg";
inline constexpr std::u16string_view kWarningNormal = u"\\warning_normal.jpg";
inline constexpr std::u16string_view kWarningOver = u"\\warning_over.jpg";
inline constexpr std::u16string_view kWarningMask = u"\\warning_mask.jpg";
inline constexpr std::u16string_view kAll[] = {
    kMainNormal,  kMainOver,     kMainDown,       kMainMask,    kAdvancedNormal, kAdvancedOver,
    kAdvancedDown, kColourNormal, kColourOver,    kColourDown,  kColourUnlit,    kColourBlue,
    kMenuNormal,  kMenuOver,     kMenuDown,       kMenuMask,    kSubMenuNormal,  kSubMenuOver,
    kSubMenuDown, kSubMenuMask,  kWarningNormal,  kWarningOver, kWarningMask};
}  // namespace skinFile

// Decodes skinFolder + name, with no caching.
SkinImage loadSkinImage(ImageDecoderPort& decoder, std::u16string_view skinFolder, std::u16string_view name);

// Decoded skin images kept between paints. The skin files do not change
// while the program runs, so each is decoded once; what is drawn is the same
// as decoding for every paint. User-interface thread only.
class SkinImageCache {
public:
    SkinImageCache(ImageDecoderPort& decoder, std::u16string skinFolder);
    // The image of that name; the reference stays valid until clear().
    const SkinImage& get(std::u16string_view name);
    void clear() { images_.clear(); }
    const std::u16string& skinFolder() const { return skinFolder_; }

private:
    ImageDecoderPort& decoder_;
    std::u16string skinFolder_;
    std::map<std::u16string, std::unique_ptr<SkinImage>, std::less<>> images_;
};

}  // namespace korvel
