#include "app/editor_commands.h"

#include <mutex>

#include "app/app_state.h"

namespace korvel {

AppProfileFilesHost::AppProfileFilesHost(EditionWindowPort& window, MacroTables& tables, MacroEditor& editor,
                                         MessageBoxPort& messages)
    : window_(window), tables_(tables), editor_(editor), messages_(messages) {}

std::optional<std::u16string> AppProfileFilesHost::chooseFile(const FileDialogRequest& request) {
    return window_.chooseFile(request);
}
void AppProfileFilesHost::repaint() { window_.repaint(); }
void AppProfileFilesHost::applyProfile() { window_.applyProfile(); }

void AppProfileFilesHost::loadUserMacros(std::u16string_view path) {
    // A recording must not run on into a record of the new table.
    editor_.endRecording();
    const MacroLoadResult result = LoadMacroLibrary(tables_, path, MacroTable::User, messages_);
    editor_.state().currentMacro = result.currentMacro;
}

void AppProfileFilesHost::saveUserMacros(std::u16string_view path) { SaveMacroLibrary(tables_, path); }

void AppProfileFilesHost::setMacroLibraryPath(std::u16string_view path) {
    std::lock_guard<std::mutex> lock(macroTablesLock());
    tables_.macroLibraryPath = std::u16string(path);
}

bool AppProfileFilesHost::advancedPageShown() { return window_.advancedPageShown(); }
void AppProfileFilesHost::fillMacroList() { editor_.fillMacroList(); }
void AppProfileFilesHost::loadSkinLayouts(std::int32_t verSel) { window_.loadSkinLayouts(verSel); }
void AppProfileFilesHost::reloadMenus(std::int32_t verSel) { window_.reloadMenus(verSel); }
void AppProfileFilesHost::setWindowTitle(std::int32_t verSel) { window_.setTitle(windowTitle(verSel)); }

namespace {

ProfileFilesContext appContext() {
    AppState& state = appState();
    return ProfileFilesContext{currentProfile(), state.programFolder, state.configPath,
                               state.skinFolder, state.currentProfile, state.verSel};
}

}  // namespace

void ProfileFilesCommands::importProfile() {
    ProfileFilesContext context = appContext();
    korvel::importProfile(context, host_);
}
void ProfileFilesCommands::exportProfile() {
    ProfileFilesContext context = appContext();
    korvel::exportProfile(context, host_);
}
void ProfileFilesCommands::factoryReset() {
    ProfileFilesContext context = appContext();
    korvel::factoryReset(context, host_);
}
void ProfileFilesCommands::switchEdition(std::int32_t verSel) {
    ProfileFilesContext context = appContext();
    korvel::switchEdition(context, host_, verSel != 0 ? 1 : 0);
}

void MacroPanelCommands::loadMacroLibrary(std::u16string_view path) {
    editor_.endRecording();  // a recording must not run on into a record of the new table
    const MacroLoadResult result = LoadMacroLibrary(tables_, path, MacroTable::User, messages_);
    editor_.state().currentMacro = result.currentMacro;
}

void MacroPanelCommands::saveMacroLibrary(std::u16string_view path) { SaveMacroLibrary(tables_, path); }

MacroEditorView macroEditorView(const MacroEditorState& state) {
    return MacroEditorView{state.recording != 0, state.downCount, state.upCount, state.currentMacro};
}

}  // namespace korvel
