#pragma once
// The process start and the main window's initialisation order.
#include <string>
#include <string_view>

#include "app/main_window_host.h"

namespace korvel {

// Name of the mutex that keeps the program to one running copy.
inline constexpr char16_t kInstanceMutexName[] = u"CKorvelApp";

// The folder of the program file: its path cut before the last backslash;
// empty when the path has none.
std::u16string programFolderFromModulePath(std::u16string_view modulePath);

// The title of the window that a second copy started from `programFolder`
// looks for: the title of the edition stored in that folder's config.ini.
std::u16string runningWindowTitle(std::u16string_view programFolder);

// "Please plug-in【Lumar】USB Mouse" in the edition's language.
std::u16string plugInPrompt(std::int32_t verSel);

// Runs the main window's initialisation, after the framework's own, in its
// fixed order. appState().programFolder must be set. Returns true when the
// window goes on running, false when start-up ended in the exit routine.
bool runMainWindowStartup(MainWindowHost& host);

}  // namespace korvel
