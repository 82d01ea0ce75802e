// The main window's start-up order, the exit routine and hiding, against a
// host that records what it is asked to do.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/startup.h"
#include "common/ini.h"
#include "common/text.h"
#include "device/device_link.h"
#include "device/device_support.h"
#include "device/recording_bus.h"
#include "macro/macro_library.h"
#include "profile/config_store.h"

namespace korvel {
namespace {

class RecordingHost : public MainWindowHost {
public:
    std::vector<std::string> calls;
    std::u16string title;
    std::u16string message;
    bool skinLoads = true;
    bool warningLoads = true;
    bool mouseFound = true;
    bool speedReadable = true;
    int speedSet = -1;

    void startWorkerThreads() override { calls.push_back("startWorkerThreads"); }
    void appendAboutEntry() override { calls.push_back("appendAboutEntry"); }
    void setLargeIcon() override { calls.push_back("setLargeIcon"); }
    void setTitle(std::u16string_view t) override {
        calls.push_back("setTitle");
        title = t;
    }
    bool loadSkinLayouts() override {
        calls.push_back("loadSkinLayouts");
        return skinLoads;
    }
    void createMacroControls() override { calls.push_back("createMacroControls"); }
    bool loadWarningLayout() override {
        calls.push_back("loadWarningLayout");
        return warningLoads;
    }
    void createFonts() override { calls.push_back("createFonts"); }
    void shapeWindow() override { calls.push_back("shapeWindow"); }
    void loadMenus(std::int32_t verSel) override { calls.push_back("loadMenus " + std::to_string(verSel)); }
    bool connectMouse() override {
        calls.push_back("connectMouse");
        return mouseFound;
    }
    void showMessage(std::u16string_view text) override {
        calls.push_back("showMessage");
        message = text;
    }
    void sleepMs(int ms) override { calls.push_back("sleepMs " + std::to_string(ms)); }
    void addTrayIcon() override { calls.push_back("addTrayIcon"); }
    void removeTrayIcon() override { calls.push_back("removeTrayIcon"); }
    void minimize() override { calls.push_back("minimize"); }
    void hide() override { calls.push_back("hide"); }
    void repaint() override { calls.push_back("repaint"); }
    void destroyWindow() override { calls.push_back("destroyWindow"); }
    bool getPointerSpeed(int& speed) override {
        calls.push_back("getPointerSpeed");
        speed = 3;
        return speedReadable;
    }
    void setPointerSpeed(int speed) override {
        calls.push_back("setPointerSpeed");
        speedSet = speed;
    }
};

// A program folder of its own per test, with the process-wide state reset.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (auto& c : name)
            if (c == '/' || c == '\\') c = '_';
        root_ = std::filesystem::temp_directory_path() / ("korvel-app-" + name);
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        appState().programFolder = fromPath(root_);
        appState().configPath.clear();
        appState().skinFolder.clear();
        appState().currentProfile = 0;
        appState().verSel = 0;
        appState().mouseConnected = false;
        currentProfile() = Profile{};
        editMacroTables([](MacroTables& t) { t = MacroTables{}; });
        // Empty macro libraries, so that start-up has nothing to complain about.
        for (const char* name : {"Macro_EN.dat", "Macro_CN.dat", "constMacro.dat"}) writeLibrary(name, 0);
    }
    void TearDown() override {
        setDeviceLink(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    void writeConfig(const std::string& text) const {
        std::ofstream(root_ / "config.ini", std::ios::binary) << text;
    }
    // A library of `count` macros whose event counts are 1, 2, ... so that
    // the table shows which file was loaded.
    void writeLibrary(const char* name, int count, int firstEventCount = 1) const {
        std::vector<MacroRecord> records(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) records[i].eventCount = static_cast<std::uint8_t>(firstEventCount + i);
        std::string text = "[Macros]\r\nmacroNum=" + std::to_string(count) + "\r\n";
        for (int i = 0; i < count; ++i)
            text += std::to_string(i) + "=" + toUtf8(encodeMacroValue(records[i])) + "\r\n";
        std::ofstream(root_ / name, std::ios::binary) << text;
    }
    std::u16string configPath() const { return appState().programFolder + u"\\config.ini"; }
    bool configExists() const { return std::filesystem::exists(root_ / "config.ini"); }

    std::filesystem::path root_;
    RecordingHost host_;
};

const std::vector<std::string> kExitCalls{"removeTrayIcon", "getPointerSpeed", "setPointerSpeed", "destroyWindow"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> stepsUpToMenus(int verSel) {
    return {"startWorkerThreads", "appendAboutEntry", "setLargeIcon",      "setTitle",
            "loadSkinLayouts",    "createMacroControls", "loadWarningLayout", "createFonts",
            "shapeWindow",        "loadMenus " + std::to_string(verSel)};
}

const char kTwoProfiles[] =
    "[Init]\r\nCurConfig=3\r\nVER_SEL=1\r\n"
    "[Config3]\r\nK0=1\r\nK1=2\r\nK2=3\r\nK3=5\r\nK4=4\r\nK5=16\r\nK6=15\r\nK7=13\r\nK8=0\r\n"
    "DPI_LEVEL=2\r\nWHEEL_STATUS=1\r\nMACRO_MODE2=0\r\n"
    "DPI_SET0=1\r\nDPI_SET1=3\r\nDPI_SET2=7\r\nDPI_SET3=9\r\n"
    "DPI_SET_EN0=1\r\nDPI_SET_EN1=1\r\nDPI_SET_EN2=1\r\nDPI_SET_EN3=0\r\n"
    "LED_STATUS=2\r\nDPI_SPEED=6\r\nWHEEL_SPEED=4\r\nUSB_SPEED=1\r\nFIRE_TIME=80\r\n"
    "[Config6]\r\nK0=1\r\nK1=2\r\nK2=3\r\nK3=5\r\nK4=4\r\nK5=16\r\nK6=15\r\nK7=13\r\nK8=0\r\n"
    "DPI_LEVEL=0\r\nWHEEL_STATUS=0\r\nMACRO_MODE2=0\r\n"
    "DPI_SET0=4\r\nDPI_SET1=6\r\nDPI_SET2=8\r\nDPI_SET3=10\r\n"
    "DPI_SET_EN0=1\r\nDPI_SET_EN1=1\r\nDPI_SET_EN2=1\r\nDPI_SET_EN3=1\r\n"
    "LED_STATUS=0\r\nDPI_SPEED=4\r\nWHEEL_SPEED=2\r\nUSB_SPEED=2\r\nFIRE_TIME=50\r\n";

TEST_F(StartupTest, MouseFoundRunsEveryStepInOrderAndLoadsTheCurrentProfile) {
    writeConfig(kTwoProfiles);
    ASSERT_TRUE(runMainWindowStartup(host_));

    EXPECT_EQ(host_.calls, joined(stepsUpToMenus(1), {"connectMouse", "sleepMs 5", "addTrayIcon"}));
    EXPECT_EQ(host_.title, u"Vantel Gaming Mouse");
    const AppState& s = appState();
    EXPECT_EQ(s.configPath, s.programFolder + u"\\config.ini");
    EXPECT_EQ(s.skinFolder, s.programFolder + u"\\skins");
    EXPECT_EQ(s.currentProfile, 3);
    EXPECT_EQ(s.verSel, kEnglish);
    EXPECT_TRUE(s.mouseConnected);
    const Profile& p = currentProfile();
    EXPECT_EQ(p.dpiLevel, 2);
    EXPECT_EQ(p.dpiSet[2], 7);
    EXPECT_EQ(p.ledStatus, 2);
    EXPECT_EQ(p.fireTime, 80);
    EXPECT_EQ(p.buttonFunction[5], 16);
}

TEST_F(StartupTest, EditionDecidesTitleMenusAndPrompt) {
    struct Case {
        const char* config;
        std::int32_t verSel;
        const char16_t* title;
        const char16_t* prompt;
    };
    const Case cases[] = {
        {"[Init]\nVER_SEL=1\n", 1, u"Vantel Gaming Mouse", u"Please plug-in【Lumar】USB Mouse"},
        {"[Init]\nVER_SEL=0\n", 0, u"Lumar宏编程游戏鼠标", u"请插入【Lumar】USB鼠标"},
        // Only 0 is Chinese; VER_SEL is narrowed to 8 bits, so 257 is English.
        {"[Init]\nVER_SEL=257\n", 1, u"Vantel Gaming Mouse", u"Please plug-in【Lumar】USB Mouse"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        writeConfig(c.config);
        RecordingHost host;
        host.mouseFound = false;
        EXPECT_FALSE(runMainWindowStartup(host));
        EXPECT_EQ(appState().verSel, c.verSel);
        EXPECT_EQ(host.title, c.title);
        EXPECT_EQ(host.message, c.prompt);
        EXPECT_EQ(host.calls[9], "loadMenus " + std::to_string(c.verSel));
        EXPECT_EQ(runningWindowTitle(appState().programFolder), c.title);
    }
}

TEST_F(StartupTest, NoMouseShowsThePromptThenExitsWithoutTouchingTheConfigFile) {
    RecordingHost host;
    host.mouseFound = false;
    EXPECT_FALSE(runMainWindowStartup(host));
    // No file: the Chinese edition, profile 0 and a profile of zeros.
    EXPECT_EQ(host.calls, joined(joined(stepsUpToMenus(0), {"connectMouse", "showMessage"}), kExitCalls));
    EXPECT_EQ(host.speedSet, kDefaultPointerSpeed);
    EXPECT_EQ(host.title, u"Lumar宏编程游戏鼠标");
    EXPECT_EQ(appState().currentProfile, 0);
    EXPECT_FALSE(appState().mouseConnected);
    EXPECT_FALSE(configExists());
}

TEST_F(StartupTest, MissingLayoutFileStopsStartUpAtTheLoader) {
    writeConfig(kTwoProfiles);
    RecordingHost skin;
    skin.skinLoads = false;
    EXPECT_FALSE(runMainWindowStartup(skin));
    EXPECT_EQ(skin.calls.back(), "loadSkinLayouts");

    RecordingHost warning;
    warning.warningLoads = false;
    EXPECT_FALSE(runMainWindowStartup(warning));
    EXPECT_EQ(warning.calls.back(), "loadWarningLayout");
}

TEST_F(StartupTest, ExitRoutineResetsPointerSpeedOnlyWhenItCanBeRead) {
    runExitRoutine(host_);
    EXPECT_EQ(host_.calls, kExitCalls);
    EXPECT_EQ(host_.speedSet, kDefaultPointerSpeed);

    RecordingHost unreadable;
    unreadable.speedReadable = false;
    runExitRoutine(unreadable);
    EXPECT_EQ(unreadable.calls, (std::vector<std::string>{"removeTrayIcon", "getPointerSpeed", "destroyWindow"}));
    EXPECT_EQ(unreadable.speedSet, -1);
}

TEST_F(StartupTest, MacroLibrariesOfTheEditionLoadBeforeTheMenus) {
    struct Case {
        const char* config;
        const char16_t* userFile;
        int userCount;
    };
    writeLibrary("Macro_EN.dat", 3, 10);
    writeLibrary("Macro_CN.dat", 2, 20);
    writeLibrary("constMacro.dat", 5, 30);
    const Case cases[] = {
        {"[Init]\nVER_SEL=1\n", u"\\Macro_EN.dat", 3},
        {"[Init]\nVER_SEL=0\n", u"\\Macro_CN.dat", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        writeConfig(c.config);
        RecordingHost host;
        ASSERT_TRUE(runMainWindowStartup(host));
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "showMessage"), 0);
        const MacroTables& t = macroTables();
        EXPECT_EQ(t.macroLibraryPath, appState().programFolder + c.userFile);
        EXPECT_EQ(t.userMacroCount, c.userCount);
        EXPECT_EQ(snapshotUserMacro(1).eventCount, c.userCount == 3 ? 11 : 21);
        EXPECT_EQ(t.constMacroCount, 5);
        EXPECT_EQ(snapshotConstMacro(4).eventCount, 34);
    }
}

TEST_F(StartupTest, MissingMacroLibraryIsReportedAndStartUpGoesOn) {
    writeConfig(kTwoProfiles);
    std::filesystem::remove(root_ / "Macro_EN.dat");
    ASSERT_TRUE(runMainWindowStartup(host_));
    EXPECT_EQ(host_.message, u"找不到配置文件");
    // Between the window's shape and the menus.
    const auto shape = std::find(host_.calls.begin(), host_.calls.end(), "shapeWindow");
    ASSERT_NE(shape, host_.calls.end());
    EXPECT_EQ(*(shape + 1), "showMessage");
    EXPECT_EQ(*(shape + 2), "loadMenus 1");
}

TEST_F(StartupTest, TheDeviceLinkAppliesAndTakesTheExitCommand) {
    writeConfig(kTwoProfiles);
    SimulatedClock clock;
    RecordingHidBus bus(clock);
    DevicePorts ports;
    ports.bus = &bus;
    ports.clock = &clock;
    DeviceLink link(currentProfile(), ports);
    ASSERT_TRUE(link.ConnectMouse());
    setDeviceLink(&link);

    ASSERT_TRUE(runMainWindowStartup(host_));
    EXPECT_EQ(bus.reports().size(), 16u);  // one whole profile
    onPowerBroadcast();
    EXPECT_EQ(bus.reports().size(), 32u);  // and again on a power event

    runExitRoutine(host_);
    const auto reports = bus.reports();
    ASSERT_EQ(reports.size(), 33u);
    EXPECT_EQ(std::vector<std::uint8_t>(reports.back().bytes.begin(), reports.back().bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x07, 0x20, 0x00, 0x00}));
}

TEST_F(StartupTest, HideToTrayMinimizesHidesAndAddsTheIcon) {
    hideToTray(host_);
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"minimize", "hide", "addTrayIcon"}));
}

TEST_F(StartupTest, HideRevertingReturnsToTheAppliedProfileKeepingTheDpiLevel) {
    writeConfig(kTwoProfiles);
    ASSERT_TRUE(runMainWindowStartup(host_));
    host_.calls.clear();
    // Profile 3 is loaded (level 2 in use); the applied copy differs.
    hideToTrayReverting(host_);

    EXPECT_EQ(host_.calls, (std::vector<std::string>{"minimize", "hide", "addTrayIcon", "repaint"}));
    const Profile& p = currentProfile();
    EXPECT_EQ(p.dpiLevel, 2);
    EXPECT_EQ(p.dpiSet[0], 4);
    EXPECT_EQ(p.dpiSetEn[3], 1);
    EXPECT_EQ(p.fireTime, 50);
    EXPECT_EQ(ini::readString(configPath(), u"Config6", u"DPI_LEVEL", 5), u"2");
    // The user's own profile is not written.
    EXPECT_EQ(ini::readString(configPath(), u"Config3", u"FIRE_TIME", 5), u"80");
}

TEST(WindowTitle, OnlyVerSelZeroIsTheChineseEdition) {
    EXPECT_EQ(windowTitle(0), u"Lumar宏编程游戏鼠标");
    for (std::int32_t verSel : {1, 2, 255, -1}) EXPECT_EQ(windowTitle(verSel), u"Vantel Gaming Mouse") << verSel;
}

TEST(ProgramFolder, IsTheModulePathCutBeforeItsLastBackslash) {
    struct Case {
        const char16_t* path;
        const char16_t* folder;
    };
    const Case cases[] = {
        {u"C:\\Program Files\\Korvel\\korvel.exe", u"C:\\Program Files\\Korvel"},
        {u"C:\\korvel.exe", u"C:"},
        {u"\\\\server\\share\\k\\korvel.exe", u"\\\\server\\share\\k"},
        {u"korvel.exe", u""},
        {u"", u""},
        {u"C:\\dir/with/slashes/korvel.exe", u"C:"},
    };
    for (const auto& c : cases) EXPECT_EQ(programFolderFromModulePath(c.path), c.folder) << toUtf8(c.path);
}

}  // namespace
}  // namespace korvel
