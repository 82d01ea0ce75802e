// The listener's handling of input report 6 and the dispatcher's button
// functions: step by step on one thread, then with both worker threads
// against the virtual mouse (stop rules, presses not queued, unplug).
#include <gtest/gtest.h>

#include <random>
#include <type_traits>

#include "device/device_link.h"
#include "device/device_support.h"
#include "device_fakes.h"
#include "platform/virtual/virtual_mouse.h"

namespace korvel {
namespace {

using test::Ev;
using test::makeMacro;

// Buttons by index and their event codes (240 + hardware code).
constexpr std::uint8_t eventOf(int button) {
    constexpr std::uint8_t hw[9] = {1, 2, 3, 5, 4, 6, 8, 7, 9};
    return static_cast<std::uint8_t>(240 + hw[button]);
}

template <class ClockT>
struct Rig {
    Rig() : mouse(options()) {
        DevicePorts ports;
        ports.bus = &mouse;
        ports.clock = &clock;
        ports.launcher = &launcher;
        ports.store = &store;
        ports.macros = &macros;
        ports.repaint = &repaint;
        ports.exitRoutine = [this] { exits.fetch_add(1); };
        link = std::make_unique<DeviceLink>(profile, ports);
        profile.buttonFunction = {1, 2, 21, 41, 39, 16, 15, 14, 31};
        EXPECT_TRUE(link->ConnectMouse());
        link->ApplyProfile();
        macros.setUser(0, makeMacro({{test::kK, ACTION_DOWN, 20}, {test::kK, ACTION_UP, 20}, {test::kO, ACTION_DOWN, 20},
                                     {test::kO, ACTION_UP, 20}}));
        macros.setConst(0, makeMacro({{test::kA, ACTION_DOWN, 15}, {test::kA, ACTION_UP, 15}}));
        baseline = mouse.state().featureReportsAccepted;
    }
    VirtualMouseOptions options() {
        VirtualMouseOptions o;
        o.clock = &clock;
        return o;
    }
    ~Rig() {
        if constexpr (std::is_same_v<ClockT, test::ManualClock>) clock.runFree();
        link->stopThreads();
    }
    // Feed one report straight to the listener's handling, then let the
    // dispatcher take one step.
    void report(std::uint8_t code, std::uint8_t value, bool step = true) {
        const std::uint8_t bytes[8] = {6, code, value};
        link->handleInputReport(bytes, sizeof bytes);
        if (step) link->dispatchOnce();
    }
    std::size_t sentSinceApply() { return mouse.state().featureReportsAccepted - baseline; }
    // Complete repetitions sent since the apply: each ends with the key-state
    // command of ReleaseAll right after its mouse-button command.
    int repetitions() {
        const auto log = mouse.featureLog();
        int n = 0;
        for (std::size_t i = baseline + 1; i < log.size(); ++i)
            if (log[i].bytes[1] == 0x15 && log[i - 1].bytes[1] == 0x16 && log[i - 1].bytes[3] == 0xFF) ++n;
        return n;
    }

    ClockT clock;
    VirtualMouse mouse;
    Profile profile = test::factoryProfile();
    test::RecordingLauncher launcher;
    test::RecordingStore store;
    test::FakeMacros macros;
    test::CountingRepaint repaint;
    std::atomic<int> exits{0};
    std::unique_ptr<DeviceLink> link;
    std::size_t baseline = 0;
};

using StepRig = Rig<SimulatedClock>;

TEST(Dispatcher, EventCodesFindTheirButtons) {
    StepRig rig;
    rig.report(245, 0);  // button 3: user macro 1 types "ko"
    EXPECT_EQ(rig.mouse.typedText(), u"ko");
    rig.report(244, 0);  // button 4: calculator
    EXPECT_EQ(rig.launcher.started(), std::vector<std::u16string>{u"calc.exe"});
    rig.profile.buttonFunction[4] = 40;  // edits count before they are applied
    rig.report(244, 0);
    EXPECT_EQ(rig.launcher.started().back(), u"cmd.exe");
    rig.report(243, 0);  // button 2: AC Home
    EXPECT_EQ(rig.mouse.state().consumerKeys, std::vector<std::uint16_t>{0x0223});
    EXPECT_FALSE(rig.link->macroBusy());
    EXPECT_FALSE(rig.link->macroStop());
}

TEST(Dispatcher, MediaFunctionsSendTheirUsages) {
    StepRig rig;
    for (int f = 21; f <= 30; ++f) {
        rig.profile.buttonFunction[2] = f;
        rig.report(eventOf(2), 1);
        rig.report(eventOf(2), 0x80);  // a release sends nothing
    }
    EXPECT_EQ(rig.mouse.state().consumerKeys, (std::vector<std::uint16_t>{0x0223, 0x0183, 0x018A, 0x00E9, 0x00EA,
                                                                          0x00B6, 0x00B5, 0x00E2, 0x00CD, 0x0192}));
}

TEST(Dispatcher, ReportsThatDispatchNothing) {
    StepRig rig;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases{
        {"no button has event 250", {6, 250, 0, 0}},
        {"not report 6", {5, 245, 0, 0}},
        {"too short", {6, 245}},
        {"a release", {6, 245, 0x80}},
        {"another event while idle", {6, 0x20, 1}},
    };
    for (const auto& c : cases) {
        rig.link->handleInputReport(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(rig.link->dispatchOnce() && rig.sentSinceApply() > 0) << c.what;
        EXPECT_FALSE(rig.link->macroBusy()) << c.what;
        EXPECT_FALSE(rig.link->macroStop()) << c.what;
    }
    EXPECT_EQ(rig.sentSinceApply(), 0u);
    EXPECT_TRUE(rig.launcher.started().empty());
}

TEST(Dispatcher, DpiMirroring) {
    StepRig rig;  // buttons 5 and 6 report DPI levels
    rig.report(eventOf(5), 2);
    EXPECT_EQ(rig.profile.dpiLevel, 2);
    rig.report(eventOf(5), 0x80);
    EXPECT_EQ(rig.profile.dpiLevel, 2);
    rig.report(eventOf(6), 7);  // not a level: nothing changes, nothing saved
    rig.report(eventOf(6), 0x7F);
    EXPECT_EQ(rig.profile.dpiLevel, 2);
    rig.report(eventOf(6), 3);
    EXPECT_EQ(rig.profile.dpiLevel, 3);
    std::vector<int> saved;
    for (auto& [what, v] : rig.store.writes())
        if (what == "DPI_LEVEL") saved.push_back(v);
    EXPECT_EQ(saved, (std::vector<int>{302, 303}));  // profile 3, levels 2 and 3

    // A button marked before its function changed keeps the mark until the
    // next apply; one not marked does not mirror.
    rig.report(eventOf(1), 1);
    EXPECT_EQ(rig.profile.dpiLevel, 3);
}

TEST(Dispatcher, RateCycling) {
    StepRig rig;  // button 7 has function 14
    rig.profile.usbSpeed = 2;
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        rig.report(eventOf(7), 0);
        seen.push_back(rig.profile.usbSpeed);
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 0, 1, 2}));
    std::vector<int> saved;
    for (auto& [what, v] : rig.store.writes())
        if (what == "USB_SPEED") saved.push_back(v);
    EXPECT_EQ(saved, (std::vector<int>{303, 300, 301, 302}));
    EXPECT_GE(rig.repaint.count(), 5);  // apply + four cycles
}

TEST(Dispatcher, UserMacroRepetitions) {
    struct Case {
        const char* what;
        std::uint8_t playMode;
        std::uint16_t repeat;
        int expect;
    };
    const std::vector<Case> cases{
        {"play mode 0 plays once", 0, 7, 1},
        {"play mode 1 plays its count", 1, 3, 3},
        {"play mode 1 with count 0 plays nothing", 1, 0, 0},
    };
    for (const auto& c : cases) {
        StepRig rig;
        rig.macros.setUser(0, makeMacro({{test::kA, ACTION_DOWN, 15}, {test::kA, ACTION_UP, 15}}, c.playMode, c.repeat));
        rig.report(eventOf(3), 0);
        EXPECT_EQ(rig.repetitions(), c.expect) << c.what;
        if (c.expect == 0) {
            EXPECT_EQ(rig.sentSinceApply(), 0u) << c.what;
        }
    }
}

TEST(Dispatcher, ConstantMacroPlaysOnceWhateverTheHoldSwitch) {
    StepRig rig;
    rig.profile.macroMode2 = 1;
    rig.report(eventOf(8), 0);
    EXPECT_EQ(rig.repetitions(), 1);
    EXPECT_EQ(rig.mouse.typedText(), u"a");
}

TEST(Dispatcher, AReleaseWhileIdleDoesNotStopTheNextMacro) {
    StepRig rig;
    rig.profile.macroMode2 = 1;
    rig.macros.setUser(0, makeMacro({{test::kA, ACTION_DOWN, 15}}, 1, 0));
    rig.report(eventOf(2), 0x80, false);
    EXPECT_TRUE(rig.link->macroStop());
    EXPECT_FALSE(rig.link->dispatchOnce());  // the idle step drops it
    EXPECT_FALSE(rig.link->macroStop());
    // The next press is held: it plays until stopped, so stop it from the
    // clock's side after three repetitions by a release.
    int snapshots = 0;
    struct CountingMacros : MacroSource {
        int* n;
        StepRig* rig;
        MacroRecord userMacro(int) override {
            if (++*n == 3) {
                const std::uint8_t release[3] = {6, eventOf(3), 0x80};
                rig->link->handleInputReport(release, 3);
            }
            return makeMacro({{test::kA, ACTION_DOWN, 15}});
        }
        MacroRecord constMacro(int) override { return {}; }
    } source;
    source.n = &snapshots;
    source.rig = &rig;
    DevicePorts ports;
    ports.bus = &rig.mouse;
    ports.clock = &rig.clock;
    ports.macros = &source;
    rig.link.reset();
    rig.link = std::make_unique<DeviceLink>(rig.profile, ports);
    ASSERT_TRUE(rig.link->ConnectMouse());
    rig.baseline = rig.mouse.state().featureReportsAccepted;
    rig.report(eventOf(3), 0);
    EXPECT_EQ(rig.repetitions(), 3);
}

// ------------------------------------------------------------------ threads

using ThreadRig = Rig<test::ManualClock>;

constexpr int kWait = 10000;  // generous bound for condition waits, ms

// Runs the worker threads with a user macro of five repetitions (or held,
// with macroMode2 1) on button 3, and stops the clock inside its first
// repetition.
struct Playing : ThreadRig {
    explicit Playing(int macroMode2) {
        profile.macroMode2 = macroMode2;
        macros.setUser(0, makeMacro({{test::kA, ACTION_DOWN, 15}, {test::kA, ACTION_UP, 15}}, 1, 5));
        link->startThreads();
        mouse.press(3);
        EXPECT_TRUE(clock.waitForSleeps(1, kWait));  // first event sent, dispatcher asleep
    }
    void settle(std::uint64_t handled) {
        EXPECT_TRUE(mouse.waitUntil([&] { return link->inputReportsHandled() >= handled; }, kWait));
    }
    void finish() {
        clock.runFree();
        EXPECT_TRUE(mouse.waitUntil([&] { return !link->macroBusy(); }, kWait));
    }
};

TEST(DispatcherThreads, StopRulesWithoutHoldSwitch) {
    struct Case {
        const char* what;
        void (*act)(Playing&);
        bool stops;
    };
    const std::vector<Case> cases{
        {"press of another software button", [](Playing& p) { p.mouse.press(2); }, true},
        {"press of the DPI button", [](Playing& p) { p.mouse.press(5); }, true},
        {"another event", [](Playing& p) { p.mouse.sendEvent(0x21, 0); }, true},
        {"release of the button", [](Playing& p) { p.mouse.release(3); }, false},
    };
    for (const auto& c : cases) {
        Playing p(0);
        const int levelBefore = p.profile.dpiLevel;
        c.act(p);
        p.settle(2);
        EXPECT_EQ(p.link->macroStop(), c.stops) << c.what;
        p.finish();
        EXPECT_EQ(p.repetitions(), c.stops ? 1 : 5) << c.what;
        // The press that stopped the macro was not dispatched afterwards.
        EXPECT_TRUE(p.mouse.state().consumerKeys.empty()) << c.what;
        EXPECT_EQ(p.profile.dpiLevel, levelBefore) << c.what;
    }
}

TEST(DispatcherThreads, StopRulesWithHoldSwitch) {
    struct Case {
        const char* what;
        void (*act)(Playing&);
        int reports;
        bool stops;
    };
    const std::vector<Case> cases{
        {"press of another software button is ignored", [](Playing& p) { p.mouse.press(2); }, 1, false},
        {"release of the button", [](Playing& p) { p.mouse.release(3); }, 1, true},
        {"release of another button", [](Playing& p) { p.mouse.click(7); }, 2, true},
        {"another event", [](Playing& p) { p.mouse.sendEvent(0x05, 1); }, 1, true},
    };
    for (const auto& c : cases) {
        Playing p(1);
        const std::uint64_t before = p.link->inputReportsHandled();
        c.act(p);
        p.settle(before + c.reports);
        EXPECT_EQ(p.link->macroStop(), c.stops) << c.what;
        if (!c.stops) {
            // Still held: let a few more repetitions go, then release.
            for (int i = 0; i < 40 && p.clock.sleepsStarted() < 12; ++i) {
                const int started = p.clock.sleepsStarted();
                p.clock.advanceMicros(20'000);
                p.clock.waitForSleeps(started + 1, 200);
            }
            p.mouse.release(3);
            p.settle(before + c.reports + 1);
        }
        p.finish();
        if (c.stops) {
            EXPECT_EQ(p.repetitions(), 1) << c.what;
        } else {
            EXPECT_GE(p.repetitions(), 3) << c.what;
        }
        EXPECT_TRUE(p.mouse.state().consumerKeys.empty()) << c.what;
    }
}

TEST(DispatcherThreads, APressDuringDispatchIsNotQueued) {
    Playing p(0);
    p.mouse.press(2);     // stops the macro; must not be dispatched later
    p.mouse.release(3);
    p.mouse.release(2);
    p.settle(4);
    p.finish();
    // Synchronise on a later press: anything queued would come first.
    p.mouse.click(2);
    EXPECT_TRUE(p.mouse.waitUntil([&] { return p.mouse.state().consumerKeys.size() >= 1; }, kWait));
    EXPECT_TRUE(p.mouse.waitUntil([&] { return !p.link->macroBusy(); }, kWait));
    EXPECT_EQ(p.mouse.state().consumerKeys.size(), 1u);
    EXPECT_EQ(p.repetitions(), 1);
}

TEST(DispatcherThreads, SoftwareButtonsThroughTheMouse) {
    ThreadRig rig;
    rig.clock.runFree();
    rig.link->startThreads();
    // Each click, then wait until it is done and the dispatcher idle again
    // (a press while busy would be a stop request instead).
    auto clickAndWait = [&](int button, const std::function<bool()>& done) {
        rig.mouse.click(button);
        return rig.mouse.waitUntil([&] { return done() && !rig.link->macroBusy(); }, kWait);
    };
    EXPECT_TRUE(clickAndWait(3, [&] { return rig.mouse.typedText() == u"ko" && rig.repetitions() == 1; }));
    EXPECT_TRUE(clickAndWait(4, [&] { return rig.launcher.started().size() == 1; }));
    // The mouse steps its own DPI level (button 5: down, button 6: up) and the
    // program mirrors it.
    EXPECT_TRUE(clickAndWait(6, [&] { return rig.profile.dpiLevel == 1; }));
    EXPECT_TRUE(clickAndWait(6, [&] { return rig.profile.dpiLevel == 2; }));
    EXPECT_TRUE(clickAndWait(5, [&] { return rig.profile.dpiLevel == 1; }));
    EXPECT_EQ(rig.mouse.state().currentLevel, 1);
    // Buttons the mouse handles itself never reach the program.
    rig.mouse.click(0);
    const auto host = rig.mouse.hostInput();
    EXPECT_TRUE(std::any_of(host.begin(), host.end(), [](const HostInput& h) {
        return h.kind == HostInput::MouseDown && h.code == 1;
    }));
    rig.mouse.click(2);
    EXPECT_TRUE(rig.mouse.waitUntil([&] { return rig.mouse.state().consumerKeys.size() == 1; }, kWait));
    // Every report the mouse sent was one of the software buttons'.
    EXPECT_TRUE(rig.mouse.waitUntil([&] { return rig.link->inputReportsHandled() == rig.mouse.state().inputReportsSent; }, kWait));
    EXPECT_EQ(rig.mouse.state().inputReportsSent, 12u);
}

TEST(DispatcherThreads, UnplugEndsTheProgram) {
    ThreadRig rig;
    rig.clock.runFree();
    rig.mouse.setNoticeSink([&](std::uint32_t event, const DeviceNotice& n) { rig.link->onDeviceChange(event, &n); });
    rig.link->startThreads();
    rig.mouse.click(2);
    EXPECT_TRUE(rig.mouse.waitUntil([&] { return !rig.mouse.state().consumerKeys.empty(); }, kWait));
    rig.mouse.unplug();
    EXPECT_GE(rig.exits.load(), 1);
    rig.link->stopThreads();  // the listener, failing its reads, still stops
}

TEST(DispatcherThreads, ListenerWaitsForTheMouseToBeConnected) {
    SimulatedClock clock;
    VirtualMouseOptions options;
    options.clock = &clock;
    VirtualMouse mouse(options);
    Profile profile = test::factoryProfile();
    profile.buttonFunction[2] = 24;
    test::RecordingLauncher launcher;
    DevicePorts ports;
    ports.bus = &mouse;
    ports.clock = &clock;
    DeviceLink link(profile, ports);
    link.startThreads();  // threads start before the mouse is connected
    ASSERT_TRUE(link.ConnectMouse());
    link.ApplyProfile();  // tells the mouse that button 2 is the program's
    mouse.click(2);
    EXPECT_TRUE(mouse.waitUntil([&] { return mouse.state().consumerKeys.size() == 1; }, kWait));
    link.stopThreads();
}

}  // namespace
}  // namespace korvel

namespace korvel {
namespace {

// Strange reports of any length and content, longer than the buffer too,
// through both threads: every one is handled, nothing hangs, and the link
// ends idle.
TEST(DispatcherThreads, StrangeReportsStayBounded) {
    SimulatedClock clock;
    VirtualMouseOptions options;
    options.clock = &clock;
    options.inputReportLength = 300;  // more than the 256-byte input buffer
    VirtualMouse mouse(options);
    Profile profile = test::factoryProfile();
    profile.buttonFunction = {1, 24, 41, 31, 16, 15, 14, 21, 43};
    test::FakeMacros macros;
    macros.setUser(0, makeMacro({{test::kA, ACTION_DOWN, 15}}, 1, 3));
    macros.setConst(0, makeMacro({{KEY_MOUSE_LEFT, ACTION_DOWN, 15}}));
    test::RecordingStore store;
    DevicePorts ports;
    ports.bus = &mouse;
    ports.clock = &clock;
    ports.macros = &macros;
    ports.store = &store;
    DeviceLink link(profile, ports);
    ASSERT_TRUE(link.ConnectMouse());
    EXPECT_EQ(link.inputReportLength(), 300);
    link.ApplyProfile();
    link.startThreads();

    std::mt19937 random(20261211);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> bytes(random() % 320);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        if (!bytes.empty() && random() % 2) bytes[0] = 6;                                   // mostly report 6
        if (bytes.size() > 1 && random() % 2) bytes[1] = static_cast<std::uint8_t>(238 + random() % 18);  // near the buttons
        mouse.sendInputReport(bytes);
    }
    EXPECT_TRUE(mouse.waitUntil([&] { return link.inputReportsHandled() == 2000 && !link.macroBusy(); }, 60000));
    link.stopThreads();
    EXPECT_GE(profile.dpiLevel, 0);
    EXPECT_LE(profile.dpiLevel, 3);
    EXPECT_LE(profile.usbSpeed, 3);
    EXPECT_EQ(link.keySlots(), (std::array<std::uint8_t, 6>{}));
}

}  // namespace
}  // namespace korvel
