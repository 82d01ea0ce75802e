#pragma once
// The main window's skinned surface on Win32: painting the page the core
// composes, pointer movement and clicks through the core's click controller,
// the skin's layouts and outline at start-up, and the window operations the
// controller asks for (drag, minimise, hide, the web page, the popups).
#include <windows.h>

#include <functional>
#include <optional>

#include "app/main_window_host.h"
#include "ui/click_controller.h"
#include "ui/skin_image.h"
#include "ui/ui_state.h"

namespace korvel::win {

using SkinMessageHandler = std::function<std::optional<LRESULT>(WPARAM, LPARAM)>;
using SkinMessageRegistrar = std::function<void(UINT, SkinMessageHandler)>;

class SkinnedSurface;

// Makes the main window's surface (once) and registers its mouse and
// child-colour messages through `on`. `window` gives the main window's handle
// once it exists.
void attachSkinnedSurface(MainWindowHost& host, std::function<HWND()> window, const SkinMessageRegistrar& on);

// The surface made by attachSkinnedSurface.
SkinnedSurface& skinnedSurface();

// The skin's decoded images, kept for the run (user-interface thread only).
SkinImageCache& skinImageCache();

// What the later parts of the program plug in: the profile-file commands, the
// macro panel and the editor's values shown on the advanced page. Until they
// do, those controls do nothing and the page shows an idle editor.
void setProfileFilesHooks(ProfileFilesHooks* hooks);
void setMacroPanelHooks(MacroPanelHooks* hooks);
void setMacroEditorView(std::function<MacroEditorView()> view);

class SkinnedSurface : public MainWindowPort {
public:
    SkinnedSurface(MainWindowHost& host, std::function<HWND()> window);

    // Start-up steps.
    bool loadLayouts();         // main, colour and advanced page
    bool loadWarningLayout();
    void shapeWindow();

    // Messages.
    void paint();
    void onMouseMove(LPARAM position);
    void onButtonDown(LPARAM position);
    void onButtonUp(LPARAM position);

    // A popup assigned a function: the main window shows the new caption at once.
    void showChoice();

    // MainWindowPort
    void invalidate() override;
    void invalidatePaintRegion() override;
    void updateNow() override;
    void startWindowDrag(std::int32_t x, std::int32_t y) override;
    ScreenPoint windowOrigin() override;
    void postMinimise(std::int32_t x, std::int32_t y) override;
    void hideToTray() override;
    void hideToTrayReverting() override;
    void applyProfile() override;
    void openWebPage(std::u16string_view address) override;
    int showWarning(ScreenPoint origin) override;
    void openFunctionMenu(ScreenPoint origin) override;
    void destroyFunctionMenu() override;
    std::optional<std::u16string> chooseMacroLibraryFile(bool save) override;

    ClickController& controller() { return controller_; }

private:
    HWND hwnd() const { return window_(); }

    MainWindowHost& host_;
    std::function<HWND()> window_;
    ClickController controller_;
    Canvas canvas_;
};

}  // namespace korvel::win
