#pragma once
// The state of the main window's skinned surface and of its popups: the page
// shown, what lies under the pointer, what is held, the lighting preview's
// look, and the function menu's process-wide values. One instance for the
// run; everything but the preview values belongs to the user-interface thread.
#include <cstdint>

#include "common/relaxed.h"

namespace korvel {

inline constexpr std::int32_t kNone = 255;  // no control, no row

enum Page : std::uint8_t { kPageMain = 0, kPageAdvanced = 1, kPageColour = 2 };

struct UiState {
    // Read by the lighting preview thread.
    Relaxed<std::uint8_t> currentPage{kPageMain};
    std::int32_t mainHover = kNone;
    std::int32_t colourHover = kNone;
    std::int32_t advancedHover = kNone;
    // Each hover index as it was when it last caused a repaint.
    std::int32_t paintedMainHover = kNone;
    std::int32_t paintedColourHover = kNone;
    std::int32_t paintedAdvancedHover = kNone;
    bool pointerDown = false;
    // Written by the lighting preview thread.
    Relaxed<std::uint8_t> previewDark{0};
    Relaxed<std::int32_t> previewColour{0};
};

// Where a popup opens, in screen pixels.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The function menu, its sub-menu and the warning dialog: values that outlive
// a single popup.
struct PopupState {
    std::int32_t selectedButton = 25;  // mainBoxes index 25-33
    ScreenPoint menuOrigin;
    bool menuOpen = false;
    // Function menu.
    std::int32_t menuHover = kNone;
    std::int32_t paintedMenuHover = 0;
    bool menuHeld = false;
    bool subMenuOpen = false;
    // Sub-menu.
    std::int32_t subMenuRows = 0;
    std::int32_t subMenuHover = kNone;
    std::int32_t paintedSubMenuHover = kNone;
    bool subMenuHeld = false;
    std::int32_t lastSubMenuCode = 0;
    bool closeMenuPending = false;
    // Warning dialog: kept from one dialog to the next.
    std::int32_t warningHover = 0;
    std::int32_t paintedWarningHover = 0;
};

// What the advanced page shows of the macro editor and the recorder. The
// editor fills it; until then it reads as idle with macro 0.
struct MacroEditorView {
    bool recording = false;
    std::int32_t downCount = 0;
    std::int32_t upCount = 0;
    std::int32_t currentMacro = 0;
};

UiState& uiState();
PopupState& popupState();

}  // namespace korvel
