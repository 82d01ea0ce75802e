#include "ui/ui_state.h"

namespace korvel {

UiState& uiState() {
    static UiState state;
    return state;
}

PopupState& popupState() {
    static PopupState state;
    return state;
}

}  // namespace korvel
