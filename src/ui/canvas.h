#pragma once
// An RGB picture in memory: the surface pages and popups are composed on, and
// the form every decoded skin image takes. All drawing is clipped to the
// picture, so a box from a hand-edited layout file can never reach outside it.
#include <cstdint>
#include <vector>

#include "ui/layout.h"

namespace korvel {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

class Canvas {
public:
    Canvas() = default;
    // A picture of the given size (sizes below 0 give an empty picture),
    // filled with one colour.
    Canvas(std::int32_t width, std::int32_t height, Rgb fill = {});

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    bool inside(std::int32_t x, std::int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Pixels outside the picture read as black and ignore writes.
    Rgb pixel(std::int32_t x, std::int32_t y) const;
    void setPixel(std::int32_t x, std::int32_t y, Rgb c);

    // Rows top to bottom, three bytes (red, green, blue) per pixel, no padding.
    const std::uint8_t* data() const { return pixels_.data(); }
    std::uint8_t* data() { return pixels_.data(); }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * 3; }

    void fill(Rgb c);
    void fillRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Rgb c);
    void fillBox(const SkinBox& box, Rgb c) { fillRect(box.x, box.y, box.width, box.height, c); }
    // A one-pixel line from (x0, y0) to (x1, y1), both ends drawn.
    void line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Rgb c);
    // Horizontal line from x0 to x1 - 1 on row y (the right end excluded).
    void hline(std::int32_t x0, std::int32_t x1, std::int32_t y, Rgb c);
    // The outline of a rectangle one pixel wide.
    void frameRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Rgb c);

    bool operator==(const Canvas&) const = default;

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// The part of a box that lies inside a picture of the given size (maybe empty).
SkinBox clipBox(const SkinBox& box, std::int32_t width, std::int32_t height);

// Copies the pixels of the box from the source to the same place of the
// destination, one to one. Only the part of the box inside both pictures is
// copied.
void copyBox(Canvas& destination, const Canvas& source, const SkinBox& box);

// Copies a block of the source to another place of the destination (the
// block copy of a whole picture, or of a menu row band), clipped to both.
void copyBlock(Canvas& destination, std::int32_t dx, std::int32_t dy, const Canvas& source, std::int32_t sx,
               std::int32_t sy, std::int32_t width, std::int32_t height);

}  // namespace korvel
