#include <gtest/gtest.h>

#include <climits>

#include "ui/canvas.h"
#include "ui/skin_image.h"

namespace korvel {
namespace {

// A picture whose every pixel tells where it is.
Canvas numbered(std::int32_t w, std::int32_t h) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.setPixel(x, y, Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7});
    return c;
}

struct CopyCase {
    const char* name;
    SkinBox box;
    std::int32_t sourceW, sourceH;  // the destination is 20 x 10
};

class CopyBoxBounds : public ::testing::TestWithParam<CopyCase> {};

// Every destination pixel is either copied from the same place of the source
// (when it lies in the box and in the source) or untouched.
TEST_P(CopyBoxBounds, CopiesExactlyTheBoxInsideBothPictures) {
    const CopyCase& p = GetParam();
    const Canvas source = numbered(p.sourceW, p.sourceH);
    Canvas destination(20, 10, Rgb{1, 2, 3});
    copyBox(destination, source, p.box);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool copied = p.box.contains(x, y) && source.inside(x, y);
            EXPECT_EQ(destination.pixel(x, y), copied ? source.pixel(x, y) : (Rgb{1, 2, 3})) << p.name << " " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CopyBoxBounds,
    ::testing::Values(CopyCase{"inside", {2, 3, 5, 4}, 20, 10}, CopyCase{"whole", {0, 0, 20, 10}, 20, 10},
                      CopyCase{"left top outside", {-5, -3, 9, 6}, 20, 10},
                      CopyCase{"right bottom outside", {15, 7, 30, 30}, 20, 10},
                      CopyCase{"smaller source", {0, 0, 20, 10}, 8, 4},
                      CopyCase{"larger source", {10, 5, 100, 100}, 64, 64},
                      CopyCase{"empty source", {0, 0, 20, 10}, 0, 0},
                      CopyCase{"negative size", {5, 5, -3, -3}, 20, 10},
                      CopyCase{"huge", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 20, 10},
                      CopyCase{"huge size", {3, 3, INT_MAX, INT_MAX}, 20, 10},
                      CopyCase{"far away", {INT_MAX - 2, 0, INT_MAX, 5}, 20, 10}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

TEST(CanvasDrawing, FillsAndLinesStayInsideThePicture) {
    Canvas c(10, 6);
    c.fillRect(-5, -5, 8, 7, Rgb{9, 9, 9});
    EXPECT_EQ(c.pixel(2, 1), (Rgb{9, 9, 9}));
    EXPECT_EQ(c.pixel(3, 1), Rgb{});
    EXPECT_EQ(c.pixel(2, 2), Rgb{});
    c.fillRect(8, 4, INT_MAX, INT_MAX, Rgb{5, 5, 5});
    EXPECT_EQ(c.pixel(9, 5), (Rgb{5, 5, 5}));
    c.fillRect(0, 0, -3, 3, Rgb{200, 0, 0});
    EXPECT_EQ(c.pixel(0, 0), (Rgb{9, 9, 9}));

    Canvas l(10, 10);
    l.line(-20, -20, 30, 30, Rgb{1, 1, 1});  // the diagonal, clipped
    for (int i = 0; i < 10; ++i) EXPECT_EQ(l.pixel(i, i), (Rgb{1, 1, 1}));
    l.line(INT_MIN, 0, INT_MAX, 0, Rgb{2, 2, 2});  // absurd: ignored, no hang
    l.hline(3, 7, 9, Rgb{4, 4, 4});
    EXPECT_EQ(l.pixel(3, 9), (Rgb{4, 4, 4}));
    EXPECT_EQ(l.pixel(6, 9), (Rgb{4, 4, 4}));
    EXPECT_EQ(l.pixel(7, 9), Rgb{});
    l.frameRect(0, 0, 10, 10, Rgb{3, 3, 3});
    EXPECT_EQ(l.pixel(9, 5), (Rgb{3, 3, 3}));
    EXPECT_EQ(l.pixel(5, 0), (Rgb{3, 3, 3}));
    // Reads and writes outside are harmless.
    l.setPixel(-1, 3, Rgb{8, 8, 8});
    l.setPixel(10, 3, Rgb{8, 8, 8});
    EXPECT_EQ(l.pixel(-1, 3), Rgb{});
    EXPECT_EQ(l.pixel(3, 10), Rgb{});
}

TEST(CanvasDrawing, AbsurdSizesGiveAnEmptyPicture) {
    EXPECT_TRUE(Canvas(-4, 5).empty());
    EXPECT_TRUE(Canvas(0, 5).empty());
    EXPECT_TRUE(Canvas(INT_MAX, INT_MAX).empty());
    EXPECT_EQ(Canvas(3, 2).stride(), 9u);
}

TEST(CanvasDrawing, CopyBlockMovesABand) {
    const Canvas source = numbered(6, 6);
    Canvas destination(6, 3);
    copyBlock(destination, 0, 1, source, 0, 4, 6, 10);  // rows 4, 5 to rows 1, 2
    EXPECT_EQ(destination.pixel(3, 0), Rgb{});
    EXPECT_EQ(destination.pixel(3, 1), source.pixel(3, 4));
    EXPECT_EQ(destination.pixel(5, 2), source.pixel(5, 5));
}

class CountingDecoder : public ImageDecoderPort {
public:
    std::optional<Canvas> decode(std::u16string_view path) override {
        ++calls;
        last = std::u16string(path);
        if (path.find(u"missing") != std::u16string_view::npos) return std::nullopt;
        return Canvas(4, 3, Rgb{1, 2, 3});
    }
    int calls = 0;
    std::u16string last;
};

TEST(SkinImages, AreFoundInTheSkinFolderAndDecodedOnceWhenCached) {
    CountingDecoder decoder;
    SkinImage image = loadSkinImage(decoder, u"C:\\k\\skins", u"\\main_normal.jpg");
    EXPECT_EQ(decoder.last, u"C:\\k\\skins\\main_normal.jpg");
    EXPECT_TRUE(image.loaded);
    EXPECT_EQ(image.width(), 4);

    SkinImageCache cache(decoder, u"S");
    const SkinImage& a = cache.get(u"\\a.jpg");
    const SkinImage& b = cache.get(u"\\a.jpg");
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(decoder.calls, 2);
    const SkinImage& missing = cache.get(u"\\missing.jpg");
    EXPECT_FALSE(missing.loaded);
    EXPECT_TRUE(missing.pixels.empty());
    cache.get(u"\\missing.jpg");
    EXPECT_EQ(decoder.calls, 3);  // a missing file is not retried on every paint
    // Copies from a missing image change nothing.
    Canvas page(4, 3, Rgb{9, 9, 9});
    copyBox(page, missing.pixels, SkinBox{0, 0, 4, 3});
    EXPECT_EQ(page, Canvas(4, 3, Rgb{9, 9, 9}));
}

}  // namespace
}  // namespace korvel
