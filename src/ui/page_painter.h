#pragma once
// Painting the main window's three pages. A page is composed from its three
// images: the normal image is the canvas, and boxes are copied onto it from
// the hover and pressed images for the control under the pointer, the held
// control and the selected settings; then the captions and live values are
// written. The result is a picture the window shows in one block copy.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macro/macro_library.h"
#include "profile/profile.h"
#include "ui/canvas.h"
#include "ui/layout.h"
#include "ui/skin_image.h"
#include "ui/text_renderer.h"
#include "ui/ui_state.h"

namespace korvel {

// DPI level L's colour: the DPI bars and the lit lighting preview.
inline constexpr std::array<Rgb, 4> levelColours{Rgb{0, 0, 255}, Rgb{255, 0, 255}, Rgb{255, 0, 0},
                                                 Rgb{128, 0, 255}};

// Number of caption entries each page writes.
inline constexpr std::array<int, 3> pageCaptionCount{54, 72, 33};

// Last index of mainBoxes that pointer movement tests: the whole main table
// on the main page, only the frame elsewhere.
inline int mainHitLast(std::uint8_t page) { return page == kPageMain ? 114 : 19; }
inline constexpr int kColourHitLast = 4;
inline constexpr int kAdvancedHitLast = 37;

// Everything a paint reads.
struct PaintInput {
    const SkinLayouts& layouts;
    const Profile& profile;
    const MacroTables& macros;
    const UiState& ui;
    std::int32_t currentProfile = 1;
    std::int32_t verSel = 1;
    MacroEditorView editor{};
};

// The decoded images of one page (never null: a missing file is an empty
// picture, from which copies copy nothing). `unlit` and `blue` are the two
// extra looks of the colour page's lighting preview.
struct PageImages {
    const Canvas* normal;
    const Canvas* over;
    const Canvas* down;
    const Canvas* unlit;
    const Canvas* blue;
};

// Normal, hover and pressed image names of a page (pages above 2 read as 0).
std::array<std::u16string_view, 3> pageImageNames(std::uint8_t page);

// The page's images from the cache (decoded the first time only).
PageImages pageImages(SkinImageCache& images, std::uint8_t page);

// The caption of a button with that function code: functionCaptions[code]
// below 41, the user macro's name for 41-52, nothing for any other code.
std::u16string functionCaption(const SkinLayouts& layouts, const MacroTables& macros, std::int32_t code);

// The text of a DPI value on the colour page (200 for a code not in the table).
std::u16string dpiText(const Profile& profile);

// The three steps of a paint, on the canvas N (a copy of the normal image).
void drawPageState(Canvas& n, const PageImages& images, std::uint8_t page, std::int32_t hover,
                   const PaintInput& input);
void drawFrameControls(Canvas& n, const PageImages& images, const PaintInput& input);
void drawCaptions(Canvas& n, int count, std::uint8_t page, const PaintInput& input, TextRendererPort& text);

// A whole paint of ui.currentPage into `out`, width x height pixels (the
// normal image's size when either is 0). `out` is reused when it already has
// that size.
void composePage(Canvas& out, const PageImages& images, const PaintInput& input, TextRendererPort& text,
                 std::int32_t width = 0, std::int32_t height = 0);

}  // namespace korvel
