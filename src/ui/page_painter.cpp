#include "ui/page_painter.h"

#include <algorithm>

#include "common/text.h"

namespace korvel {

namespace {

const SkinBox* entry(const SkinBox* boxes, std::size_t count, std::int64_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < count ? &boxes[i] : nullptr;
}
template <std::size_t N>
const SkinBox* entry(const std::array<SkinBox, N>& boxes, std::int64_t i) {
    return entry(boxes.data(), N, i);
}

void copyFrom(Canvas& n, const Canvas& source, const SkinBox* box) {
    if (box) copyBox(n, source, *box);
}

std::u16string decimal(std::int64_t v) { return decimalText(v); }

void drawMainState(Canvas& n, const PageImages& im, const PaintInput& in) {
    const SkinLayouts& L = in.layouts;
    const Profile& p = in.profile;
    // The selected DPI level (a level outside 0-3 selects nothing).
    const std::int32_t level = p.dpiLevel;
    if (level >= 0 && level < kDpiLevelCount) copyFrom(n, *im.down, entry(L.mainBoxes, mainIndex::kDpiSelectFirst + level));
    for (int lv = 0; lv < kDpiLevelCount; ++lv) {
        // dpiSet + 1 slots, never more than the bar has.
        const int slots = std::min<int>(p.dpiSet[lv], kDpiValueCount - 1) + 1;
        for (int s = 0; s < slots; ++s) {
            const SkinBox& b = L.mainBoxes[mainIndex::kDpiBarFirst + 12 * lv + s];
            n.fillRect(b.x + 1, b.y + 1, b.width - 2, b.height - 1, levelColours[lv]);
        }
        if (p.dpiSetEn[lv] == 1) copyFrom(n, *im.down, entry(L.mainBoxes, mainIndex::kDpiEnableFirst + lv));
    }
    copyFrom(n, *im.down, entry(L.mainBoxes, p.wheelStatus == 0 ? mainIndex::kWheel0 : mainIndex::kWheel1));
    // The button whose function entry is under the pointer lights up on the mouse picture.
    if (in.ui.mainHover >= mainIndex::kFunctionFirst && in.ui.mainHover <= mainIndex::kFunctionLast)
        copyFrom(n, *im.over, entry(L.mainBoxes, in.ui.mainHover + 90));
}

void drawAdvancedState(Canvas& n, const PageImages& im, const PaintInput& in) {
    const SkinLayouts& L = in.layouts;
    const Profile& p = in.profile;
    if (in.editor.recording) copyFrom(n, *im.down, entry(L.advancedBoxes, 4));
    if (p.dpiSpeed <= 9) copyFrom(n, *im.down, entry(L.advancedBoxes, 8 + p.dpiSpeed));
    if (p.wheelSpeed <= 9) copyFrom(n, *im.down, entry(L.advancedBoxes, 18 + p.wheelSpeed));
    // The fire-time bar, filled in proportion to the fire time (0-300 ms).
    const SkinBox& bar = L.advancedBoxes[30];
    const std::int64_t fire = std::clamp<std::int32_t>(p.fireTime, 0, kMaxFireTime);
    if (bar.width > 0) {
        const std::int64_t w = std::int64_t{bar.width} * fire / kMaxFireTime;
        copyBox(n, *im.down, SkinBox{bar.x, bar.y, static_cast<std::int32_t>(w), bar.height});
    }
    if (p.macroMode2 != 0) copyFrom(n, *im.down, entry(L.advancedBoxes, 7));
    const std::int32_t m = in.editor.currentMacro;
    if (m >= 0 && m < static_cast<std::int32_t>(in.macros.userMacros.size()) && in.macros.userMacros[m].playMode == 1)
        copyFrom(n, *im.down, entry(L.advancedBoxes, 6));
}

void drawColourState(Canvas& n, const PageImages& im, const PaintInput& in) {
    const SkinLayouts& L = in.layouts;
    if (in.profile.ledStatus <= 3) copyFrom(n, *im.down, entry(L.colourBoxes, in.profile.ledStatus));
    const SkinBox& preview = L.colourBoxes[11];
    if (in.ui.previewDark != 0) {
        copyBox(n, *im.unlit, preview);
        return;
    }
    switch (in.ui.previewColour) {
    case 0: copyBox(n, *im.blue, preview); break;
    case 2: copyBox(n, *im.over, preview); break;
    case 3: copyBox(n, *im.down, preview); break;
    default: break;  // 1: the normal image is the magenta look
    }
}

}  // namespace

std::array<std::u16string_view, 3> pageImageNames(std::uint8_t page) {
    switch (page) {
    case kPageAdvanced: return {skinFile::kAdvancedNormal, skinFile::kAdvancedOver, skinFile::kAdvancedDown};
    case kPageColour: return {skinFile::kColourNormal, skinFile::kColourOver, skinFile::kColourDown};
    default: return {skinFile::kMainNormal, skinFile::kMainOver, skinFile::kMainDown};
    }
}

PageImages pageImages(SkinImageCache& images, std::uint8_t page) {
    const auto names = pageImageNames(page);
    PageImages out{&images.get(names[0]).pixels, &images.get(names[1]).pixels, &images.get(names[2]).pixels,
                   nullptr, nullptr};
    static const Canvas none;
    if (page == kPageColour) {
        out.unlit = &images.get(skinFile::kColourUnlit).pixels;
        out.blue = &images.get(skinFile::kColourBlue).pixels;
    } else {
        out.unlit = out.blue = &none;
    }
    return out;
}

std::u16string functionCaption(const SkinLayouts& layouts, const MacroTables& macros, std::int32_t code) {
    if (code >= 0 && code < kFnUserMacroFirst) return layouts.functionCaptions[code];
    if (code >= kFnUserMacroFirst && code <= kFnUserMacroLast) return macroName(macros.userMacros[code - kFnUserMacroFirst]);
    return {};
}

std::u16string dpiText(const Profile& profile) {
    const std::int32_t level = profile.dpiLevel;
    const int code = level >= 0 && level < kDpiLevelCount ? static_cast<int>(profile.dpiCode[level]) : 0;
    return decimalText(dpiForDeviceCode(code));
}

void drawPageState(Canvas& n, const PageImages& images, std::uint8_t page, std::int32_t hover,
                   const PaintInput& input) {
    const SkinLayouts& L = input.layouts;
    // The hover look first, so a selected control keeps its pressed look under the pointer.
    if (hover != kNone) {
        const Canvas& look = input.ui.pointerDown ? *images.down : *images.over;
        const SkinBox* box = page == kPageAdvanced ? entry(L.advancedBoxes, hover)
                             : page == kPageColour ? entry(L.colourBoxes, hover)
                                                   : entry(L.mainBoxes, hover);
        // The fire-time bar shows no look while the button is held on it.
        if (!(page == kPageAdvanced && hover == 30 && input.ui.pointerDown)) copyFrom(n, look, box);
    }
    switch (page) {
    case kPageMain: drawMainState(n, images, input); break;
    case kPageAdvanced: drawAdvancedState(n, images, input); break;
    case kPageColour: drawColourState(n, images, input); break;
    default: break;
    }
}

void drawFrameControls(Canvas& n, const PageImages& images, const PaintInput& input) {
    const UiState& ui = input.ui;
    // Only profiles 1-5 have a button: a damaged "CurConfig" must not press
    // another frame control.
    const bool knownProfile = input.currentProfile >= 1 && input.currentProfile <= 5;
    for (int i = 0; i <= 19; ++i) {
        const SkinBox& box = input.layouts.mainBoxes[i];
        const Canvas* look = nullptr;
        if (knownProfile && i == input.currentProfile + 3) look = images.down;
        else if (i == ui.mainHover) look = ui.pointerDown ? images.down : images.over;
        else if (i == 9 + ui.currentPage) look = images.down;
        else if (i == mainIndex::kChinese && input.verSel == 0) look = images.down;
        else if (i == mainIndex::kEnglish && input.verSel == 1) look = images.down;
        if (look) copyBox(n, *look, box);
    }
}

void drawCaptions(Canvas& n, int count, std::uint8_t page, const PaintInput& input, TextRendererPort& text) {
    const SkinLayouts& L = input.layouts;
    const UiFont font = editionUiFont(input.verSel);
    const bool english = input.verSel != 0;
    for (int i = 0; i < count; ++i) {
        if (page == kPageMain && i >= mainIndex::kFunctionFirst && i <= mainIndex::kFunctionLast) {
            // A button's function: left-aligned 5 pixels in, centred vertically.
            const SkinBox& box = L.mainBoxes[i];
            const std::u16string caption =
                functionCaption(L, input.macros, input.profile.buttonFunction[i - mainIndex::kFunctionFirst]);
            const TextExtent e = text.measure(font, caption);
            const std::int64_t x = std::int64_t{box.x} + 5;
            text.draw(n, static_cast<std::int32_t>(std::min<std::int64_t>(x, INT32_MAX)),
                      centredStart(box.y, box.height, e.cy), font, caption,
                      i == input.ui.mainHover ? kCaptionRed : kCaptionWhite);
        } else if (i < 20 || page == kPageMain) {
            if (static_cast<std::size_t>(i) < kMainEntries)
                drawTextCentred(text, n, font, L.mainBoxes[i], L.mainCaptions[i], kCaptionWhite);
        } else if (page == kPageColour) {
            const int j = i - 20;
            if (static_cast<std::size_t>(j) >= kColourEntries) continue;
            drawTextCentred(text, n, font, L.colourBoxes[j], j == 9 ? dpiText(input.profile) : L.colourCaptions[j],
                            kCaptionWhite);
        } else if (page == kPageAdvanced) {
            const int j = i - 20;
            if (static_cast<std::size_t>(j) >= kAdvancedEntries) continue;
            std::u16string live;
            const std::u16string* caption = &L.advancedCaptions[j];
            if (j == 4) {
                live = input.editor.recording ? (english ? u"Stop" : u"停止") : (english ? u"Record" : u"录制");
                caption = &live;
            } else if (j == 43) {
                live = u"[↓]" + decimal(input.editor.downCount);
                caption = &live;
            } else if (j == 44) {
                live = u"[↑]" + decimal(input.editor.upCount);
                caption = &live;
            } else if (j == 33) {
                live = decimal(input.profile.fireTime) + u"ms";
                caption = &live;
            }
            drawTextCentred(text, n, font, L.advancedBoxes[j], *caption,
                            j == input.ui.advancedHover ? kCaptionRed : kCaptionWhite);
        }
    }
}

void composePage(Canvas& out, const PageImages& images, const PaintInput& input, TextRendererPort& text,
                 std::int32_t width, std::int32_t height) {
    const Canvas& normal = *images.normal;
    if (width <= 0 || height <= 0) {
        width = normal.width();
        height = normal.height();
    }
    if (out.width() != width || out.height() != height) out = Canvas(width, height);
    if (normal.width() < width || normal.height() < height) out.fill(Rgb{});
    copyBlock(out, 0, 0, normal, 0, 0, width, height);

    const std::uint8_t page = input.ui.currentPage <= kPageColour ? input.ui.currentPage.load() : std::uint8_t{kPageMain};
    const std::int32_t hover = page == kPageAdvanced ? input.ui.advancedHover
                               : page == kPageColour ? input.ui.colourHover
                                                     : input.ui.mainHover;
    drawPageState(out, images, page, hover, input);
    drawFrameControls(out, images, input);
    drawCaptions(out, pageCaptionCount[page], page, input, text);
}

}  // namespace korvel
