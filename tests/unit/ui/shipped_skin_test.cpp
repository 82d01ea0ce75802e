// Checks of the skin the program ships (res/skins): complete layout files in
// both editions, boxes that lie inside their images and do not hide each
// other, images of the sizes the layout implies, clean masks, and drawings
// that change only inside the boxes of their controls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "common/ini.h"
#include "common/text.h"
#include "platform/native/jpeg_image.h"
#include "ui/layout.h"
#include "ui/region.h"
#include "ui/skin_image.h"
#include "test_support.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

const fs::path kSkin = fs::path(KORVEL_SOURCE_DIR) / "res" / "skins";

std::u16string skinFolder() { return fromPath(kSkin); }

const Canvas& image(std::u16string_view name) {
    static JpegImageDecoder decoder;
    static SkinImageCache cache(decoder, skinFolder());
    return cache.get(name).pixels;
}

class ShippedSkin : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        context.skinFolder = skinFolder();
        context.verSel = GetParam();
        context.messages = &messages;
        context.exitRoutine = [this] { ++exits; };
        ASSERT_TRUE(loadSkinLayouts(context, layouts));
        ASSERT_TRUE(messages.texts.empty()) << toUtf8(messages.texts.front());
        ASSERT_EQ(exits, 0);
    }
    test::RecordingMessageBox messages;
    int exits = 0;
    LayoutContext context;
    SkinLayouts layouts;
};

INSTANTIATE_TEST_SUITE_P(Editions, ShippedSkin, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "English" : "Chinese"; });

TEST_P(ShippedSkin, EveryIndexOfEveryTableIsInItsFile) {
    struct {
        std::u16string path;
        std::u16string section;
        int first, last;
    } tables[] = {{mainLayoutPath(context.skinFolder, GetParam()), u"BUTTONPOS", 0, 123},
                  {mainLayoutPath(context.skinFolder, GetParam()), u"FUN_STRING", 1, 54},
                  {colourLayoutPath(context.skinFolder, GetParam()), u"BUTTONPOS", 0, 12},
                  {advancedLayoutPath(context.skinFolder, GetParam()), u"BUTTONPOS", 0, 51},
                  {advancedLayoutPath(context.skinFolder, GetParam()), u"EDIT", 3, 4},
                  {advancedLayoutPath(context.skinFolder, GetParam()), u"MACRODISPLAY", 1, 2},
                  {warningLayoutPath(context.skinFolder, GetParam()), u"BUTTONPOS", 0, 2}};
    for (const auto& t : tables) {
        const ini::Snapshot file = ini::Snapshot::load(t.path);
        ASSERT_TRUE(file.exists());
        for (int i = t.first; i <= t.last; ++i) {
            EXPECT_TRUE(file.has(t.section, decimalText(i))) << toUtf8(t.path) << " " << toUtf8(t.section) << " " << i;
            const std::u16string value = file.get(t.section, decimalText(i), kLayoutValueCapacity);
            bool tooMany = false;
            splitLayoutValue(value, &tooMany);
            EXPECT_FALSE(tooMany);
            if (t.section != u"FUN_STRING") {
                EXPECT_EQ(std::count(value.begin(), value.end(), u','), 6) << i;
            }
        }
    }
    for (int n = 1; n <= 54; ++n) EXPECT_FALSE(layouts.functionCaptions[n].empty()) << n;
    EXPECT_EQ(layouts.functionCaptions[14], GetParam() ? u"OFF" : u"无功能");
    for (const auto& caption : layouts.warningCaptions) EXPECT_FALSE(caption.empty());
}

TEST_P(ShippedSkin, FunctionCaptionsAreInTheEditionsLanguage) {
    // Chinese captions use Chinese characters wherever the English one is
    // a word (codes like "DPI" stay as they are).
    for (int n : {1, 2, 3, 4, 5, 8, 9, 21, 24, 28, 40}) {
        const std::u16string& c = layouts.functionCaptions[n];
        const bool hasCjk = std::any_of(c.begin(), c.end(), [](char16_t ch) { return ch >= 0x4E00 && ch <= 0x9FFF; });
        EXPECT_EQ(hasCjk, GetParam() == 0) << n;
    }
}

TEST_P(ShippedSkin, BoxesLieInsideTheirImages) {
    const Canvas& mask = image(skinFile::kMainMask);
    ASSERT_FALSE(mask.empty());
    auto inside = [](const SkinBox& b, const Canvas& c) {
        return b.width > 0 && b.height > 0 && b.x >= 0 && b.y >= 0 && b.x + b.width <= c.width() &&
               b.y + b.height <= c.height();
    };
    // Every box is inside the window's outline too, not just the rectangle.
    const Region outline = regionFromMask(mask);
    auto inOutline = [&](const SkinBox& b) {
        return outline.contains(b.x, b.y) && outline.contains(b.x + b.width - 1, b.y) &&
               outline.contains(b.x, b.y + b.height - 1) && outline.contains(b.x + b.width - 1, b.y + b.height - 1);
    };
    for (std::size_t i = 0; i < kMainEntries; ++i) {
        EXPECT_TRUE(inside(layouts.mainBoxes[i], mask)) << "main " << i;
        EXPECT_TRUE(inOutline(layouts.mainBoxes[i])) << "main " << i;
    }
    for (std::size_t i = 0; i < kColourEntries; ++i) EXPECT_TRUE(inside(layouts.colourBoxes[i], mask) && inOutline(layouts.colourBoxes[i])) << "colour " << i;
    for (std::size_t i = 0; i < kAdvancedEntries; ++i) EXPECT_TRUE(inside(layouts.advancedBoxes[i], mask) && inOutline(layouts.advancedBoxes[i])) << "advanced " << i;
    for (const ChildBox* c : {&layouts.repeatBox, &layouts.nameBox, &layouts.macroListBox, &layouts.eventListBox}) {
        EXPECT_TRUE(inside(c->box, mask) && inOutline(c->box));
        EXPECT_EQ(c->rect, toRect(c->box));
    }
    const Canvas& warning = image(skinFile::kWarningMask);
    const Region warningOutline = regionFromMask(warning);
    for (const SkinBox& b : layouts.warningBoxes) {
        EXPECT_TRUE(inside(b, warning));
        EXPECT_TRUE(warningOutline.contains(b.x, b.y) && warningOutline.contains(b.x + b.width - 1, b.y + b.height - 1));
    }
}

bool overlap(const SkinBox& a, const SkinBox& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST_P(ShippedSkin, HitTestedBoxesDoNotHideEachOther) {
    // Main page: entries 0-114; advanced page: frame 0-19 with entries 0-37
    // and the child controls; colour page: frame 0-19 with entries 0-4.
    std::vector<std::pair<std::string, SkinBox>> main, advanced, colour;
    for (int i = 0; i <= 114; ++i) main.emplace_back("main " + std::to_string(i), layouts.mainBoxes[i]);
    for (int i = 0; i < 20; ++i) {
        advanced.emplace_back("frame " + std::to_string(i), layouts.mainBoxes[i]);
        colour.emplace_back("frame " + std::to_string(i), layouts.mainBoxes[i]);
    }
    for (int i = 0; i <= 37; ++i) advanced.emplace_back("advanced " + std::to_string(i), layouts.advancedBoxes[i]);
    for (const ChildBox* c : {&layouts.repeatBox, &layouts.nameBox, &layouts.macroListBox, &layouts.eventListBox})
        advanced.emplace_back("child", c->box);
    for (int i = 0; i <= 4; ++i) colour.emplace_back("colour " + std::to_string(i), layouts.colourBoxes[i]);
    for (const auto* page : {&main, &advanced, &colour})
        for (std::size_t a = 0; a < page->size(); ++a)
            for (std::size_t b = a + 1; b < page->size(); ++b)
                EXPECT_FALSE(overlap((*page)[a].second, (*page)[b].second)) << (*page)[a].first << " / " << (*page)[b].first;
    // Warning buttons and the mouse-picture highlights.
    EXPECT_FALSE(overlap(layouts.warningBoxes[0], layouts.warningBoxes[1]));
    for (int a = 115; a <= 123; ++a)
        for (int b = a + 1; b <= 123; ++b) EXPECT_FALSE(overlap(layouts.mainBoxes[a], layouts.mainBoxes[b])) << a << "/" << b;
}

TEST_P(ShippedSkin, CaptionsOfShownEntriesFitTheirBoxes) {
    // With the editions' fonts (English 7 pixels a character, Chinese 12 for
    // a Chinese character and 6 for others), a centred caption stays within
    // a few pixels of its box.
    auto width = [&](const std::u16string& s) {
        int w = 0;
        for (char16_t c : s) w += GetParam() ? 7 : (c >= 0x2E80 ? 12 : 6);
        return w;
    };
    for (int i = 0; i < 54; ++i) EXPECT_LE(width(layouts.mainCaptions[i]), layouts.mainBoxes[i].width + 8) << "main " << i;
    for (std::size_t i = 0; i < kColourEntries; ++i) EXPECT_LE(width(layouts.colourCaptions[i]), layouts.colourBoxes[i].width) << "colour " << i;
    for (std::size_t i = 0; i < kAdvancedEntries; ++i) EXPECT_LE(width(layouts.advancedCaptions[i]), layouts.advancedBoxes[i].width) << "advanced " << i;
    for (std::size_t i = 0; i < kWarningEntries; ++i) EXPECT_LE(width(layouts.warningCaptions[i]), layouts.warningBoxes[i].width) << "warning " << i;
    for (int n = 1; n <= 54; ++n) EXPECT_LE(width(layouts.functionCaptions[n]), image(skinFile::kMenuMask).width() - 10) << n;
}

TEST(ShippedSkinImages, HaveTheSizesTheLayoutImplies) {
    const Canvas& mainMask = image(skinFile::kMainMask);
    for (std::u16string_view name :
         {skinFile::kMainNormal, skinFile::kMainOver, skinFile::kMainDown, skinFile::kAdvancedNormal,
          skinFile::kAdvancedOver, skinFile::kAdvancedDown, skinFile::kColourNormal, skinFile::kColourOver,
          skinFile::kColourDown, skinFile::kColourUnlit, skinFile::kColourBlue}) {
        EXPECT_EQ(image(name).width(), mainMask.width()) << toUtf8(name);
        EXPECT_EQ(image(name).height(), mainMask.height()) << toUtf8(name);
    }
    // The function menu: ten rows and the closing line within its 300 x 300 window.
    const Canvas& menuMask = image(skinFile::kMenuMask);
    const int rowHeight = menuMask.height() / 10;
    EXPECT_GE(rowHeight, 20);
    EXPECT_LE(10 * rowHeight + 1, 300);
    EXPECT_LE(menuMask.width(), 300);
    // The sub-menu: rows as high as the menu's, twelve within 300 x 400.
    const Canvas& subMask = image(skinFile::kSubMenuMask);
    EXPECT_EQ(subMask.height() / 12, rowHeight);
    EXPECT_LE(12 * rowHeight + 1, 400);
    EXPECT_LE(subMask.width(), 300);
    for (auto [name, mask] : {std::pair{skinFile::kMenuNormal, &menuMask}, {skinFile::kMenuOver, &menuMask},
                              {skinFile::kMenuDown, &menuMask}, {skinFile::kSubMenuNormal, &subMask},
                              {skinFile::kSubMenuOver, &subMask}, {skinFile::kSubMenuDown, &subMask},
                              {skinFile::kWarningNormal, &image(skinFile::kWarningMask)},
                              {skinFile::kWarningOver, &image(skinFile::kWarningMask)}}) {
        EXPECT_EQ(image(name).width(), mask->width()) << toUtf8(name);
        // The menus show 10 x rowHeight + 1 rows: the image must have them.
        EXPECT_GE(image(name).height(), mask->height()) << toUtf8(name);
    }
    EXPECT_GE(menuMask.height(), 10 * rowHeight + 1);
}

TEST(ShippedSkinImages, MasksArePureBlackAndWhite) {
    for (std::u16string_view name : {skinFile::kMainMask, skinFile::kWarningMask, skinFile::kMenuMask, skinFile::kSubMenuMask}) {
        const Canvas& mask = image(name);
        ASSERT_FALSE(mask.empty()) << toUtf8(name);
        int bad = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const Rgb p = mask.pixel(x, y);
                const bool dark = p.r <= 40 && p.g <= 40 && p.b <= 40;
                const bool light = p.r >= 215 && p.g >= 215 && p.b >= 215;
                bad += !(dark || light);
            }
        EXPECT_EQ(bad, 0) << toUtf8(name);
    }
    // The outlines are irregular, and the two popups' masks are whole.
    EXPECT_GT(regionFromMask(image(skinFile::kMainMask)).rectangles().size(), 10u);
    EXPECT_EQ(regionFromMask(image(skinFile::kMenuMask)).rectangles().size(), 1u);
}

TEST(ShippedSkinImages, RunBuiltRegionMatchesEveryMaskPixel) {
    for (std::u16string_view name : {skinFile::kMainMask, skinFile::kWarningMask}) {
        const Canvas& mask = image(name);
        const Region r = regionFromMask(mask);
        std::int64_t kept = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const Rgb p = mask.pixel(x, y);
                const bool in = !(p.r > 100 && p.g > 100 && p.b > 100);
                kept += in;
                ASSERT_EQ(r.contains(x, y), in) << toUtf8(name) << " " << x << "," << y;
            }
        EXPECT_EQ(r.area(), kept);
    }
}

// Looks differ only inside control boxes: a pixel far from every box is the
// same in the normal, hover and pressed images (up to JPEG noise).
double meanDifference(const Canvas& a, const Canvas& b, const SkinBox& box) {
    double sum = 0;
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x) {
            const Rgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return sum / std::max(1, box.width * box.height);
}

TEST_P(ShippedSkin, LooksChangeInsideTheBoxesAndNowhereElse) {
    struct Page {
        std::u16string_view normal, over, down;
        std::vector<SkinBox> boxes;       // every box drawn on the page
        std::vector<int> interactive;      // indices into boxes with a hover look
    };
    Page main{skinFile::kMainNormal, skinFile::kMainOver, skinFile::kMainDown, {}, {}};
    for (int i = 0; i < 124; ++i) main.boxes.push_back(layouts.mainBoxes[i]);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 25, 33, 41, 42, 46, 49, 54, 57, 58, 62, 66, 113, 114, 115, 123})
        main.interactive.push_back(i);
    Page advanced{skinFile::kAdvancedNormal, skinFile::kAdvancedOver, skinFile::kAdvancedDown, {}, {}};
    for (int i = 0; i < 20; ++i) advanced.boxes.push_back(layouts.mainBoxes[i]);
    for (int i = 0; i < 52; ++i) advanced.boxes.push_back(layouts.advancedBoxes[i]);
    for (int i = 0; i <= 37; ++i)
        if (i != 33) advanced.interactive.push_back(20 + i);
    Page colour{skinFile::kColourNormal, skinFile::kColourOver, skinFile::kColourDown, {}, {}};
    for (int i = 0; i < 20; ++i) colour.boxes.push_back(layouts.mainBoxes[i]);
    for (int i = 0; i < 13; ++i) colour.boxes.push_back(layouts.colourBoxes[i]);
    for (int i = 0; i <= 4; ++i) colour.interactive.push_back(20 + i);
    colour.interactive.push_back(20 + 11);  // the preview's colours

    for (const Page* page : {&main, &advanced, &colour}) {
        const Canvas& n = image(page->normal);
        const Canvas& o = image(page->over);
        const Canvas& d = image(page->down);
        for (int i : page->interactive)
            EXPECT_GT(meanDifference(n, o, page->boxes[i]), 4.0) << toUtf8(page->over) << " box " << i;
        // Pixels more than 8 away from every box (JPEG blocks spread a change
        // up to the 8 x 8 block around it).
        std::vector<bool> near(static_cast<std::size_t>(n.width()) * n.height(), false);
        for (const SkinBox& b : page->boxes)
            for (int y = std::max(0, b.y - 8); y < std::min(n.height(), b.y + b.height + 8); ++y)
                for (int x = std::max(0, b.x - 8); x < std::min(n.width(), b.x + b.width + 8); ++x)
                    near[static_cast<std::size_t>(y) * n.width() + x] = true;
        int differing = 0;
        for (int y = 0; y < n.height(); ++y)
            for (int x = 0; x < n.width(); ++x) {
                if (near[static_cast<std::size_t>(y) * n.width() + x]) continue;
                for (const Canvas* other : {&o, &d}) {
                    const Rgb p = n.pixel(x, y), q = other->pixel(x, y);
                    if (std::abs(p.r - q.r) > 12 || std::abs(p.g - q.g) > 12 || std::abs(p.b - q.b) > 12) ++differing;
                }
            }
        EXPECT_EQ(differing, 0) << toUtf8(page->normal);
    }
    // The unlit and blue previews differ from the page only in the preview box.
    const Canvas& n = image(skinFile::kColourNormal);
    for (std::u16string_view name : {skinFile::kColourUnlit, skinFile::kColourBlue}) {
        EXPECT_GT(meanDifference(n, image(name), layouts.colourBoxes[11]), 2.0);
        SkinBox rest{0, 0, n.width(), layouts.colourBoxes[11].y - 8};
        EXPECT_LT(meanDifference(n, image(name), rest), 0.5) << toUtf8(name);
    }
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ShippedSkinFiles, AreWhatTheGeneratorWrites) {
    const fs::path generator = fs::path(KORVEL_BINARY_DIR) / "tools" / "skingen" / "skingen";
    if (!fs::exists(generator)) GTEST_SKIP() << "skingen is not built";
    test::TempFolder out;
    const std::string command = "\"" + generator.string() + "\" \"" + out.root().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out.root())) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), out.root());
        const std::string committed = readFile(kSkin / relative);
        EXPECT_FALSE(committed.empty()) << relative;
        EXPECT_TRUE(committed == readFile(entry.path())) << relative << ": run skingen res/skins";
        if (relative.extension() == ".ini") {
            EXPECT_EQ(committed.substr(0, 3), "\xEF\xBB\xBF") << relative;
        }
        ++files;
    }
    EXPECT_EQ(files, 23 + 8);  // every image and the four layout files of each edition
}

// Decoder parity: the Windows program decodes with GDI+, the tests and tools
// with libjpeg-turbo. Run when the Windows build's skinprobe.exe and Wine are
// at hand (scripts/setup.sh makes the prefix).
TEST(ShippedSkinFiles, GdiplusDecodesLikeLibjpegTurbo) {
    const fs::path root(KORVEL_SOURCE_DIR);
    const fs::path probe = root / "build" / "windows" / "tools" / "skingen" / "skinprobe.exe";
    const fs::path prefix = root / "build" / "wineprefix";
    if (!fs::exists(probe) || !fs::exists(prefix) || std::system("command -v wine >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs build/windows skinprobe.exe, Wine and build/wineprefix";
    test::TempFolder out;
    auto windowsPath = [](const fs::path& p) {
        std::string s = "Z:" + p.string();
        for (char& c : s)
            if (c == '/') c = '\\';
        return s;
    };
    const std::string command = "WINEPREFIX=\"" + prefix.string() + "\" WINEDEBUG=-all timeout 300 wine \"" +
                                probe.string() + "\" \"" + windowsPath(kSkin) + "\" \"" + windowsPath(out.root()) +
                                "\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (std::u16string_view name : skinFile::kAll) {
        const std::string file = toUtf8(name.substr(1)) + ".rgb";
        std::ifstream in(out.root() / file, std::ios::binary);
        ASSERT_TRUE(in) << file;
        int w = 0, h = 0;
        in >> w >> h;
        in.get();
        const Canvas& mine = image(name);
        ASSERT_EQ(w, mine.width()) << file;
        ASSERT_EQ(h, mine.height()) << file;
        Canvas theirs(w, h);
        in.read(reinterpret_cast<char*>(theirs.data()), static_cast<std::streamsize>(theirs.stride() * h));
        ASSERT_TRUE(in) << file;
        int worst = 0;
        for (std::size_t k = 0; k < theirs.stride() * static_cast<std::size_t>(h); ++k)
            worst = std::max(worst, std::abs(int(theirs.data()[k]) - int(mine.data()[k])));
        EXPECT_LE(worst, 8) << file;
        EXPECT_EQ(regionFromMask(theirs), regionFromMask(mine)) << file;
    }
}

}  // namespace
}  // namespace korvel
