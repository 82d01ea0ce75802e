#include "app/startup.h"

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "macro/macro_library.h"
#include "profile/config_store.h"
#include "profile/profile_files.h"

namespace korvel {

namespace {

// The macro loader's message ("找不到配置文件") goes to the main window's box.
class HostMessageBox final : public MessageBoxPort {
public:
    explicit HostMessageBox(MainWindowHost& host) : host_(host) {}
    void show(std::u16string_view text, std::u16string_view) override { host_.showMessage(text); }

private:
    MainWindowHost& host_;
};

}  // namespace

std::u16string programFolderFromModulePath(std::u16string_view modulePath) {
    const auto cut = modulePath.rfind(u'\\');
    if (cut == std::u16string_view::npos) return {};
    return std::u16string(modulePath.substr(0, cut));
}

std::u16string runningWindowTitle(std::u16string_view programFolder) {
    const std::u16string configPath = std::u16string(programFolder) + u"\\config.ini";
    return windowTitle(readVerSel(configPath));
}

std::u16string plugInPrompt(std::int32_t verSel) {
    if (verSel == kChinese) return u"请插入【" + std::u16string(u"Lumar") + u"】USB鼠标";
    return u"Please plug-in【" + std::u16string(u"Lumar") + u"】USB Mouse";
}

bool runMainWindowStartup(MainWindowHost& host) {
    AppState& state = appState();
    Profile& profile = currentProfile();

    // Step 2: clear macroBusy and macroStop - with the button-function dispatcher.
    // Step 3: the listener, then the dispatcher thread.
    host.startWorkerThreads();
    // Steps 4-5.
    host.appendAboutEntry();
    host.setLargeIcon();

    // Steps 6-10: the configuration file decides the profile and the edition.
    state.configPath = state.programFolder + u"\\config.ini";
    state.currentProfile = readCurConfig(state.configPath);
    state.verSel = readVerSel(state.configPath);
    loadProfile(profile, state.configPath, state.currentProfile, false, state.verSel);
    host.setTitle(windowTitle(state.verSel));

    // Steps 11-16: the skin. A missing layout file ends the program from
    // inside the loader.
    state.skinFolder = state.programFolder + u"\\skins";
    if (!host.loadSkinLayouts()) return false;
    host.createMacroControls();
    if (!host.loadWarningLayout()) return false;
    host.createFonts();
    host.shapeWindow();

    // Steps 17-19: the user macros of the edition, the constant macros, and
    // the macro editor's start state from the user library's load.
    HostMessageBox messageBox(host);
    const std::u16string userLibrary = editionMacroLibraryPath(state.programFolder, state.verSel);
    editMacroTables([&](MacroTables& tables) { tables.macroLibraryPath = userLibrary; });
    const MacroLoadResult user = LoadMacroLibrary(userLibrary, MacroTable::User, messageBox);
    LoadMacroLibrary(state.programFolder + u"\\constMacro.dat", MacroTable::Constant, messageBox);
    host.startMacroEditor(user.currentMacro);

    // Step 20.
    host.loadMenus(state.verSel);

    // Steps 21-23: without the mouse there is nothing to configure.
    state.mouseConnected = host.connectMouse();
    if (!state.mouseConnected) {
        host.showMessage(plugInPrompt(state.verSel));
        runExitRoutine(host);
        return false;
    }
    host.sleepMs(5);
    applyCurrentProfile();
    host.addTrayIcon();
    return true;
}

}  // namespace korvel
