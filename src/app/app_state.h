#pragma once
// The process-wide application state, one instance for the whole run.
#include <cstdint>
#include <string>

#include "common/relaxed.h"
#include "profile/profile.h"

namespace korvel {

inline constexpr std::int32_t kChinese = 0;
inline constexpr std::int32_t kEnglish = 1;

struct AppState {
    std::u16string programFolder;  // no trailing backslash
    std::u16string configPath;     // programFolder + "\config.ini"
    std::u16string skinFolder;     // programFolder + "\skins"
    Relaxed<std::int32_t> currentProfile;
    Relaxed<std::int32_t> verSel;
    Relaxed<bool> mouseConnected;
};

AppState& appState();
Profile& currentProfile();

// Window titles of the two editions; also used to find the running window.
std::u16string windowTitle(std::int32_t verSel);

}  // namespace korvel
