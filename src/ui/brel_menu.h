#pragma once
// The owner-drawn context menus (the event-list menu and the tray menu):
// white text on a teal ground, a blue-to-cyan band under the highlighted item
// and red-and-blue separators. CBrelMenu keeps the text and id of every item
// it converted; an item's owner-draw item data is the address of its record.
//
// The Windows adapter implements MenuPort with GetMenuItemCount,
// GetMenuItemID, GetMenuStringW (by position), GetSubMenu and ModifyMenuW
// (MF_BYPOSITION | MF_OWNERDRAW, plus MF_POPUP for a submenu). Its
// WM_MEASUREITEM / WM_DRAWITEM handlers (control id 0 only) cast the request's
// item data back to a `const MenuItemRecord*` and call MeasureItem / DrawItem;
// DrawItem draws into a canvas of the item rectangle (or a DIB section over
// the item's DC) which the adapter then blits.
#include <array>
#include <cstdint>
#include <string>

#include "ui/canvas.h"
#include "ui/text_renderer.h"

namespace korvel {

using MenuHandle = std::uintptr_t;  // 0: none

class MenuPort {
public:
    virtual ~MenuPort() = default;
    virtual int itemCount(MenuHandle menu) = 0;
    // The command id; -1 for an item that opens a submenu, 0 for a separator.
    virtual std::int32_t itemId(MenuHandle menu, int position) = 0;
    virtual std::u16string itemText(MenuHandle menu, int position) = 0;
    virtual MenuHandle subMenu(MenuHandle menu, int position) = 0;
    // Makes the item owner-drawn, keeping its command id and its submenu.
    virtual void makeOwnerDraw(MenuHandle menu, int position, std::uintptr_t itemData) = 0;
};

struct MenuItemRecord {
    std::u16string text;  // trailing blanks included
    std::int32_t id = 0;  // command id, -1 submenu, 0 separator
};

struct MenuItemSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const MenuItemSize&) const = default;
};

// Menu resources of the editions (verSel 0 Chinese, otherwise English).
inline constexpr int eventMenuResource(std::int32_t verSel) { return verSel != 0 ? 154 : 161; }
inline constexpr int trayMenuResource(std::int32_t verSel) { return verSel != 0 ? 157 : 162; }

inline constexpr Rgb kMenuGround{0, 120, 153};
inline constexpr Rgb kMenuBandTop{0, 0, 255};
inline constexpr Rgb kMenuBandTarget{0, 255, 255};
inline constexpr Rgb kMenuText{255, 255, 255};
inline constexpr Rgb kMenuSeparatorTopLeft{255, 0, 0};
inline constexpr Rgb kMenuSeparatorBottomRight{0, 0, 255};
inline constexpr std::int32_t kMenuCharWidth = 8;
inline constexpr std::int32_t kMenuItemHeight = 20;
inline constexpr std::int32_t kMenuSeparatorHeight = 1;
inline constexpr std::int32_t kMenuTextIndent = 10;
inline constexpr std::int32_t kMenuSeparatorIndent = 25;
inline constexpr int kBrelMenuCapacity = 30;
inline constexpr int kBrelMenuMaxDepth = 8;

class CBrelMenu {
public:
    CBrelMenu() = default;
    CBrelMenu(const CBrelMenu&) = delete;  // item data points into this object
    CBrelMenu& operator=(const CBrelMenu&) = delete;

    // Takes a freshly loaded menu: the records start again at 0 and every item
    // of the menu and its submenus is converted. False when the menu had more
    // items than the 30 records: the rest stay ordinary, system-drawn items
    // (they still work), so no record is ever written past the table.
    bool load(MenuPort& port, MenuHandle menu);
    // Converts all items of a menu and, depth-first, of its submenus.
    bool MakeOwnerDraw(MenuPort& port, MenuHandle menu) { return makeOwnerDraw(port, menu, 0); }
    // Lets go of the menu without destroying it (the language switch).
    MenuHandle detach();
    MenuHandle handle() const { return handle_; }

    int itemCount() const { return itemCount_; }
    const MenuItemRecord& item(int index) const { return items_[static_cast<std::size_t>(index)]; }
    std::uintptr_t itemData(int index) const { return reinterpret_cast<std::uintptr_t>(&items_[static_cast<std::size_t>(index)]); }

    // Width 8 per character (blanks count; the font plays no part), height
    // 20, or 1 for a separator. A null record measures 0 x 0.
    static MenuItemSize MeasureItem(const MenuItemRecord* record);
    // Draws one item into `item` of the canvas. `pen` and `brush` are the
    // surface's current ones (the frame of a highlighted item).
    static void DrawItem(Canvas& canvas, TextRendererPort& text, UiFont font, const MenuItemRecord* record,
                         const SkinBox& item, bool selected, Rgb pen = Rgb{0, 0, 0}, Rgb brush = Rgb{255, 255, 255});

private:
    bool makeOwnerDraw(MenuPort& port, MenuHandle menu, int depth);

    std::array<MenuItemRecord, kBrelMenuCapacity> items_{};
    int itemCount_ = 0;
    MenuHandle handle_ = 0;
};

// A MenuPort that can also load a menu resource (LoadMenuW; 0 when missing).
class MenuResourcePort : public MenuPort {
public:
    virtual MenuHandle loadMenu(int resourceId) = 0;
};

// The two process-wide menus: the event-list menu and the tray menu.
CBrelMenu& eventMenu();
CBrelMenu& trayMenu();

// Start-up and the language switch: lets go of the menus held (without
// destroying them, as the switch requires), loads the edition's event and
// tray menus and makes them owner-drawn.
void LoadBrelMenus(MenuResourcePort& port, std::int32_t verSel, CBrelMenu& event, CBrelMenu& tray);

// The red-and-blue 3-D rectangle of a separator: top and left edges in the
// first colour, then right and bottom edges in the second (drawn last, so a
// one-pixel-high rectangle shows only the second colour).
void draw3dRect(Canvas& canvas, const SkinBox& box, Rgb topLeft, Rgb bottomRight);

// The highlight band inside `inner`: start colour on the first row, each
// channel stepping by (target - start) / rows truncated toward zero.
void drawMenuBand(Canvas& canvas, const SkinBox& inner, Rgb start, Rgb target);

}  // namespace korvel
