#pragma once
// Hiding to the tray, power events and the one orderly way out.
#include "app/main_window_host.h"

namespace korvel {

class DeviceLink;

// The pointer speed the exit routine leaves behind: Windows' default.
inline constexpr int kDefaultPointerSpeed = 10;

// The program's one link to the mouse, kept for the whole run. The main window
// sets it before start-up; without one, applying and the exit command have
// no mouse to talk to and do nothing.
void setDeviceLink(DeviceLink* link);
DeviceLink* deviceLink();

// Sends the current profile to the mouse. Start-up (once the mouse is found)
// and every power event call it.
void applyCurrentProfile();

// A power event of any kind (suspend, resume, ...): the mouse may have lost
// its settings, so the whole profile is sent again.
void onPowerBroadcast();

// The window's close (system menu, Alt+F4) and the main page's close control.
void hideToTray(MainWindowHost& host);

// The main page's hide control: drops the edits since the last apply (keeping
// the current DPI level) and hides.
void hideToTrayReverting(MainWindowHost& host);

// Removes the tray icon, tells the mouse the program is leaving, puts the
// pointer speed back to the default and destroys the window.
void runExitRoutine(MainWindowHost& host);

}  // namespace korvel
