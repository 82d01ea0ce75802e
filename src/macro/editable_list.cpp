#include "macro/editable_list.h"

namespace korvel {

EditableListLogic::EditableListLogic(ListBoxPort& list, InPlaceEditPort& edit, EditableListParentPort& parent,
                                     bool notify)
    : list_(list), edit_(edit), parent_(parent), notify_(notify) {}

void EditableListLogic::onChar(char16_t c) {
    pendingChar_ = c;
    BeginEdit();
}

void EditableListLogic::onDestroy() {
    if (edit_.exists()) edit_.destroy();
    editingItem_ = -1;
}

void EditableListLogic::BeginEdit() {
    if (pendingChar_ != kEditRequestChar) return;
    pendingChar_ = 0;
    const int s = list_.selected();
    // Nothing to edit without a selected line (an edit over line -1 would
    // later replace no line but still report a finished edit).
    if (s < 0 || s >= list_.count()) return;
    // A second request while editing keeps the open editor.
    if (edit_.exists()) return;
    Rect q = list_.itemRect(s);
    q.top -= 2;
    q.bottom += 2;
    edit_.create(q);
    edit_.setText(list_.lineText(s));
    edit_.selectAll();
    edit_.focus();
    editingItem_ = s;
}

void EditableListLogic::EndEdit(bool keep) {
    if (!edit_.exists()) return;
    if (keep && editingItem_ != -1 && editingItem_ < list_.count()) {
        const std::u16string old = list_.lineText(editingItem_);
        const std::u16string typed = edit_.text();
        if (old != typed) {
            list_.deleteLine(editingItem_);
            list_.insertLine(editingItem_, typed);
            list_.select(editingItem_);
            if (notify_) parent_.lineChanged(editingItem_, old);
        }
    }
    editingItem_ = -1;
    edit_.destroy();
    parent_.editDone();
}

std::optional<std::uintptr_t> editHelperKeyUp(std::uintptr_t key) {
    if (key == 13) return 1;
    if (key == 27) return 0;
    return std::nullopt;
}

}  // namespace korvel
