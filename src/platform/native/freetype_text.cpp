#include "platform/native/freetype_text.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

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

// A rendered glyph, kept: captions repeat on every paint.
struct Glyph {
    bool loaded = false;
    long advance = 0;  // 26.6
    std::int32_t left = 0, top = 0, width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;  // rows x width
};

struct Face {
    FT_Face face = nullptr;
    std::int32_t cellHeight = 0;
    std::int32_t ascent = 0;
    std::unordered_map<char32_t, Glyph> glyphs;

    const Glyph& glyph(char32_t c) {
        auto it = glyphs.find(c);
        if (it != glyphs.end()) return it->second;
        Glyph g;
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) == 0) {
            const FT_GlyphSlot slot = face->glyph;
            g.loaded = true;
            g.advance = slot->advance.x;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<std::int32_t>(slot->bitmap.width);
            g.rows = static_cast<std::int32_t>(slot->bitmap.rows);
            g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
            for (std::int32_t r = 0; r < g.rows; ++r)
                std::copy_n(slot->bitmap.buffer + static_cast<std::ptrdiff_t>(r) * slot->bitmap.pitch, g.width,
                            g.coverage.begin() + static_cast<std::ptrdiff_t>(r) * g.width);
        }
        return glyphs.emplace(c, std::move(g)).first->second;
    }
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
    forEachCodePoint(text, [&](char32_t c) { advance += f.glyph(c).advance; });
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
        const Glyph& g = f.glyph(c);
        if (!g.loaded) return;
        const std::int64_t left = (pen >> 6) + g.left;
        const std::int64_t top = baseline - g.top;
        for (std::int32_t row = 0; row < g.rows; ++row) {
            const std::int64_t py = top + row;
            if (py < 0 || py >= canvas.height()) continue;
            for (std::int32_t col = 0; col < g.width; ++col) {
                const std::int64_t px = left + col;
                if (px < 0 || px >= canvas.width()) continue;
                const unsigned a = g.coverage[static_cast<std::size_t>(row) * g.width + col];
                if (a == 0) continue;
                const Rgb under = canvas.pixel(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py));
                auto mix = [a](std::uint8_t fg, std::uint8_t bg) {
                    return static_cast<std::uint8_t>((fg * a + bg * (255 - a) + 127) / 255);
                };
                canvas.setPixel(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py),
                                Rgb{mix(colour.r, under.r), mix(colour.g, under.g), mix(colour.b, under.b)});
            }
        }
        pen += g.advance;
    });
}

}  // namespace korvel
