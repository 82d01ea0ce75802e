#pragma once
// Anti-aliased drawing on a korvel::Canvas for the skin generator: shapes are
// predicates sampled 4 x 4 per pixel, colours are blended by coverage, and
// every operation honours a clip rectangle (a control's box), so what one
// control draws never leaks into its neighbour's box.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace skingen {

using korvel::Canvas;
using korvel::Rgb;

struct Clip {
    int left = -1000000, top = -1000000, right = 1000000, bottom = 1000000;
    static Clip box(int x, int y, int w, int h) { return Clip{x, y, x + w, y + h}; }
};

inline Rgb mix(Rgb a, Rgb b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto m = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

inline Rgb hex(unsigned v) {
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

inline void blend(Canvas& c, int x, int y, Rgb colour, float alpha, const Clip& clip) {
    if (alpha <= 0.0f || x < clip.left || y < clip.top || x >= clip.right || y >= clip.bottom || !c.inside(x, y))
        return;
    c.setPixel(x, y, alpha >= 1.0f ? colour : mix(c.pixel(x, y), colour, alpha));
}

using Inside = std::function<bool(float, float)>;
using Paint = std::function<Rgb(float, float)>;

// Fills the shape within the bounding box with a colour function.
inline void fillShape(Canvas& c, float x0, float y0, float x1, float y1, const Inside& inside, const Paint& paint,
                      float alpha = 1.0f, const Clip& clip = {}) {
    const int ix0 = std::max(static_cast<int>(std::floor(x0)), std::max(clip.left, 0));
    const int iy0 = std::max(static_cast<int>(std::floor(y0)), std::max(clip.top, 0));
    const int ix1 = std::min(static_cast<int>(std::ceil(x1)), std::min(clip.right, c.width()));
    const int iy1 = std::min(static_cast<int>(std::ceil(y1)), std::min(clip.bottom, c.height()));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f)) ++hits;
            if (hits) blend(c, x, y, paint(x + 0.5f, y + 0.5f), alpha * hits / 16.0f, clip);
        }
}

inline void fillShape(Canvas& c, float x0, float y0, float x1, float y1, const Inside& inside, Rgb colour,
                      float alpha = 1.0f, const Clip& clip = {}) {
    fillShape(c, x0, y0, x1, y1, inside, [colour](float, float) { return colour; }, alpha, clip);
}

// Shapes.
inline Inside roundRect(float x, float y, float w, float h, float r) {
    return [=](float px, float py) {
        if (px < x || py < y || px > x + w || py > y + h) return false;
        const float cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
        const float dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= r * r;
    };
}
inline Inside ellipse(float cx, float cy, float rx, float ry) {
    return [=](float px, float py) {
        const float dx = (px - cx) / rx, dy = (py - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    };
}
struct Pt {
    float x, y;
};
inline Inside polygon(std::vector<Pt> pts) {
    return [pts = std::move(pts)](float px, float py) {
        bool in = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            if ((pts[i].y > py) != (pts[j].y > py) &&
                px < (pts[j].x - pts[i].x) * (py - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
                in = !in;
        }
        return in;
    };
}
inline Inside minus(Inside a, Inside b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return a(x, y) && !b(x, y); };
}
inline Inside both(Inside a, Inside b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return a(x, y) && b(x, y); };
}
// A band of thickness t along a segment (a thick line with round caps).
inline Inside segment(float x0, float y0, float x1, float y1, float t) {
    return [=](float px, float py) {
        const float vx = x1 - x0, vy = y1 - y0;
        const float len2 = vx * vx + vy * vy;
        float u = len2 > 0 ? ((px - x0) * vx + (py - y0) * vy) / len2 : 0.0f;
        u = std::clamp(u, 0.0f, 1.0f);
        const float dx = px - (x0 + u * vx), dy = py - (y0 + u * vy);
        return dx * dx + dy * dy <= t * t / 4.0f;
    };
}

inline void roundRectFill(Canvas& c, float x, float y, float w, float h, float r, Rgb colour, float alpha = 1.0f,
                          const Clip& clip = {}) {
    fillShape(c, x - 1, y - 1, x + w + 1, y + h + 1, roundRect(x, y, w, h, r), colour, alpha, clip);
}
inline void roundRectGradient(Canvas& c, float x, float y, float w, float h, float r, Rgb top, Rgb bottom,
                              float alpha = 1.0f, const Clip& clip = {}) {
    fillShape(c, x - 1, y - 1, x + w + 1, y + h + 1, roundRect(x, y, w, h, r),
              [=](float, float py) { return mix(top, bottom, (py - y) / std::max(h, 1.0f)); }, alpha, clip);
}
inline void roundRectStroke(Canvas& c, float x, float y, float w, float h, float r, float t, Rgb colour,
                            float alpha = 1.0f, const Clip& clip = {}) {
    fillShape(c, x - 1, y - 1, x + w + 1, y + h + 1,
              minus(roundRect(x, y, w, h, r), roundRect(x + t, y + t, w - 2 * t, h - 2 * t, std::max(r - t, 0.0f))),
              colour, alpha, clip);
}
inline void line(Canvas& c, float x0, float y0, float x1, float y1, float t, Rgb colour, float alpha = 1.0f,
                 const Clip& clip = {}) {
    fillShape(c, std::min(x0, x1) - t, std::min(y0, y1) - t, std::max(x0, x1) + t, std::max(y0, y1) + t,
              segment(x0, y0, x1, y1, t), colour, alpha, clip);
}
// A soft glow: colour added with alpha falling off from the centre ellipse.
inline void glow(Canvas& c, float cx, float cy, float rx, float ry, Rgb colour, float strength, const Clip& clip = {}) {
    const int x0 = static_cast<int>(cx - rx), x1 = static_cast<int>(cx + rx) + 1;
    const int y0 = static_cast<int>(cy - ry), y1 = static_cast<int>(cy + ry) + 1;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 1.0f) {
                const float a = strength * (1.0f - d) * (1.0f - d);
                blend(c, x, y, colour, a, clip);
            }
        }
}
inline void rectFill(Canvas& c, int x, int y, int w, int h, Rgb colour, float alpha = 1.0f, const Clip& clip = {}) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) blend(c, xx, yy, colour, alpha, clip);
}
inline void verticalGradient(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom, const Clip& clip = {}) {
    for (int yy = y; yy < y + h; ++yy) {
        const Rgb colour = mix(top, bottom, h > 1 ? float(yy - y) / float(h - 1) : 0.0f);
        for (int xx = x; xx < x + w; ++xx) blend(c, xx, yy, colour, 1.0f, clip);
    }
}

}  // namespace skingen
