#include "app/app_state.h"

namespace korvel {

AppState& appState() {
    static AppState state;
    return state;
}

Profile& currentProfile() {
    static Profile profile;
    return profile;
}

std::u16string windowTitle(std::int32_t verSel) {
    // Every value but 0 is the English edition, as for the fonts.
    return verSel == kChinese ? std::u16string(u"Lumar宏编程游戏鼠标") : std::u16string(u"Vantel Gaming Mouse");
}

}  // namespace korvel
