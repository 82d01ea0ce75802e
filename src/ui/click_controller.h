#pragma once
// Pointer movement and clicks on the main window's skin. Which control a
// press or release concerns is decided by the hover indices that movement
// keeps up to date, except for the fire-time bar and window dragging.
// Settings, page switches, macro actions and the function menu act when the
// button goes down; saving, applying, profiles and window actions act when it
// comes up. A press on no control drags the window.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "macro/macro_library.h"
#include "profile/profile.h"
#include "ui/layout.h"
#include "ui/lighting_preview.h"
#include "ui/ui_state.h"

namespace korvel {

// The address the web-page control opens.
inline constexpr std::u16string_view kWebPageAddress = u"https://korvel.example/";

// What the controller asks of the main window.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    virtual void invalidate() = 0;             // the whole window, erase requested
    virtual void invalidatePaintRegion() = 0;  // the advanced page's paint region
    virtual void updateNow() = 0;              // paint pending areas at once
    // Starts the system's move loop as for a title bar (WM_NCLBUTTONDOWN,
    // HTCAPTION) at the pointer position of the button message.
    virtual void startWindowDrag(std::int32_t x, std::int32_t y) = 0;
    // Top-left corner of the window on the screen.
    virtual ScreenPoint windowOrigin() = 0;
    virtual void postMinimise(std::int32_t x, std::int32_t y) = 0;  // WM_SYSCOMMAND, SC_MINIMIZE
    virtual void hideToTray() = 0;
    virtual void hideToTrayReverting() = 0;
    virtual void applyProfile() = 0;  // ApplyProfile
    virtual void openWebPage(std::u16string_view address) = 0;
    // The warning dialog, modal at the origin; its result (1 go on, 2 decline).
    virtual int showWarning(ScreenPoint origin) = 0;
    // Creates and shows a new function menu at the origin.
    virtual void openFunctionMenu(ScreenPoint origin) = 0;
    // Destroys the function menu's window if it still exists.
    virtual void destroyFunctionMenu() = 0;
    // The file dialog of the macro library (filter "All Files(*.dat)|*.dat||",
    // starting in the program folder, read-only box hidden; saving adds "dat"
    // and confirms overwriting): the chosen path, nothing when cancelled.
    virtual std::optional<std::u16string> chooseMacroLibraryFile(bool save) = 0;
};

// Profile files, factory reset and the edition switch (done elsewhere).
class ProfileFilesHooks {
public:
    virtual ~ProfileFilesHooks() = default;
    virtual void importProfile() {}
    virtual void exportProfile() {}
    virtual void factoryReset() {}
    virtual void switchEdition(std::int32_t verSel) { (void)verSel; }
};

// The macro panel of the advanced page: child controls, library files,
// the macro list and the recorder (done elsewhere).
class MacroPanelHooks {
public:
    virtual ~MacroPanelHooks() = default;
    virtual void createMacroControls() {}
    virtual void destroyMacroControls() {}
    // Refills the macro list from the library and shows the current macro.
    virtual void refillMacroList() {}
    // The library chosen in the file dialog: LoadMacroLibrary into the user
    // macros (the editor takes the loader's current macro), SaveMacroLibrary
    // of them. By default the process-wide tables, with no message shown.
    virtual void loadMacroLibrary(std::u16string_view path);
    virtual void saveMacroLibrary(std::u16string_view path);
    virtual void addMacro() {}
    virtual void deleteMacro() {}
    virtual void startStopRecording() {}
    virtual void setRepeatCount() {}
    virtual void togglePlayMode() {}
};

// The records the controller edits and where it stores them.
struct ClickModel {
    const SkinLayouts& layouts;
    Profile& profile;
    Relaxed<std::int32_t>& currentProfile;  // 1-5
    const Relaxed<std::int32_t>& verSel;
    const std::u16string& configPath;  // read at each use: set during start-up
};

class ClickController {
public:
    ClickController(ClickModel model, UiState& ui, PopupState& popups, LightingPreview& preview,
                    MainWindowPort& window, ProfileFilesHooks& files, MacroPanelHooks& macros);

    // WM_MOUSEMOVE, client coordinates.
    void onPointerMove(std::int32_t x, std::int32_t y);
    // WM_LBUTTONDOWN and WM_LBUTTONUP, client coordinates.
    void onButtonDown(std::int32_t x, std::int32_t y);
    void onButtonUp(std::int32_t x, std::int32_t y);

    // Entering the pages (also used by other parts of the program).
    void enterAdvancedPage();
    void enterColourPage();

private:
    void mainPageDown(std::int32_t x, std::int32_t y);
    void advancedPageDown(std::int32_t x, std::int32_t y);
    void colourPageDown(std::int32_t x, std::int32_t y);
    void openFunctionMenu();

    ClickModel model_;
    UiState& ui_;
    PopupState& popups_;
    LightingPreview& preview_;
    MainWindowPort& window_;
    ProfileFilesHooks& files_;
    MacroPanelHooks& macros_;
};

}  // namespace korvel
