#pragma once
// In-place editing of list lines: the behaviour of CEditableListBox and its
// CEditHelper, apart from the windows. The Windows classes forward their
// messages here and implement the ports with list-box and edit messages:
//
//   CEditableListBox  WM_CHAR c      -> onChar(c), then default processing
//                     WM_SIZE        -> default processing, then onSize()
//                     WM_H/VSCROLL   -> onScroll(), then default processing
//                     WM_LBE_ENDEDIT -> return onEndEditMessage(wParam)
//                     destructor     -> onDestroy()
//   CEditHelper       WM_KEYUP k     -> if editHelperKeyUp(k) gives a value,
//                                       send WM_LBE_ENDEDIT with it to the list;
//                                       then default processing
//                     WM_KILLFOCUS   -> send WM_LBE_ENDEDIT with 1, then default
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "macro/editor_ports.h"

namespace korvel {

// The character that asks the list to open its editor over the selected line.
inline constexpr char16_t kEditRequestChar = 1;
inline constexpr int kInPlaceEditId = 1;

// The editor window (a CEditHelper) that exists only during an edit.
class InPlaceEditPort {
public:
    virtual ~InPlaceEditPort() = default;
    virtual bool exists() const = 0;
    // Child of the list on the rectangle (list client coordinates), id 1,
    // WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL plus WS_EX_CLIENTEDGE
    // with the frame redrawn, in the list's font.
    virtual void create(Rect rect) = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual std::u16string text() const = 0;
    virtual void selectAll() = 0;  // EM_SETSEL 0, -1
    virtual void focus() = 0;
    virtual void destroy() = 0;
};

// What the list tells its parent window.
class EditableListParentPort {
public:
    virtual ~EditableListParentPort() = default;
    virtual void lineChanged(int index, std::u16string_view oldText) = 0;  // WM_LBE_CHANGED
    virtual void editDone() = 0;                                          // WM_LBE_EDITDONE
};

class EditableListLogic {
public:
    // `notify`: the list has the notify style (then line changes are reported).
    EditableListLogic(ListBoxPort& list, InPlaceEditPort& edit, EditableListParentPort& parent, bool notify = true);

    void onChar(char16_t c);
    void onSize() { EndEdit(true); }
    void onScroll() { EndEdit(true); }
    int onEndEditMessage(std::uintptr_t keep) {
        EndEdit(keep != 0);
        return 0;
    }
    void onDestroy();

    void BeginEdit();
    void EndEdit(bool keep);

    int editingItem() const { return editingItem_; }
    char16_t pendingChar() const { return pendingChar_; }

private:
    ListBoxPort& list_;
    InPlaceEditPort& edit_;
    EditableListParentPort& parent_;
    bool notify_;
    int editingItem_ = -1;
    char16_t pendingChar_ = 0;
};

// CEditHelper: the WM_LBE_ENDEDIT parameter for a key release (1 keep for
// Enter, 0 drop for Escape), nothing for other keys.
std::optional<std::uintptr_t> editHelperKeyUp(std::uintptr_t key);

}  // namespace korvel
