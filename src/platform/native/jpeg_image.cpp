#include "platform/native/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

#include "common/text.h"

namespace korvel {

namespace {

// libjpeg reports fatal errors through a callback that must not return; we
// jump back to the caller and report "not decodable" instead of exiting.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}
void onMessage(j_common_ptr) {}  // warnings are not printed

// Skins are small; refuse absurd sizes from a damaged header.
constexpr JDIMENSION kMaxSide = 16384;

}  // namespace

std::optional<Canvas> decodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0) return std::nullopt;
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
    // Everything touched after setjmp that must survive a longjmp is either
    // set before it or lives outside this frame.
    auto* result = new Canvas();
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > kMaxSide || info.image_height > kMaxSide) {
        jpeg_destroy_decompress(&info);
        delete result;
        return std::nullopt;
    }
    info.out_color_space = JCS_RGB;
    // The accurate integer transform and fancy upsampling are the library's
    // defaults; they are named here because they decide the exact pixels.
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&info);
    *result = Canvas(static_cast<std::int32_t>(info.output_width), static_cast<std::int32_t>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->data() + static_cast<std::size_t>(info.output_scanline) * result->stride();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::optional<Canvas> out(std::move(*result));
    delete result;
    return out;
}

std::optional<Canvas> JpegImageDecoder::decode(std::u16string_view path) {
    std::ifstream in(toPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeJpeg(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> encodeJpeg(const Canvas& canvas, int quality, bool fullChroma) {
    std::vector<std::uint8_t> out;
    if (canvas.empty()) return out;
    jpeg_compress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = static_cast<JDIMENSION>(canvas.width());
    info.image_height = static_cast<JDIMENSION>(canvas.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    if (fullChroma) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(canvas.data()) + static_cast<std::size_t>(info.next_scanline) * canvas.stride();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + length);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace korvel
