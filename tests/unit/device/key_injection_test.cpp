// Key state, its commands, and macro playback with its pauses (virtual time).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device/device_link.h"
#include "device/device_support.h"
#include "device/recording_bus.h"
#include "device_fakes.h"

namespace korvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Slots = std::array<std::uint8_t, 6>;

class KeyInjection : public ::testing::Test {
protected:
    KeyInjection() : bus(clock) {
        DevicePorts ports;
        ports.bus = &bus;
        ports.clock = &clock;
        link = std::make_unique<DeviceLink>(profile, ports);
        link->ConnectMouse();
    }
    void hold(std::initializer_list<std::uint8_t> keys) {
        for (auto k : keys) link->SendKeyEvent(k, ACTION_DOWN);
        bus.clear();
    }
    Bytes last() { return bus.reports().back().bytes; }

    Profile profile = test::factoryProfile();
    SimulatedClock clock;
    RecordingHidBus bus;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(KeyInjection, SlotRules) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> held;
        std::uint8_t code, action;
        Slots expect;
    };
    const std::vector<Case> cases{
        {"release the first of three", {4, 5, 6}, 4, ACTION_UP, {5, 6, 0, 0, 0, 0}},
        {"seventh press dropped", {4, 5, 6, 7, 8, 9}, 10, ACTION_DOWN, {4, 5, 6, 7, 8, 9}},
        {"release of a key not held with six held drops the sixth", {4, 5, 6, 7, 8, 9}, 10, ACTION_UP, {4, 5, 6, 7, 8, 0}},
        {"same key twice takes two slots", {4, 4}, 5, ACTION_DOWN, {4, 4, 5, 0, 0, 0}},
        {"one release removes only the first", {4, 5, 4}, 4, ACTION_UP, {5, 4, 0, 0, 0, 0}},
        {"action 3 changes nothing", {4, 5}, 6, 3, {4, 5, 0, 0, 0, 0}},
        {"modifier travels as a key", {}, test::kShift, ACTION_DOWN, {225, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        profile = test::factoryProfile();
        DevicePorts ports;
        ports.bus = &bus;
        ports.clock = &clock;
        link = std::make_unique<DeviceLink>(profile, ports);
        link->ConnectMouse();
        for (auto k : c.held) link->SendKeyEvent(k, ACTION_DOWN);
        bus.clear();
        link->SendKeyEvent(c.code, c.action);
        EXPECT_EQ(link->keySlots(), c.expect) << c.what;
        ASSERT_EQ(bus.reports().size(), 1u) << c.what;
        Bytes expect{7, 0x15};
        expect.insert(expect.end(), c.expect.begin(), c.expect.end());
        EXPECT_EQ(last(), expect) << c.what;
    }
}

TEST_F(KeyInjection, MouseButtonByte) {
    struct Step {
        std::uint8_t code, action, mask;
    };
    const std::vector<Step> steps{{KEY_MOUSE_LEFT, ACTION_DOWN, 0xFE},  {KEY_MOUSE_RIGHT, ACTION_DOWN, 0xFC},
                                  {KEY_MOUSE_MIDDLE, ACTION_DOWN, 0xF8}, {KEY_MOUSE_LEFT, ACTION_UP, 0xF9},
                                  {243, ACTION_DOWN, 0xF9},               {255, ACTION_UP, 0xF9},
                                  {KEY_MOUSE_RIGHT, 3, 0xF9},             {KEY_MOUSE_RIGHT, ACTION_UP, 0xFB}};
    for (const Step& s : steps) {
        bus.clear();
        link->SendKeyEvent(s.code, s.action);
        ASSERT_EQ(bus.reports().size(), 1u);
        EXPECT_EQ(last()[1], 0x16);
        EXPECT_EQ(last()[3], s.mask) << int(s.code) << "/" << int(s.action);
    }
    EXPECT_EQ(link->keySlots(), Slots{});  // mouse codes never enter the key slots
}

TEST_F(KeyInjection, ReleaseAllPausesAndOrder) {
    hold({4, 5});
    link->SendKeyEvent(KEY_MOUSE_LEFT, ACTION_DOWN);
    bus.clear();
    const auto t0 = clock.nowMicros();
    link->ReleaseAll();
    const auto r = bus.reports();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].bytes[1], 0x16);
    EXPECT_EQ(r[0].bytes[3], 0xFF);
    EXPECT_EQ(r[0].micros - t0, 10'000);
    EXPECT_EQ(r[1].bytes, (Bytes{7, 0x15, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r[1].micros - r[0].micros, 10'000);
    EXPECT_EQ(link->mouseButtonMask(), 0xFF);
}

TEST_F(KeyInjection, EventDelaysHaveA15MsFloor) {
    const MacroRecord m = test::makeMacro({{test::kA, ACTION_DOWN, 0},
                                           {test::kA, ACTION_UP, 14},
                                           {test::kB, ACTION_DOWN, 15},
                                           {test::kB, ACTION_UP, 1000},
                                           {test::kC, ACTION_DOWN, 65535}});
    link->PlayMacro(m, 1);
    const auto r = bus.reports();
    ASSERT_EQ(r.size(), 7u);  // five events and ReleaseAll's two
    const std::int64_t gaps[] = {15'000, 15'000, 15'000, 1'000'000, 65'535'000 + 10'000, 10'000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r[i + 1].micros - r[i].micros, gaps[i]) << "gap " << i;
}

TEST_F(KeyInjection, EmptyMacroPlaysOnlyReleaseAll) {
    link->PlayMacro(MacroRecord{}, 3);
    const auto r = bus.reports();
    ASSERT_EQ(r.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r[i].bytes[1], i % 2 ? 0x15 : 0x16);
    bus.clear();
    link->PlayMacro(test::makeMacro({{test::kA, ACTION_DOWN, 20}}), 0);
    EXPECT_TRUE(bus.reports().empty());  // no repetition, not even ReleaseAll
}

TEST_F(KeyInjection, KeyHeldToTheEndIsReleasedByReleaseAll) {
    link->PlayMacro(test::makeMacro({{test::kA, ACTION_DOWN, 20}, {KEY_MOUSE_LEFT, ACTION_DOWN, 20}}), 1);
    EXPECT_EQ(link->keySlots(), Slots{});
    EXPECT_EQ(link->mouseButtonMask(), 0xFF);
}

TEST_F(KeyInjection, EachRepetitionPlaysOneConsistentSnapshot) {
    // The source changes the record while a repetition plays; each repetition
    // must play either the old or the new record whole.
    MacroRecord oldRecord = test::makeMacro({{test::kA, ACTION_DOWN, 15}, {test::kA, ACTION_UP, 15}});
    MacroRecord newRecord = test::makeMacro({{test::kK, ACTION_DOWN, 15}, {test::kK, ACTION_UP, 15}, {test::kO, ACTION_DOWN, 15}});
    MacroRecord current = oldRecord;
    int snapshots = 0;
    link->PlayMacro(
        [&] {
            ++snapshots;
            MacroRecord copy = current;
            current = newRecord;  // an edit lands right after the copy
            return copy;
        },
        2);
    EXPECT_EQ(snapshots, 2);
    std::vector<std::uint8_t> firstKeys;
    for (const auto& r : bus.reports())
        if (r.bytes[1] == 0x15 && r.bytes[2] != 0) firstKeys.push_back(r.bytes[2]);
    EXPECT_EQ(firstKeys, (std::vector<std::uint8_t>{test::kA, test::kK, test::kO}));
}

}  // namespace
}  // namespace korvel

#include "macro/macro_library.h"

namespace korvel {
namespace {

TEST(MacroTablesSource, CopiesTheProgramsTables) {
    const MacroRecord user = test::makeMacro({{test::kK, ACTION_DOWN, 30}}, 1, 4);
    const MacroRecord constant = test::makeMacro({{test::kO, ACTION_UP, 15}});
    {
        std::lock_guard lock(macroTablesLock());
        macroTables().userMacros[11] = user;
        macroTables().constMacros[7] = constant;
    }
    MacroTablesSource source;
    const MacroRecord u = source.userMacro(11);
    EXPECT_EQ(std::memcmp(&u, &user, sizeof user), 0);
    const MacroRecord c = source.constMacro(7);
    EXPECT_EQ(std::memcmp(&c, &constant, sizeof constant), 0);
    EXPECT_EQ(source.userMacro(13).eventCount, 0);
    EXPECT_EQ(source.constMacro(-1).eventCount, 0);
    std::lock_guard lock(macroTablesLock());
    macroTables() = MacroTables{};
}

}  // namespace
}  // namespace korvel
