#pragma once
// Drawing the skin images from the description.
#include <string>

#include "description.h"
#include "raster.h"
#include "text.h"

namespace skingen {

enum class Look { Normal, Over, Down };

// Lighting preview looks of the colour page's box 11.
enum class Glow { Pink, Red, Purple, Unlit, Blue };

struct Fonts {
    Font logo;     // brand mark
    Font tiny;     // digits on small controls
    Font small;    // headings baked into the images
    Font chip;     // the device chip
    Font captionEn;  // stand-ins for the program's fonts, for previews only
    Font captionCn;
    Font cjk;        // baked Chinese text
    Fonts(const std::string& dejavuDir, const std::string& wqyFile);
};

// The outline of the main window (also its mask) as a polygon.
std::vector<Pt> mainOutline(const Size& size);
std::vector<Pt> warningOutline(const Size& size);

Canvas renderPage(const Fonts& fonts, Page page, Look look, Glow glow);
Canvas renderMask(const std::vector<Pt>& outline, const Size& size);
Canvas renderMenu(const Fonts& fonts, int rows, const Size& size, int rowHeight, bool arrows, Look look);
Canvas renderWarning(const Fonts& fonts, Look look);

// A picture of a page as the program would show it, captions included, to
// look at while designing (not shipped).
Canvas previewPage(const Fonts& fonts, Page page, bool english);
Canvas previewMenu(const Fonts& fonts, bool english, bool subMenu);
Canvas previewWarning(const Fonts& fonts, bool english);

}  // namespace skingen
