#pragma once
// A small dialog framework of our own: a dialog from a resource template, run
// modally (with our own message loop, so a window can look at messages before
// they are dispatched) or modeless, whose messages go to handlers registered
// in a message map.
#include <windows.h>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace korvel::win {

// The module that holds the resources (korvel.exe itself).
HINSTANCE moduleInstance();

class Dialog {
public:
    explicit Dialog(UINT templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, disables the owner and runs messages until end() is
    // called or the window is gone; returns the value given to end(), or -1
    // when the dialog could not be created.
    INT_PTR runModal(HWND owner = nullptr);
    // Creates the dialog and returns at once; the caller's loop serves it.
    bool createModeless(HWND owner = nullptr);
    // Ends a modal run (the window is destroyed when its loop returns) or
    // destroys a modeless dialog.
    void end(INT_PTR result);

    HWND hwnd() const { return hwnd_; }

protected:
    // A handler returns the message's result, or nullopt for the default
    // processing of the dialog manager.
    using MessageHandler = std::function<std::optional<LRESULT>(WPARAM, LPARAM)>;
    using CommandHandler = std::function<void()>;

    // Message map entries; register them in the constructor.
    void onMessage(UINT message, MessageHandler handler);
    // WM_COMMAND from a menu, an accelerator or a control with this id;
    // the second form only for one notification code of a control.
    void onCommand(UINT id, CommandHandler handler);
    void onCommand(UINT id, UINT notifyCode, CommandHandler handler);

    // WM_INITDIALOG; true lets the dialog manager set the default focus.
    virtual bool onInitDialog() { return true; }
    // Called by the modal loop for each message before it is dispatched;
    // true means the message was consumed.
    virtual bool preTranslateMessage(MSG&) { return false; }

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool dispatchCommand(WPARAM wParam);

    struct CommandEntry {
        UINT id;
        std::optional<UINT> notifyCode;
        CommandHandler handler;
    };

    UINT templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
    std::unordered_map<UINT, MessageHandler> messages_;
    std::vector<CommandEntry> commands_;
};

}  // namespace korvel::win
