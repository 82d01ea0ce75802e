#pragma once
// What the start-up order, the exit routine and hiding need from the main
// window. The Windows dialog implements it; tests use a recording fake.
#include <cstdint>
#include <string_view>

namespace korvel {

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // Start-up, in the order the start-up sequence calls them.
    virtual void startWorkerThreads() = 0;            // listener, then dispatcher
    virtual void appendAboutEntry() = 0;              // separator + "&About Korvel..." in the system menu
    virtual void setLargeIcon() = 0;
    virtual void setTitle(std::u16string_view title) = 0;
    // False when a layout file was missing: the loader has then already run
    // the exit routine and start-up must stop.
    virtual bool loadSkinLayouts() = 0;               // main, colour, advanced page
    virtual void createMacroControls() = 0;           // objects of the advanced page's child controls
    virtual bool loadWarningLayout() = 0;             // same contract as loadSkinLayouts
    virtual void createFonts() = 0;
    virtual void shapeWindow() = 0;
    virtual void loadMenus(std::int32_t verSel) = 0;  // event-list and tray menu of the edition
    // The macro editor's start state after the user library was loaded: the
    // loader's current macro.
    virtual void startMacroEditor(int currentMacro) { (void)currentMacro; }
    virtual bool connectMouse() = 0;
    virtual void showMessage(std::u16string_view text) = 0;  // OK button, default caption
    virtual void sleepMs(int ms) = 0;

    // Window state.
    virtual void addTrayIcon() = 0;       // no effect when already present
    virtual void removeTrayIcon() = 0;
    virtual void minimize() = 0;
    virtual void hide() = 0;
    virtual void repaint() = 0;
    virtual void destroyWindow() = 0;     // ends the modal loop, and with it the process

    // Windows pointer speed (1-20).
    virtual bool getPointerSpeed(int& speed) = 0;
    virtual void setPointerSpeed(int speed) = 0;  // persistent and broadcast
};

}  // namespace korvel
