#include "platform/win32/region_win32.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvel::win32 {

namespace {
// GDI keeps region coordinates within 27 bits; a box from an odd layout file
// may reach further, so it is cut at that bound.
constexpr LONG kLimit = (1 << 27) - 1;
LONG bound(std::int32_t v) { return std::clamp<LONG>(v, -kLimit, kLimit); }
}  // namespace

HRGN makeHrgn(const std::vector<Rect>& rectangles) {
    // One ExtCreateRegion from all rectangles at once; they come from a
    // banded region, so they are disjoint and already in GDI's order.
    const std::size_t count = rectangles.size();
    const std::size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
    auto* data = static_cast<RGNDATA*>(std::calloc(1, bytes));
    if (!data) return CreateRectRgn(0, 0, 0, 0);
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = 0;
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds{0, 0, 0, 0};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (const Rect& r : rectangles) {
        RECT g{bound(r.left), bound(r.top), bound(r.right), bound(r.bottom)};
        if (g.right <= g.left || g.bottom <= g.top) continue;
        if (data->rdh.nCount == 0) {
            bounds = g;
        } else {
            bounds.left = std::min(bounds.left, g.left);
            bounds.top = std::min(bounds.top, g.top);
            bounds.right = std::max(bounds.right, g.right);
            bounds.bottom = std::max(bounds.bottom, g.bottom);
        }
        out[data->rdh.nCount++] = g;
    }
    data->rdh.rcBound = bounds;
    HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + data->rdh.nCount * sizeof(RECT)), data);
    std::free(data);
    if (!region) {
        // Fall back to combining one rectangle at a time.
        region = CreateRectRgn(0, 0, 0, 0);
        for (const Rect& r : rectangles) {
            if (r.empty()) continue;
            HRGN part = CreateRectRgn(bound(r.left), bound(r.top), bound(r.right), bound(r.bottom));
            CombineRgn(region, region, part, RGN_OR);
            DeleteObject(part);
        }
    }
    return region;
}

void WindowOutline::setOutline(const std::vector<Rect>& rectangles, bool redraw) {
    HRGN region = makeHrgn(rectangles);
    // The window owns the region from here on.
    if (!SetWindowRgn(window_, region, redraw ? TRUE : FALSE)) DeleteObject(region);
}

}  // namespace korvel::win32
