#include "text.h"

#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace skingen {

namespace {
FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l)) throw std::runtime_error("FreeType did not start");
        return l;
    }();
    return lib;
}
}  // namespace

std::u32string codePoints(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

struct Font::Impl {
    FT_Face face = nullptr;
};

Font::Font(const std::string& path, int pixelHeight) : impl_(std::make_unique<Impl>()) {
    if (FT_New_Face(library(), path.c_str(), 0, &impl_->face)) throw std::runtime_error("cannot open font " + path);
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixelHeight));
}

Font::~Font() {
    if (impl_->face) FT_Done_Face(impl_->face);
}

int Font::measure(std::string_view utf8) const {
    long width = 0;
    for (char32_t cp : codePoints(utf8)) {
        if (FT_Load_Char(impl_->face, cp, FT_LOAD_DEFAULT)) continue;
        width += impl_->face->glyph->advance.x;
    }
    return static_cast<int>((width + 32) >> 6);
}

int Font::ascent() const { return static_cast<int>(impl_->face->size->metrics.ascender >> 6); }
int Font::lineHeight() const {
    return static_cast<int>((impl_->face->size->metrics.ascender - impl_->face->size->metrics.descender) >> 6);
}

void Font::draw(Canvas& c, int x, int baseline, std::string_view utf8, Rgb colour, float alpha,
                const Clip& clip) const {
    long pen = static_cast<long>(x) << 6;
    for (char32_t cp : codePoints(utf8)) {
        if (FT_Load_Char(impl_->face, cp, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot g = impl_->face->glyph;
        const int left = static_cast<int>(pen >> 6) + g->bitmap_left;
        const int top = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const unsigned char v = g->bitmap.buffer[row * g->bitmap.pitch + col];
                if (v) blend(c, left + static_cast<int>(col), top + static_cast<int>(row), colour, alpha * v / 255.0f, clip);
            }
        pen += g->advance.x;
    }
}

void Font::drawCentred(Canvas& c, int x, int y, int w, int h, std::string_view utf8, Rgb colour, float alpha,
                       const Clip& clip) const {
    const int tw = measure(utf8);
    const int asc = static_cast<int>(impl_->face->size->metrics.ascender >> 6);
    const int desc = static_cast<int>(-(impl_->face->size->metrics.descender >> 6));
    const int baseline = y + (h - (asc + desc)) / 2 + asc;
    draw(c, x + (w - tw) / 2, baseline, utf8, colour, alpha, clip);
}

}  // namespace skingen
