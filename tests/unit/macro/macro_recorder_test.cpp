#include <gtest/gtest.h>

#include "editor_fakes.h"

namespace korvel::test {
namespace {

constexpr std::uint32_t KD = kMsgKeyDown, KU = kMsgKeyUp, SD = kMsgSysKeyDown, SU = kMsgSysKeyUp;
constexpr int VK_A = 0x41, VK_B = 0x42, VK_LALT = 0xA4, VK_F4 = 0x73, VK_ESC = 27, VK_ENTER = 13;

class RecorderTest : public EditorFixture {
protected:
    void SetUp() override {
        useMacros({makeMacro(u"Alpha", {down(4), up(4)}, {55, 66}, 1, 9), makeMacro(u"Beta", {}, {})});
    }
    void startOn(int line) {
        macroList.select(line);
        editor.StartStopRecording();
        ASSERT_TRUE(state.recording);
    }
    bool key(std::uint32_t message, int vk, std::int64_t afterMs = 10) {
        clock.advance(afterMs);
        return editor.PreTranslateMessage(message, static_cast<std::uintptr_t>(vk), true);
    }
    std::vector<MacroEvent> recorded(int macro) const {
        const MacroRecord& r = tables.userMacros[macro];
        return {r.events.begin(), r.events.begin() + r.eventCount};
    }
};

TEST_F(RecorderTest, FourEventExampleGivesEventsDelaysAndLines) {
    startOn(0);
    key(KD, VK_A, 5000);
    key(KU, VK_A, 120);
    key(KD, VK_B, 250);
    key(KU, VK_B, 80);
    // Until the stop, the record shows no events to the editor or playback.
    EXPECT_EQ(tables.userMacros[0].eventCount, 0);
    editor.StartStopRecording();
    EXPECT_FALSE(state.recording);

    const MacroRecord& r = tables.userMacros[0];
    EXPECT_EQ(recorded(0), (std::vector<MacroEvent>{down(4), up(4), down(5), up(5)}));
    EXPECT_EQ(r.delay(0), 120);
    EXPECT_EQ(r.delay(1), 250);
    EXPECT_EQ(r.delay(2), 80);
    EXPECT_EQ(r.delay(3), 30);
    EXPECT_EQ(macroName(r), u"Alpha");
    EXPECT_EQ(r.playMode, 0);
    EXPECT_EQ(r.repeatCount(), 1);
    EXPECT_EQ(eventList.lines,
              (std::vector<std::u16string>{eventLineText(4, 1), delayLineText(120), eventLineText(4, 2),
                                           delayLineText(250), eventLineText(5, 1), delayLineText(80),
                                           eventLineText(5, 2)}));
    EXPECT_EQ(eventList.sel, 6);  // the last line while recording
    EXPECT_EQ(state.downCount, 2);
    EXPECT_EQ(state.upCount, 2);
    EXPECT_FALSE(host.hookInstalled);
    EXPECT_EQ(host.hookRemovals, 1);
}

struct Step {
    std::uint32_t message;
    int vk;
};
struct RecorderCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<MacroEvent> expected;
};

class RecorderCases : public RecorderTest, public ::testing::WithParamInterface<RecorderCase> {};

TEST_P(RecorderCases, RecordsTheExpectedEvents) {
    startOn(1);
    for (const Step& s : GetParam().steps) key(s.message, s.vk);
    editor.StartStopRecording();
    EXPECT_EQ(recorded(1), GetParam().expected);
}

std::vector<Step> tenHeldKeys() {
    std::vector<Step> steps;
    for (int k = 0; k < 10; ++k) steps.push_back({KD, VK_A + k});
    for (int k = 0; k < 10; ++k) steps.push_back({KU, VK_A + k});
    return steps;
}
std::vector<MacroEvent> nineHeldKeys() {
    std::vector<MacroEvent> events;
    for (int k = 0; k < 9; ++k) events.push_back(down(4 + k));
    for (int k = 0; k < 9; ++k) events.push_back(up(4 + k));
    return events;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecorderCases,
    ::testing::Values(
        RecorderCase{"AutoRepeatIsOnePress", {{KD, VK_A}, {KD, VK_A}, {KD, VK_A}, {KU, VK_A}}, {down(4), up(4)}},
        RecorderCase{"KeyAlreadyDownIsNotReleased", {{KU, VK_B}, {KD, VK_A}, {KU, VK_A}}, {down(4), up(4)}},
        RecorderCase{"SameKeyTwice",
                     {{KD, VK_A}, {KU, VK_A}, {KD, VK_A}, {KU, VK_A}},
                     {down(4), up(4), down(4), up(4)}},
        RecorderCase{"AltCombination",
                     {{SD, VK_LALT}, {SD, VK_F4}, {SU, VK_F4}, {KU, VK_LALT}},
                     {down(226), down(61), up(61), up(226)}},
        RecorderCase{"RightAlt", {{SD, 0xA5}, {SU, 0xA5}}, {down(230), up(230)}},
        RecorderCase{"EscapeAndEnterAreRecorded",
                     {{KD, VK_ESC}, {KU, VK_ESC}, {KD, VK_ENTER}, {KU, VK_ENTER}},
                     {down(41), up(41), down(40), up(40)}},
        RecorderCase{"TenthHeldKeyIsNotRecordedNorItsRelease", tenHeldKeys(), nineHeldKeys()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecorderTest, PressLimitStopsPressesButNotReleasesOfHeldKeys) {
    startOn(1);
    for (int k = 0; k < 106; ++k) {
        key(KD, VK_A);
        key(KU, VK_A);
    }
    key(KD, VK_B);  // press 107
    key(KD, 0x43);  // press 108
    key(KU, VK_B);
    key(KD, 0x44);  // beyond 108 presses: not recorded
    key(KU, 0x43);  // release of a held key: recorded as event 216
    key(KU, 0x44);  // its press was not recorded
    EXPECT_EQ(state.recordedCount, 216);
    EXPECT_EQ(state.downCount, 108);
    editor.StartStopRecording();
    const auto events = recorded(1);
    ASSERT_EQ(events.size(), 216u);
    EXPECT_EQ(events[212], down(5));
    EXPECT_EQ(events[213], down(6));
    EXPECT_EQ(events[214], up(5));
    EXPECT_EQ(events[215], up(6));
}

TEST_F(RecorderTest, EventLimitStopsEverythingButTheRecordingGoesOn) {
    startOn(1);
    for (int k = 0; k < 105; ++k) {
        key(KD, VK_A);
        key(KU, VK_A);
    }
    for (int k = 0; k < 3; ++k) key(KD, VK_B + k);  // 213 events, 108 presses, 3 held
    key(KU, VK_B);
    key(KU, VK_B + 1);
    key(KU, VK_B + 2);  // 216
    ASSERT_EQ(state.recordedCount, 216);
    key(KD, VK_A);
    key(KU, VK_A);
    EXPECT_EQ(state.recordedCount, 216);
    EXPECT_EQ(state.lastKeyMessage, KU);  // the last message still moves on
    EXPECT_EQ(static_cast<int>(eventList.lines.size()), 2 * 216 - 1);
    EXPECT_TRUE(state.recording);
    editor.StartStopRecording();
    EXPECT_EQ(tables.userMacros[1].eventCount, 216);
}

struct ElapsedCase {
    const char* name;
    std::int64_t previous;  // ms of the day
    std::int64_t now;
    int expected;
};
class ElapsedCases : public EditorFixture, public ::testing::WithParamInterface<ElapsedCase> {};

TEST_P(ElapsedCases, MeasuresAcrossMidnightAndCaps) {
    clock.ms = GetParam().previous;
    editor.elapsedSinceLastEvent();
    clock.ms = GetParam().now;
    EXPECT_EQ(editor.elapsedSinceLastEvent(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ElapsedCases,
                         ::testing::Values(ElapsedCase{"Short", 1000, 1250, 250},
                                           ElapsedCase{"SeventySeconds", 5000, 75000, 65535},
                                           ElapsedCase{"JustBelowCap", 0, 65535, 65535},
                                           ElapsedCase{"Midnight", 86'399'995, 86'400'005, 10},
                                           ElapsedCase{"Same", 42, 42, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecorderTest, SeventySecondPauseIsStoredAs65535) {
    startOn(1);
    key(KD, VK_A);
    key(KU, VK_A, 70'000);
    editor.StartStopRecording();
    EXPECT_EQ(tables.userMacros[1].delay(0), 65535);
    EXPECT_EQ(tables.userMacros[1].delay(1), 30);
}

TEST_F(RecorderTest, EventsTenMsApartAcrossMidnightGetTen) {
    clock.ms = 86'400'000 - 5;
    startOn(1);
    key(KD, VK_A, 0);
    key(KU, VK_A, 10);
    editor.StartStopRecording();
    EXPECT_EQ(tables.userMacros[1].delay(0), 10);
}

TEST_F(RecorderTest, StartAndStopLeavesAnEmptyMacroWithItsName) {
    startOn(0);
    EXPECT_EQ(repeatEdit.value, u"1");
    EXPECT_FALSE(repeatEdit.enabled);
    EXPECT_TRUE(eventList.lines.empty());
    EXPECT_TRUE(host.hookInstalled);
    editor.StartStopRecording();
    const MacroRecord& r = tables.userMacros[0];
    EXPECT_EQ(r.eventCount, 0);
    EXPECT_EQ(macroName(r), u"Alpha");
    EXPECT_EQ(r.playMode, 0);
    EXPECT_EQ(r.repeatCount(), 1);
    EXPECT_EQ(r.delay(0), 0);  // the old delays went with the cleared record
}

TEST_F(RecorderTest, LongListLineIsCutToNineteenCharacters) {
    macroList.lines[0] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    startOn(0);
    editor.StartStopRecording();
    EXPECT_EQ(macroName(tables.userMacros[0]), u"ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(tables.userMacros[0].name[38], 0);
    EXPECT_EQ(tables.userMacros[0].name[39], 0);
}

TEST_F(RecorderTest, WithoutMacrosNothingStartsAndNoHook) {
    useMacros({});
    editor.StartStopRecording();
    EXPECT_FALSE(state.recording);
    EXPECT_EQ(host.hookInstalls, 0);
    EXPECT_EQ(eventList.focusCount, 1);
}

TEST_F(RecorderTest, FailedHookIsTriedAgainAtTheNextStart) {
    host.hookWorks = false;
    startOn(0);
    EXPECT_FALSE(state.keyboardHook);
    editor.StartStopRecording();
    EXPECT_EQ(host.hookRemovals, 0);
    host.hookWorks = true;
    startOn(0);
    EXPECT_EQ(host.hookInstalls, 2);
    EXPECT_TRUE(state.keyboardHook);
}

TEST_F(RecorderTest, LeavingThePageKeepsStoringEvents) {
    startOn(1);
    key(KD, VK_A);
    eventList.shown = false;
    macroList.shown = false;
    key(KU, VK_A);
    EXPECT_EQ(eventList.lines.size(), 1u);  // lines added meanwhile went nowhere
    // Control 4 is on the advanced page: the lists are back when it stops.
    eventList.shown = true;
    macroList.shown = true;
    editor.StartStopRecording();
    EXPECT_FALSE(state.recording);
    EXPECT_EQ(recorded(1), (std::vector<MacroEvent>{down(4), up(4)}));
}

TEST_F(RecorderTest, NoLastMessageResetBetweenRecordings) {
    startOn(1);
    key(KD, VK_A);
    editor.StartStopRecording();
    startOn(1);
    // The same message as the last one taken is taken for a repeat.
    key(KD, VK_A);
    key(KD, VK_B);
    editor.StartStopRecording();
    EXPECT_EQ(recorded(1), (std::vector<MacroEvent>{down(5)}));
}

struct FilterCase {
    std::uint32_t message;
    std::uintptr_t param;
    bool discarded;
};
class KeyFilterCases : public ::testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilterCases, EnterEscapeAndF10NeverReachTheWindow) {
    EXPECT_EQ(isFilteredKey(GetParam().message, GetParam().param), GetParam().discarded);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyFilterCases,
                         ::testing::Values(FilterCase{KD, 27, true}, FilterCase{KD, 13, true},
                                           FilterCase{KU, 27, false}, FilterCase{KU, 13, false},
                                           FilterCase{SD, 13, false}, FilterCase{KD, 121, true},
                                           FilterCase{KU, 121, true}, FilterCase{SD, 121, true},
                                           FilterCase{SU, 121, true}, FilterCase{KD, 65, false},
                                           FilterCase{kMsgRButtonUp, 27, false}));

TEST_F(RecorderTest, EscapeWhileRecordingIsRecordedAndDiscarded) {
    startOn(1);
    EXPECT_TRUE(key(KD, VK_ESC));
    EXPECT_FALSE(key(KU, VK_ESC));
    EXPECT_EQ(state.recordedCount, 2);
    EXPECT_TRUE(key(KD, VK_ENTER));
}

TEST_F(RecorderTest, RightButtonReleaseOpensTheMenuOnlyOnTheAdvancedPageWhenIdle) {
    host.cursor = eventList.pointOnLine(0);
    EXPECT_FALSE(editor.PreTranslateMessage(kMsgRButtonUp, 0, false));
    EXPECT_TRUE(host.menus.empty());
    editor.PreTranslateMessage(kMsgRButtonUp, 0, true);
    EXPECT_EQ(host.menus.size(), 1u);
    startOn(0);
    host.cursor = eventList.pointOnLine(0);
    editor.PreTranslateMessage(kMsgRButtonUp, 0, true);
    EXPECT_EQ(host.menus.size(), 1u);
}

}  // namespace
}  // namespace korvel::test
