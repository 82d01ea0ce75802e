#pragma once
// What the macro editor needs from the advanced page's child controls and
// from the main window. The Windows adapters are thin: each call is one
// list-box or edit message, or one window call; tests use in-memory fakes.
//
// While the advanced page is hidden the child windows do not exist. The
// adapters then behave as messages to a missing window do: reads give 0 or
// empty text, a list has no lines and no selection, writes are lost.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/geometry.h"

namespace korvel {

// A single-column list box (LB_* messages).
class ListBoxPort {
public:
    virtual ~ListBoxPort() = default;
    virtual int count() const = 0;                                   // LB_GETCOUNT
    virtual void addLine(std::u16string_view text) = 0;              // LB_ADDSTRING (the list is unsorted)
    virtual void insertLine(int index, std::u16string_view text) = 0;  // LB_INSERTSTRING
    virtual void deleteLine(int index) = 0;                          // LB_DELETESTRING
    virtual std::u16string lineText(int index) const = 0;            // LB_GETTEXT; empty for a bad index
    virtual int selected() const = 0;                                // LB_GETCURSEL; -1 for none
    virtual void select(int index) = 0;                              // LB_SETCURSEL; out of range: no selection
    virtual int topIndex() const = 0;                                // vertical scroll position
    virtual int lineHeight() const = 0;                              // LB_GETITEMHEIGHT
    virtual Rect itemRect(int index) const = 0;                // LB_GETITEMRECT, client coordinates
    virtual Rect clientRectOnScreen() const = 0;               // GetClientRect + ClientToScreen
    virtual void focus() = 0;                                        // SetFocus
};

// The event list is a CEditableListBox: it can also be asked to open its
// in-place editor over the selected line (the character 1 sent as WM_CHAR).
class EventListPort : public ListBoxPort {
public:
    virtual void requestEdit() = 0;
};

// A one-line edit field (window text, enabled state, focus).
class EditFieldPort {
public:
    virtual ~EditFieldPort() = default;
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual void enable(bool enabled) = 0;
    virtual void focus() = 0;
};

// UTC time of day, as GetSystemTime gives it.
struct UtcTimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

class UtcClockPort {
public:
    virtual ~UtcClockPort() = default;
    virtual UtcTimeOfDay now() = 0;
};

// The main window's part in the editor.
class MacroEditorHost {
public:
    virtual ~MacroEditorHost() = default;
    virtual void invalidate() = 0;                  // InvalidateRect of the whole main window
    virtual Point cursorPosition() = 0;       // GetCursorPos
    // TrackPopupMenu of the event menu's first submenu at the point, tracking
    // the right button, owned by the main window. The chosen command arrives
    // later as a command message (onEventCommand).
    virtual void showEventMenu(Point at) = 0;
    virtual void showMessage(std::u16string_view text) = 0;  // message box, OK button
    // SetWindowsHookExW(WH_KEYBOARD_LL, ...); false when it failed.
    virtual bool installKeyboardHook() = 0;
    virtual void removeKeyboardHook() = 0;          // UnhookWindowsHookEx
};

}  // namespace korvel
