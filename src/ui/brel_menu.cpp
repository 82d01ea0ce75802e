#include "ui/brel_menu.h"

#include <algorithm>
#include <cmath>

namespace korvel {

bool CBrelMenu::load(MenuPort& port, MenuHandle menu) {
    handle_ = menu;
    itemCount_ = 0;
    return makeOwnerDraw(port, menu, 0);
}

MenuHandle CBrelMenu::detach() {
    const MenuHandle h = handle_;
    handle_ = 0;
    return h;
}

bool CBrelMenu::makeOwnerDraw(MenuPort& port, MenuHandle menu, int depth) {
    if (menu == 0) return true;
    if (depth > kBrelMenuMaxDepth) return false;  // a menu that contains itself
    const int count = port.itemCount(menu);
    for (int p = 0; p < count; ++p) {
        if (itemCount_ >= kBrelMenuCapacity) return false;
        MenuItemRecord& r = items_[static_cast<std::size_t>(itemCount_)];
        r.text = port.itemText(menu, p);
        r.id = port.itemId(menu, p);
        port.makeOwnerDraw(menu, p, reinterpret_cast<std::uintptr_t>(&r));
        ++itemCount_;
        // Depth-first: the submenu's items take the next records.
        const MenuHandle sub = port.subMenu(menu, p);
        if (sub != 0 && !makeOwnerDraw(port, sub, depth + 1)) return false;
    }
    return true;
}

CBrelMenu& eventMenu() {
    static CBrelMenu menu;
    return menu;
}

CBrelMenu& trayMenu() {
    static CBrelMenu menu;
    return menu;
}

void LoadBrelMenus(MenuResourcePort& port, std::int32_t verSel, CBrelMenu& event, CBrelMenu& tray) {
    event.detach();
    tray.detach();
    event.load(port, port.loadMenu(eventMenuResource(verSel)));
    tray.load(port, port.loadMenu(trayMenuResource(verSel)));
}

MenuItemSize CBrelMenu::MeasureItem(const MenuItemRecord* record) {
    if (record == nullptr) return {};
    const auto chars = static_cast<std::int64_t>(record->text.size());
    return MenuItemSize{static_cast<std::int32_t>(std::min<std::int64_t>(chars * kMenuCharWidth, INT32_MAX)),
                        record->id == 0 ? kMenuSeparatorHeight : kMenuItemHeight};
}

void draw3dRect(Canvas& canvas, const SkinBox& b, Rgb topLeft, Rgb bottomRight) {
    if (b.width <= 0 || b.height <= 0) return;
    canvas.fillRect(b.x, b.y, b.width - 1, 1, topLeft);
    canvas.fillRect(b.x, b.y, 1, b.height - 1, topLeft);
    canvas.fillRect(b.x + b.width - 1, b.y, 1, b.height, bottomRight);
    canvas.fillRect(b.x, b.y + b.height - 1, b.width, 1, bottomRight);
}

void drawMenuBand(Canvas& canvas, const SkinBox& inner, Rgb start, Rgb target) {
    if (inner.height <= 0 || inner.width <= 0) return;
    const double rows = inner.height;
    auto step = [rows](std::uint8_t from, std::uint8_t to) {
        return static_cast<int>(std::trunc((static_cast<double>(to) - from) / rows));
    };
    const int sr = step(start.r, target.r), sg = step(start.g, target.g), sb = step(start.b, target.b);
    for (std::int32_t k = 0; k < inner.height; ++k) {
        const Rgb c{static_cast<std::uint8_t>((start.r + sr * k) & 0xFF), static_cast<std::uint8_t>((start.g + sg * k) & 0xFF),
                    static_cast<std::uint8_t>((start.b + sb * k) & 0xFF)};
        canvas.hline(inner.x, inner.x + inner.width, inner.y + k, c);
    }
}

void CBrelMenu::DrawItem(Canvas& canvas, TextRendererPort& text, UiFont font, const MenuItemRecord* record,
                         const SkinBox& item, bool selected, Rgb pen, Rgb brush) {
    if (record == nullptr) return;
    if (record->id == 0) {
        SkinBox line = item;
        line.x += kMenuSeparatorIndent;
        line.width -= kMenuSeparatorIndent;
        draw3dRect(canvas, line, kMenuSeparatorTopLeft, kMenuSeparatorBottomRight);
        return;
    }
    if (selected) {
        canvas.fillRect(item.x, item.y, item.width, item.height, brush);
        canvas.frameRect(item.x, item.y, item.width, item.height, pen);
        drawMenuBand(canvas, SkinBox{item.x + 1, item.y + 1, item.width - 2, item.height - 2}, kMenuBandTop,
                     kMenuBandTarget);
    } else {
        canvas.fillRect(item.x, item.y, item.width, item.height, kMenuGround);
    }

    // One line, vertically centred, clipped to the item right of the indent:
    // the text is written on a copy of that part and copied back.
    const SkinBox clip = clipBox(SkinBox{item.x + kMenuTextIndent, item.y, item.width - kMenuTextIndent, item.height},
                                 canvas.width(), canvas.height());
    if (clip.width <= 0 || clip.height <= 0 || record->text.empty()) return;
    const TextExtent extent = text.measure(font, record->text);
    const std::int32_t top = item.y + (item.height - extent.cy) / 2;
    Canvas part(clip.width, clip.height);
    copyBlock(part, 0, 0, canvas, clip.x, clip.y, clip.width, clip.height);
    text.draw(part, item.x + kMenuTextIndent - clip.x, top - clip.y, font, record->text, kMenuText);
    copyBlock(canvas, clip.x, clip.y, part, 0, 0, clip.width, clip.height);
}

}  // namespace korvel
