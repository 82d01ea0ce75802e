#pragma once
// Window regions: the outline a skin mask gives a window, and the area of the
// advanced page that is repainted around its child controls. A region is kept
// as horizontal bands of equal rows, each a sorted list of disjoint spans, so
// a mask becomes a handful of rectangles rather than one per pixel.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/geometry.h"
#include "ui/canvas.h"
#include "ui/layout.h"

namespace korvel {

class ImageDecoderPort;


class Region {
public:
    Region() = default;  // empty
    static Region rectangle(const Rect& r);

    // Exclusive-or with a rectangle: its parts inside the region leave it,
    // its parts outside join it. An empty rectangle changes nothing.
    void xorRect(const Rect& r);

    bool contains(std::int32_t x, std::int32_t y) const;
    bool empty() const { return bands_.empty(); }
    // Number of pixels covered (64 bits: regions can be huge).
    std::int64_t area() const;
    // The region as disjoint rectangles, top to bottom and left to right;
    // rows with the same spans are merged into one rectangle per span.
    std::vector<Rect> rectangles() const;

    // The form is canonical, so equal regions compare equal.
    bool operator==(const Region&) const = default;

    struct Span {
        std::int32_t left;
        std::int32_t right;
        bool operator==(const Span&) const = default;
    };
    struct Band {
        std::int32_t top;
        std::int32_t bottom;
        std::vector<Span> spans;
        bool operator==(const Band&) const = default;
    };
    // Appends a band below every band so far (rows top..bottom-1 with those
    // sorted, disjoint spans), merging it with the last band when that one
    // ends at `top` with the same spans. For builders that go row by row.
    void appendBand(std::int32_t top, std::int32_t bottom, std::vector<Span> spans);
    const std::vector<Band>& bands() const { return bands_; }

private:
    std::vector<Band> bands_;  // sorted, non-empty spans, neighbours differ or have a gap
};

// A mask pixel is cut out of the window when all three channels exceed 100.
inline bool isCutPixel(Rgb c) { return c.r > 100 && c.g > 100 && c.b > 100; }

// The rectangle of the mask's size minus its light pixels.
Region regionFromMask(const Canvas& mask);

// The main window's size and regions, set once at start-up.
struct WindowShape {
    std::int32_t skinWidth = 0;
    std::int32_t skinHeight = 0;
    Region windowRegion;
    Region paintRegion;
};
WindowShape& windowShape();

// The mask region combined by exclusive-or with nameBox, eventListBox and
// macroListBox, in that order (repeatBox is not taken out).
Region paintRegionFor(const Region& maskRegion, const SkinLayouts& layouts);

// Gives the main window its outline (the platform turns the rectangles into
// its own region, e.g. an HRGN for SetWindowRgn).
class WindowOutlinePort {
public:
    virtual ~WindowOutlinePort() = default;
    virtual void setOutline(const std::vector<Rect>& rectangles, bool redraw) = 0;
};

// Computes skinWidth, skinHeight and both regions from a decoded mask.
void buildWindowShape(const Canvas& mask, const SkinLayouts& layouts, WindowShape& shape);

// Decodes "\main_mask.jpg", fills `shape` and gives the window its outline.
// Run once at start-up after the layouts are loaded. Returns false (and
// leaves the window unshaped, with a zero size) when the mask is missing.
bool shapeMainWindow(ImageDecoderPort& decoder, std::u16string_view skinFolder, const SkinLayouts& layouts,
                     WindowShape& shape, WindowOutlinePort& window);

}  // namespace korvel
