#pragma once
// The button-function menus: a skinned popup of ten rows that opens under a
// button's function entry (rows 1-6 are functions, rows 7-10 open a second
// popup to its right with a group of further functions or the user macros).
// Both are drawn from skin images in rows of equal height; a choice stores
// the function code in the profile and closes the popups. The controllers
// here hold the logic; the platform's popup windows forward their messages.
#include <cstdint>
#include <optional>
#include <string>

#include "macro/macro_library.h"
#include "profile/profile.h"
#include "ui/canvas.h"
#include "ui/layout.h"
#include "ui/region.h"
#include "ui/skin_image.h"
#include "ui/text_renderer.h"
#include "ui/ui_state.h"

namespace korvel {

inline constexpr int kMenuRows = 10;          // rows drawn in the function menu
inline constexpr int kMenuHitRows = 12;       // rows the pointer is tested against
inline constexpr int kSubMenuMaskRows = 12;   // the sub-menu mask holds twelve rows
inline constexpr int kPopupWindowWidth = 300;
inline constexpr int kMenuWindowHeight = 300;
inline constexpr int kSubMenuWindowHeight = 400;
inline constexpr std::u16string_view kMenuWindowTitle = u"MainMenuDlg";

// Row r (from 1) of a popup is the band (r - 1) * rowHeight .. r * rowHeight - 1
// over the popup's width. The first row 1..lastRow holding the point, or 255.
std::int32_t popupRowAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t rowHeight, int lastRow);

// Sub-menus by the function-menu row that opens them.
// Rows of the sub-menu of menu row 7, 8, 9 or 10; nothing for another row.
std::optional<std::int32_t> subMenuRowsFor(std::int32_t menuRow, std::int32_t userMacroCount);
// Code of sub-menu row d: base + d (A 10, B 20, macros 40, C 30).
std::optional<std::int32_t> subMenuCodeBase(std::int32_t menuRow);
// Vertical offset of the sub-menu's top from the menu's top, in menu rows.
std::optional<std::int32_t> subMenuOffsetRows(std::int32_t menuRow, std::int32_t userMacroCount);

struct PopupSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rowHeight = 0;
};

// What the menu's window must do about its sub-menu after a paint.
struct SubMenuAction {
    bool closeOpen = false;                // destroy the sub-menu shown now
    std::optional<ScreenPoint> openAt;     // create a new one there, relative to the menu's top-left
};

// CMenuDlg's logic.
class FunctionMenu {
public:
    FunctionMenu(PopupState& state, SkinImageCache& images, TextRendererPort& text);

    // Sizes the menu from "\menu_mask.jpg" and clears the hover row.
    void initialise();
    const PopupSize& size() const { return size_; }
    // The window's outline: (0, 0, menu width, menu height).
    Rect outline() const { return Rect{0, 0, size_.width, size_.height}; }

    // Each returns true when the menu must be repainted.
    bool onPointerMove(std::int32_t x, std::int32_t y);
    bool onButtonDown();
    // Clears the held flag; a release on rows 1-6 assigns that code to the
    // selected button. Returns true when the menu is to be destroyed.
    bool onButtonUp(Profile& profile);

    // Draws the menu into `out` (menu width x menu height).
    void paint(Canvas& out, const SkinLayouts& layouts, std::int32_t verSel);
    // After each paint: the sub-menu is replaced (or closed).
    SubMenuAction afterPaint(std::int32_t userMacroCount);

private:
    PopupState& state_;
    SkinImageCache& images_;
    TextRendererPort& text_;
    PopupSize size_;
};

// CSubMenuDlg's logic.
class SubMenu {
public:
    SubMenu(PopupState& state, SkinImageCache& images, TextRendererPort& text);

    // Rows from the function menu's hover row, size from
    // "\advanced menu_mask.jpg"; clears hover, held and closeMenuPending.
    void initialise(std::int32_t userMacroCount);
    const PopupSize& size() const { return size_; }
    // (0, 0, width, rows x rowHeight + 1), empty when there are no rows.
    Rect outline() const { return Rect{0, 0, size_.width, size_.height}; }

    bool onPointerMove(std::int32_t x, std::int32_t y);
    bool onButtonDown();
    // The choice: assigns the row's code to the selected button and sets
    // closeMenuPending. A release on no row (the line below the last row)
    // assigns nothing and returns nothing.
    std::optional<std::int32_t> onButtonUp(Profile& profile);

    void paint(Canvas& out, const SkinLayouts& layouts, const MacroTables& macros, std::int32_t verSel);

private:
    PopupState& state_;
    SkinImageCache& images_;
    TextRendererPort& text_;
    PopupSize size_;
    std::int32_t openedBy_ = kNone;  // the function-menu row that opened it
};

}  // namespace korvel
