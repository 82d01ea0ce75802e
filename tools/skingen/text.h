#pragma once
// Text baked into skin images (and into the preview pictures that show how
// the program's captions will sit on them), rendered with FreeType.
#include <memory>
#include <string>
#include <string_view>

#include "raster.h"

namespace skingen {

class Font {
public:
    // Opens a font file; throws std::runtime_error when it cannot.
    Font(const std::string& path, int pixelHeight);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width of a UTF-8 text in pixels, and the line's ascent.
    int measure(std::string_view utf8) const;
    int ascent() const;
    int lineHeight() const;
    // Draws the text with its baseline at y.
    void draw(Canvas& c, int x, int baseline, std::string_view utf8, Rgb colour, float alpha = 1.0f,
              const Clip& clip = {}) const;
    // Centred in a box (by advance width and ascent/descent of the face).
    void drawCentred(Canvas& c, int x, int y, int w, int h, std::string_view utf8, Rgb colour, float alpha = 1.0f,
                     const Clip& clip = {}) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Decodes UTF-8 into code points (invalid bytes are skipped).
std::u32string codePoints(std::string_view utf8);

}  // namespace skingen
