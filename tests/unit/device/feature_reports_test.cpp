// The byte layout of the commands, the send rule and the shared buffer.
#include <gtest/gtest.h>

#include <vector>

#include "device/device_link.h"
#include "device/device_support.h"
#include "device/feature_reports.h"
#include "device/recording_bus.h"
#include "device_fakes.h"

namespace korvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes head(const std::vector<std::uint8_t>& b, std::size_t n) { return Bytes(b.begin(), b.begin() + std::min(n, b.size())); }
Bytes head(const ReportBytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + n); }

// A link on a bus that records, connected and ready.
struct Rig {
    explicit Rig(std::uint16_t featureLength = 8) : bus(clock, featureLength) {
        DevicePorts ports;
        ports.bus = &bus;
        ports.clock = &clock;
        ports.settings = &settings;
        ports.store = &store;
        link = std::make_unique<DeviceLink>(profile, ports);
        EXPECT_TRUE(link->ConnectMouse());
    }
    std::vector<Bytes> sent(std::size_t n = 8) {
        std::vector<Bytes> out;
        for (const auto& r : bus.reports()) out.push_back(head(r.bytes, n));
        return out;
    }
    Profile profile = test::factoryProfile();
    SimulatedClock clock;
    RecordingHidBus bus;
    test::RecordingSettings settings;
    test::RecordingStore store;
    std::unique_ptr<DeviceLink> link;
};

TEST(FeatureReports, WorkedExamples) {
    Rig rig;
    Profile& p = rig.profile;
    p.dpiSet = {4, 6, 8, 10};
    p.dpiSetEn = {1, 1, 1, 1};
    p.dpiLevel = 0;
    for (int n = 0; n < 4; ++n) rig.link->sendDpiLevel(n);
    p.buttonFunction[0] = 1;
    p.buttonFunction[3] = 13;
    rig.link->sendButtonFunction(0);
    rig.link->sendButtonFunction(3);
    p.ledStatus = 2;
    rig.link->sendLighting();
    p.fireTime = 50;
    rig.link->sendFireTime();
    rig.link->sendConsumerKey(consumerUsageTable[24 - 21]);

    const auto s = rig.sent();
    ASSERT_EQ(s.size(), 9u);
    EXPECT_EQ(head(s[0], 5), (Bytes{0x07, 0x09, 0x40, 0x58, 0x0F}));
    EXPECT_EQ(head(s[1], 5), (Bytes{0x07, 0x09, 0x40, 0x79, 0x0F}));
    EXPECT_EQ(head(s[2], 5), (Bytes{0x07, 0x09, 0x40, 0xBA, 0x0F}));
    EXPECT_EQ(head(s[3], 5), (Bytes{0x07, 0x09, 0x40, 0xEB, 0x0F}));
    EXPECT_EQ(head(s[4], 4), (Bytes{0x07, 0x10, 0x01, 0x01}));
    EXPECT_EQ(head(s[5], 4), (Bytes{0x07, 0x10, 0x05, 0x09}));
    EXPECT_EQ(head(s[6], 4), (Bytes{0x07, 0x13, 0x7F, 0x16}));
    EXPECT_EQ(s[7], (Bytes{0x07, 0x12, 0x00, 0x06, 0, 0, 0, 0}));
    EXPECT_EQ(head(s[8], 4), (Bytes{0x07, 0x17, 0x00, 0xE9}));
}

TEST(FeatureReports, DeviceFunctionCodes) {
    const std::vector<std::pair<int, int>> cases{{0, 0},  {1, 1},  {5, 5},   {6, 6},  {7, 0},  {10, 0}, {11, 7},
                                                 {13, 9}, {14, 10}, {16, 12}, {17, 13}, {18, 0}, {20, 0}, {21, 0},
                                                 {39, 0}, {52, 0}};
    for (auto [f, code] : cases) {
        Profile p = test::factoryProfile();
        p.buttonFunction[2] = f;
        ReportBytes buf{};
        encodeButtonFunction(buf, p, 2);
        EXPECT_EQ(head(buf, 4), (Bytes{7, 0x10, 3, static_cast<std::uint8_t>(code)})) << "function " << f;
    }
    // Every button with its own hardware code.
    const std::uint8_t hw[9] = {1, 2, 3, 5, 4, 6, 8, 7, 9};
    for (int b = 0; b < 9; ++b) {
        ReportBytes buf{};
        encodeButtonFunction(buf, test::factoryProfile(), b);
        EXPECT_EQ(buf[2], hw[b]);
    }
}

TEST(FeatureReports, ValueTables) {
    struct Case {
        const char* what;
        void (*set)(Profile&);
        void (*encode)(ReportBytes&, const Profile&);
        Bytes expect;  // bytes 0..n
    };
    const std::vector<Case> cases{
        {"fire 7", [](Profile& p) { p.fireTime = 7; }, encodeFireTime, {7, 0x12, 0, 0}},
        {"fire 8", [](Profile& p) { p.fireTime = 8; }, encodeFireTime, {7, 0x12, 0, 1}},
        {"fire 300", [](Profile& p) { p.fireTime = 300; }, encodeFireTime, {7, 0x12, 0, 0x25}},
        {"led 0", [](Profile& p) { p.ledStatus = 0; }, encodeLighting, {7, 0x13, 0x7F, 0x10}},
        {"led 1", [](Profile& p) { p.ledStatus = 1; }, encodeLighting, {7, 0x13, 0x7F, 0x13}},
        {"led 2", [](Profile& p) { p.ledStatus = 2; }, encodeLighting, {7, 0x13, 0x7F, 0x16}},
        {"led 3", [](Profile& p) { p.ledStatus = 3; }, encodeLighting, {7, 0x13, 0x7F, 0x17}},
        {"led 9 (hand-edited) stays in the table", [](Profile& p) { p.ledStatus = 9; }, encodeLighting, {7, 0x13, 0x7F, 0x17}},
        {"wheel 1", [](Profile& p) { p.wheelStatus = 1; }, encodeWheelStatus, {7, 0x11, 1, 0}},
    };
    for (const Case& c : cases) {
        Profile p = test::factoryProfile();
        c.set(p);
        ReportBytes buf{};
        buf.fill(0xEE);
        c.encode(buf, p);
        EXPECT_EQ(head(buf, c.expect.size()), c.expect) << c.what;
    }
}

TEST(FeatureReports, DpiLevelCommandsShareCurrentLevelAndMask) {
    Profile p = test::factoryProfile();
    p.dpiSetEn = {0, 0, 1, 0};
    p.dpiLevel = 2;
    p.dpiSet = {0, 11, 7, 200};  // the last one hand-edited past the table
    const Bytes third{0x18, 0xF9, 0x9A, 0xFB};
    for (int n = 0; n < 4; ++n) {
        ReportBytes buf{};
        encodeDpiLevel(buf, p, n);
        EXPECT_EQ(head(buf, 5), (Bytes{7, 0x09, 0x42, third[n], 0x04})) << "level " << n;
    }
}

TEST(FeatureReports, UnwrittenBytesCarryOverFromTheLastCommand) {
    Rig rig;
    std::array<std::uint8_t, 6> slots{};
    rig.link->SendKeyEvent(test::kA, ACTION_DOWN);
    rig.link->SendKeyEvent(test::kB, ACTION_DOWN);
    rig.link->SendKeyEvent(KEY_MOUSE_LEFT, ACTION_DOWN);
    rig.link->SendKeyEvent(KEY_MOUSE_LEFT, ACTION_UP);
    const auto s = rig.sent();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[1], (Bytes{7, 0x15, 4, 5, 0, 0, 0, 0}));
    EXPECT_EQ(s[2], (Bytes{7, 0x16, 4, 0xFE, 0, 0, 0, 0}));  // byte 2 left over
    EXPECT_EQ(s[3], (Bytes{7, 0x16, 4, 0xFF, 0, 0, 0, 0}));
    (void)slots;
}

TEST(FeatureReports, ConsumerKeyFirstStillCarriesReportId) {
    Rig rig;
    rig.link->sendConsumerKey(0x0223);
    ASSERT_EQ(rig.sent().size(), 1u);
    EXPECT_EQ(rig.sent()[0], (Bytes{7, 0x17, 0x02, 0x23, 0, 0, 0, 0}));
}

TEST(FeatureReports, ExitCommandAfterOthers) {
    Rig rig;
    rig.profile.fireTime = 300;
    rig.link->sendFireTime();
    rig.link->sendKeyState();
    rig.link->SendKeyEvent(test::kC, ACTION_DOWN);
    rig.link->sendExitCommand();
    EXPECT_EQ(rig.sent().back(), (Bytes{7, 0x20, 0, 0, 0, 0, 0, 0}));
}

TEST(FeatureReports, SendLengthIsTheInterfacesAndBoundedByTheBuffer) {
    for (std::uint16_t length : {std::uint16_t{3}, std::uint16_t{8}, std::uint16_t{65}, std::uint16_t{256}, std::uint16_t{300},
                                 std::uint16_t{65535}}) {
        Rig rig(length);
        rig.link->sendFireTime();
        ASSERT_EQ(rig.bus.reports().size(), 1u);
        EXPECT_EQ(rig.bus.reports()[0].bytes.size(), std::min<std::size_t>(length, 256)) << length;
    }
    Rig zero(0);
    zero.link->sendFireTime();
    EXPECT_TRUE(zero.bus.reports().empty());
}

TEST(FeatureReports, NothingIsSentWithoutACommandInterface) {
    SimulatedClock clock;
    RecordingHidBus bus(clock);
    Profile p = test::factoryProfile();
    DevicePorts ports;
    ports.bus = &bus;
    ports.clock = &clock;
    DeviceLink link(p, ports);  // never connected
    link.sendFireTime();
    link.ApplyProfile();
    link.SendKeyEvent(test::kA, ACTION_DOWN);
    EXPECT_TRUE(bus.reports().empty());
    EXPECT_EQ(link.reportBufferCopy()[0], 7);
}

}  // namespace
}  // namespace korvel
