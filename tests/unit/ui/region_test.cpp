#include <gtest/gtest.h>

#include <random>

#include "ui/region.h"
#include "ui/skin_image.h"

namespace korvel {
namespace {

// The definition, pixel by pixel: the mask rectangle, then an exclusive-or
// with each light pixel.
Region referenceRegion(const Canvas& mask) {
    Region r = Region::rectangle(Rect{0, 0, mask.width(), mask.height()});
    for (int x = 0; x < mask.width(); ++x)
        for (int y = 0; y < mask.height(); ++y) {
            const Rgb p = mask.pixel(x, y);
            if (p.r > 100 && p.g > 100 && p.b > 100) r.xorRect(Rect{x, y, x + 1, y + 1});
        }
    return r;
}

TEST(MaskRule, ThresholdIsStrictlyAbove100OnAllChannels) {
    struct {
        Rgb pixel;
        bool cut;
    } cases[] = {{{101, 101, 101}, true}, {{100, 255, 255}, false}, {{255, 100, 255}, false},
                 {{255, 255, 100}, false}, {{255, 255, 255}, true},  {{0, 0, 0}, false}};
    for (const auto& c : cases) {
        Canvas mask(3, 2, Rgb{0, 0, 0});
        mask.setPixel(1, 1, c.pixel);
        const Region r = regionFromMask(mask);
        EXPECT_EQ(r.contains(1, 1), !c.cut) << int(c.pixel.r) << "," << int(c.pixel.g) << "," << int(c.pixel.b);
        EXPECT_EQ(r.area(), c.cut ? 5 : 6);
        EXPECT_EQ(r, referenceRegion(mask));
    }
}

TEST(MaskRule, AllBlackGivesTheFullRectangleAllWhiteNothing) {
    const Region black = regionFromMask(Canvas(7, 5, Rgb{0, 0, 0}));
    EXPECT_EQ(black.rectangles(), (std::vector<Rect>{{0, 0, 7, 5}}));
    EXPECT_TRUE(regionFromMask(Canvas(7, 5, Rgb{255, 255, 255})).empty());
    EXPECT_TRUE(regionFromMask(Canvas()).empty());
}

TEST(MaskRule, RunBuiltRegionEqualsThePixelDefinitionOnRandomMasks) {
    std::mt19937 random(2024);
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 30);
        Canvas mask(w, h);
        const int density = static_cast<int>(random() % 100);
        // Blobs and noise, with channel values around the threshold.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool light = static_cast<int>(random() % 100) < density || ((x / 5 + y / 4) % 3 == 0 && round % 2);
                auto channel = [&] { return static_cast<std::uint8_t>(light ? 99 + random() % 157 : random() % 101); };
                mask.setPixel(x, y, Rgb{channel(), channel(), channel()});
            }
        const Region fast = regionFromMask(mask);
        ASSERT_EQ(fast, referenceRegion(mask)) << "round " << round;
        std::int64_t kept = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool in = !isCutPixel(mask.pixel(x, y));
                kept += in;
                ASSERT_EQ(fast.contains(x, y), in);
            }
        EXPECT_EQ(fast.area(), kept);
        // The rectangles are disjoint and cover exactly the region.
        std::int64_t total = 0;
        for (const Rect& r : fast.rectangles()) total += std::int64_t(r.right - r.left) * (r.bottom - r.top);
        EXPECT_EQ(total, kept);
    }
}

TEST(MaskRule, EqualRowsMergeIntoOneRectangle) {
    Canvas mask(10, 6, Rgb{0, 0, 0});
    for (int y = 0; y < 6; ++y) mask.setPixel(4, y, Rgb{255, 255, 255});  // a cut column
    EXPECT_EQ(regionFromMask(mask).rectangles(), (std::vector<Rect>{{0, 0, 4, 6}, {5, 0, 10, 6}}));
}

TEST(RegionXor, InsideLeavesOutsideJoinsTwiceRestores) {
    Region r = Region::rectangle(Rect{0, 0, 10, 10});
    r.xorRect(Rect{2, 2, 4, 4});    // a hole
    r.xorRect(Rect{8, 8, 14, 12});  // half in, half out
    EXPECT_FALSE(r.contains(3, 3));
    EXPECT_FALSE(r.contains(9, 9));
    EXPECT_TRUE(r.contains(12, 11));
    EXPECT_TRUE(r.contains(0, 0));
    EXPECT_EQ(r.area(), 100 - 4 - 4 + 20);
    r.xorRect(Rect{8, 8, 14, 12});
    r.xorRect(Rect{2, 2, 4, 4});
    EXPECT_EQ(r, Region::rectangle(Rect{0, 0, 10, 10}));
    r.xorRect(Rect{5, 5, 5, 9});  // empty: no change
    r.xorRect(Rect{5, 5, 2, 9});  // inverted: empty, no change
    EXPECT_EQ(r, Region::rectangle(Rect{0, 0, 10, 10}));
}

TEST(PaintRegion, TakesOutTheNameAndListBoxesButNotTheRepeatBox) {
    SkinLayouts layouts;
    auto child = [](SkinBox b) { return ChildBox{b, toRect(b)}; };
    layouts.nameBox = child({10, 10, 5, 5});
    layouts.eventListBox = child({30, 10, 10, 20});
    layouts.macroListBox = child({12, 12, 6, 6});  // overlaps the name box
    layouts.repeatBox = child({50, 50, 5, 5});
    const Region mask = Region::rectangle(Rect{0, 0, 60, 60});
    const Region paint = paintRegionFor(mask, layouts);
    EXPECT_FALSE(paint.contains(10, 10));   // name box only
    EXPECT_TRUE(paint.contains(13, 13));    // name and macro list: as it was
    EXPECT_FALSE(paint.contains(17, 17));   // macro list only
    EXPECT_FALSE(paint.contains(35, 20));   // event list
    EXPECT_TRUE(paint.contains(52, 52));    // the repeat field is repainted
    // A box outside the outline joins the region.
    layouts.eventListBox = child({70, 0, 5, 5});
    EXPECT_TRUE(paintRegionFor(mask, layouts).contains(72, 2));
    // Absurd boxes stay bounded.
    layouts.nameBox = child({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    layouts.macroListBox = child({5, 5, -10, -10});
    const Region odd = paintRegionFor(mask, layouts);
    EXPECT_TRUE(odd.contains(-5, -5));  // outside the outline: joins
    EXPECT_TRUE(odd.contains(30, 30));
}

class MaskDecoder : public ImageDecoderPort {
public:
    std::optional<Canvas> mask;
    std::u16string asked;
    std::optional<Canvas> decode(std::u16string_view path) override {
        asked = std::u16string(path);
        return mask;
    }
};

class RecordingOutline : public WindowOutlinePort {
public:
    void setOutline(const std::vector<Rect>& r, bool redraw) override {
        rectangles = r;
        this->redraw = redraw;
        ++calls;
    }
    std::vector<Rect> rectangles;
    bool redraw = false;
    int calls = 0;
};

TEST(ShapeMainWindow, SizesRegionsAndOutlineFromTheMask) {
    Canvas mask(40, 30, Rgb{0, 0, 0});
    mask.fillRect(0, 0, 4, 4, Rgb{255, 255, 255});
    MaskDecoder decoder;
    decoder.mask = mask;
    SkinLayouts layouts;
    layouts.nameBox = ChildBox{{10, 10, 5, 5}, {10, 10, 15, 15}};
    WindowShape shape;
    RecordingOutline window;
    EXPECT_TRUE(shapeMainWindow(decoder, u"K\\skins", layouts, shape, window));
    EXPECT_EQ(decoder.asked, u"K\\skins\\main_mask.jpg");
    EXPECT_EQ(shape.skinWidth, 40);
    EXPECT_EQ(shape.skinHeight, 30);
    EXPECT_EQ(shape.windowRegion, regionFromMask(mask));
    EXPECT_FALSE(shape.paintRegion.contains(11, 11));
    EXPECT_TRUE(shape.windowRegion.contains(11, 11));
    EXPECT_EQ(window.calls, 1);
    EXPECT_TRUE(window.redraw);
    EXPECT_EQ(window.rectangles, shape.windowRegion.rectangles());

    decoder.mask.reset();  // no mask: no outline, zero size
    WindowShape none;
    RecordingOutline untouched;
    EXPECT_FALSE(shapeMainWindow(decoder, u"K\\skins", layouts, none, untouched));
    EXPECT_EQ(none.skinWidth, 0);
    EXPECT_EQ(untouched.calls, 0);
}

}  // namespace
}  // namespace korvel
