#include "ui/skin_image.h"

namespace korvel {

SkinImage loadSkinImage(ImageDecoderPort& decoder, std::u16string_view skinFolder, std::u16string_view name) {
    std::u16string path(skinFolder);
    path += name;
    SkinImage image;
    if (std::optional<Canvas> decoded = decoder.decode(path)) {
        image.pixels = std::move(*decoded);
        image.loaded = !image.pixels.empty();
    }
    return image;
}

SkinImageCache::SkinImageCache(ImageDecoderPort& decoder, std::u16string skinFolder)
    : decoder_(decoder), skinFolder_(std::move(skinFolder)) {}

const SkinImage& SkinImageCache::get(std::u16string_view name) {
    auto it = images_.find(name);
    if (it == images_.end())
        it = images_.emplace(std::u16string(name),
                             std::make_unique<SkinImage>(loadSkinImage(decoder_, skinFolder_, name)))
                 .first;
    return *it->second;
}

}  // namespace korvel
