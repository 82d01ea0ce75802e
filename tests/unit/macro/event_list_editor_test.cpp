#include <gtest/gtest.h>

#include "editor_fakes.h"

namespace korvel::test {
namespace {

// A macro of three events shows five lines:
//   0 [↓]a   1 100ms   2 [↑]a   3 200ms   4 [↓]b
class EventEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        useMacros({makeMacro(u"Three", {down(4), up(4), down(5)}, {100, 200, 300}, 1, 7), makeMacro(u"Empty", {}, {})});
        ASSERT_EQ(eventList.lines.size(), 5u);
    }
    std::vector<MacroEvent> events(int m = 0) const {
        const MacroRecord& r = tables.userMacros[m];
        return {r.events.begin(), r.events.begin() + r.eventCount};
    }
    std::vector<int> delays(int m = 0) const {
        std::vector<int> d;
        for (int i = 0; i < tables.userMacros[m].eventCount; ++i) d.push_back(tables.userMacros[m].delay(i));
        return d;
    }
};

TEST_F(EventEditorTest, ModifyDelayEditsTheDelayLineInPlace) {
    rightClickLine(3);
    ASSERT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(state.menuEvent, 1);
    EXPECT_EQ(state.menuMacro, 0);
    EXPECT_TRUE(editor.onEventCommand(32780));
    ASSERT_TRUE(inPlace.open);
    EXPECT_EQ(inPlace.value, delayLineText(200));
    EXPECT_TRUE(inPlace.allSelected);
    // The line's item rectangle, two pixels taller at each end.
    EXPECT_EQ(inPlace.rect, (Rect{0, 3 * 16 - 2, 200, 4 * 16 + 2}));
    typeAndRelease(u"250", 13);
    EXPECT_FALSE(inPlace.open);
    EXPECT_EQ(delays(), (std::vector<int>{100, 250, 300}));
    EXPECT_EQ(eventList.lines[3], delayLineText(250));
    EXPECT_EQ(editDones, 1);
    EXPECT_EQ(eventList.sel, 3);
}

struct TypedCase {
    const char* name;
    const char16_t* typed;
    std::uintptr_t key;
    int stored;
};
class TypedDelayCases : public EventEditorTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedDelayCases, StoresTheTypedNumber) {
    rightClickLine(3);
    editor.onEventCommand(32835);  // the Chinese id of the same command
    typeAndRelease(GetParam().typed, GetParam().key);
    EXPECT_EQ(tables.userMacros[0].delay(1), GetParam().stored);
    EXPECT_EQ(tables.userMacros[0].delay(0), 100);
    EXPECT_EQ(tables.userMacros[0].delay(2), 300);
    EXPECT_EQ(eventList.lines[3], delayLineText(static_cast<std::uint16_t>(GetParam().stored)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedDelayCases,
    ::testing::Values(TypedCase{"Plain", u"250", 13, 250}, TypedCase{"WithMs", u"120ms", 13, 120},
                      TypedCase{"LeadingBlanks", u"  120", 13, 120}, TypedCase{"LettersOnly", u"abc", 13, 0},
                      TypedCase{"EscapeKeepsOld", u"999", 27, 200}, TypedCase{"NegativeClamped", u"-5", 13, 0},
                      TypedCase{"LargeClamped", u"70000", 13, 65535}, TypedCase{"Max", u"65535", 13, 65535},
                      TypedCase{"Unchanged", u"    200ms", 13, 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventEditorTest, LossOfFocusKeepsTheTypedText) {
    rightClickLine(3);
    editor.onEventCommand(32780);
    inPlace.value = u"77";
    listLogic.onEndEditMessage(1);  // WM_KILLFOCUS sends "keep"
    EXPECT_EQ(tables.userMacros[0].delay(1), 77);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], (std::pair<int, std::u16string>{3, delayLineText(200)}));
}

TEST_F(EventEditorTest, ModifyDelayOnAnEventLineDoesNothing) {
    rightClickLine(2);
    editor.onEventCommand(32780);
    EXPECT_EQ(eventList.editRequests, 0);
    EXPECT_FALSE(inPlace.open);
}

TEST_F(EventEditorTest, EditorOpenedOverAnEventLineLeavesDelaysAlone) {
    // Ctrl+A in the list sends the same character as the edit request.
    rightClickLine(2);
    listLogic.onChar(kEditRequestChar);
    ASSERT_TRUE(inPlace.open);
    typeAndRelease(u"5", 13);
    EXPECT_EQ(delays(), (std::vector<int>{100, 200, 300}));
    EXPECT_EQ(eventList.lines[2], eventLineText(4, ACTION_UP));
}

struct InsertCase {
    const char* name;
    int id;
    int line;
    std::vector<MacroEvent> events;
    std::vector<int> delays;
    int selectedLine;
};
class InsertCases : public EventEditorTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(InsertCases, InsertsAMouseButtonEvent) {
    rightClickLine(GetParam().line);
    EXPECT_TRUE(editor.onEventCommand(GetParam().id));
    EXPECT_EQ(events(), GetParam().events);
    EXPECT_EQ(delays(), GetParam().delays);
    EXPECT_EQ(state.selectedLine, GetParam().selectedLine);
    EXPECT_EQ(eventList.sel, GetParam().selectedLine);
    EXPECT_EQ(eventList.lines.size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InsertCases,
    ::testing::Values(
        InsertCase{"AfterLeftDown", 32809, 2, {down(4), up(4), down(240), down(5)}, {100, 200, 30, 300}, 4},
        InsertCase{"AfterLeftDownChinese", 32829, 2, {down(4), up(4), down(240), down(5)}, {100, 200, 30, 300}, 4},
        InsertCase{"BeforeLeftDown", 32802, 2, {down(4), down(240), up(4), down(5)}, {100, 30, 200, 300}, 4},
        InsertCase{"BeforeRightUpChinese", 32821, 2, {down(4), up(241), up(4), down(5)}, {100, 30, 200, 300}, 4},
        InsertCase{"BeforeFirst", 32806, 0, {down(242), down(4), up(4), down(5)}, {30, 100, 200, 300}, 2},
        InsertCase{"AfterLastMiddleUp", 32814, 4, {down(4), up(4), down(5), up(242)}, {100, 200, 300, 30}, 6},
        InsertCase{"AfterDelayLineRightDown", 32831, 3, {down(4), up(4), down(241), down(5)}, {100, 200, 30, 300},
                   5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EventCommandIds, BothEditionsMapToTheSameCommands) {
    const int english[] = {32802, 32803, 32804, 32805, 32806, 32807, 32809, 32810,
                           32811, 32812, 32813, 32814, 32780, 32781};
    const int chinese[] = {32817, 32818, 32820, 32821, 32823, 32824, 32829, 32830,
                           32831, 32832, 32833, 32834, 32835, 32836};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(eventCommandForId(english[i]), eventCommandForId(chinese[i])) << i;
        EXPECT_NE(eventCommandForId(english[i]).kind, EventCommandKind::None) << i;
    }
    EXPECT_EQ(eventCommandForId(32808).kind, EventCommandKind::None);
    EXPECT_EQ(eventCommandForId(32819).kind, EventCommandKind::None);
    EXPECT_EQ(eventCommandForId(32813), (EventCommand{EventCommandKind::InsertAfter, 242, ACTION_DOWN}));
    EXPECT_EQ(eventCommandForId(32805), (EventCommand{EventCommandKind::InsertBefore, 241, ACTION_UP}));
}

TEST_F(EventEditorTest, InsertAfterIntoAnEmptyListGivesEventZero) {
    macroList.select(1);
    editor.selectMacro();
    ASSERT_TRUE(eventList.lines.empty());
    rightClickLine(0);
    ASSERT_EQ(host.menus.size(), 1u);
    editor.onEventCommand(32810);
    EXPECT_EQ(events(1), (std::vector<MacroEvent>{up(240)}));
    EXPECT_EQ(tables.userMacros[1].delay(0), 30);
    EXPECT_EQ(state.selectedLine, 0);
    EXPECT_EQ(eventList.sel, 0);
}

TEST_F(EventEditorTest, DeleteInTheMiddleMovesLaterEventsDown) {
    rightClickLine(2);
    editor.onEventCommand(32781);
    EXPECT_EQ(events(), (std::vector<MacroEvent>{down(4), down(5)}));
    EXPECT_EQ(delays(), (std::vector<int>{100, 300}));
    EXPECT_EQ(state.selectedLine, 0);
    EXPECT_EQ(eventList.lines.size(), 3u);
}

TEST_F(EventEditorTest, DeleteTheLastEventOnlyLowersTheCount) {
    rightClickLine(4);
    editor.onEventCommand(32836);
    EXPECT_EQ(events(), (std::vector<MacroEvent>{down(4), up(4)}));
    EXPECT_EQ(state.selectedLine, 2);
    EXPECT_EQ(tables.userMacros[0].events[2], down(5));  // left in the slot
}

TEST_F(EventEditorTest, CommandsWithoutASelectedMacroChangeNothing) {
    rightClickLine(2);
    state.menuMacro = -1;  // the macro list had no selection at the right-click
    const MacroTables before = tables;
    for (int id : {32802, 32809, 32780, 32781, 32817, 32836}) EXPECT_TRUE(editor.onEventCommand(id));
    EXPECT_EQ(tables.userMacros, before.userMacros);
    EXPECT_EQ(eventList.editRequests, 0);

    // The same through a real right-click with no macro selected.
    macroList.sel = -1;
    rightClickLine(2);
    EXPECT_EQ(state.menuMacro, -1);
    editor.onEventCommand(32781);
    EXPECT_EQ(tables.userMacros, before.userMacros);
}

TEST_F(EventEditorTest, CommandsWhileRecordingDoNothing) {
    rightClickLine(2);
    state.recording = 1;
    editor.onEventCommand(32781);
    editor.onEventCommand(32802);
    EXPECT_EQ(tables.userMacros[0].eventCount, 3);
}

TEST_F(EventEditorTest, FullMacroShowsOverflowAndStaysAsItWas) {
    MacroRecord full = makeMacro(u"Full", {}, {});
    full.eventCount = 254;
    for (int i = 0; i < 254; ++i) full.events[i] = i % 2 ? up(4) : down(4);
    useMacros({full});
    rightClickLine(10);
    const MacroRecord before = tables.userMacros[0];
    const int line = state.selectedLine;
    editor.onEventCommand(32802);
    editor.onEventCommand(32809);
    EXPECT_EQ(host.messages, (std::vector<std::u16string>{u"Overflow!!!", u"Overflow!!!"}));
    EXPECT_EQ(tables.userMacros[0], before);
    EXPECT_EQ(state.selectedLine, line);
    editor.onEventCommand(32781);
    EXPECT_EQ(tables.userMacros[0].eventCount, 253);
}

TEST_F(EventEditorTest, OneBelowFullStillTakesAnInsert) {
    MacroRecord r = makeMacro(u"Almost", {}, {});
    r.eventCount = 253;
    useMacros({r});
    rightClickLine(0);
    editor.onEventCommand(32802);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(tables.userMacros[0].eventCount, 254);
}

TEST_F(EventEditorTest, RightClickCountsFromTheFirstLineWhenScrolled) {
    MacroRecord r = makeMacro(u"Long", {}, {});
    r.eventCount = 20;
    for (int i = 0; i < 20; ++i) r.events[i] = down(4 + i);
    useMacros({r});
    eventList.top = 10;
    host.cursor = {eventList.screen.left + 5, eventList.screen.top + 3};  // first visible row
    editor.OpenEventMenu();
    EXPECT_EQ(state.selectedLine, 10);
    EXPECT_EQ(state.menuEvent, 5);
    EXPECT_EQ(state.menuLineCount, 39);
    EXPECT_EQ(host.menus.size(), 1u);
}

TEST_F(EventEditorTest, RightClickBelowTheLastLineOpensNoMenuButMovesTheSelection) {
    rightClickLine(8);
    EXPECT_TRUE(host.menus.empty());
    EXPECT_EQ(state.selectedLine, 8);
    EXPECT_EQ(eventList.sel, -1);
    EXPECT_EQ(state.menuEvent, 0);
    EXPECT_EQ(state.menuLineCount, 5);
}

TEST_F(EventEditorTest, RightClickOutsideTheListOpensNoMenu) {
    host.cursor = {eventList.screen.right + 5, eventList.screen.top + 20};
    editor.OpenEventMenu();
    EXPECT_TRUE(host.menus.empty());
    EXPECT_EQ(state.selectedLine, 1);
}

TEST_F(EventEditorTest, ZeroLineHeightPicksLineZero) {
    eventList.height = 0;
    host.cursor = eventList.pointOnLine(0);
    host.cursor.y += 40;
    editor.OpenEventMenu();
    EXPECT_EQ(state.selectedLine, 0);
}

TEST_F(EventEditorTest, MenuMacroIsAtMostEleven) {
    std::vector<MacroRecord> twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back(makeMacro(u"M", {down(4)}, {}));
    useMacros(twelve, 11);
    macroList.lines.push_back(u"extra line");  // a thirteenth line the table does not have
    macroList.sel = 12;
    rightClickLine(0);
    EXPECT_EQ(state.menuMacro, 11);
}

TEST_F(EventEditorTest, RefreshOfAnEmptyMacroKeepsTheRepeatField) {
    EXPECT_EQ(repeatEdit.value, u"7");
    EXPECT_TRUE(repeatEdit.enabled);
    editor.refreshEventList(1);
    EXPECT_TRUE(eventList.lines.empty());
    EXPECT_EQ(state.downCount, 0);
    EXPECT_EQ(state.upCount, 0);
    EXPECT_EQ(repeatEdit.value, u"7");
    EXPECT_TRUE(repeatEdit.enabled);
}

TEST_F(EventEditorTest, PlayModeFromAFileShowsADisabledOne) {
    tables.userMacros[1] = makeMacro(u"Two", {down(4)}, {}, 2, 40);
    editor.refreshEventList(1);
    EXPECT_EQ(repeatEdit.value, u"1");
    EXPECT_FALSE(repeatEdit.enabled);
    EXPECT_EQ(state.downCount, 1);
}

TEST_F(EventEditorTest, StartStateSelectsTheLastEventLine) {
    editor.startAfterLibraryLoad(0);
    EXPECT_EQ(state.selectedLine, 4);
    editor.startAfterLibraryLoad(1);
    EXPECT_EQ(state.selectedLine, 0);
}

TEST_F(EventEditorTest, EditorRunsTwiceForOneEditWithTheSameResult) {
    rightClickLine(3);
    editor.onEventCommand(32780);
    typeAndRelease(u"321", 13);
    editor.onEditDone();
    EXPECT_EQ(delays(), (std::vector<int>{100, 321, 300}));
}

TEST(TypedDelay, ClampsInsteadOfWrapping) {
    EXPECT_EQ(typedDelay(u"-5"), 0);
    EXPECT_EQ(typedDelay(u"65536"), 65535);
    EXPECT_EQ(typedDelay(u"99999999999"), 65535);
    EXPECT_EQ(typedDelay(u"12ms34"), 12);
    EXPECT_EQ(typedDelay(u"ms12"), 0);
    EXPECT_EQ(typedDelay(u""), 0);
}

// The in-place editing protocol on its own.
class EditableListTest : public EditorFixture {
protected:
    void SetUp() override {
        forwardEditDone = false;
        eventList.lines = {u"one", u"two", u"three"};
        eventList.sel = 1;
    }
};

TEST_F(EditableListTest, OnlyTheEditRequestOpensTheEditor) {
    listLogic.onChar(u'x');
    EXPECT_FALSE(inPlace.open);
    EXPECT_EQ(listLogic.pendingChar(), u'x');
    listLogic.onChar(kEditRequestChar);
    EXPECT_TRUE(inPlace.open);
    EXPECT_EQ(listLogic.editingItem(), 1);
    EXPECT_EQ(listLogic.pendingChar(), 0);
}

TEST_F(EditableListTest, EscapeDropsTheTextButStillReportsTheEnd) {
    listLogic.onChar(kEditRequestChar);
    inPlace.value = u"changed";
    listLogic.onEndEditMessage(*editHelperKeyUp(27));
    EXPECT_EQ(eventList.lines[1], u"two");
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(editDones, 1);
    EXPECT_EQ(listLogic.editingItem(), -1);
    EXPECT_FALSE(inPlace.open);
}

TEST_F(EditableListTest, ScrollAndSizeKeepTheTypedText) {
    listLogic.onChar(kEditRequestChar);
    inPlace.value = u"scrolled";
    listLogic.onScroll();
    EXPECT_EQ(eventList.lines[1], u"scrolled");
    EXPECT_EQ(eventList.sel, 1);
    listLogic.onChar(kEditRequestChar);
    inPlace.value = u"sized";
    listLogic.onSize();
    EXPECT_EQ(eventList.lines[1], u"sized");
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].second, u"scrolled");
    // No editor open: ending does nothing and reports nothing.
    listLogic.onScroll();
    EXPECT_EQ(editDones, 2);
}

TEST_F(EditableListTest, UnchangedTextReportsNoChange) {
    listLogic.onChar(kEditRequestChar);
    listLogic.onEndEditMessage(1);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(editDones, 1);
}

TEST_F(EditableListTest, NoSelectedLineOpensNoEditor) {
    eventList.sel = -1;
    listLogic.onChar(kEditRequestChar);
    EXPECT_FALSE(inPlace.open);
}

TEST_F(EditableListTest, DestroyingTheListClosesTheEditor) {
    listLogic.onChar(kEditRequestChar);
    listLogic.onDestroy();
    EXPECT_FALSE(inPlace.open);
    EXPECT_EQ(editDones, 0);
}

TEST(EditHelperKeys, EnterKeepsEscapeDropsOthersNothing) {
    EXPECT_EQ(editHelperKeyUp(13), std::optional<std::uintptr_t>(1));
    EXPECT_EQ(editHelperKeyUp(27), std::optional<std::uintptr_t>(0));
    EXPECT_EQ(editHelperKeyUp(65), std::nullopt);
}

}  // namespace
}  // namespace korvel::test
