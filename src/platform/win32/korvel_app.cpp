#include "korvel_app.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/startup.h"
#include "device/device_support.h"
#include "hid_bus.h"
#include "korvel_dlg.h"
#include "launcher.h"
#include "system_settings.h"
#include "win_text.h"

#ifdef KORVEL_DEMO
#include "demo_mouse.h"
#endif

namespace korvel::win {

MouseSource& programMouse() {
    // Never destroyed: the listener and the dispatcher use the bus until the
    // process ends.
#ifdef KORVEL_DEMO
    static MouseSource* const source = new DemoMouseSource();
#else
    static MouseSource* const source = new Win32MouseSource();
#endif
    return *source;
}

namespace {

struct ProgramDevice {
    Win32Clock clock;  // Sleep alone would stretch the 15 ms macro pauses to ~31 ms
    Win32SystemSettings settings;
    Win32ProgramLauncher launcher;
    Win32EventFactory events;
    Win32RepaintRequester repaint;
    ConfigFileStore store{appState()};
    MacroTablesSource macros;
    std::unique_ptr<DeviceLink> link;
};

}  // namespace

DeviceLink& programDeviceLink(MainWindowHost& host, HWND mainWindow) {
    static ProgramDevice* const device = new ProgramDevice();  // never destroyed, see above
    if (!device->link) {
        MouseSource& mouse = programMouse();
        mouse.attach(mainWindow);
        device->repaint.setWindow(mainWindow);
        DevicePorts ports;
        ports.bus = &mouse.bus();
        ports.clock = &device->clock;
        ports.settings = &device->settings;
        ports.launcher = &device->launcher;
        ports.events = &device->events;
        ports.repaint = &device->repaint;
        ports.store = &device->store;
        ports.macros = &device->macros;
        ports.exitRoutine = [&host] { runExitRoutine(host); };
        ports.onWorkerThreadStart = raiseWorkerThreadPriority;
        device->link = std::make_unique<DeviceLink>(currentProfile(), std::move(ports));
        setDeviceLink(device->link.get());
    }
    return *device->link;
}

CKorvelApp::CKorvelApp() {
    // The program folder is known before any window exists. A path longer
    // than the buffer comes back cut, as the system gives it.
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    appState().programFolder = programFolderFromModulePath(fromWide(std::wstring_view(path, length)));
}

bool CKorvelApp::initInstance() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(kInstanceMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: bring its window back, even from the tray.
        const std::wstring title = wide(runningWindowTitle(appState().programFolder));
        if (HWND running = FindWindowW(nullptr, title.c_str())) ShowWindow(running, SW_RESTORE);
        if (mutex != nullptr) CloseHandle(mutex);
        return false;
    }

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);

    CKorvelDlg dialog;
    dialog.runModal(nullptr);
    programMouse().finish();
    // The mutex stays held until the process ends.
    return false;
}

}  // namespace korvel::win

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    korvel::win::CKorvelApp app;
    app.initInstance();
    return 0;
}
