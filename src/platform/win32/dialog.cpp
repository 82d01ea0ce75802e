#include "dialog.h"

namespace korvel::win {

namespace {

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool returnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

HINSTANCE moduleInstance() { return GetModuleHandleW(nullptr); }

Dialog::Dialog(UINT templateId) : templateId_(templateId) {}

Dialog::~Dialog() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

void Dialog::onMessage(UINT message, MessageHandler handler) { messages_[message] = std::move(handler); }

void Dialog::onCommand(UINT id, CommandHandler handler) { commands_.push_back({id, std::nullopt, std::move(handler)}); }

void Dialog::onCommand(UINT id, UINT notifyCode, CommandHandler handler) {
    commands_.push_back({id, notifyCode, std::move(handler)});
}

INT_PTR Dialog::runModal(HWND owner) {
    modal_ = true;
    ended_ = false;
    result_ = -1;
    if (CreateDialogParamW(moduleInstance(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::dialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        modal_ = false;
        return -1;
    }
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);

    // The initialisation may already have ended the dialog (or hidden it on
    // purpose); only a dialog still running is shown.
    if (!ended_ && hwnd_ != nullptr && !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);

    MSG msg;
    while (!ended_ && hwnd_ != nullptr) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for the loop outside this one.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (preTranslateMessage(msg)) continue;
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    // The owner comes back before the dialog goes, so activation returns to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    modal_ = false;
    return result_;
}

bool Dialog::createModeless(HWND owner) {
    modal_ = false;
    ended_ = false;
    return CreateDialogParamW(moduleInstance(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::dialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::end(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (hwnd_ == nullptr) return;
    if (modal_) {
        // Wake the modal loop so it sees the end even when no other message comes.
        PostMessageW(hwnd_, WM_NULL, 0, 0);
    } else {
        DestroyWindow(hwnd_);
    }
}

INT_PTR CALLBACK Dialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) get the default processing.
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        const INT_PTR r = self->dispatch(message, wParam, lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return r;
    }
    return self->dispatch(message, wParam, lParam);
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return onInitDialog() ? TRUE : FALSE;
    if (message == WM_COMMAND && dispatchCommand(wParam)) return TRUE;

    const auto it = messages_.find(message);
    if (it == messages_.end()) return FALSE;
    const std::optional<LRESULT> result = it->second(wParam, lParam);
    if (!result) return FALSE;
    if (returnsResultDirectly(message)) return static_cast<INT_PTR>(*result);
    // The window may have gone inside the handler (the exit routine).
    if (hwnd_ != nullptr) SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, *result);
    return TRUE;
}

bool Dialog::dispatchCommand(WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // A handler for the exact notification code comes before a general one.
    const CommandEntry* general = nullptr;
    for (const auto& entry : commands_) {
        if (entry.id != id) continue;
        if (entry.notifyCode) {
            if (*entry.notifyCode == code) {
                entry.handler();
                return true;
            }
        } else if (general == nullptr) {
            general = &entry;
        }
    }
    if (general == nullptr) return false;
    general->handler();
    return true;
}

}  // namespace korvel::win
