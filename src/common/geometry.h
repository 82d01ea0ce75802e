#pragma once
// Points and rectangles in window pixels, shared by the skin, the regions and
// the macro editor's controls.
#include <cstdint>

namespace korvel {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle by its edges; left and top are inside, right and bottom are not.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const Rect&) const = default;
};

}  // namespace korvel
