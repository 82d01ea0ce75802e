#include "ui_popups.h"

#include <windowsx.h>

#include "app/app_state.h"
#include "platform/win32/region_win32.h"
#include "resource.h"
#include "ui_gdi.h"
#include "ui_main_window.h"
#include "win_text.h"

namespace korvel::win {

namespace {

std::optional<LRESULT> handled() { return 0; }

// A popup's outline: a rectangle given to the window (empty is allowed).
void setRectOutline(HWND window, const Rect& r) {
    SetWindowRgn(window, win32::makeHrgn(r.empty() ? std::vector<Rect>{} : std::vector<Rect>{r}), TRUE);
}

template <class Draw>
void paintWith(HWND window, Draw&& draw) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    Canvas canvas;
    draw(canvas);
    showCanvas(dc, 0, 0, canvas);
    EndPaint(window, &ps);
}

}  // namespace

// ---- function menu

CMenuDlg::CMenuDlg() : Dialog(IDD_MAIN_MENU), menu_(popupState(), skinImageCache(), gdiText()) {
    onMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM l) {
        if (menu_.onPointerMove(GET_X_LPARAM(l), GET_Y_LPARAM(l))) invalidate();
        return handled();
    });
    onMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) {
        menu_.onButtonDown();
        invalidate();
        return handled();
    });
    onMessage(WM_LBUTTONUP, [this](WPARAM, LPARAM) {
        const bool chosen = menu_.onButtonUp(currentProfile());
        invalidate();
        if (chosen) {
            skinnedSurface().showChoice();
            DestroyWindow(hwnd());
        }
        return handled();
    });
    onMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        paint();
        return handled();
    });
    onMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return 1; });
    // The sub-menu's choice closes the menu: it goes out of sight at once and
    // the main window's next paint destroys it.
    onMessage(WM_CLOSE, [this](WPARAM, LPARAM) {
        ShowWindow(hwnd(), SW_HIDE);
        return handled();
    });
}

CMenuDlg::~CMenuDlg() = default;

bool CMenuDlg::onInitDialog() {
    SetWindowTextW(hwnd(), wide(kMenuWindowTitle).c_str());
    menu_.initialise();
    setRectOutline(hwnd(), menu_.outline());
    return true;
}

void CMenuDlg::invalidate() { InvalidateRect(hwnd(), nullptr, TRUE); }

void CMenuDlg::paint() {
    paintWith(hwnd(), [this](Canvas& c) { menu_.paint(c, skinLayouts(), appState().verSel); });
    const SubMenuAction action = menu_.afterPaint(macroTables().userMacroCount);
    if (action.closeOpen) subMenu_.reset();
    if (action.openAt) {
        RECT self{};
        GetWindowRect(hwnd(), &self);
        subMenu_ = std::make_unique<CSubMenuDlg>();
        if (subMenu_->createModeless(hwnd())) {
            MoveWindow(subMenu_->hwnd(), self.left + action.openAt->x, self.top + action.openAt->y,
                       kPopupWindowWidth, kSubMenuWindowHeight, TRUE);
            ShowWindow(subMenu_->hwnd(), SW_SHOWNOACTIVATE);
        }
    }
}

// ---- sub-menu

CSubMenuDlg::CSubMenuDlg() : Dialog(IDD_SUB_MENU), subMenu_(popupState(), skinImageCache(), gdiText()) {
    onMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM l) {
        if (subMenu_.onPointerMove(GET_X_LPARAM(l), GET_Y_LPARAM(l))) InvalidateRect(hwnd(), nullptr, TRUE);
        return handled();
    });
    onMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) {
        subMenu_.onButtonDown();
        InvalidateRect(hwnd(), nullptr, TRUE);
        return handled();
    });
    onMessage(WM_LBUTTONUP, [this](WPARAM, LPARAM) {
        choose();
        return handled();
    });
    onMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        paint();
        return handled();
    });
    onMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return 1; });
}

bool CSubMenuDlg::onInitDialog() {
    subMenu_.initialise(macroTables().userMacroCount);
    setRectOutline(hwnd(), subMenu_.outline());
    return true;
}

void CSubMenuDlg::paint() {
    paintWith(hwnd(), [this](Canvas& c) { subMenu_.paint(c, skinLayouts(), macroTables(), appState().verSel); });
}

void CSubMenuDlg::choose() {
    // A release below the last row chooses nothing; the sub-menu stays.
    if (!subMenu_.onButtonUp(currentProfile())) {
        InvalidateRect(hwnd(), nullptr, TRUE);
        return;
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
    if (HWND menu = FindWindowW(nullptr, wide(kMenuWindowTitle).c_str())) SendMessageW(menu, WM_CLOSE, 0, 0);
    skinnedSurface().showChoice();
    Sleep(10);
    DestroyWindow(hwnd());
}

// ---- warning dialog

WarningDlg::WarningDlg() : Dialog(IDD_WARNING), dialog_(popupState(), skinImageCache(), gdiText()) {
    onMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (dialog_.onPointerMove(skinLayouts(), GET_X_LPARAM(l), GET_Y_LPARAM(l)))
            InvalidateRect(hwnd(), nullptr, TRUE);
        return std::nullopt;
    });
    onMessage(WM_LBUTTONUP, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (const auto result = dialog_.onButtonUp()) end(*result);
        return std::nullopt;
    });
    onMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        paint();
        return handled();
    });
    onMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return 1; });
    // The standard dialog keys: Enter goes on, Escape declines.
    onCommand(IDOK, [this] { end(kWarningGoOn); });
    onCommand(IDCANCEL, [this] { end(kWarningDecline); });
}

bool WarningDlg::onInitDialog() {
    dialog_.initialise();
    SetWindowRgn(hwnd(), win32::makeHrgn(dialog_.outline().rectangles()), TRUE);
    const ScreenPoint at = popupState().menuOrigin;
    MoveWindow(hwnd(), at.x, at.y, dialog_.width(), dialog_.height(), TRUE);
    return true;
}

void WarningDlg::paint() {
    paintWith(hwnd(), [this](Canvas& c) { dialog_.paint(c, skinLayouts(), appState().verSel); });
}

}  // namespace korvel::win
