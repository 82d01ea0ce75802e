#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ini.h"
#include "paint_test_skin.h"
#include "profile/config_store.h"
#include "ui/click_controller.h"
#include "test_support.h"

namespace korvel {
namespace {

using namespace test;
using ::testing::ElementsAre;

// Records every call as one line of text.
class FakeWindow : public MainWindowPort, public ProfileFilesHooks, public MacroPanelHooks {
public:
    void invalidate() override { log.push_back("invalidate"); }
    void invalidatePaintRegion() override { log.push_back("invalidateRegion"); }
    void updateNow() override { log.push_back("update"); }
    void startWindowDrag(std::int32_t x, std::int32_t y) override { log.push_back("drag " + xy(x, y)); }
    ScreenPoint windowOrigin() override { return origin; }
    void postMinimise(std::int32_t x, std::int32_t y) override { log.push_back("minimise " + xy(x, y)); }
    void hideToTray() override { log.push_back("hide"); }
    void hideToTrayReverting() override { log.push_back("hideReverting"); }
    void applyProfile() override { log.push_back("apply"); }
    void openWebPage(std::u16string_view address) override { log.push_back("web " + toUtf8(address)); }
    int showWarning(ScreenPoint at) override {
        log.push_back("warning " + xy(at.x, at.y));
        return warningResult;
    }
    void openFunctionMenu(ScreenPoint at) override { log.push_back("menu " + xy(at.x, at.y)); }
    void destroyFunctionMenu() override { log.push_back("destroyMenu"); }
    void importProfile() override { log.push_back("importProfile"); }
    void exportProfile() override { log.push_back("exportProfile"); }
    void factoryReset() override { log.push_back("reset"); }
    void switchEdition(std::int32_t v) override { log.push_back("edition " + std::to_string(v)); }
    void createMacroControls() override { log.push_back("createControls"); }
    void destroyMacroControls() override { log.push_back("destroyControls"); }
    void refillMacroList() override { log.push_back("refill"); }
    std::optional<std::u16string> chooseMacroLibraryFile(bool save) override {
        log.push_back(save ? "saveDialog" : "openDialog");
        return chosenFile;
    }
    void loadMacroLibrary(std::u16string_view path) override { log.push_back("load " + toUtf8(path)); }
    void saveMacroLibrary(std::u16string_view path) override { log.push_back("save " + toUtf8(path)); }
    void addMacro() override { log.push_back("addMacro"); }
    void deleteMacro() override { log.push_back("deleteMacro"); }
    void startStopRecording() override { log.push_back("record"); }
    void setRepeatCount() override { log.push_back("repeat"); }
    void togglePlayMode() override { log.push_back("playMode"); }

    static std::string xy(std::int32_t x, std::int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
    std::vector<std::string> log;
    ScreenPoint origin{1000, 500};
    std::optional<std::u16string> chosenFile;
    int warningResult = 1;
};

class ClickTest : public ::testing::Test {
protected:
    ClickTest()
        : preview(ui, profile, nullptr),
          controller(ClickModel{layouts, profile, currentProfile, verSel, configPath}, ui,
                     popups, preview, window, window, window) {
        profile.setFactoryValues();
    }
    ~ClickTest() override {
        ui.currentPage = kPageMain;
        preview.stop();
    }
    // The pointer over a control of the current page's tables, then a press.
    SkinBox mainBox(int i) const { return layouts.mainBoxes[i]; }
    void moveTo(const SkinBox& b) { controller.onPointerMove(b.x + 2, b.y + 2); }
    void pressOn(const SkinBox& b) {
        moveTo(b);
        window.log.clear();
        controller.onButtonDown(b.x + 2, b.y + 2);
    }
    void releaseOn(const SkinBox& b) {
        moveTo(b);
        window.log.clear();
        controller.onButtonUp(b.x + 2, b.y + 2);
    }
    std::vector<std::string> actions() const {
        // The press's own repaint request is not an action of the table.
        std::vector<std::string> out;
        for (std::size_t i = 0; i < window.log.size(); ++i)
            if (!(i == 0 && window.log[i] == "invalidate")) out.push_back(window.log[i]);
        return out;
    }

    TempFolder folder;
    std::u16string configPath = folder.programPath() + u"\\config.ini";
    SkinLayouts layouts = testLayouts();
    Profile profile;
    Relaxed<std::int32_t> currentProfile{1};
    Relaxed<std::int32_t> verSel{1};
    UiState ui;
    PopupState popups;
    FakeWindow window;
    LightingPreview preview;
    ClickController controller;
};

// ---- pointer movement

TEST_F(ClickTest, MovementRepaintsOncePerChangedIndex) {
    moveTo(mainBox(25));
    window.log.clear();
    controller.onPointerMove(mainBox(25).x + 7, mainBox(25).y + 9);  // inside the same control
    EXPECT_TRUE(window.log.empty());
    moveTo(mainBox(26));
    EXPECT_THAT(window.log, ElementsAre("invalidate", "update"));
    EXPECT_EQ(ui.mainHover, 26);
    window.log.clear();
    controller.onPointerMove(-50, -50);
    EXPECT_THAT(window.log, ElementsAre("invalidate", "update"));
    EXPECT_EQ(ui.mainHover, kNone);
}

TEST_F(ClickTest, OtherPagesTestOnlyTheFrameOfTheMainTable) {
    ui.currentPage = kPageAdvanced;
    moveTo(mainBox(30));
    EXPECT_EQ(ui.mainHover, kNone);
    moveTo(mainBox(19));
    EXPECT_EQ(ui.mainHover, 19);
    // The advanced page repaints its paint region, around the child controls.
    EXPECT_THAT(window.log, ::testing::Contains("invalidateRegion"));
    EXPECT_THAT(window.log, ::testing::Not(::testing::Contains("invalidate")));
    // Every table is tested whatever the page: two indices change, two repaints.
    window.log.clear();
    ui.currentPage = kPageMain;
    controller.onPointerMove(layouts.colourBoxes[2].x + 1, layouts.colourBoxes[2].y + 1);
    EXPECT_EQ(ui.colourHover, 2);
    EXPECT_THAT(window.log, ElementsAre("invalidate", "update", "invalidate", "update"));
}

TEST_F(ClickTest, EarlierEntriesWinWhereBoxesOverlap) {
    layouts.mainBoxes[7] = SkinBox{0, 0, 100, 100};
    layouts.mainBoxes[3] = SkinBox{50, 50, 10, 10};
    controller.onPointerMove(55, 55);
    EXPECT_EQ(ui.mainHover, 3);
    controller.onPointerMove(5, 5);
    EXPECT_EQ(ui.mainHover, 0);  // box 0 lies inside box 7 and comes first
    controller.onPointerMove(70, 70);
    EXPECT_EQ(ui.mainHover, 7);
}

// ---- button down, main page

TEST_F(ClickTest, MainPageDownTable) {
    struct Row {
        int index;
        std::vector<std::string> actions;
    };
    const Row rows[] = {
        {41, {}}, {42, {}}, {46, {}}, {55, {}}, {70, {"invalidate"}}, {78, {"invalidate"}}, {3, {}}, {19, {}}, {114, {}},
    };
    for (const Row& r : rows) {
        pressOn(mainBox(r.index));
        EXPECT_EQ(actions(), r.actions) << r.index;
        controller.onButtonUp(-100, -100);
    }
    EXPECT_EQ(profile.wheelStatus, 1);   // 41 then 42
    EXPECT_EQ(profile.dpiSetEn[0], 0);   // 46 toggled level 0 off
    EXPECT_EQ(profile.dpiLevel, 1);      // ... which moved the level; 55 selected level 1
    EXPECT_EQ(profile.dpiSet[0], 4);     // entry 70
    EXPECT_EQ(profile.dpiSet[1], 0);     // entry 78
}

TEST_F(ClickTest, EveryDpiControlOfTheMainPage) {
    for (int i = 66; i <= 113; ++i) {
        pressOn(mainBox(i));
        const int level = (i - 66) / 12;
        EXPECT_EQ(profile.dpiSet[level], i - 66 - 12 * level) << i;
        EXPECT_THAT(actions(), ElementsAre("invalidate")) << i;
    }
    for (int L = 0; L < 4; ++L) {
        pressOn(mainBox(54 + L));
        EXPECT_EQ(profile.dpiLevel, L);
    }
    // In-use switches; the only level in use stays in use.
    for (int L = 0; L < 4; ++L) pressOn(mainBox(46 + L));
    EXPECT_EQ(profile.dpiSetEn[3], 1);
    EXPECT_EQ(profile.dpiSetEn[0] + profile.dpiSetEn[1] + profile.dpiSetEn[2], 0);
    pressOn(mainBox(49));
    EXPECT_EQ(profile.dpiSetEn[3], 1);
}

TEST_F(ClickTest, EveryFunctionEntryOpensItsMenu) {
    for (int i = 26; i <= 33; ++i) {
        pressOn(mainBox(i));
        EXPECT_EQ(popups.selectedButton, i);
        EXPECT_EQ(popups.menuOrigin, (ScreenPoint{1000 + mainBox(i).x, 500 + mainBox(i).y + mainBox(i).height}));
        EXPECT_EQ(actions().back(), "menu " + FakeWindow::xy(popups.menuOrigin.x, popups.menuOrigin.y)) << i;
    }
}

TEST_F(ClickTest, MainPageTabsEnterTheOtherPages) {
    pressOn(mainBox(10));
    EXPECT_EQ(ui.currentPage, kPageAdvanced);
    EXPECT_EQ(actions(), (std::vector<std::string>{"invalidateRegion", "createControls", "update", "refill", "update"}));
    ui.currentPage = kPageMain;
    pressOn(mainBox(11));
    EXPECT_EQ(ui.currentPage, kPageColour);
    EXPECT_TRUE(preview.running());
    EXPECT_EQ(actions(), (std::vector<std::string>{"invalidate"}));
}

TEST_F(ClickTest, PressOnNothingDragsTheWindow) {
    controller.onPointerMove(398, 355);
    window.log.clear();
    controller.onButtonDown(398, 355);
    EXPECT_THAT(window.log, ElementsAre("drag 398,355"));
    EXPECT_FALSE(ui.pointerDown);
    // A press on frame entry 1 shows its look and does nothing else.
    pressOn(mainBox(1));
    EXPECT_TRUE(ui.pointerDown);
    EXPECT_THAT(window.log, ElementsAre("invalidate"));
}

TEST_F(ClickTest, FunctionMenuOpensUnderTheEntryAskingOnlyForTheLastLeftButton) {
    const SkinBox b = mainBox(27);  // button 2, code 3
    pressOn(b);
    const std::string at = FakeWindow::xy(1000 + b.x, 500 + b.y + b.height);
    EXPECT_THAT(actions(), ElementsAre("menu " + at));
    EXPECT_TRUE(popups.menuOpen);
    EXPECT_EQ(popups.selectedButton, 27);
    // A second press on a function entry destroys the first menu first.
    pressOn(mainBox(25));  // button 0 holds the only left click
    EXPECT_THAT(actions(), ElementsAre("destroyMenu", "warning " + FakeWindow::xy(1000 + mainBox(25).x, 500 + mainBox(25).y + 20),
                                       "menu " + FakeWindow::xy(1000 + mainBox(25).x, 500 + mainBox(25).y + 20)));
    // Declining opens no menu and changes nothing.
    window.warningResult = 2;
    pressOn(mainBox(25));
    EXPECT_THAT(actions(), ElementsAre("destroyMenu", ::testing::StartsWith("warning")));
    EXPECT_FALSE(popups.menuOpen);
    EXPECT_EQ(profile.buttonFunction[0], 1);
    // Another button with code 1: no warning.
    profile.buttonFunction[4] = 1;
    pressOn(mainBox(25));
    EXPECT_THAT(actions(), ElementsAre(::testing::StartsWith("menu")));
}

// ---- button down, advanced page

TEST_F(ClickTest, AdvancedPageDownTable) {
    ui.currentPage = kPageAdvanced;
    const struct {
        int index;
        const char* action;
    } hooks[] = {{0, "openDialog"}, {1, "saveDialog"}, {2, "addMacro"}, {3, "deleteMacro"},
                 {4, "record"},     {5, "repeat"},     {6, "playMode"}};
    for (const auto& h : hooks) {
        pressOn(layouts.advancedBoxes[h.index]);
        EXPECT_THAT(actions(), ElementsAre(h.action)) << h.index;
    }
    // A library chosen in the dialog is loaded and shown, or saved.
    window.chosenFile = u"lib.dat";
    pressOn(layouts.advancedBoxes[0]);
    EXPECT_THAT(actions(), ElementsAre("openDialog", "load lib.dat", "refill", "invalidate"));
    pressOn(layouts.advancedBoxes[1]);
    EXPECT_THAT(actions(), ElementsAre("saveDialog", "save lib.dat"));
    pressOn(layouts.advancedBoxes[7]);
    EXPECT_EQ(profile.macroMode2, 1);
    for (int i = 8; i <= 17; ++i) {
        pressOn(layouts.advancedBoxes[i]);
        EXPECT_EQ(profile.dpiSpeed, i - 8);
    }
    for (int i = 18; i <= 27; ++i) {
        pressOn(layouts.advancedBoxes[i]);
        EXPECT_EQ(profile.wheelSpeed, i - 18);
    }
    // Entries 28, 29 and 33-37 are no buttons.
    for (int i : {28, 29, 33, 37}) {
        pressOn(layouts.advancedBoxes[i]);
        EXPECT_TRUE(actions().empty()) << i;
    }
}

TEST_F(ClickTest, FireTimeControls) {
    ui.currentPage = kPageAdvanced;
    const SkinBox bar = layouts.advancedBoxes[30];  // 300 wide
    const struct {
        std::int32_t x;
        int expected;
    } clicks[] = {{bar.x, 0}, {bar.x + 150, 150}, {bar.x + 299, 299}};
    for (const auto& c : clicks) {
        controller.onPointerMove(c.x, bar.y + 1);
        window.log.clear();
        controller.onButtonDown(c.x, bar.y + 1);
        EXPECT_EQ(profile.fireTime, c.expected);
        EXPECT_THAT(actions(), ElementsAre("invalidate"));
    }
    pressOn(layouts.advancedBoxes[31]);
    EXPECT_EQ(profile.fireTime, 300);
    pressOn(layouts.advancedBoxes[31]);
    EXPECT_EQ(profile.fireTime, 300);
    profile.fireTime = 1;
    pressOn(layouts.advancedBoxes[32]);
    pressOn(layouts.advancedBoxes[32]);
    EXPECT_EQ(profile.fireTime, 0);
}

TEST_F(ClickTest, AdvancedPageTabsAndDrag) {
    ui.currentPage = kPageAdvanced;
    pressOn(mainBox(9));
    EXPECT_EQ(ui.currentPage, kPageMain);
    EXPECT_THAT(actions(), ElementsAre("destroyControls", "invalidate"));
    ui.currentPage = kPageAdvanced;
    pressOn(mainBox(11));
    EXPECT_EQ(ui.currentPage, kPageColour);
    EXPECT_THAT(actions(), ElementsAre("destroyControls", "invalidate"));
    EXPECT_TRUE(preview.running());
    ui.currentPage = kPageAdvanced;
    controller.onPointerMove(398, 355);
    window.log.clear();
    controller.onButtonDown(398, 355);
    EXPECT_THAT(window.log, ElementsAre("drag 398,355"));
    // A place that is a control of the page (or the frame) does not drag.
    pressOn(mainBox(3));
    EXPECT_TRUE(actions().empty());
    pressOn(layouts.advancedBoxes[35]);
    EXPECT_TRUE(actions().empty());
}

// ---- button down, colour page

TEST_F(ClickTest, ColourPageDownTable) {
    ui.currentPage = kPageColour;
    for (int i = 0; i <= 3; ++i) {
        pressOn(layouts.colourBoxes[i]);
        EXPECT_EQ(profile.ledStatus, i);
        EXPECT_TRUE(actions().empty());
    }
    pressOn(layouts.colourBoxes[4]);
    EXPECT_TRUE(actions().empty());
    controller.onPointerMove(398, 355);
    window.log.clear();
    controller.onButtonDown(398, 355);
    EXPECT_THAT(window.log, ElementsAre("drag 398,355"));
    pressOn(mainBox(10));
    EXPECT_EQ(ui.currentPage, kPageAdvanced);
    ui.currentPage = kPageColour;
    pressOn(mainBox(9));
    EXPECT_EQ(ui.currentPage, kPageMain);
    EXPECT_THAT(actions(), ElementsAre("invalidate"));
}

// ---- button up: the frame controls on every page

TEST_F(ClickTest, ReleaseTable) {
    const struct {
        int index;
        std::vector<std::string> actions;
        bool clearsHover;
    } rows[] = {
        {2, {"hideReverting", "invalidate"}, true},
        {3, {"apply"}, false},
        {12, {"minimise 290,2"}, true},
        {13, {"hide"}, true},
        {14, {"importProfile"}, false},
        {15, {"exportProfile"}, false},
        {16, {"reset"}, false},
        {17, {"edition 0"}, false},
        {18, {"edition 1"}, false},
        {19, {"web https://korvel.example/"}, false},
        {1, {}, false},
        {9, {}, false},
    };
    for (std::uint8_t page : {kPageMain, kPageAdvanced, kPageColour}) {
        ui.currentPage = page;
        for (const auto& r : rows) {
            ui.pointerDown = true;
            releaseOn(mainBox(r.index));
            EXPECT_FALSE(ui.pointerDown);
            EXPECT_EQ(actions(), r.actions) << r.index;
            EXPECT_EQ(ui.mainHover, r.clearsHover ? kNone : r.index) << r.index;
        }
    }
}

TEST_F(ClickTest, ProfileButtonsLoadAndSaveStores) {
    const std::u16string path = folder.programPath() + u"\\config.ini";
    profile.fireTime = 123;
    currentProfile = 2;
    releaseOn(mainBox(0));
    EXPECT_EQ(ini::readString(path, u"Config2", u"FIRE_TIME", 64), u"123");
    // Pressing on profile 1 and releasing over profile 3 selects profile 3.
    pressOn(mainBox(4));
    releaseOn(mainBox(6));
    EXPECT_EQ(currentProfile, 3);
    EXPECT_EQ(profile.fireTime, 0);  // the empty section reads as zeros
    releaseOn(mainBox(5));
    EXPECT_EQ(currentProfile, 2);
    EXPECT_EQ(profile.fireTime, 123);
    for (int i = 4; i <= 8; ++i) {
        releaseOn(mainBox(i));
        EXPECT_EQ(currentProfile, i - 3);
        EXPECT_THAT(actions(), ElementsAre("invalidate"));
    }
}

}  // namespace
}  // namespace korvel
