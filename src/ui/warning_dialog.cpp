#include "ui/warning_dialog.h"

namespace korvel {

WarningDialog::WarningDialog(PopupState& state, SkinImageCache& images, TextRendererPort& text)
    : state_(state), images_(images), text_(text) {}

void WarningDialog::initialise() {
    const SkinImage& mask = images_.get(skinFile::kWarningMask);
    width_ = mask.width();
    height_ = mask.height();
    outline_ = regionFromMask(mask.pixels);
}

bool WarningDialog::onPointerMove(const SkinLayouts& layouts, std::int32_t x, std::int32_t y) {
    state_.warningHover = layouts.warningBoxes[0].contains(x, y)   ? kWarningGoOn
                          : layouts.warningBoxes[1].contains(x, y) ? kWarningDecline
                                                                   : kNone;
    if (state_.warningHover == state_.paintedWarningHover) return false;
    state_.paintedWarningHover = state_.warningHover;
    return true;
}

std::optional<int> WarningDialog::onButtonUp() const {
    if (state_.warningHover == kWarningGoOn || state_.warningHover == kWarningDecline) return state_.warningHover;
    return std::nullopt;
}

void WarningDialog::paint(Canvas& out, const SkinLayouts& layouts, std::int32_t verSel) {
    out = Canvas(width_, height_);
    copyBlock(out, 0, 0, images_.get(skinFile::kWarningNormal).pixels, 0, 0, width_, height_);
    const Canvas& over = images_.get(skinFile::kWarningOver).pixels;
    if (state_.warningHover == kWarningGoOn) copyBox(out, over, layouts.warningBoxes[0]);
    if (state_.warningHover == kWarningDecline) copyBox(out, over, layouts.warningBoxes[1]);
    const UiFont font = editionUiFont(verSel);
    for (std::size_t i = 0; i < kWarningEntries; ++i)
        drawTextCentred(text_, out, font, layouts.warningBoxes[i], layouts.warningCaptions[i], kCaptionRed);
}

}  // namespace korvel
