#include "ui/region.h"

#include <algorithm>

#include "ui/skin_image.h"

namespace korvel {

namespace {

using Span = Region::Span;

// Symmetric difference of two sorted lists of disjoint spans: a point is in
// the result when it lies in an odd number of spans. Coinciding edges cancel,
// so spans that would touch come out merged.
std::vector<Span> xorSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<std::int32_t> edges;
    edges.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) edges.insert(edges.end(), {s.left, s.right});
    for (const Span& s : b) edges.insert(edges.end(), {s.left, s.right});
    std::sort(edges.begin(), edges.end());
    std::vector<Span> out;
    bool inside = false;
    std::int32_t start = 0;
    for (std::size_t i = 0; i < edges.size();) {
        std::size_t j = i;
        while (j < edges.size() && edges[j] == edges[i]) ++j;
        if ((j - i) % 2 == 1) {
            if (!inside) {
                start = edges[i];
            } else {
                out.push_back(Span{start, edges[i]});
            }
            inside = !inside;
        }
        i = j;
    }
    return out;
}

}  // namespace

Region Region::rectangle(const Rect& r) {
    Region region;
    if (!r.empty()) region.bands_.push_back(Band{r.top, r.bottom, {Span{r.left, r.right}}});
    return region;
}

void Region::appendBand(std::int32_t top, std::int32_t bottom, std::vector<Span> spans) {
    if (bottom <= top || spans.empty()) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(spans)});
}

void Region::xorRect(const Rect& r) {
    if (r.empty()) return;
    // Every edge where the band structure may change.
    std::vector<std::int32_t> ys{r.top, r.bottom};
    for (const Band& b : bands_) ys.insert(ys.end(), {b.top, b.bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    const std::vector<Span> rectSpan{Span{r.left, r.right}};
    std::vector<Band> old = std::move(bands_);
    bands_.clear();
    std::size_t k = 0;  // first old band that may cover the current slice
    static const std::vector<Span> none;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        const std::int32_t y0 = ys[i], y1 = ys[i + 1];
        while (k < old.size() && old[k].bottom <= y0) ++k;
        const std::vector<Span>& current = (k < old.size() && old[k].top <= y0) ? old[k].spans : none;
        const bool inRect = y0 >= r.top && y1 <= r.bottom;
        appendBand(y0, y1, inRect ? xorSpans(current, rectSpan) : current);
    }
}

bool Region::contains(std::int32_t x, std::int32_t y) const {
    for (const Band& b : bands_) {
        if (y < b.top) return false;
        if (y >= b.bottom) continue;
        for (const Span& s : b.spans)
            if (x >= s.left && x < s.right) return true;
        return false;
    }
    return false;
}

std::int64_t Region::area() const {
    std::int64_t total = 0;
    for (const Band& b : bands_)
        for (const Span& s : b.spans) total += (std::int64_t{s.right} - s.left) * (std::int64_t{b.bottom} - b.top);
    return total;
}

std::vector<Rect> Region::rectangles() const {
    std::vector<Rect> out;
    for (const Band& b : bands_)
        for (const Span& s : b.spans) out.push_back(Rect{s.left, b.top, s.right, b.bottom});
    return out;
}

Region regionFromMask(const Canvas& mask) {
    Region region;
    std::vector<Span> spans;
    for (std::int32_t y = 0; y < mask.height(); ++y) {
        spans.clear();
        const std::uint8_t* p = mask.data() + static_cast<std::size_t>(y) * mask.stride();
        std::int32_t x = 0;
        while (x < mask.width()) {
            // Skip cut pixels, then take the run of pixels that stay.
            while (x < mask.width() && isCutPixel(Rgb{p[3 * x], p[3 * x + 1], p[3 * x + 2]})) ++x;
            const std::int32_t start = x;
            while (x < mask.width() && !isCutPixel(Rgb{p[3 * x], p[3 * x + 1], p[3 * x + 2]})) ++x;
            if (x > start) spans.push_back(Span{start, x});
        }
        region.appendBand(y, y + 1, spans);
    }
    return region;
}

WindowShape& windowShape() {
    static WindowShape shape;
    return shape;
}

namespace {
Rect rectOf(const Rect& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
}  // namespace

Region paintRegionFor(const Region& maskRegion, const SkinLayouts& layouts) {
    Region region = maskRegion;
    region.xorRect(rectOf(layouts.nameBox.rect));
    region.xorRect(rectOf(layouts.eventListBox.rect));
    region.xorRect(rectOf(layouts.macroListBox.rect));
    return region;
}

void buildWindowShape(const Canvas& mask, const SkinLayouts& layouts, WindowShape& shape) {
    shape.skinWidth = mask.width();
    shape.skinHeight = mask.height();
    shape.windowRegion = regionFromMask(mask);
    shape.paintRegion = paintRegionFor(shape.windowRegion, layouts);
}

bool shapeMainWindow(ImageDecoderPort& decoder, std::u16string_view skinFolder, const SkinLayouts& layouts,
                     WindowShape& shape, WindowOutlinePort& window) {
    SkinImage mask = loadSkinImage(decoder, skinFolder, skinFile::kMainMask);
    buildWindowShape(mask.pixels, layouts, shape);
    if (!mask.loaded) return false;
    window.setOutline(shape.windowRegion.rectangles(), true);
    return true;
}

}  // namespace korvel
