#include "profile/profile.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

std::array<int, kButtonCount> buttons(const Profile& p) {
    std::array<int, kButtonCount> out{};
    for (int i = 0; i < kButtonCount; ++i) out[i] = p.buttonFunction[i];
    return out;
}

Profile withButtons(std::array<int, kButtonCount> codes) {
    Profile p;
    for (int i = 0; i < kButtonCount; ++i) p.buttonFunction[i] = codes[i];
    return p;
}

TEST(LeftButtonRule, AssigningKeepsALeftButton) {
    struct Case {
        const char* what;
        std::array<int, kButtonCount> before;
        int button, code;
        std::array<int, kButtonCount> after;
    };
    const Case cases[] = {
        {"the only left button on 0 moves to button 1", {1, 2, 3, 5, 4, 16, 15, 13, 0}, 0, 2, {2, 1, 3, 5, 4, 16, 15, 13, 0}},
        {"the only left button on 8 stays on 8", {2, 2, 3, 5, 4, 16, 15, 13, 1}, 8, 2, {2, 2, 3, 5, 4, 16, 15, 13, 1}},
        {"another left button remains", {1, 1, 3, 5, 4, 16, 15, 13, 0}, 0, 41, {41, 1, 3, 5, 4, 16, 15, 13, 0}},
        {"the left button on 4 moves to 5", {2, 2, 3, 5, 1, 16, 15, 13, 0}, 4, 21, {2, 2, 3, 5, 21, 1, 15, 13, 0}},
        {"assigning left itself", {2, 2, 3, 5, 4, 16, 15, 13, 1}, 3, 1, {2, 2, 3, 1, 4, 16, 15, 13, 1}},
    };
    for (const auto& c : cases) {
        Profile p = withButtons(c.before);
        p.assignButtonFunction(c.button, c.code);
        EXPECT_EQ(buttons(p), c.after) << c.what;
    }
}

struct DpiCase {
    const char* what;
    std::array<int, 4> enabled;
    int level, toggle;
    std::array<int, 4> enabledAfter;
    int levelAfter;
};

TEST(DpiLevels, ToggleKeepsALevelInUse) {
    const DpiCase cases[] = {
        {"only level 2 stays enabled and current", {0, 0, 1, 0}, 2, 2, {0, 0, 1, 0}, 2},
        {"disabling current 3 moves on, wrapping to 0", {1, 0, 0, 1}, 3, 3, {1, 0, 0, 0}, 0},
        {"disabling a level that is not current", {0, 1, 1, 0}, 1, 2, {0, 1, 0, 0}, 1},
        {"enabling a disabled level", {0, 1, 0, 0}, 1, 3, {0, 1, 0, 1}, 1},
        {"disabling current 1 finds 2", {1, 1, 1, 0}, 1, 1, {1, 0, 1, 0}, 2},
    };
    for (const auto& c : cases) {
        Profile p;
        for (int i = 0; i < 4; ++i) p.dpiSetEn[i] = static_cast<std::uint8_t>(c.enabled[i]);
        p.dpiLevel = c.level;
        p.toggleDpiEnabled(c.toggle);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(p.dpiSetEn[i], c.enabledAfter[i]) << c.what << " level " << i;
        EXPECT_EQ(p.dpiLevel, c.levelAfter) << c.what;
    }
}

TEST(DpiLevels, SelectingADisabledLevelChangesNothing) {
    Profile p;
    p.setFactoryValues();
    p.toggleDpiEnabled(2);
    p.selectDpiLevel(2);
    EXPECT_EQ(p.dpiLevel, 0);
    p.selectDpiLevel(3);
    EXPECT_EQ(p.dpiLevel, 3);
    p.selectDpiLevel(4);
    EXPECT_EQ(p.dpiLevel, 3);
}

TEST(Ranges, EditsStayInRange) {
    Profile p;
    p.setFireTime(0);
    p.decreaseFireTime();
    EXPECT_EQ(p.fireTime, 0);
    p.setFireTime(300);
    p.increaseFireTime();
    EXPECT_EQ(p.fireTime, 300);
    p.setFireTime(999);
    EXPECT_EQ(p.fireTime, 300);
    p.setDpiValue(0, 12);
    p.setDpiSpeed(10);
    p.setWheelSpeed(-1);
    p.setLedStatus(4);
    EXPECT_EQ(p.dpiSet[0], 0);
    EXPECT_EQ(p.dpiSpeed, 0);
    EXPECT_EQ(p.wheelSpeed, 0);
    EXPECT_EQ(p.ledStatus, 0);
}

TEST(FireTimeSlider, ClickGivesZeroTo299) {
    EXPECT_EQ(fireTimeForClick(100, 100, 150), 0);
    EXPECT_EQ(fireTimeForClick(175, 100, 150), 150);
    EXPECT_EQ(fireTimeForClick(249, 100, 150), 298);
    EXPECT_EQ(fireTimeForClick(250, 100, 150), 299);
    EXPECT_EQ(fireTimeForClick(90, 100, 150), 0);
    EXPECT_EQ(fireTimeForClick(5, 0, 0), 0);
}

TEST(Dispatcher, RateCycleAndDpiReports) {
    Profile p;
    p.usbSpeed = 2;
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        p.onRateCycle();
        seen.push_back(p.usbSpeed);
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 0, 1, 2}));
    p.onDpiReported(3);
    EXPECT_EQ(p.dpiLevel, 3);
    p.onDpiReported(7);  // not a level the mouse can have
    EXPECT_EQ(p.dpiLevel, 3);
}

TEST(Derived, FlagsFollowCodesAtDerivation) {
    Profile p = withButtons({1, 6, 15, 16, 14, 2, 3, 0, 41});
    p.deriveButtonFlags();
    const int dpi[] = {0, 1, 1, 1, 0, 0, 0, 0, 0};
    const int rate[] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    p.assignButtonFunction(1, 2);  // later edits do not change the flags
    for (int i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(p.dpiReportButton[i], dpi[i]) << i;
        EXPECT_EQ(p.rateCycleButton[i], rate[i]) << i;
    }
}

TEST(Tables, DeviceCodesAndDpi) {
    EXPECT_EQ(dpiForDeviceCode(15), 4800);
    EXPECT_EQ(dpiForDeviceCode(8), 200);  // unused code
    EXPECT_EQ(deviceFunctionCode(5), 5);
    EXPECT_EQ(deviceFunctionCode(6), 6);
    EXPECT_EQ(deviceFunctionCode(11), 7);
    EXPECT_EQ(deviceFunctionCode(14), 10);
    EXPECT_EQ(deviceFunctionCode(17), 13);
    for (int code : {0, 7, 10, 18, 21, 31, 39, 41, 52, 53, -1}) EXPECT_EQ(deviceFunctionCode(code), 0) << code;
}

TEST(Factory, ValuesAndMacroModeKept) {
    Profile p;
    p.macroMode2 = 1;
    p.setFactoryValues();
    EXPECT_EQ(buttons(p), (std::array<int, kButtonCount>{1, 2, 3, 5, 4, 16, 15, 13, 0}));
    EXPECT_EQ(p.macroMode2, 1);
    EXPECT_EQ(p.fireTime, 50);
    EXPECT_EQ(p.dpiSet[3], 10);
    p.toggleMacroMode2();
    EXPECT_EQ(p.macroMode2, 0);
    p.macroMode2 = 7;
    p.toggleMacroMode2();
    EXPECT_EQ(p.macroMode2, 0);
    p.toggleMacroMode2();
    EXPECT_EQ(p.macroMode2, 1);
}

}  // namespace
}  // namespace korvel
