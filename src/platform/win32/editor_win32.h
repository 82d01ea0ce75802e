#pragma once
// The macro editor, the owner-drawn menus and the profile-file commands on
// Win32: the advanced page's four child controls, the in-place delay editor,
// the recorder's keyboard hook, the file dialogs and the edition switch's
// window work. The logic is the core's; this file only turns its ports into
// window messages.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "ui_main_window.h"

namespace korvel::win {

// Makes the editor's objects (once), registers the main window's messages it
// handles through `on` (commands, owner-draw, WM_LBE_EDITDONE) and plugs the
// profile-file and macro-panel commands into the main window. `host` runs the
// exit routine when a layout file of a switched-to edition is missing.
void attachMacroEditor(MainWindowHost& host, std::function<HWND()> window, const SkinMessageRegistrar& on);

// Start-up: the editor's start state after the user library was loaded.
void startMacroEditor(int currentMacro);

// The main window's message pre-filter: true when the message is consumed.
bool macroEditorPreTranslate(const MSG& message);

// Loads the edition's event and tray menus and makes them owner-drawn.
void loadOwnerDrawnMenus(std::int32_t verSel);

// The tray menu's popup (the first submenu of the loaded tray menu), or null.
HMENU trayPopupMenu();

}  // namespace korvel::win
