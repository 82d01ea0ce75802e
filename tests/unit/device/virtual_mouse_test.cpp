// The virtual mouse on its own: decoding, what a host would see, its own DPI
// stepping, the bus rules it enforces, unplugging.
#include <gtest/gtest.h>

#include <vector>

#include "device/device_support.h"
#include "device/feature_reports.h"
#include "platform/virtual/virtual_mouse.h"

namespace korvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Opened {
    Opened() : mouse(options()) {
        write = mouse.open(mouse.pathOf(VirtualSlot::CommandCollection), HidAccess::Write);
        read = mouse.open(mouse.pathOf(VirtualSlot::EventCollection), HidAccess::Read);
    }
    VirtualMouseOptions options() {
        VirtualMouseOptions o;
        o.clock = &clock;
        return o;
    }
    bool send(Bytes b) {
        b.resize(8, 0);
        return mouse.setFeature(write, b.data(), b.size());
    }
    Bytes next() {
        Bytes b(8);
        const int n = mouse.read(read, b.data(), b.size());
        b.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return b;
    }
    SimulatedClock clock;
    VirtualMouse mouse;
    HidHandle write, read;
};

TEST(VirtualMouse, DecodesConfiguration) {
    Opened m;
    EXPECT_TRUE(m.send({7, 0x10, 5, 9}));      // hardware button 5 is button 3
    EXPECT_TRUE(m.send({7, 0x09, 0x42, 0xDB, 0x0D}));
    EXPECT_TRUE(m.send({7, 0x11, 1, 0}));
    EXPECT_TRUE(m.send({7, 0x12, 0, 37}));
    EXPECT_TRUE(m.send({7, 0x13, 0x7F, 0x16}));
    EXPECT_TRUE(m.send({7, 0x20, 0, 0}));
    const VirtualMouseState s = m.mouse.state();
    EXPECT_EQ(s.buttonFunction[3], 9);
    EXPECT_EQ(s.dpiCode[3], 13);
    EXPECT_EQ(s.currentLevel, 2);
    EXPECT_EQ(s.enableMask, 0x0D);
    EXPECT_EQ(s.wheelStatus, 1);
    EXPECT_EQ(s.fireValue, 37);
    EXPECT_EQ(s.lightingCode, 6);
    EXPECT_TRUE(s.exitReceived);
    EXPECT_EQ(m.mouse.logLines()[1], "0 in 07 09 42 DB 0D 00 00 00 | dpi level 3 code 13, current 2, mask D");
}

TEST(VirtualMouse, TypesWhatTheKeyStatesSay) {
    Opened m;
    const std::vector<Bytes> states{
        {7, 0x15, 225},          {7, 0x15, 225, 11},  // shift + h
        {7, 0x15, 0},            {7, 0x15, 8},        // e
        {7, 0x15, 8, 15},        {7, 0x15, 15},       // l while e still held
        {7, 0x15, 0},            {7, 0x15, 15},       // l again
        {7, 0x15, 0},            {7, 0x15, 30},       // 1
        {7, 0x15, 42},           {7, 0x15, 0},        // backspace
        {7, 0x15, 18},           {7, 0x15, 0},        // o
        {7, 0x15, 225, 30},      {7, 0x15, 0},        // !
    };
    for (const auto& s : states) EXPECT_TRUE(m.send(s));
    EXPECT_EQ(m.mouse.typedText(), u"Hello!");
    EXPECT_TRUE(m.send({7, 0x16, 0, 0xFE}));
    EXPECT_TRUE(m.send({7, 0x16, 0, 0xFA}));
    EXPECT_TRUE(m.send({7, 0x16, 0, 0xFF}));
    EXPECT_TRUE(m.send({7, 0x17, 0x00, 0xE9}));
    std::vector<std::pair<int, int>> mouse;
    for (const auto& h : m.mouse.hostInput())
        if (h.kind == HostInput::MouseDown || h.kind == HostInput::MouseUp) mouse.emplace_back(h.kind, h.code);
    EXPECT_EQ(mouse, (std::vector<std::pair<int, int>>{{HostInput::MouseDown, 1}, {HostInput::MouseDown, 3},
                                                       {HostInput::MouseUp, 1}, {HostInput::MouseUp, 3}}));
    EXPECT_EQ(m.mouse.state().consumerKeys, std::vector<std::uint16_t>{0xE9});
}

TEST(VirtualMouse, TakesOnlyWholeReportsOnTheCommandInterface) {
    Opened m;
    const Bytes shortReport{7, 0x11, 1};
    EXPECT_FALSE(m.mouse.setFeature(m.write, shortReport.data(), shortReport.size()));
    Bytes wrongId(8, 0);
    wrongId[1] = 0x11;
    EXPECT_FALSE(m.mouse.setFeature(m.write, wrongId.data(), wrongId.size()));
    const HidHandle probe = m.mouse.open(m.mouse.pathOf(VirtualSlot::CommandCollection), HidAccess::Probe);
    Bytes ok{7, 0x11, 1, 0, 0, 0, 0, 0};
    EXPECT_FALSE(m.mouse.setFeature(probe, ok.data(), ok.size()));
    EXPECT_EQ(m.mouse.state().featureReportsRejected, 2u);
    EXPECT_EQ(m.mouse.state().featureReportsAccepted, 0u);
    EXPECT_EQ(m.mouse.state().wheelStatus, 0);
}

TEST(VirtualMouse, StepsItsOwnDpiLevelAmongTheEnabledOnes) {
    struct Case {
        const char* what;
        std::uint8_t function, mask, from;
        std::vector<std::uint8_t> levels;  // reported by successive presses
    };
    const std::vector<Case> cases{
        {"cycle wraps", 6, 0x0F, 2, {3, 0, 1}},
        {"cycle skips disabled levels", 6, 0x0A, 1, {3, 1, 3}},
        {"up stops at the top", 11, 0x0B, 0, {1, 3, 3}},
        {"down stops at the bottom", 12, 0x0E, 3, {2, 1, 1}},
    };
    for (const auto& c : cases) {
        Opened m;
        m.send({7, 0x10, 1, c.function});  // button 0
        m.send({7, 0x09, static_cast<std::uint8_t>(0x40 + c.from), 0x58, c.mask});
        for (std::uint8_t level : c.levels) {
            m.mouse.click(0);
            EXPECT_EQ(m.next(), (Bytes{6, 241, level, 0, 0, 0, 0, 0})) << c.what;
            EXPECT_EQ(m.next(), (Bytes{6, 241, 0x80, 0, 0, 0, 0, 0})) << c.what;
        }
    }
}

TEST(VirtualMouse, ButtonsTheMouseHandlesItselfSendNoReport) {
    Opened m;
    m.mouse.click(0);  // left button (factory)
    m.mouse.click(7);  // device function 9
    m.mouse.sendEvent(0x30, 1);
    EXPECT_EQ(m.next(), (Bytes{6, 0x30, 1, 0, 0, 0, 0, 0}));  // only the explicit event
    EXPECT_EQ(m.mouse.state().inputReportsSent, 1u);
}

TEST(VirtualMouse, UnplugAndPlugIn) {
    Opened m;
    std::vector<std::pair<std::uint32_t, std::u16string>> notices;
    m.mouse.setNoticeSink([&](std::uint32_t e, const DeviceNotice& n) { notices.emplace_back(e, n.name); });
    m.mouse.unplug();
    EXPECT_TRUE(notices.empty());  // nobody registered
    m.mouse.plugIn();
    m.mouse.registerForNotices();
    const HidHandle oldRead = m.mouse.open(m.mouse.pathOf(VirtualSlot::EventCollection), HidAccess::Read);
    m.mouse.unplug();
    ASSERT_EQ(notices.size(), 4u);  // one per interface of the mouse
    EXPECT_EQ(notices[0].first, kDeviceRemoveComplete);
    EXPECT_EQ(notices[0].second.substr(0, 26), u"\\\\?\\HID#VID_18F8&PID_1286&");
    std::uint8_t buf[8];
    EXPECT_EQ(m.mouse.read(oldRead, buf, 8), -1);
    EXPECT_EQ(m.mouse.open(m.mouse.pathOf(VirtualSlot::EventCollection), HidAccess::Read), kInvalidHidHandle);
    int present = 0;
    auto set = m.mouse.presentInterfaces();
    for (int i = 0; i < 100; ++i) present += set->path(i).has_value();
    EXPECT_EQ(present, 3);  // only the other devices
    m.mouse.plugIn();
    EXPECT_EQ(notices.back().first, kDeviceArrival);
    EXPECT_EQ(m.mouse.read(oldRead, buf, 8), -1);  // old handles stay dead
}

TEST(VirtualMouse, OtherDevicesHaveOtherIdentifiers) {
    SimulatedClock clock;
    VirtualMouseOptions o;
    o.clock = &clock;
    VirtualMouse mouse(o);
    auto set = mouse.presentInterfaces();
    int mine = 0, others = 0, gaps = 0;
    for (int i = 0; i < static_cast<int>(o.layout.size()); ++i) {
        const auto path = set->path(i);
        if (!path) {
            ++gaps;
            continue;
        }
        const HidHandle h = mouse.open(*path, HidAccess::Probe);
        HidAttributes a;
        ASSERT_TRUE(mouse.attributes(h, a));
        (a.vendorId == kMouseVendorId && a.productId == kMouseProductId ? mine : others)++;
        mouse.close(h);
    }
    EXPECT_EQ(mine, 4);
    EXPECT_EQ(others, 3);
    EXPECT_EQ(gaps, 2);
}

}  // namespace
}  // namespace korvel
