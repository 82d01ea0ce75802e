#include "platform/native/freetype_text.h"

#include <algorithm>
#include <limits>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace korvel {

namespace {

// UTF-16 to code points; a lone surrogate stands for itself.
template <class F>
void forEachCodePoint(std::u16string_view text, F&& f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        f(c);
    }
}

struct Face {
    FT_Face face = nullptr;
    std::int32_t cellHeight = 0;
    std::int32_t ascent = 0;
};

bool openFace(FT_Library library, const std::string& file, std::int32_t cellHeight, std::int32_t cellWidth,
              Face& out) {
    if (FT_New_Face(library, file.c_str(), 0, &out.face) != 0) return false;
    // Like a Windows font of this height: the cell (ascender + descender) is
    // the height. A fixed-pitch font also takes the width as its advance.
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = cellHeight * 64;
    request.width = cellWidth * 64;
    if (FT_Request_Size(out.face, &request) != 0) return false;
    out.cellHeight = cellHeight;
    out.ascent = static_cast<std::int32_t>((out.face->size->metrics.ascender + 63) >> 6);
    return true;
}

}  // namespace

struct FreeTypeTextRenderer::Impl {
    FT_Library library = nullptr;
    Face english;
    Face chinese;
    ~Impl() {
        if (english.face) FT_Done_Face(english.face);
        if (chinese.face) FT_Done_Face(chinese.face);
        if (library) FT_Done_FreeType(library);
    }
    Face& face(UiFont font) { return font == UiFont::English ? english : chinese; }
};

FreeTypeTextRenderer::FreeTypeTextRenderer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FreeTypeTextRenderer::~FreeTypeTextRenderer() = default;

std::unique_ptr<FreeTypeTextRenderer> FreeTypeTextRenderer::open(const std::string& englishFile,
                                                                 const std::string& chineseFile) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return nullptr;
    if (!openFace(impl->library, englishFile, 14, 7, impl->english)) return nullptr;
    if (!openFace(impl->library, chineseFile, 12, 0, impl->chinese)) return nullptr;
    return std::unique_ptr<FreeTypeTextRenderer>(new FreeTypeTextRenderer(std::move(impl)));
}

TextExtent FreeTypeTextRenderer::measure(UiFont font, std::u16string_view text) {
    Face& f = impl_->face(font);
    std::int64_t advance = 0;
    forEachCodePoint(text, [&](char32_t c) {
        if (FT_Load_Char(f.face, c, FT_LOAD_DEFAULT) == 0) advance += f.face->glyph->advance.x;
    });
    const std::int64_t cx = (advance + 32) >> 6;
    return TextExtent{static_cast<std::int32_t>(std::min<std::int64_t>(cx, std::numeric_limits<std::int32_t>::max())),
                      f.cellHeight};
}

void FreeTypeTextRenderer::draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font,
                                std::u16string_view text, Rgb colour) {
    Face& f = impl_->face(font);
    if (y >= canvas.height() || std::int64_t{y} + f.cellHeight <= 0) return;
    const std::int64_t baseline = std::int64_t{y} + f.ascent;
    std::int64_t pen = std::int64_t{x} << 6;
    forEachCodePoint(text, [&](char32_t c) {
        if ((pen >> 6) >= canvas.width()) return;
        if (FT_Load_Char(f.face, c, FT_LOAD_RENDER) != 0) return;
        const FT_GlyphSlot g = f.face->glyph;
        const std::int64_t left = (pen >> 6) + g->bitmap_left;
        const std::int64_t top = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            const std::int64_t py = top + row;
            if (py < 0 || py >= canvas.height()) continue;
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const std::int64_t px = left + col;
                if (px < 0 || px >= canvas.width()) continue;
                const unsigned a = g->bitmap.buffer[static_cast<std::ptrdiff_t>(row) * g->bitmap.pitch + col];
                if (a == 0) continue;
                const Rgb under = canvas.pixel(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py));
                auto mix = [a](std::uint8_t fg, std::uint8_t bg) {
                    return static_cast<std::uint8_t>((fg * a + bg * (255 - a) + 127) / 255);
                };
                canvas.setPixel(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py),
                                Rgb{mix(colour.r, under.r), mix(colour.g, under.g), mix(colour.b, under.b)});
            }
        }
        pen += g->advance.x;
    });
}

}  // namespace korvel
