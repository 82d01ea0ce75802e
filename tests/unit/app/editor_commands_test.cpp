#include "app/editor_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"
#include "../macro/editor_fakes.h"
#include "app/app_state.h"
#include "common/text.h"
#include "profile/config_store.h"

namespace korvel {
namespace {

class FakeWindow : public EditionWindowPort {
public:
    bool advanced = true;
    std::vector<std::string> calls;
    std::u16string title;
    std::optional<std::u16string> chosen;
    std::vector<FileDialogRequest> dialogs;
    std::optional<std::u16string> chooseFile(const FileDialogRequest& r) override {
        dialogs.push_back(r);
        return chosen;
    }
    void repaint() override { calls.push_back("repaint"); }
    void applyProfile() override { calls.push_back("apply"); }
    bool advancedPageShown() override { return advanced; }
    void loadSkinLayouts(std::int32_t v) override { calls.push_back("layouts " + std::to_string(v)); }
    void reloadMenus(std::int32_t v) override { calls.push_back("menus " + std::to_string(v)); }
    void setTitle(std::u16string_view t) override {
        title = t;
        calls.push_back("title");
    }
};

class SilentBox : public MessageBoxPort {
public:
    std::vector<std::u16string> texts;
    void show(std::u16string_view t, std::u16string_view) override { texts.emplace_back(t); }
};

class EditorCommandsTest : public test::EditorFixture {
protected:
    EditorCommandsTest() : filesHost(window, tables, editor, box), commands(filesHost) {
        folder = fromPath(dir.root());
        AppState& s = appState();
        s.programFolder = folder;
        s.configPath = folder + u"\\config.ini";
        s.skinFolder = folder + u"\\skins";
        s.verSel = 1;
        s.currentProfile = 1;
        dir.write("config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n[Config1]\r\nK0=1\r\nDPI_SET_EN0=1\r\n");
    }

    void writeLibrary(const std::u16string& path, std::vector<std::u16string> names) {
        MacroTables t;
        for (std::size_t i = 0; i < names.size(); ++i) t.userMacros[i] = test::makeMacro(names[i], {test::down(4)}, {});
        t.userMacroCount = static_cast<std::int16_t>(names.size());
        std::filesystem::create_directories(toPath(path).parent_path());
        ASSERT_TRUE(SaveMacroLibrary(t, path));
    }

    test::TempFolder dir;
    std::u16string folder;
    FakeWindow window;
    SilentBox box;
    AppProfileFilesHost filesHost;
    ProfileFilesCommands commands;
};

TEST_F(EditorCommandsTest, SwitchingEditionLoadsThatLibraryIntoTheEditor) {
    writeLibrary(folder + u"\\Macro_CN.dat", {u"\u7532", u"\u4E59"});
    commands.switchEdition(0);
    EXPECT_EQ(appState().verSel, 0);
    EXPECT_EQ(readVerSel(appState().configPath), 0);
    EXPECT_EQ(tables.macroLibraryPath, folder + u"\\Macro_CN.dat");
    EXPECT_EQ(tables.userMacroCount, 2);
    EXPECT_EQ(macroList.lines, (std::vector<std::u16string>{u"\u7532", u"\u4E59"}));
    EXPECT_EQ(state.currentMacro, 1);  // the last loaded macro
    EXPECT_EQ(nameEdit.value, u"\u4E59");
    EXPECT_EQ(window.title, windowTitle(0));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"layouts 0", "repaint", "menus 0", "title"}));
    EXPECT_TRUE(box.texts.empty());
}

TEST_F(EditorCommandsTest, SwitchingToAnEditionWithoutALibraryShowsTheLoaderMessage) {
    commands.switchEdition(1);
    EXPECT_EQ(tables.userMacroCount, 0);
    EXPECT_EQ(box.texts, (std::vector<std::u16string>{u"找不到配置文件"}));
    EXPECT_EQ(window.title, windowTitle(1));
}

TEST_F(EditorCommandsTest, FactoryResetWritesTheDefaultMacrosToTheEditionsLibrary) {
    writeLibrary(folder + u"\\skins\\INI_EN\\defMacro.dat", {u"Default"});
    writeLibrary(folder + u"\\Macro_EN.dat", {u"Mine", u"Other", u"Third"});
    tables.macroLibraryPath = folder + u"\\Macro_EN.dat";
    commands.factoryReset();
    MacroTables reloaded;
    const auto result = LoadMacroLibrary(reloaded, folder + u"\\Macro_EN.dat", MacroTable::User, box);
    EXPECT_EQ(result.count, 1);
    EXPECT_EQ(macroName(reloaded.userMacros[0]), u"Default");
    EXPECT_EQ(macroList.lines, (std::vector<std::u16string>{u"Default"}));
    EXPECT_EQ(window.calls.back(), "apply");
}

TEST_F(EditorCommandsTest, ReplacingTheLibraryEndsARunningRecording) {
    writeLibrary(folder + u"\\Macro_CN.dat", {u"\u7532"});
    useMacros({test::makeMacro(u"A", {}, {})});
    editor.StartStopRecording();
    editor.PreTranslateMessage(kMsgKeyDown, 0x42, false);
    editor.PreTranslateMessage(kMsgKeyUp, 0x42, false);
    ASSERT_TRUE(host.hookInstalled);
    commands.switchEdition(0);
    EXPECT_FALSE(state.recording);
    EXPECT_FALSE(host.hookInstalled);
    // The loaded macro is the file's, not a mix with the recorded events.
    MacroTables expected;
    writeLibrary(folder + u"\\check.dat", {u"\u7532"});
    LoadMacroLibrary(expected, folder + u"\\check.dat", MacroTable::User, box);
    EXPECT_EQ(tables.userMacros[0], expected.userMacros[0]);
    editor.PreTranslateMessage(kMsgKeyDown, 0x43, false);
    EXPECT_EQ(tables.userMacros[0], expected.userMacros[0]);
}

TEST_F(EditorCommandsTest, MacroLibrarySaveThenLoad) {
    struct NoWindows : MacroControlWindows {
        void create() override {}
        void destroy() override {}
    } windows;
    MacroPanelCommands panel(editor, windows, tables, box);
    useMacros({test::makeMacro(u"Keep", {test::down(4), test::up(4)}, {77}, 1, 5), test::makeMacro(u"Two", {}, {})});
    const MacroTables original = tables;
    panel.saveMacroLibrary(folder + u"\\mine.dat");

    useMacros({test::makeMacro(u"Other", {}, {})});
    editor.StartStopRecording();
    panel.loadMacroLibrary(folder + u"\\mine.dat");
    EXPECT_FALSE(state.recording);
    EXPECT_EQ(tables.userMacroCount, 2);
    EXPECT_EQ(tables.userMacros[0], original.userMacros[0]);
    EXPECT_EQ(tables.userMacros[1], original.userMacros[1]);
    EXPECT_EQ(state.currentMacro, 1);
    panel.refillMacroList();
    EXPECT_EQ(macroList.lines, (std::vector<std::u16string>{u"Keep", u"Two"}));
    EXPECT_EQ(nameEdit.value, u"Two");
}

TEST_F(EditorCommandsTest, PanelHooksReachTheEditor) {
    useMacros({test::makeMacro(u"A", {}, {})});
    struct Windows : MacroControlWindows {
        int created = 0, destroyed = 0;
        void create() override { ++created; }
        void destroy() override { ++destroyed; }
    } windows;
    MacroPanelCommands panel(editor, windows, tables, box);
    panel.createMacroControls();
    nameEdit.value = u"B";
    panel.addMacro();
    EXPECT_EQ(tables.userMacroCount, 2);
    panel.togglePlayMode();
    EXPECT_EQ(tables.userMacros[1].playMode, 1);
    panel.deleteMacro();
    EXPECT_EQ(tables.userMacroCount, 1);
    panel.destroyMacroControls();
    EXPECT_EQ(windows.created, 1);
    EXPECT_EQ(windows.destroyed, 1);

    state.recording = 1;
    state.downCount = 4;
    state.upCount = 3;
    state.currentMacro = 2;
    const MacroEditorView view = macroEditorView(state);
    EXPECT_TRUE(view.recording);
    EXPECT_EQ(view.downCount, 4);
    EXPECT_EQ(view.upCount, 3);
    EXPECT_EQ(view.currentMacro, 2);
}

}  // namespace
}  // namespace korvel
