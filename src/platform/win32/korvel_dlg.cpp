#include "korvel_dlg.h"

#include <shellapi.h>

#include <string>

#include "about_dlg.h"
#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/startup.h"
#include "fonts.h"
#include "resource.h"
#include "win_text.h"

namespace korvel::win {

namespace {

// The plain look until the skin painter draws the window.
constexpr COLORREF kBackground = RGB(0x14, 0x18, 0x1e);
constexpr COLORREF kTitleText = RGB(0xff, 0xff, 0xff);

}  // namespace

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
}

CKorvelDlg::~CKorvelDlg() {
    if (eventMenu_ != nullptr) DestroyMenu(eventMenu_);
    if (trayMenu_ != nullptr) DestroyMenu(trayMenu_);
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
        if (trayMenu_ != nullptr)
            TrackPopupMenu(GetSubMenu(trayMenu_, 0), TPM_LEFTALIGN, cursor.x, cursor.y, 0, hwnd(), nullptr);
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

void CKorvelDlg::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);

    const std::wstring title = wide(windowTitle(appState().verSel));
    HGDIOBJ oldFont = SelectObject(dc, editionFont(appState().verSel));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleText);
    RECT text = client;
    text.top += 16;
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(hwnd(), &ps);
}

// --- start-up steps -------------------------------------------------------

void CKorvelDlg::startWorkerThreads() {
    // The input-report listener and the button-function dispatcher start here
    // with the device link.
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

bool CKorvelDlg::loadSkinLayouts() {
    // The skin layouts are read here once the skin loader exists.
    return true;
}

void CKorvelDlg::createMacroControls() {
    // The advanced page's child controls join here with the macro editor.
}

bool CKorvelDlg::loadWarningLayout() {
    // Joins with the warning dialog.
    return true;
}

void CKorvelDlg::createFonts() { win::createFonts(); }

void CKorvelDlg::shapeWindow() {
    // The window outline comes from the skin's mask once the skin exists.
}

void CKorvelDlg::loadMenus(std::int32_t verSel) {
    const bool english = verSel != kChinese;
    if (eventMenu_ != nullptr) DestroyMenu(eventMenu_);
    if (trayMenu_ != nullptr) DestroyMenu(trayMenu_);
    eventMenu_ = LoadMenuW(moduleInstance(), MAKEINTRESOURCEW(english ? IDR_EVENT_MENU_EN : IDR_EVENT_MENU_CN));
    trayMenu_ = LoadMenuW(moduleInstance(), MAKEINTRESOURCEW(english ? IDR_TRAY_MENU_EN : IDR_TRAY_MENU_CN));
}

bool CKorvelDlg::connectMouse() {
    // Until the device link exists, the program behaves as with the mouse found.
    return true;
}

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

bool CKorvelDlg::getPointerSpeed(int& speed) {
    return SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0) != FALSE;
}

void CKorvelDlg::setPointerSpeed(int speed) {
    // Windows takes the speed from the third argument and ignores the second;
    // Wine (8.0) takes it from the second. Giving it in both works on each.
    SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                          reinterpret_cast<void*>(static_cast<INT_PTR>(speed)), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

}  // namespace korvel::win
