#include "ui/function_menu.h"

#include <algorithm>

#include "ui/page_painter.h"

namespace korvel {

std::int32_t popupRowAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t rowHeight, int lastRow) {
    if (x < 0 || x >= width || y < 0 || rowHeight <= 0) return kNone;
    const std::int64_t row = std::int64_t{y} / rowHeight + 1;
    return row <= lastRow ? static_cast<std::int32_t>(row) : kNone;
}

std::optional<std::int32_t> subMenuRowsFor(std::int32_t menuRow, std::int32_t userMacroCount) {
    switch (menuRow) {
    case 7: return 6;
    case 8: return 10;
    case 9: return std::clamp<std::int32_t>(userMacroCount, 0, kMaxUserMacros);
    case 10: return 8;
    default: return std::nullopt;
    }
}

std::optional<std::int32_t> subMenuCodeBase(std::int32_t menuRow) {
    switch (menuRow) {
    case 7: return 10;
    case 8: return 20;
    case 9: return 40;
    case 10: return 30;
    default: return std::nullopt;
    }
}

std::optional<std::int32_t> subMenuOffsetRows(std::int32_t menuRow, std::int32_t userMacroCount) {
    switch (menuRow) {
    case 7: return 1;
    case 8: return -2;
    // The macro sub-menu's last row lines up with menu row 9.
    case 9: return 9 - std::clamp<std::int32_t>(userMacroCount, 0, kMaxUserMacros);
    case 10: return 2;
    default: return std::nullopt;
    }
}

namespace {

void drawRows(Canvas& out, const PopupSize& size, std::int32_t hover, bool held, const Canvas& over,
              const Canvas& down) {
    // The hover row's band from the over or pressed look; a row of 255 lies
    // far below the image and copies nothing.
    const std::int64_t top = (std::int64_t{hover} - 1) * size.rowHeight;
    if (hover != kNone && top < out.height())
        copyBlock(out, 0, static_cast<std::int32_t>(top), held ? down : over, 0, static_cast<std::int32_t>(top),
                  size.width, size.rowHeight);
}

void drawRowCaption(Canvas& out, TextRendererPort& text, UiFont font, const PopupSize& size, int row,
                    std::u16string_view caption, bool hovered) {
    const TextExtent e = text.measure(font, caption);
    const std::int32_t x = centredStart(0, size.width, e.cx);
    const std::int32_t y = centredStart((row - 1) * size.rowHeight, size.rowHeight, e.cy);
    text.draw(out, x, y, font, caption, hovered ? kCaptionRed : kCaptionWhite);
}

}  // namespace

// ---- function menu

FunctionMenu::FunctionMenu(PopupState& state, SkinImageCache& images, TextRendererPort& text)
    : state_(state), images_(images), text_(text) {}

void FunctionMenu::initialise() {
    const SkinImage& mask = images_.get(skinFile::kMenuMask);
    size_.width = mask.width();
    size_.rowHeight = mask.height() / kMenuRows;
    size_.height = kMenuRows * size_.rowHeight + 1;
    state_.menuHover = kNone;
}

bool FunctionMenu::onPointerMove(std::int32_t x, std::int32_t y) {
    state_.menuHover = popupRowAt(x, y, size_.width, size_.rowHeight, kMenuHitRows);
    if (state_.menuHover == state_.paintedMenuHover) return false;
    state_.paintedMenuHover = state_.menuHover;
    return true;
}

bool FunctionMenu::onButtonDown() {
    state_.menuHeld = true;
    return true;
}

bool FunctionMenu::onButtonUp(Profile& profile) {
    state_.menuHeld = false;
    if (state_.menuHover < 1 || state_.menuHover > 6) return false;
    profile.assignButtonFunction(state_.selectedButton - mainIndex::kFunctionFirst, state_.menuHover);
    return true;
}

void FunctionMenu::paint(Canvas& out, const SkinLayouts& layouts, std::int32_t verSel) {
    out = Canvas(size_.width, size_.height);
    copyBlock(out, 0, 0, images_.get(skinFile::kMenuNormal).pixels, 0, 0, size_.width, size_.height);
    drawRows(out, size_, state_.menuHover, state_.menuHeld, images_.get(skinFile::kMenuOver).pixels,
             images_.get(skinFile::kMenuDown).pixels);
    const UiFont font = editionUiFont(verSel);
    for (int r = 1; r <= kMenuRows; ++r)
        drawRowCaption(out, text_, font, size_, r, layouts.functionCaptions[r], r == state_.menuHover);
}

SubMenuAction FunctionMenu::afterPaint(std::int32_t userMacroCount) {
    SubMenuAction action;
    if (state_.subMenuOpen) {
        state_.subMenuOpen = false;
        action.closeOpen = true;
    }
    if (const auto rows = subMenuOffsetRows(state_.menuHover, userMacroCount)) {
        state_.subMenuOpen = true;
        action.openAt = ScreenPoint{size_.width, *rows * size_.rowHeight};
    }
    return action;
}

// ---- sub-menu

SubMenu::SubMenu(PopupState& state, SkinImageCache& images, TextRendererPort& text)
    : state_(state), images_(images), text_(text) {}

void SubMenu::initialise(std::int32_t userMacroCount) {
    const SkinImage& mask = images_.get(skinFile::kSubMenuMask);
    size_.width = mask.width();
    size_.rowHeight = mask.height() / kSubMenuMaskRows;
    openedBy_ = state_.menuHover;
    if (const auto rows = subMenuRowsFor(openedBy_, userMacroCount)) state_.subMenuRows = *rows;
    size_.height = state_.subMenuRows > 0 ? state_.subMenuRows * size_.rowHeight + 1 : 0;
    state_.subMenuHover = kNone;
    state_.closeMenuPending = false;
    state_.subMenuHeld = false;
}

bool SubMenu::onPointerMove(std::int32_t x, std::int32_t y) {
    state_.subMenuHover = popupRowAt(x, y, size_.width, size_.rowHeight, state_.subMenuRows);
    if (state_.subMenuHover == state_.paintedSubMenuHover) return false;
    state_.paintedSubMenuHover = state_.subMenuHover;
    return true;
}

bool SubMenu::onButtonDown() {
    state_.subMenuHeld = true;
    return true;
}

std::optional<std::int32_t> SubMenu::onButtonUp(Profile& profile) {
    state_.subMenuHeld = false;
    // The line below the last row is in the outline but in no row.
    if (state_.subMenuHover < 1 || state_.subMenuHover > state_.subMenuRows) return std::nullopt;
    std::int32_t code = state_.lastSubMenuCode;
    if (const auto base = subMenuCodeBase(state_.menuHover)) {
        code = *base + state_.subMenuHover;
        state_.lastSubMenuCode = code;
    }
    profile.assignButtonFunction(state_.selectedButton - mainIndex::kFunctionFirst, code);
    state_.closeMenuPending = true;
    return code;
}

void SubMenu::paint(Canvas& out, const SkinLayouts& layouts, const MacroTables& macros, std::int32_t verSel) {
    out = Canvas(size_.width, size_.height);
    copyBlock(out, 0, 0, images_.get(skinFile::kSubMenuNormal).pixels, 0, 0, size_.width, size_.height);
    drawRows(out, size_, state_.subMenuHover, state_.subMenuHeld, images_.get(skinFile::kSubMenuOver).pixels,
             images_.get(skinFile::kSubMenuDown).pixels);
    const UiFont font = editionUiFont(verSel);
    const auto base = subMenuCodeBase(openedBy_);
    for (int d = 1; d <= state_.subMenuRows; ++d) {
        std::u16string caption;
        if (openedBy_ == 9) caption = macroName(macros.userMacros[std::min(d - 1, kMaxUserMacros)]);
        else if (base && *base + d < static_cast<int>(layouts.functionCaptions.size()))
            caption = layouts.functionCaptions[*base + d];
        drawRowCaption(out, text_, font, size_, d, caption, d == state_.subMenuHover);
    }
}

}  // namespace korvel
