#include <gtest/gtest.h>

#include "common/ini.h"
#include "editor_fakes.h"
#include "test_support.h"

namespace korvel::test {
namespace {

class MacroListTest : public EditorFixture {
protected:
    void SetUp() override {
        useMacros({makeMacro(u"Zero", {down(4)}, {}, 0, 1), makeMacro(u"One", {down(5), up(5)}, {11}, 1, 3),
                   makeMacro(u"Two", {down(6)}, {}, 0, 1), makeMacro(u"Three", {up(7)}, {}, 1, 9)},
                  0);
    }
    std::vector<std::u16string> names() const {
        std::vector<std::u16string> out;
        for (int i = 0; i < tables.userMacroCount; ++i) out.push_back(macroName(tables.userMacros[i]));
        return out;
    }
};

TEST_F(MacroListTest, FillListsEveryNameAndShowsTheCurrentMacro) {
    EXPECT_EQ(macroList.lines, (std::vector<std::u16string>{u"Zero", u"One", u"Two", u"Three"}));
    EXPECT_EQ(macroList.sel, 0);
    EXPECT_EQ(nameEdit.value, u"Zero");
    EXPECT_EQ(eventList.lines, (std::vector<std::u16string>{eventLineText(4, 1)}));
}

TEST_F(MacroListTest, FillWithCurrentBeyondTheListSelectsTheLast) {
    useMacros({makeMacro(u"a", {}, {}), makeMacro(u"b", {}, {}), makeMacro(u"c", {down(4)}, {})}, 7);
    EXPECT_EQ(macroList.sel, 2);
    EXPECT_EQ(state.currentMacro, 2);
    EXPECT_EQ(nameEdit.value, u"c");
    EXPECT_EQ(eventList.lines.size(), 1u);
}

TEST_F(MacroListTest, SelectingAnotherLineShowsItsEvents) {
    macroList.select(1);
    editor.selectMacro();
    EXPECT_EQ(state.currentMacro, 1);
    EXPECT_EQ(nameEdit.value, u"One");
    EXPECT_EQ(eventList.lines.size(), 3u);
    EXPECT_EQ(repeatEdit.value, u"3");
    EXPECT_TRUE(repeatEdit.enabled);
}

TEST_F(MacroListTest, FindMacroByNameIsExactAndCaseSensitive) {
    EXPECT_EQ(editor.findMacroByName(u"Two"), 2);
    EXPECT_EQ(editor.findMacroByName(u"two"), 4);
    EXPECT_EQ(editor.findMacroByName(u"Tw"), 4);
}

TEST_F(MacroListTest, AddingANewNameThenTheSameAgain) {
    useMacros({makeMacro(u"Zero", {}, {}), makeMacro(u"One", {}, {}), makeMacro(u"Two", {down(6)}, {})}, 2);
    nameEdit.value = u"Fresh";
    editor.AddMacro();
    EXPECT_EQ(tables.userMacroCount, 4);
    EXPECT_EQ(macroName(tables.userMacros[3]), u"Fresh");
    EXPECT_EQ(macroList.lines.back(), u"Fresh");
    EXPECT_EQ(macroList.sel, 3);
    EXPECT_EQ(state.currentMacro, 3);
    EXPECT_TRUE(eventList.lines.empty());
    EXPECT_EQ(state.downCount, 1);  // the counters keep their values

    macroList.select(0);
    const MacroTables before = tables;
    editor.AddMacro();
    EXPECT_EQ(tables.userMacros, before.userMacros);
    EXPECT_EQ(tables.userMacroCount, 4);
    EXPECT_EQ(macroList.lines.size(), 4u);
    EXPECT_EQ(macroList.sel, 3);
}

TEST_F(MacroListTest, LongNamesAreCutAtNineteenAndFoundAgain) {
    nameEdit.value = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    editor.AddMacro();
    EXPECT_EQ(macroName(tables.userMacros[4]), u"ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(macroList.lines.back(), u"ABCDEFGHIJKLMNOPQRS");
    editor.AddMacro();
    EXPECT_EQ(tables.userMacroCount, 5);
    EXPECT_EQ(macroList.sel, 4);
}

TEST_F(MacroListTest, EmptyNameAndThirteenthMacroAreRefused) {
    nameEdit.value = u"";
    editor.AddMacro();
    EXPECT_EQ(tables.userMacroCount, 4);
    for (int i = 0; i < 8; ++i) {
        nameEdit.value = u"n" + decimalText(i);
        editor.AddMacro();
    }
    EXPECT_EQ(tables.userMacroCount, 12);
    nameEdit.value = u"thirteen";
    editor.AddMacro();
    EXPECT_EQ(tables.userMacroCount, 12);
    EXPECT_EQ(macroList.lines.size(), 12u);
    EXPECT_EQ(tables.userMacros[12], MacroRecord{});  // the blank template stays blank
}

TEST_F(MacroListTest, DeletingInTheMiddleMovesLaterRecordsAndFreesTheLast) {
    macroList.select(1);
    editor.DeleteMacro();
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"Zero", u"Two", u"Three"}));
    EXPECT_EQ(macroList.lines, (std::vector<std::u16string>{u"Zero", u"Two", u"Three"}));
    EXPECT_EQ(macroList.sel, 0);
    EXPECT_EQ(state.currentMacro, 0);
    EXPECT_EQ(nameEdit.value, u"Zero");
    EXPECT_EQ(eventList.lines, (std::vector<std::u16string>{eventLineText(4, 1)}));
    const MacroRecord& freed = tables.userMacros[3];
    EXPECT_EQ(freed.playMode, 0);
    EXPECT_EQ(freed.repeatCount(), 1);
    EXPECT_EQ(freed.eventCount, 0);
    EXPECT_EQ(macroName(freed), u"Three");  // name and events stay in the slot
}

TEST_F(MacroListTest, DeletingTheOnlyMacroEmptiesEverything) {
    useMacros({makeMacro(u"Only", {down(4)}, {}, 1, 5)});
    editor.DeleteMacro();
    EXPECT_EQ(tables.userMacroCount, 0);
    EXPECT_TRUE(macroList.lines.empty());
    EXPECT_TRUE(eventList.lines.empty());
    EXPECT_EQ(nameEdit.value, u"");
    EXPECT_EQ(repeatEdit.value, u"1");
    EXPECT_FALSE(repeatEdit.enabled);
}

TEST_F(MacroListTest, DeleteWithoutASelectedLineDoesNothing) {
    macroList.sel = -1;
    const MacroTables before = tables;
    editor.DeleteMacro();
    EXPECT_EQ(tables.userMacros, before.userMacros);
    EXPECT_EQ(tables.userMacroCount, 4);
    EXPECT_EQ(macroList.lines.size(), 4u);
}

TEST_F(MacroListTest, DeleteWhileRecordingDoesNothing) {
    editor.StartStopRecording();
    editor.DeleteMacro();
    EXPECT_EQ(tables.userMacroCount, 4);
}

struct RepeatCase {
    const char* name;
    const char16_t* typed;
    int stored;
    const char16_t* shown;
};
class RepeatCountCases : public MacroListTest, public ::testing::WithParamInterface<RepeatCase> {
protected:
    TempFolder folder;
};

TEST_P(RepeatCountCases, CorrectsStoresAndSavesTheLibrary) {
    tables.macroLibraryPath = folder.path(u"Macro_EN.dat");
    repeatEdit.value = GetParam().typed;
    editor.SaveRepeatCount();
    EXPECT_EQ(tables.userMacros[0].repeatCount(), GetParam().stored);
    EXPECT_EQ(repeatEdit.value, GetParam().shown);
    MacroTables loaded;
    RecordingMessageBox box;
    const auto result = LoadMacroLibrary(loaded, tables.macroLibraryPath, MacroTable::User, box);
    EXPECT_TRUE(result.fileFound);
    EXPECT_EQ(loaded.userMacroCount, 4);
    EXPECT_EQ(loaded.userMacros[0].repeatCount(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, RepeatCountCases,
                         ::testing::Values(RepeatCase{"Zero", u"0", 1, u"1"}, RepeatCase{"Letters", u"abc", 1, u"1"},
                                           RepeatCase{"Negative", u"-3", 1, u"1"},
                                           RepeatCase{"TooLarge", u"70000", 65535, u"65535"},
                                           RepeatCase{"Plain", u"250", 250, u"250"},
                                           RepeatCase{"Max", u"65535", 65535, u"65535"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MacroListTest, TogglePlayModeShowsTheCountOrADisabledOne) {
    tables.userMacros[0].setRepeatCount(12);
    editor.TogglePlayMode();
    EXPECT_EQ(tables.userMacros[0].playMode, 1);
    EXPECT_EQ(repeatEdit.value, u"12");
    EXPECT_TRUE(repeatEdit.enabled);
    editor.TogglePlayMode();
    EXPECT_EQ(tables.userMacros[0].playMode, 0);
    EXPECT_EQ(repeatEdit.value, u"1");
    EXPECT_FALSE(repeatEdit.enabled);
    EXPECT_EQ(host.invalidations > 0, true);
}

TEST_F(MacroListTest, SavingInPlayModeZeroStoresOne) {
    TempFolder folder;
    tables.macroLibraryPath = folder.path(u"Macro_CN.dat");
    tables.userMacros[0].setRepeatCount(40);
    editor.refreshEventList(0);
    ASSERT_EQ(repeatEdit.value, u"1");
    editor.SaveRepeatCount();
    EXPECT_EQ(tables.userMacros[0].repeatCount(), 1);
}

}  // namespace
}  // namespace korvel::test
