#include "korvel_app.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "korvel_dlg.h"
#include "win_text.h"

namespace korvel::win {

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
    // The mutex stays held until the process ends.
    return false;
}

}  // namespace korvel::win

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    korvel::win::CKorvelApp app;
    app.initInstance();
    return 0;
}
