#pragma once
// The macro editor and the profile-file commands joined to the rest of the
// program: the hooks the click controller calls, the profile-file host that
// reaches the macro library, the editor and the window, and the editor's
// values the advanced page draws.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/ports.h"
#include "macro/macro_editor.h"
#include "profile/profile_files.h"
#include "ui/click_controller.h"
#include "ui/ui_state.h"

namespace korvel {

// What only the main window can do for the profile-file commands.
class EditionWindowPort {
public:
    virtual ~EditionWindowPort() = default;
    virtual std::optional<std::u16string> chooseFile(const FileDialogRequest& request) = 0;
    virtual void repaint() = 0;
    virtual void applyProfile() = 0;
    virtual bool advancedPageShown() = 0;
    // loadSkinLayouts of the edition (main, colour, advanced, warning).
    virtual void loadSkinLayouts(std::int32_t verSel) = 0;
    // Detach both menus, load resources eventMenuResource / trayMenuResource
    // of the edition and CBrelMenu::load them.
    virtual void reloadMenus(std::int32_t verSel) = 0;
    virtual void setTitle(std::u16string_view title) = 0;
};

class AppProfileFilesHost : public ProfileFilesHost {
public:
    AppProfileFilesHost(EditionWindowPort& window, MacroTables& tables, MacroEditor& editor, MessageBoxPort& messages);

    std::optional<std::u16string> chooseFile(const FileDialogRequest& request) override;
    void repaint() override;
    void applyProfile() override;
    void loadUserMacros(std::u16string_view path) override;
    void saveUserMacros(std::u16string_view path) override;
    void setMacroLibraryPath(std::u16string_view path) override;
    bool advancedPageShown() override;
    void fillMacroList() override;
    void loadSkinLayouts(std::int32_t verSel) override;
    void reloadMenus(std::int32_t verSel) override;
    void setWindowTitle(std::int32_t verSel) override;

private:
    EditionWindowPort& window_;
    MacroTables& tables_;
    MacroEditor& editor_;
    MessageBoxPort& messages_;
};

// Main page controls 14-18, on the process-wide profile and state.
class ProfileFilesCommands : public ProfileFilesHooks {
public:
    explicit ProfileFilesCommands(ProfileFilesHost& host) : host_(host) {}
    void importProfile() override;
    void exportProfile() override;
    void factoryReset() override;
    void switchEdition(std::int32_t verSel) override;

private:
    ProfileFilesHost& host_;
};

// The child windows of the advanced page (created on entering it, destroyed
// on leaving it) - the platform's part of the panel.
class MacroControlWindows {
public:
    virtual ~MacroControlWindows() = default;
    virtual void create() = 0;   // repeatEdit, nameEdit, macroList, eventList
    virtual void destroy() = 0;  // same order
};

// Advanced controls 0-6 and the macro list, through the editor. The click
// handling runs the file dialogs of controls 0 and 1.
class MacroPanelCommands : public MacroPanelHooks {
public:
    MacroPanelCommands(MacroEditor& editor, MacroControlWindows& windows, MacroTables& tables,
                       MessageBoxPort& messages)
        : editor_(editor), windows_(windows), tables_(tables), messages_(messages) {}
    void createMacroControls() override { windows_.create(); }
    void destroyMacroControls() override { windows_.destroy(); }
    void refillMacroList() override { editor_.fillMacroList(); }
    // LoadMacroLibrary into the user table (a running recording ends first);
    // the editor takes the loader's current macro.
    void loadMacroLibrary(std::u16string_view path) override;
    void saveMacroLibrary(std::u16string_view path) override;
    void addMacro() override { editor_.AddMacro(); }
    void deleteMacro() override { editor_.DeleteMacro(); }
    void startStopRecording() override { editor_.StartStopRecording(); }
    void setRepeatCount() override { editor_.SaveRepeatCount(); }
    void togglePlayMode() override { editor_.TogglePlayMode(); }

private:
    MacroEditor& editor_;
    MacroControlWindows& windows_;
    MacroTables& tables_;
    MessageBoxPort& messages_;
};

// The editor's values the advanced page shows.
MacroEditorView macroEditorView(const MacroEditorState& state);

}  // namespace korvel
