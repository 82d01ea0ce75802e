#include "ui/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {
// Pictures larger than this are refused (a damaged image header must not make
// us allocate gigabytes); 16384 x 16384 is far beyond any skin.
constexpr std::int64_t kMaxPixels = std::int64_t{16384} * 16384;
}  // namespace

Canvas::Canvas(std::int32_t width, std::int32_t height, Rgb c) {
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels) return;
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    fill(c);
}

Rgb Canvas::pixel(std::int32_t x, std::int32_t y) const {
    if (!inside(x, y)) return {};
    const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

void Canvas::setPixel(std::int32_t x, std::int32_t y, Rgb c) {
    if (!inside(x, y)) return;
    std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Canvas::fill(Rgb c) { fillRect(0, 0, width_, height_, c); }

SkinBox clipBox(const SkinBox& box, std::int32_t width, std::int32_t height) {
    const std::int64_t l = std::max<std::int64_t>(box.x, 0);
    const std::int64_t t = std::max<std::int64_t>(box.y, 0);
    const std::int64_t r = std::min<std::int64_t>(std::int64_t{box.x} + box.width, width);
    const std::int64_t b = std::min<std::int64_t>(std::int64_t{box.y} + box.height, height);
    if (r <= l || b <= t) return SkinBox{};
    return SkinBox{static_cast<std::int32_t>(l), static_cast<std::int32_t>(t), static_cast<std::int32_t>(r - l),
                   static_cast<std::int32_t>(b - t)};
}

void Canvas::fillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, Rgb c) {
    const SkinBox b = clipBox(SkinBox{x, y, w, h}, width_, height_);
    for (std::int32_t row = b.y; row < b.y + b.height; ++row) {
        std::uint8_t* p = &pixels_[(static_cast<std::size_t>(row) * width_ + b.x) * 3];
        for (std::int32_t i = 0; i < b.width; ++i, p += 3) {
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
}

void Canvas::hline(std::int32_t x0, std::int32_t x1, std::int32_t y, Rgb c) {
    if (x1 > x0) fillRect(x0, y, static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{x1} - x0, INT32_MAX)), 1, c);
}

void Canvas::frameRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, Rgb c) {
    if (w <= 0 || h <= 0) return;
    fillRect(x, y, w, 1, c);
    fillRect(x, static_cast<std::int32_t>(std::int64_t{y} + h - 1), w, 1, c);
    fillRect(x, y, 1, h, c);
    fillRect(static_cast<std::int32_t>(std::int64_t{x} + w - 1), y, 1, h, c);
}

void Canvas::line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Rgb c) {
    // Bresenham in 64 bits, with the walk limited to the part that can touch
    // the picture so that far-away end points cost nothing.
    std::int64_t ax = x0, ay = y0;
    const std::int64_t bx = x1, by = y1;
    const std::int64_t dx = std::llabs(bx - ax), dy = -std::llabs(by - ay);
    const std::int64_t sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    std::int64_t err = dx + dy;
    const std::int64_t steps = std::max(dx, -dy);
    if (steps > 4 * std::int64_t{16384}) return;  // absurd lines are not drawn
    for (;;) {
        setPixel(static_cast<std::int32_t>(std::clamp<std::int64_t>(ax, -1, INT32_MAX)),
                 static_cast<std::int32_t>(std::clamp<std::int64_t>(ay, -1, INT32_MAX)), c);
        if (ax == bx && ay == by) break;
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            ax += sx;
        }
        if (e2 <= dx) {
            err += dx;
            ay += sy;
        }
    }
}

void copyBlock(Canvas& destination, std::int32_t dx, std::int32_t dy, const Canvas& source, std::int32_t sx,
               std::int32_t sy, std::int32_t width, std::int32_t height) {
    // Clip in 64 bits against both pictures.
    std::int64_t w = width, h = height;
    std::int64_t sx64 = sx, sy64 = sy, dx64 = dx, dy64 = dy;
    if (sx64 < 0) { w += sx64; dx64 -= sx64; sx64 = 0; }
    if (sy64 < 0) { h += sy64; dy64 -= sy64; sy64 = 0; }
    if (dx64 < 0) { w += dx64; sx64 -= dx64; dx64 = 0; }
    if (dy64 < 0) { h += dy64; sy64 -= dy64; dy64 = 0; }
    w = std::min({w, std::int64_t{source.width()} - sx64, std::int64_t{destination.width()} - dx64});
    h = std::min({h, std::int64_t{source.height()} - sy64, std::int64_t{destination.height()} - dy64});
    if (w <= 0 || h <= 0) return;
    const std::size_t bytes = static_cast<std::size_t>(w) * 3;
    for (std::int64_t row = 0; row < h; ++row) {
        const std::uint8_t* from = source.data() + static_cast<std::size_t>(sy64 + row) * source.stride() +
                                   static_cast<std::size_t>(sx64) * 3;
        std::uint8_t* to = destination.data() + static_cast<std::size_t>(dy64 + row) * destination.stride() +
                           static_cast<std::size_t>(dx64) * 3;
        std::memmove(to, from, bytes);
    }
}

void copyBox(Canvas& destination, const Canvas& source, const SkinBox& box) {
    copyBlock(destination, box.x, box.y, source, box.x, box.y, box.width, box.height);
}

}  // namespace korvel
