#pragma once
// The warning dialog: before the only left button's function is changed, a
// small skinned popup asks whether to go on. Box 0 goes on (result 1), box 1
// declines (result 2), box 2 holds a message; the three captions come from the
// skin's warning layout. The controller holds the logic; the platform's modal
// dialog forwards its messages.
#include <cstdint>
#include <optional>

#include "ui/canvas.h"
#include "ui/layout.h"
#include "ui/region.h"
#include "ui/skin_image.h"
#include "ui/text_renderer.h"
#include "ui/ui_state.h"

namespace korvel {

inline constexpr int kWarningGoOn = 1;
inline constexpr int kWarningDecline = 2;

class WarningDialog {
public:
    WarningDialog(PopupState& state, SkinImageCache& images, TextRendererPort& text);

    // Size and outline from "\warning_mask.jpg" (light pixels cut away).
    void initialise();
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    const Region& outline() const { return outline_; }

    // Returns true when the dialog must be repainted.
    bool onPointerMove(const SkinLayouts& layouts, std::int32_t x, std::int32_t y);
    // The dialog's result when a release ends it (over box 0 or 1).
    std::optional<int> onButtonUp() const;

    // Draws the dialog into `out` (dialog width x dialog height).
    void paint(Canvas& out, const SkinLayouts& layouts, std::int32_t verSel);

private:
    PopupState& state_;
    SkinImageCache& images_;
    TextRendererPort& text_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    Region outline_;
};

}  // namespace korvel
