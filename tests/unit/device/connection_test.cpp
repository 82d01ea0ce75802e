// Finding the mouse among HID interfaces, applying a profile to it, and
// following plug and unplug, against the virtual mouse.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "app/app_state.h"
#include "common/ini.h"
#include "common/text.h"
#include "device/device_link.h"
#include "device/device_support.h"
#include "device_fakes.h"
#include "platform/virtual/virtual_mouse.h"
#include "profile/config_store.h"

namespace korvel {
namespace {

using S = VirtualSlot;

struct Rig {
    explicit Rig(VirtualMouseOptions options = {}) : mouse(withClock(std::move(options))) {
        DevicePorts ports;
        ports.bus = &mouse;
        ports.clock = &clock;
        ports.settings = &settings;
        ports.store = &store;
        ports.repaint = &repaint;
        ports.exitRoutine = [this] { ++exits; };
        link = std::make_unique<DeviceLink>(profile, ports);
    }
    VirtualMouseOptions withClock(VirtualMouseOptions o) {
        o.clock = &clock;
        return o;
    }
    SimulatedClock clock;
    VirtualMouse mouse;
    Profile profile = test::factoryProfile();
    test::RecordingSettings settings;
    test::RecordingStore store;
    test::CountingRepaint repaint;
    int exits = 0;
    std::unique_ptr<DeviceLink> link;
};

TEST(Connection, FindsBothVendorCollectionsInAnyOrderPastGapsAndOtherDevices) {
    const std::vector<std::vector<S>> layouts{
        {S::OtherDevice, S::Gap, S::MouseCollection, S::KeyboardCollection, S::Gap, S::CommandCollection,
         S::OtherDevice, S::EventCollection, S::OtherDevice},
        {S::EventCollection, S::CommandCollection},
        {S::Gap, S::Gap, S::Gap, S::CommandCollection, S::Gap, S::EventCollection, S::MouseCollection},
    };
    for (const auto& layout : layouts) {
        VirtualMouseOptions o;
        o.layout = layout;
        o.inputReportLength = 9;
        o.featureReportLength = 17;
        Rig rig(o);
        EXPECT_TRUE(rig.link->ConnectMouse());
        EXPECT_TRUE(isUsableHandle(rig.link->readHandle()));
        EXPECT_TRUE(isUsableHandle(rig.link->writeHandle()));
        EXPECT_EQ(rig.link->inputReportLength(), 9);
        EXPECT_EQ(rig.link->featureReportLength(), 17);
        // The loop stops at the second vendor collection: that is the path kept.
        const bool eventLast = std::find(layout.begin(), layout.end(), S::EventCollection) >
                               std::find(layout.begin(), layout.end(), S::CommandCollection);
        EXPECT_EQ(rig.link->mousePath(), rig.mouse.pathOf(eventLast ? S::EventCollection : S::CommandCollection));
        // Every matching interface examined registers for notices.
        int matching = 0;
        for (auto s : layout) {
            if (s != S::Gap && s != S::OtherDevice) ++matching;
            if (s == (eventLast ? S::EventCollection : S::CommandCollection)) break;
        }
        EXPECT_EQ(rig.mouse.state().noticeRegistrations, matching);
    }
}

TEST(Connection, NotFound) {
    struct Case {
        const char* what;
        std::vector<S> layout;
    };
    std::vector<S> far(100, S::OtherDevice);
    far.push_back(S::EventCollection);
    far.push_back(S::CommandCollection);
    std::vector<S> farGaps(100, S::Gap);
    farGaps.push_back(S::CommandCollection);
    const std::vector<Case> cases{
        {"no devices", {}},
        {"other devices only", {S::OtherDevice, S::Gap, S::OtherDevice}},
        {"mouse beyond 100 interfaces", far},
        {"mouse beyond 100 gaps", farGaps},
    };
    for (const auto& c : cases) {
        VirtualMouseOptions o;
        o.layout = c.layout;
        Rig rig(o);
        EXPECT_FALSE(rig.link->ConnectMouse()) << c.what;
        EXPECT_FALSE(isUsableHandle(rig.link->writeHandle())) << c.what;
    }
}

TEST(Connection, AVendorCollectionThatFailsToOpenStillEndsTheSearch) {
    VirtualMouseOptions o;
    o.failingOpens = {S::CommandCollection};
    Rig rig(o);
    EXPECT_TRUE(rig.link->ConnectMouse());
    EXPECT_EQ(rig.link->writeHandle(), kInvalidHidHandle);
    rig.link->ApplyProfile();  // sends nothing, writes the profile all the same
    EXPECT_EQ(rig.mouse.state().featureReportsAccepted, 0u);
    EXPECT_EQ(rig.store.writes().size(), 3u);
}

TEST(Connection, MissingVendorCollectionGivesTheLastInterfacesAnswer) {
    VirtualMouseOptions o;
    o.layout = {S::EventCollection, S::MouseCollection};
    EXPECT_TRUE(Rig(o).link->ConnectMouse());
    o.layout = {S::EventCollection, S::MouseCollection, S::OtherDevice};
    EXPECT_FALSE(Rig(o).link->ConnectMouse());
}

TEST(Connection, ApplyConfiguresTheMouse) {
    Rig rig;
    ASSERT_TRUE(rig.link->ConnectMouse());
    Profile& p = rig.profile;
    p.buttonFunction = {2, 1, 3, 43, 14, 16, 15, 13, 22};
    p.dpiSet = {0, 3, 9, 11};
    p.dpiSetEn = {1, 0, 1, 1};
    p.dpiLevel = 2;
    p.wheelStatus = 1;
    p.ledStatus = 1;
    p.fireTime = 300;
    p.dpiSpeed = 9;
    p.wheelSpeed = 0;
    rig.link->ApplyProfile();

    const VirtualMouseState s = rig.mouse.state();
    EXPECT_EQ(s.featureReportsAccepted, 16u);
    EXPECT_EQ(s.featureReportsRejected, 0u);
    EXPECT_EQ(s.buttonFunction, (std::array<std::uint8_t, 9>{2, 1, 3, 0, 10, 12, 11, 9, 0}));
    EXPECT_EQ(s.dpiCode, (std::array<std::uint8_t, 4>{1, 4, 13, 15}));
    EXPECT_EQ(s.enableMask, 0x0D);
    EXPECT_EQ(s.currentLevel, 2);
    EXPECT_EQ(s.wheelStatus, 1);
    EXPECT_EQ(s.lightingCode, 3);
    EXPECT_EQ(s.fireValue, 37);

    // Order: nine buttons, wheel, four DPI levels, lighting, fire time.
    std::vector<int> commands;
    for (const auto& e : rig.mouse.featureLog()) commands.push_back(e.bytes[1]);
    EXPECT_EQ(commands, (std::vector<int>{0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x11, 0x09, 0x09,
                                          0x09, 0x09, 0x13, 0x12}));
    // Derived fields.
    EXPECT_EQ(p.dpiCode[2], 13);
    EXPECT_EQ(p.ledStatusApplied, 1);
    for (int b = 0; b < 9; ++b) {
        EXPECT_EQ(p.dpiReportButton[b], (b == 5 || b == 6) ? 1 : 0) << b;
        EXPECT_EQ(p.rateCycleButton[b], b == 4 ? 1 : 0) << b;
    }
    // Configuration writes around the sends, system settings, repaint.
    EXPECT_EQ(rig.store.writes(),
              (std::vector<std::pair<std::string, int>>{{"CurConfig", 3}, {"profile", 6}, {"profile", 3}}));
    EXPECT_EQ(rig.settings.pointerSpeeds, std::vector<int>{18});
    EXPECT_EQ(rig.settings.wheelLines, std::vector<unsigned>{1});
    EXPECT_EQ(rig.repaint.count(), 1);
}

TEST(Connection, ApplySkipsASettingWhoseQueryFails) {
    Rig rig;
    ASSERT_TRUE(rig.link->ConnectMouse());
    rig.settings.pointerQueryWorks = false;
    rig.profile.dpiSpeed = 0;
    rig.profile.wheelSpeed = 9;
    rig.link->ApplyProfile();
    EXPECT_TRUE(rig.settings.pointerSpeeds.empty());
    EXPECT_EQ(rig.settings.wheelLines, std::vector<unsigned>{10});
    EXPECT_EQ(rig.mouse.state().featureReportsAccepted, 16u);  // the fire time still follows

    rig.settings.pointerQueryWorks = true;
    rig.settings.wheelQueryWorks = false;
    rig.link->ApplyProfile();
    EXPECT_EQ(rig.settings.pointerSpeeds, std::vector<int>{1});
    EXPECT_EQ(rig.settings.wheelLines.size(), 1u);
}

TEST(Connection, ApplyWritesTheConfigurationFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvel_apply_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    AppState app;
    app.configPath = fromPath(dir) + u"\\config.ini";
    app.currentProfile = 4;
    ConfigFileStore store(app);
    SimulatedClock clock;
    VirtualMouseOptions options;
    options.clock = &clock;
    VirtualMouse mouse(options);
    Profile p = test::factoryProfile();
    p.dpiLevel = 3;
    DevicePorts ports;
    ports.bus = &mouse;
    ports.clock = &clock;
    ports.store = &store;
    DeviceLink link(p, ports);
    ASSERT_TRUE(link.ConnectMouse());
    link.ApplyProfile();
    EXPECT_EQ(ini::readString(app.configPath, u"Init", u"CurConfig", 64), u"4");
    EXPECT_EQ(ini::readString(app.configPath, u"Config6", u"DPI_LEVEL", 64), u"3");
    EXPECT_EQ(ini::readString(app.configPath, u"Config4", u"DPI_LEVEL", 64), u"3");
    std::filesystem::remove_all(dir);
}

TEST(Connection, DeviceNotices) {
    Rig rig;
    rig.mouse.setNoticeSink([&](std::uint32_t event, const DeviceNotice& n) { rig.link->onDeviceChange(event, &n); });
    ASSERT_TRUE(rig.link->ConnectMouse());
    rig.link->ApplyProfile();
    const std::u16string path = rig.link->mousePath();

    // Not about the mouse: ignored.
    DeviceNotice other{kDeviceTypeInterface, u"\\\\?\\hid#vid_046d&pid_c077#other"};
    DeviceNotice notInterface{2, path};
    EXPECT_TRUE(rig.link->onDeviceChange(kDeviceRemoveComplete, &other));
    EXPECT_TRUE(rig.link->onDeviceChange(kDeviceRemoveComplete, &notInterface));
    EXPECT_TRUE(rig.link->onDeviceChange(kDeviceRemoveComplete, nullptr));
    EXPECT_TRUE(rig.link->onDeviceChange(0x0007, &other));
    EXPECT_EQ(rig.exits, 0);
    EXPECT_FALSE(rig.link->IsMousePath(&notInterface));

    // An arrival while connected does nothing.
    const HidHandle write = rig.link->writeHandle();
    DeviceNotice same{kDeviceTypeInterface, path};
    rig.link->onDeviceChange(kDeviceArrival, &same);
    EXPECT_EQ(rig.link->writeHandle(), write);

    // Unplug: the notices come in upper case and end the program.
    rig.mouse.unplug();
    EXPECT_GE(rig.exits, 1);
    EXPECT_FALSE(rig.link->mouseConnected());
}

TEST(Connection, ArrivalAfterARemovalReconnects) {
    // Once the link knows the mouse was gone, an arrival opens both arig.
    Rig rig;
    rig.mouse.setNoticeSink([&](std::uint32_t event, const DeviceNotice& n) {
        if (event == kDeviceArrival) rig.link->onDeviceChange(event, &n);
    });
    ASSERT_TRUE(rig.link->ConnectMouse());
    // A removal: the exit routine runs (here it does not end the test).
    rig.mouse.unplug();
    DeviceNotice gone{kDeviceTypeInterface, rig.link->mousePath()};
    rig.link->onDeviceChange(kDeviceRemoveComplete, &gone);
    EXPECT_EQ(rig.exits, 1);
    rig.mouse.plugIn();
    EXPECT_TRUE(rig.link->mouseConnected());
    rig.link->sendFireTime();
    EXPECT_EQ(rig.mouse.state().featureReportsAccepted, 1u);
}

TEST(Connection, ExitCommandReachesTheMouse) {
    Rig rig;
    ASSERT_TRUE(rig.link->ConnectMouse());
    rig.link->sendExitCommand();
    EXPECT_TRUE(rig.mouse.state().exitReceived);
    const auto log = rig.mouse.featureLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(std::vector<std::uint8_t>(log[0].bytes.begin(), log[0].bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x07, 0x20, 0x00, 0x00}));
}

}  // namespace
}  // namespace korvel
