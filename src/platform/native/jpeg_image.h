#pragma once
// The image decoder of the native build: JPEG files through libjpeg-turbo.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"
#include "ui/skin_image.h"

namespace korvel {

class JpegImageDecoder : public ImageDecoderPort {
public:
    std::optional<Canvas> decode(std::u16string_view path) override;
};

// Decodes JPEG bytes in memory; nothing when they are not a valid JPEG.
std::optional<Canvas> decodeJpeg(const std::uint8_t* data, std::size_t size);

// Encodes a canvas as a baseline JPEG of the given quality (1-100). With
// `fullChroma` the colour is kept at full resolution (4:4:4), which keeps
// sharp coloured edges and pure black-and-white masks exact.
std::vector<std::uint8_t> encodeJpeg(const Canvas& canvas, int quality, bool fullChroma);

}  // namespace korvel
