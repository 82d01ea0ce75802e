#pragma once
// Window regions of the core as GDI regions.
#include <vector>

#include <windows.h>

#include "ui/region.h"

namespace korvel::win32 {

// A new HRGN covering the rectangles (owned by the caller, or by the window
// once given to SetWindowRgn). Never null: no rectangles give an empty region.
HRGN makeHrgn(const std::vector<Rect>& rectangles);

// The window-outline port on a real window: SetWindowRgn with the region.
class WindowOutline : public WindowOutlinePort {
public:
    explicit WindowOutline(HWND window) : window_(window) {}
    void setOutline(const std::vector<Rect>& rectangles, bool redraw) override;

private:
    HWND window_;
};

}  // namespace korvel::win32
