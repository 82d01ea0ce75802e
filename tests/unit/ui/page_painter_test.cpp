#include <gtest/gtest.h>

#include "paint_test_skin.h"
#include "ui/page_painter.h"

namespace korvel {
namespace {

using namespace test;

class PagePainterTest : public ::testing::Test {
protected:
    PagePainterTest() : cache(decoder, u"S") {
        addPageImages(decoder);
        profile.setFactoryValues();
        for (auto& s : profile.dpiSet) s = 0;
        for (auto& e : profile.dpiSetEn) e = 0;
        profile.dpiSetEn[0] = 1;
    }
    PaintInput input() { return PaintInput{layouts, profile, macros, ui, currentProfile, verSel, editor}; }
    // Page state and frame, no captions: each box shows the image it came from.
    Canvas paintState(std::uint8_t page, std::int32_t hover) {
        ui.currentPage = page;
        const PageImages im = pageImages(cache, page);
        Canvas n = *im.normal;
        const PaintInput in = input();
        drawPageState(n, im, page, hover, in);
        drawFrameControls(n, im, in);
        return n;
    }

    MemoryDecoder decoder;
    SkinImageCache cache;
    SkinLayouts layouts = testLayouts();
    Profile profile;
    MacroTables macros;
    UiState ui;
    MacroEditorView editor;
    std::int32_t currentProfile = 1;
    std::int32_t verSel = 1;
};

// ---- hover and pressed looks

struct HoverCase {
    std::uint8_t page;
    std::int32_t hover;
    bool held;
    Rgb expected;
};

TEST_F(PagePainterTest, HoverLookComesFromOverOrDownImage) {
    const HoverCase cases[] = {
        {kPageMain, 35, false, kOver},         {kPageMain, 35, true, kDown},
        {kPageAdvanced, 31, false, kOver},     {kPageAdvanced, 31, true, kDown},
        {kPageAdvanced, 30, false, kOver},     {kPageAdvanced, 30, true, kNormal},  // the fire bar: no look held
        {kPageColour, 5, false, kColourOver},  {kPageColour, 5, true, kColourDown},
    };
    profile.fireTime = 0;
    for (const HoverCase& c : cases) {
        ui.pointerDown = c.held;
        if (c.page == kPageMain) ui.mainHover = c.hover;
        const Canvas n = paintState(c.page, c.hover);
        const SkinBox& box = c.page == kPageMain       ? layouts.mainBoxes[c.hover]
                             : c.page == kPageAdvanced ? layouts.advancedBoxes[c.hover]
                                                       : layouts.colourBoxes[c.hover];
        EXPECT_EQ(centreOf(n, box), c.expected) << int(c.page) << " " << c.hover << " " << c.held;
    }
}

TEST_F(PagePainterTest, FunctionEntryLightsTheButtonOnTheMousePicture) {
    for (int h = 25; h <= 33; ++h) {
        ui.mainHover = h;
        const Canvas n = paintState(kPageMain, h);
        for (int i = 115; i <= 123; ++i)
            EXPECT_EQ(centreOf(n, layouts.mainBoxes[i]), i == h + 90 ? kOver : kNormal) << h << " " << i;
    }
}

// ---- DPI bars

TEST_F(PagePainterTest, DpiBarsFillOneSlotPerValueStepInTheLevelColour) {
    profile.dpiSet = {0, 11, 5, 200};  // the last one only a damaged record could hold
    const Canvas n = paintState(kPageMain, kNone);
    const int expectedSlots[4] = {1, 12, 6, 12};
    for (int L = 0; L < 4; ++L)
        for (int s = 0; s < 12; ++s) {
            const SkinBox& b = layouts.mainBoxes[66 + 12 * L + s];
            const bool filled = s < expectedSlots[L];
            // Inside: x + 1 .. x + width - 2, y + 1 .. y + height - 1.
            EXPECT_EQ(n.pixel(b.x + 1, b.y + 1), filled ? levelColours[L] : kNormal) << L << " " << s;
            EXPECT_EQ(n.pixel(b.x + b.width - 2, b.y + b.height - 1), filled ? levelColours[L] : kNormal);
            EXPECT_EQ(n.pixel(b.x, b.y + 5), kNormal);               // left edge kept
            EXPECT_EQ(n.pixel(b.x + b.width - 1, b.y + 5), kNormal);  // right edge kept
            EXPECT_EQ(n.pixel(b.x + 5, b.y), kNormal);                // top edge kept
        }
}

// ---- selected settings

TEST_F(PagePainterTest, MainPageShowsSelectedSettingsPressed) {
    profile.dpiSetEn = {1, 0, 1, 0};
    profile.dpiLevel = 2;
    profile.wheelStatus = 1;
    const Canvas n = paintState(kPageMain, kNone);
    for (int L = 0; L < 4; ++L) {
        EXPECT_EQ(centreOf(n, layouts.mainBoxes[54 + L]), L == 2 ? kDown : kNormal) << L;
        EXPECT_EQ(centreOf(n, layouts.mainBoxes[46 + L]), (L == 0 || L == 2) ? kDown : kNormal) << L;
    }
    EXPECT_EQ(centreOf(n, layouts.mainBoxes[41]), kNormal);
    EXPECT_EQ(centreOf(n, layouts.mainBoxes[42]), kDown);
    profile.wheelStatus = 0;
    profile.dpiLevel = 7;  // out of range: no level drawn selected, nothing read past the table
    const Canvas m = paintState(kPageMain, kNone);
    EXPECT_EQ(centreOf(m, layouts.mainBoxes[41]), kDown);
    for (int L = 0; L < 4; ++L) EXPECT_EQ(centreOf(m, layouts.mainBoxes[54 + L]), kNormal);
}

TEST_F(PagePainterTest, AdvancedPageShowsSelectedSettingsPressed) {
    profile.dpiSpeed = 3;
    profile.wheelSpeed = 9;
    profile.macroMode2 = 1;
    macros.userMacros[2].playMode = 1;
    editor.currentMacro = 2;
    editor.recording = true;
    const Canvas n = paintState(kPageAdvanced, kNone);
    for (int i = 8; i <= 17; ++i) EXPECT_EQ(centreOf(n, layouts.advancedBoxes[i]), i == 11 ? kDown : kNormal) << i;
    for (int i = 18; i <= 27; ++i) EXPECT_EQ(centreOf(n, layouts.advancedBoxes[i]), i == 27 ? kDown : kNormal) << i;
    EXPECT_EQ(centreOf(n, layouts.advancedBoxes[4]), kDown);
    EXPECT_EQ(centreOf(n, layouts.advancedBoxes[6]), kDown);
    EXPECT_EQ(centreOf(n, layouts.advancedBoxes[7]), kDown);

    profile.macroMode2 = 0;
    editor.recording = false;
    editor.currentMacro = 40;  // no such record: no play-mode look
    profile.dpiSpeed = 200;
    const Canvas m = paintState(kPageAdvanced, kNone);
    for (int i : {4, 6, 7}) EXPECT_EQ(centreOf(m, layouts.advancedBoxes[i]), kNormal) << i;
    for (int i = 8; i <= 17; ++i) EXPECT_EQ(centreOf(m, layouts.advancedBoxes[i]), kNormal) << i;
}

TEST_F(PagePainterTest, ColourPageShowsTheLightingModePressed) {
    for (std::uint8_t mode = 0; mode < 4; ++mode) {
        profile.ledStatus = mode;
        const Canvas n = paintState(kPageColour, kNone);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(centreOf(n, layouts.colourBoxes[i]), i == mode ? kColourDown : kColourNormal) << int(mode);
    }
}

TEST_F(PagePainterTest, FireTimeBarFillsInProportion) {
    const SkinBox& bar = layouts.advancedBoxes[30];
    for (const auto& [ms, width] : {std::pair{0, 0}, std::pair{150, 150}, std::pair{300, 300}, std::pair{1000, 300},
                                    std::pair{-5, 0}}) {
        profile.fireTime = ms;
        const Canvas n = paintState(kPageAdvanced, kNone);
        int pressed = 0;
        for (int x = 0; x < kSkinW; ++x) pressed += n.pixel(x, bar.y + 4) == kDown;
        EXPECT_EQ(pressed, width) << ms;
        if (width > 0) { EXPECT_EQ(n.pixel(bar.x, bar.y + bar.height - 1), kDown); }
    }
}

// ---- frame controls

TEST_F(PagePainterTest, FrameControlsPerPageAndEdition) {
    struct Case {
        std::uint8_t page;
        std::int32_t profile, verSel;
        std::vector<int> pressed;
    };
    const Case cases[] = {
        {kPageMain, 1, 1, {4, 9, 18}},
        {kPageAdvanced, 3, 1, {6, 10, 18}},
        {kPageColour, 5, 0, {8, 11, 17}},
        {kPageMain, 2, 0, {5, 9, 17}},
        {kPageMain, 9, 7, {9}},  // no such profile, no such edition
    };
    for (const Case& c : cases) {
        currentProfile = c.profile;
        verSel = c.verSel;
        const Canvas n = paintState(c.page, kNone);
        const Rgb normal = c.page == kPageColour ? kColourNormal : kNormal;
        const Rgb down = c.page == kPageColour ? kColourDown : kDown;
        for (int i = 0; i <= 19; ++i) {
            const bool isPressed = std::find(c.pressed.begin(), c.pressed.end(), i) != c.pressed.end();
            EXPECT_EQ(centreOf(n, layouts.mainBoxes[i]), isPressed ? down : normal) << int(c.page) << " " << i;
        }
    }
}

TEST_F(PagePainterTest, FrameControlUnderThePointerShowsHoverOrPressed) {
    currentProfile = 1;
    ui.mainHover = 4;  // the current profile's button stays pressed
    EXPECT_EQ(centreOf(paintState(kPageMain, 4), layouts.mainBoxes[4]), kDown);
    ui.mainHover = 3;
    EXPECT_EQ(centreOf(paintState(kPageAdvanced, kNone), layouts.mainBoxes[3]), kOver);
    ui.pointerDown = true;
    EXPECT_EQ(centreOf(paintState(kPageAdvanced, kNone), layouts.mainBoxes[3]), kDown);
}

// ---- lighting preview looks

TEST_F(PagePainterTest, PreviewLooks) {
    const struct {
        std::uint8_t dark;
        std::int32_t colour;
        Rgb expected;
    } cases[] = {{1, 2, kUnlit}, {0, 0, kBlue}, {0, 1, kColourNormal}, {0, 2, kColourOver}, {0, 3, kColourDown},
                 {0, 9, kColourNormal}};
    for (const auto& c : cases) {
        ui.previewDark = c.dark;
        ui.previewColour = c.colour;
        EXPECT_EQ(centreOf(paintState(kPageColour, kNone), layouts.colourBoxes[11]), c.expected) << c.colour;
    }
}

// ---- captions

class CaptionTest : public PagePainterTest {
protected:
    const RecordingText::Call& draw(std::uint8_t page, std::u16string_view text) {
        ui.currentPage = page;
        Canvas n(kSkinW, kSkinH);
        texts.calls.clear();
        drawCaptions(n, pageCaptionCount[page], page, input(), texts);
        const RecordingText::Call* c = texts.find(text);
        static RecordingText::Call none{};
        EXPECT_NE(c, nullptr) << "no caption " << toUtf8(text);
        return c ? *c : none;
    }
    RecordingText texts;
};

TEST_F(CaptionTest, CentringRuleTruncatesTowardZero) {
    EXPECT_EQ(centredStart(100, 40, 21), 109);
    EXPECT_EQ(centredStart(100, 10, 21), 95);  // -11 / 2 = -5
    EXPECT_EQ(centredStart(0, 20, 14), 3);
    layouts.mainCaptions[3] = u"Apply";  // 35 x 14 in a 20 x 20 box
    const auto& c = draw(kPageMain, u"Apply");
    EXPECT_EQ(c.x, layouts.mainBoxes[3].x + (20 - 35) / 2);
    EXPECT_EQ(c.y, layouts.mainBoxes[3].y + 3);
    EXPECT_EQ(c.colour, kCaptionWhite);
    EXPECT_EQ(c.font, UiFont::English);
}

TEST_F(CaptionTest, ButtonFunctionCaptions) {
    setMacroNames(macros, 5);
    profile.buttonFunction[0] = 45;  // the fifth user macro
    profile.buttonFunction[1] = 14;
    profile.buttonFunction[2] = 0;
    profile.buttonFunction[3] = 99;  // out of the table: nothing
    profile.buttonFunction[4] = -3;
    ui.mainHover = 25;
    ui.currentPage = kPageMain;
    Canvas n(kSkinW, kSkinH);
    drawCaptions(n, 54, kPageMain, input(), texts);
    std::vector<RecordingText::Call> rows;
    for (const auto& c : texts.calls)
        for (int i = 25; i <= 33; ++i)
            if (c.x == layouts.mainBoxes[i].x + 5) rows.push_back(c);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].text, u"Macro5");
    EXPECT_EQ(rows[0].colour, kCaptionRed);
    EXPECT_EQ(rows[0].y, layouts.mainBoxes[25].y + 3);
    EXPECT_EQ(rows[1].text, u"OFF");
    EXPECT_EQ(rows[1].colour, kCaptionWhite);
    EXPECT_EQ(rows[2].text, u"");
    EXPECT_EQ(rows[3].text, u"");
    EXPECT_EQ(rows[4].text, u"");
}

TEST_F(CaptionTest, ColourPageShowsTheAppliedDpi) {
    profile.dpiLevel = 1;
    const struct {
        std::uint8_t code;
        const char16_t* text;
    } cases[] = {{15, u"4800"}, {1, u"200"}, {9, u"2000"}, {99, u"200"}};
    for (const auto& c : cases) {
        profile.dpiCode[1] = c.code;
        const auto& call = draw(kPageColour, c.text);
        EXPECT_EQ(call.y, layouts.colourBoxes[9].y + 3);
    }
    // The frame captions are drawn on every page, the main page's others not.
    EXPECT_NE(texts.find(u"m19"), nullptr);
    EXPECT_EQ(texts.find(u"m20"), nullptr);
    EXPECT_NE(texts.find(u"c12"), nullptr);
}

TEST_F(CaptionTest, AdvancedPageLiveCaptions) {
    profile.fireTime = 150;
    editor.downCount = 3;
    editor.upCount = 12;
    ui.advancedHover = 33;
    EXPECT_EQ(draw(kPageAdvanced, u"150ms").colour, kCaptionRed);
    EXPECT_NE(texts.find(u"[↓]3"), nullptr);
    EXPECT_NE(texts.find(u"[↑]12"), nullptr);
    EXPECT_NE(texts.find(u"Record"), nullptr);
    EXPECT_NE(texts.find(u"a51"), nullptr);
    editor.recording = true;
    verSel = 0;
    const auto& stop = draw(kPageAdvanced, u"停止");
    EXPECT_EQ(stop.font, UiFont::Chinese);
    EXPECT_EQ(stop.colour, kCaptionWhite);
}

// ---- whole paints

TEST_F(PagePainterTest, CachedImagesDecodeOnceAndPaintTheSame) {
    RecordingText text;
    ui.currentPage = kPageColour;
    ui.mainHover = 3;
    Canvas first, second;
    composePage(first, pageImages(cache, kPageColour), input(), text);
    const int decodes = decoder.decodes;
    EXPECT_EQ(decodes, 5);
    composePage(second, pageImages(cache, kPageColour), input(), text);
    EXPECT_EQ(decoder.decodes, decodes);
    EXPECT_EQ(first, second);

    // The same paint from freshly decoded images.
    MemoryDecoder fresh;
    addPageImages(fresh);
    SkinImageCache once(fresh, u"S");
    Canvas third;
    composePage(third, pageImages(once, kPageColour), input(), text);
    EXPECT_EQ(first, third);
}

TEST_F(PagePainterTest, MissingImagesPaintBlackWithoutFailing) {
    MemoryDecoder empty;
    SkinImageCache none(empty, u"S");
    RecordingText text;
    Canvas out;
    composePage(out, pageImages(none, kPageMain), input(), text, 50, 40);
    EXPECT_EQ(out.width(), 50);
    EXPECT_EQ(out.pixel(49, 39), Rgb{});
}

}  // namespace
}  // namespace korvel
