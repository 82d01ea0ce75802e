#include "korvel_dlg.h"

#include <shellapi.h>

#include <string>

#include "about_dlg.h"
#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/startup.h"
#include "device/device_link.h"
#include "editor_win32.h"
#include "fonts.h"
#include "hid_bus.h"
#include "korvel_app.h"
#include "resource.h"
#include "system_settings.h"
#include "ui_main_window.h"
#include "win_text.h"

namespace korvel::win {

CKorvelDlg::CKorvelDlg()
    : Dialog(IDD_KORVEL_DIALOG), icon_(LoadIconW(moduleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    onMessage(WM_SYSCOMMAND, [this](WPARAM w, LPARAM) { return onSysCommand(w); });
    onMessage(WM_CLOSE, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        hideToTray(*this);
        return 0;
    });
    onMessage(WM_KORVEL_TRAY, [this](WPARAM w, LPARAM l) -> std::optional<LRESULT> { return onTrayNotify(w, l); });
    onMessage(WM_POWERBROADCAST, [](WPARAM, LPARAM) -> std::optional<LRESULT> {
        onPowerBroadcast();
        return std::nullopt;
    });
    onMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        return reinterpret_cast<LRESULT>(icon_);
    });
    onMessage(WM_DEVICECHANGE, [this](WPARAM event, LPARAM notice) -> std::optional<LRESULT> {
        // Only arrival and removal carry a notice record to read.
        const auto type = static_cast<std::uint32_t>(event);
        DeviceNotice record;
        if (type == kDeviceArrival || type == kDeviceRemoveComplete) record = deviceNoticeFrom(notice);
        if (DeviceLink* link = deviceLink()) link->onDeviceChange(type, &record);
        return TRUE;
    });
    onMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return 1; });
    onMessage(WM_PAINT, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        paint();
        return 0;
    });

    // Both editions' commands: the menu of the edition in use sends one pair.
    onCommand(ID_TRAY_SHOW_EN, [this] { showFromTray(); });
    onCommand(ID_TRAY_SHOW_CN, [this] { showFromTray(); });
    onCommand(ID_TRAY_EXIT_EN, [this] { exitProgram(); });
    onCommand(ID_TRAY_EXIT_CN, [this] { exitProgram(); });
    // Enter and Esc reach the dialog as IDOK / IDCANCEL; they must not end
    // a program that is meant to stay resident, so they do nothing.
    onCommand(IDOK, [] {});
    onCommand(IDCANCEL, [] {});

    // The skinned surface: pointer movement, clicks, child-control colours.
    attachSkinnedSurface(*this, [this] { return hwnd(); },
                         [this](UINT message, SkinMessageHandler handler) { onMessage(message, std::move(handler)); });
    // The advanced page's macro editor, the owner-drawn menus and the
    // profile-file commands.
    attachMacroEditor(*this, [this] { return hwnd(); },
                      [this](UINT message, SkinMessageHandler handler) { onMessage(message, std::move(handler)); });
}

// The menus belong to the process-wide owner-drawn menu objects, which keep
// them for the whole run.
CKorvelDlg::~CKorvelDlg() = default;

bool CKorvelDlg::preTranslateMessage(MSG& message) {
    // Recording, the right-click menu of the event list and the key filter;
    // anything else goes on to the dialog's own keyboard handling.
    return macroEditorPreTranslate(message);
}

bool CKorvelDlg::onInitDialog() {
    runMainWindowStartup(*this);
    return true;
}

std::optional<LRESULT> CKorvelDlg::onSysCommand(WPARAM command) {
    // The low four bits of a system command are the system's own.
    switch (command & 0xFFF0) {
    case IDM_ABOUTBOX: {
        CAboutDlg about;
        about.runModal(hwnd());
        return 0;
    }
    case SC_MINIMIZE:
        ShowWindow(hwnd(), SW_MINIMIZE);
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT CKorvelDlg::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != IDC_TRAY_ICON) return 1;
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDBLCLK:
        showFromTray();
        break;
    case WM_RBUTTONUP: {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(hwnd());
        if (HMENU popup = trayPopupMenu())
            TrackPopupMenu(popup, TPM_LEFTALIGN, cursor.x, cursor.y, 0, hwnd(), nullptr);
        break;
    }
    default:
        break;
    }
    return 0;
}

void CKorvelDlg::showFromTray() {
    ShowWindow(hwnd(), SW_SHOW);
    ShowWindow(hwnd(), SW_RESTORE);
}

void CKorvelDlg::exitProgram() { runExitRoutine(*this); }

void CKorvelDlg::paint() { skinnedSurface().paint(); }

// --- start-up steps -------------------------------------------------------

void CKorvelDlg::startWorkerThreads() {
    // Clears macroBusy and macroStop, then starts the listener and the
    // dispatcher at THREAD_PRIORITY_HIGHEST.
    programDeviceLink(*this, hwnd()).startThreads();
}

void CKorvelDlg::appendAboutEntry() {
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    if (systemMenu == nullptr) return;
    wchar_t text[128] = {};
    if (LoadStringW(moduleInstance(), IDS_ABOUTBOX, text, 128) <= 0 || text[0] == 0) return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void CKorvelDlg::setLargeIcon() { SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_)); }

void CKorvelDlg::setTitle(std::u16string_view title) { SetWindowTextW(hwnd(), wide(title).c_str()); }

bool CKorvelDlg::loadSkinLayouts() { return skinnedSurface().loadLayouts(); }

void CKorvelDlg::createMacroControls() {
    // The child controls' objects were made with the window (attachMacroEditor);
    // their windows come with the advanced page.
}

bool CKorvelDlg::loadWarningLayout() { return skinnedSurface().loadWarningLayout(); }

void CKorvelDlg::createFonts() { win::createFonts(); }

void CKorvelDlg::shapeWindow() { skinnedSurface().shapeWindow(); }

void CKorvelDlg::loadMenus(std::int32_t verSel) { loadOwnerDrawnMenus(verSel); }

void CKorvelDlg::startMacroEditor(int currentMacro) { win::startMacroEditor(currentMacro); }

bool CKorvelDlg::connectMouse() { return programDeviceLink(*this, hwnd()).ConnectMouse(); }

void CKorvelDlg::showMessage(std::u16string_view text) {
    MessageBoxW(hwnd(), wide(text).c_str(), nullptr, MB_OK);
}

void CKorvelDlg::sleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

// --- window state -------------------------------------------------------

void CKorvelDlg::addTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd();
    data.uID = IDC_TRAY_ICON;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_KORVEL_TRAY;
    data.hIcon = icon_;
    const std::wstring tip = wide(windowTitle(appState().verSel));
    lstrcpynW(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip));
    // Adding an icon that is already there fails and changes nothing.
    Shell_NotifyIconW(NIM_ADD, &data);
}

void CKorvelDlg::removeTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd();
    data.uID = IDC_TRAY_ICON;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

void CKorvelDlg::minimize() { ShowWindow(hwnd(), SW_MINIMIZE); }

void CKorvelDlg::hide() { ShowWindow(hwnd(), SW_HIDE); }

void CKorvelDlg::repaint() {
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

void CKorvelDlg::destroyWindow() { end(0); }

bool CKorvelDlg::getPointerSpeed(int& speed) { return Win32SystemSettings().getPointerSpeed(speed); }

void CKorvelDlg::setPointerSpeed(int speed) { Win32SystemSettings().setPointerSpeed(speed); }

}  // namespace korvel::win
