#pragma once
// The application object: one running copy, the program folder, and the main
// window run modally for the whole life of the process.
#include <windows.h>

#include "app/main_window_host.h"
#include "device/device_link.h"

namespace korvel::win {

// The program's one device link, with the Windows ports it works through and
// the mouse of programMouse(). Made on the first call, once the main window
// exists (notices and repaints go to it), and kept until the process ends:
// the listener and the dispatcher are never stopped. Registered as the app's
// deviceLink(). The link's exit routine is the host's.
DeviceLink& programDeviceLink(MainWindowHost& host, HWND mainWindow);

class CKorvelApp {
public:
    CKorvelApp();
    // Runs the program; false always, as the main window's modal run is the
    // whole program and no message loop of the application's own follows.
    bool initInstance();
};

}  // namespace korvel::win
