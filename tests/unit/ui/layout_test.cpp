#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ui/layout.h"
#include "test_support.h"

namespace korvel {
namespace {

using test::RecordingMessageBox;
using test::TempFolder;

// ---- Splitting a value into its seven fields.

struct SplitCase {
    const char16_t* value;
    LayoutFields fields;
    bool tooMany;
};

class SplitLayoutValue : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLayoutValue, GivesTheSevenFields) {
    bool tooMany = !GetParam().tooMany;
    EXPECT_EQ(splitLayoutValue(GetParam().value, &tooMany), GetParam().fields);
    EXPECT_EQ(tooMany, GetParam().tooMany);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SplitLayoutValue,
    ::testing::Values(
        // Six commas: the regular form.
        SplitCase{u"save,1,2,3,4,Save,", {u"save", u"1", u"2", u"3", u"4", u"Save", u""}, false},
        SplitCase{u"a,1,2,3,4,cap,tail", {u"a", u"1", u"2", u"3", u"4", u"cap", u"tail"}, false},
        // More than six: field 6 keeps the later commas.
        SplitCase{u"a,1,2,3,4,cap,x,y", {u"a", u"1", u"2", u"3", u"4", u"cap", u"x,y"}, true},
        SplitCase{u",,,,,,,,", {u"", u"", u"", u"", u"", u"", u",,"}, true},
        // No comma: the whole value is field 0 (a "FUN_STRING" caption).
        SplitCase{u"Left Click", {u"Left Click", u"", u"", u"", u"", u"", u""}, false},
        SplitCase{u"", {}, false},
        // Fewer than six commas fill the fields they have.
        SplitCase{u"a,1,2", {u"a", u"1", u"2", u"", u"", u"", u""}, false},
        SplitCase{u"a,1,2,3,4", {u"a", u"1", u"2", u"3", u"4", u"", u""}, false},
        SplitCase{u"a,1,2,3,4,cap", {u"a", u"1", u"2", u"3", u"4", u"cap", u""}, false}));

// ---- Loading layout files.

class LayoutLoading : public ::testing::Test {
protected:
    void SetUp() override {
        context.skinFolder = folder.programPath();
        context.verSel = 1;
        context.messages = &messages;
        context.messageCaption = u"Korvel";
        context.exitRoutine = [this] { ++exits; };
    }
    // A complete set of (nearly empty) layout files for one edition.
    void writeEdition(bool english, const std::string& mainExtra = {}, const std::string& advancedExtra = {}) {
        const std::string dir = english ? "INI_EN/" : "INI_CN/";
        folder.write(dir + (english ? "skin_main_en.ini" : "skin_main.ini"), "[BUTTONPOS]\r\n" + mainExtra);
        folder.write(dir + (english ? "skin_color_en.ini" : "skin_color.ini"), "[BUTTONPOS]\r\n");
        folder.write(dir + (english ? "skin_advance_en.ini" : "skin_advance.ini"), "[BUTTONPOS]\r\n" + advancedExtra);
        folder.write(dir + (english ? "LBWarning_en.ini" : "LBWarning.ini"), "[BUTTONPOS]\r\n");
    }

    TempFolder folder;
    RecordingMessageBox messages;
    int exits = 0;
    LayoutContext context;
    SkinLayouts layouts;
};

struct NumberCase {
    const char* fields;  // x,y,width,height as written
    SkinBox box;
};

TEST_F(LayoutLoading, NumberFieldsReadAsLeadingIntegers) {
    const NumberCase cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"  7, +8,\t9, 010", {7, 8, 9, 10}},
        {"12px,3abc,-5,-0", {12, 3, -5, 0}},
        {"x12,,+,- 4", {0, 0, 0, 0}},
        {"99999999999,-99999999999,2147483647,-2147483648", {2147483647, -2147483647 - 1, 2147483647, -2147483647 - 1}},
    };
    std::string main;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        main += std::to_string(i) + "=label," + cases[i].fields + ",caption" + std::to_string(i) + ",\r\n";
    writeEdition(true, main);
    ASSERT_TRUE(loadSkinLayouts(context, layouts));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].fields);
        EXPECT_EQ(layouts.mainBoxes[i], cases[i].box);
        EXPECT_EQ(layouts.mainCaptions[i], u"caption" + decimalText(static_cast<int>(i)));
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(exits, 0);
}

TEST_F(LayoutLoading, MissingKeysGiveEmptyBoxesThatContainNoPoint) {
    writeEdition(true, "5=a,1,1,10,10,five,\r\n7=\r\n");
    ASSERT_TRUE(loadSkinLayouts(context, layouts));
    EXPECT_EQ(layouts.mainBoxes[5], (SkinBox{1, 1, 10, 10}));
    for (int i : {0, 6, 7, 123}) {
        EXPECT_EQ(layouts.mainBoxes[i], SkinBox{}) << i;
        EXPECT_TRUE(layouts.mainCaptions[i].empty()) << i;
        EXPECT_FALSE(layouts.mainBoxes[i].contains(0, 0));
    }
    EXPECT_EQ(hitTest(layouts.mainBoxes, 114, 0, 0), 255);
    EXPECT_EQ(hitTest(layouts.mainBoxes, 114, 5, 5), 5);
    EXPECT_EQ(hitTest(layouts.mainBoxes, 4, 5, 5), 255);  // beyond the last index tested
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(LayoutLoading, TooManyCommasShowsTheMessageForEachSuchValueAndGoesOn) {
    writeEdition(true, "0=a,1,2,3,4,Save,x,y\r\n1=b,5,6,7,8,Hide,\r\n2=c,9,9,9,9,Z,,,\r\n");
    ASSERT_TRUE(loadSkinLayouts(context, layouts));
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[0], u"加载ini错误！");
    EXPECT_EQ(messages.captions[0], u"Korvel");
    EXPECT_EQ(layouts.mainBoxes[0], (SkinBox{1, 2, 3, 4}));
    EXPECT_EQ(layouts.mainCaptions[0], u"Save");
    EXPECT_EQ(layouts.mainBoxes[1], (SkinBox{5, 6, 7, 8}));
    EXPECT_EQ(layouts.mainCaptions[2], u"Z");
    EXPECT_EQ(exits, 0);
}

TEST_F(LayoutLoading, Entry14IsReplacedPerEdition) {
    const std::string funString = "[FUN_STRING]\r\n1=Left Click\r\n13=Sniper,with comma\r\n14=Rate\r\n54=Last\r\n0=never\r\n";
    writeEdition(true, "0=a,1,1,1,1,x,\r\n" + funString);
    writeEdition(false, "0=a,1,1,1,1,x,\r\n" + funString);
    struct {
        std::int32_t verSel;
        const char16_t* caption14;
    } editions[] = {{1, u"OFF"}, {0, u"无功能"}, {7, u"OFF"}};
    for (const auto& e : editions) {
        context.verSel = e.verSel;
        ASSERT_TRUE(loadMainLayout(context, layouts));
        EXPECT_EQ(layouts.functionCaptions[14], e.caption14);
        EXPECT_EQ(layouts.functionCaptions[1], u"Left Click");
        EXPECT_EQ(layouts.functionCaptions[13], u"Sniper");  // field 0 only
        EXPECT_EQ(layouts.functionCaptions[54], u"Last");
        EXPECT_TRUE(layouts.functionCaptions[0].empty());
        EXPECT_TRUE(layouts.functionCaptions[2].empty());
    }
}

TEST_F(LayoutLoading, ChildBoxesAreKeptInBothForms) {
    writeEdition(true, {},
                 "0=a,1,1,1,1,x,\r\n[EDIT]\r\n1=a,9,9,9,9,,\r\n3=repeat,10,20,30,40,,\r\n4=name,5,6,2147483647,-3,,\r\n"
                 "[MACRODISPLAY]\r\n1=list,100,200,50,60,,\r\n2=events,1,2,3,4\r\n");
    ASSERT_TRUE(loadAdvancedLayout(context, layouts));
    EXPECT_EQ(layouts.repeatBox.box, (SkinBox{10, 20, 30, 40}));
    EXPECT_EQ(layouts.repeatBox.rect, (Rect{10, 20, 40, 60}));
    EXPECT_EQ(layouts.nameBox.box, (SkinBox{5, 6, 2147483647, -3}));
    EXPECT_EQ(layouts.nameBox.rect, (Rect{5, 6, 2147483647, 3}));  // saturated, never wrapped
    EXPECT_EQ(layouts.macroListBox.rect, (Rect{100, 200, 150, 260}));
    EXPECT_EQ(layouts.eventListBox.rect, (Rect{1, 2, 4, 6}));
}

TEST_F(LayoutLoading, MissingFileShowsOneMessageRunsTheExitRoutineAndReadsNoMore) {
    // Only the colour file of the English edition exists.
    folder.write("INI_EN/skin_color_en.ini", "[BUTTONPOS]\r\n0=a,1,2,3,4,x,y,z,w\r\n");
    layouts.colourBoxes[0] = SkinBox{9, 9, 9, 9};
    EXPECT_FALSE(loadSkinLayouts(context, layouts));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], u"找不到配置文件");
    EXPECT_EQ(messages.captions[0], u"Korvel");
    EXPECT_EQ(exits, 1);
    // Loading stopped at the main file: the colour file was not read.
    EXPECT_EQ(layouts.colourBoxes[0], (SkinBox{9, 9, 9, 9}));
}

TEST_F(LayoutLoading, MissingLaterFileStopsThereAfterEarlierOnesLoaded) {
    writeEdition(true, "0=a,1,2,3,4,x,\r\n");
    std::filesystem::remove(folder.root() / "INI_EN" / "skin_advance_en.ini");
    EXPECT_FALSE(loadSkinLayouts(context, layouts));
    EXPECT_EQ(messages.texts, std::vector<std::u16string>{u"找不到配置文件"});
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(layouts.mainBoxes[0], (SkinBox{1, 2, 3, 4}));
}

TEST_F(LayoutLoading, ALanguageSwitchReplacesEveryEntry) {
    writeEdition(true, "0=a,1,2,3,4,Save,\r\n1=b,5,5,5,5,Only English,\r\n[FUN_STRING]\r\n1=Left Click\r\n");
    writeEdition(false, "0=a,1,2,3,4,保存,\r\n[FUN_STRING]\r\n2=右键\r\n");
    ASSERT_TRUE(loadSkinLayouts(context, layouts));
    EXPECT_EQ(layouts.mainCaptions[1], u"Only English");
    context.verSel = 0;
    ASSERT_TRUE(loadSkinLayouts(context, layouts));
    EXPECT_EQ(layouts.mainCaptions[0], u"保存");
    EXPECT_EQ(layouts.mainBoxes[1], SkinBox{});
    EXPECT_TRUE(layouts.mainCaptions[1].empty());
    EXPECT_TRUE(layouts.functionCaptions[1].empty());
    EXPECT_EQ(layouts.functionCaptions[2], u"右键");
}

TEST_F(LayoutLoading, LongValuesAreCutAt259Characters) {
    const std::string caption(400, 'c');
    writeEdition(true, "0=a,1,2,3,4," + caption + "\r\n");
    ASSERT_TRUE(loadMainLayout(context, layouts));
    EXPECT_EQ(layouts.mainCaptions[0].size(), 259u - std::string("a,1,2,3,4,").size());
}

TEST_F(LayoutLoading, DamagedFilesLoadWithoutHarm) {
    // Random bytes, lines and commas: loading must stay bounded and keep
    // every table at its size; the boxes are whatever the numbers say.
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789,,,,=-+ \t\r\n[]abcBUTTONPOS\xE4\xB8\xAD\xFF";
    for (int round = 0; round < 40; ++round) {
        std::string text = round % 2 ? "[BUTTONPOS]\n" : "";
        const int length = static_cast<int>(random() % 3000);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        writeEdition(true, text, text);
        folder.write("INI_EN/LBWarning_en.ini", text);
        EXPECT_TRUE(loadSkinLayouts(context, layouts));
    }
    EXPECT_EQ(exits, 0);
}

TEST(LayoutPaths, FollowTheEdition) {
    EXPECT_EQ(mainLayoutPath(u"C:\\k\\skins", 1), u"C:\\k\\skins\\INI_EN\\skin_main_en.ini");
    EXPECT_EQ(mainLayoutPath(u"C:\\k\\skins", 0), u"C:\\k\\skins\\INI_CN\\skin_main.ini");
    EXPECT_EQ(colourLayoutPath(u"S", 1), u"S\\INI_EN\\skin_color_en.ini");
    EXPECT_EQ(colourLayoutPath(u"S", 0), u"S\\INI_CN\\skin_color.ini");
    EXPECT_EQ(advancedLayoutPath(u"S", 1), u"S\\INI_EN\\skin_advance_en.ini");
    EXPECT_EQ(advancedLayoutPath(u"S", 0), u"S\\INI_CN\\skin_advance.ini");
    EXPECT_EQ(warningLayoutPath(u"S", 1), u"S\\INI_EN\\LBWarning_en.ini");
    EXPECT_EQ(warningLayoutPath(u"S", 0), u"S\\INI_CN\\LBWarning.ini");
}

TEST(SkinBoxContains, EdgesAndOverflow) {
    const SkinBox box{10, 20, 5, 3};
    EXPECT_TRUE(box.contains(10, 20));
    EXPECT_TRUE(box.contains(14, 22));
    EXPECT_FALSE(box.contains(15, 22));
    EXPECT_FALSE(box.contains(14, 23));
    EXPECT_FALSE(box.contains(9, 20));
    EXPECT_FALSE((SkinBox{0, 0, -5, 5}).contains(-2, 1));
    // x + width beyond 32 bits must not wrap into a negative edge.
    EXPECT_TRUE((SkinBox{2147483000, 0, 2147483647, 1}).contains(2147483647, 0));
    EXPECT_FALSE((SkinBox{-2147483647 - 1, 0, -1, 1}).contains(0, 0));
}

}  // namespace
}  // namespace korvel
