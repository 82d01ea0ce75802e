#include "ui/click_controller.h"

#include "profile/config_store.h"
#include "ui/page_painter.h"

namespace korvel {

namespace {
class SilentMessages : public MessageBoxPort {
public:
    void show(std::u16string_view, std::u16string_view) override {}
};
}  // namespace

void MacroPanelHooks::loadMacroLibrary(std::u16string_view path) {
    SilentMessages messages;
    LoadMacroLibrary(path, MacroTable::User, messages);
}

void MacroPanelHooks::saveMacroLibrary(std::u16string_view path) { SaveMacroLibrary(path); }

ClickController::ClickController(ClickModel model, UiState& ui, PopupState& popups, LightingPreview& preview,
                                 MainWindowPort& window, ProfileFilesHooks& files, MacroPanelHooks& macros)
    : model_(std::move(model)),
      ui_(ui),
      popups_(popups),
      preview_(preview),
      window_(window),
      files_(files),
      macros_(macros) {}

void ClickController::onPointerMove(std::int32_t x, std::int32_t y) {
    const SkinLayouts& L = model_.layouts;
    // All three indices, whatever the page: a move may repaint because an
    // index of another page changed.
    ui_.mainHover = hitTest(L.mainBoxes, mainHitLast(ui_.currentPage), x, y);
    ui_.colourHover = hitTest(L.colourBoxes, kColourHitLast, x, y);
    ui_.advancedHover = hitTest(L.advancedBoxes, kAdvancedHitLast, x, y);
    struct {
        std::int32_t now;
        std::int32_t& painted;
    } indices[] = {{ui_.mainHover, ui_.paintedMainHover},
                   {ui_.colourHover, ui_.paintedColourHover},
                   {ui_.advancedHover, ui_.paintedAdvancedHover}};
    for (auto& h : indices) {
        if (h.now == h.painted) continue;
        // The advanced page leaves its child controls alone.
        if (ui_.currentPage == kPageAdvanced) window_.invalidatePaintRegion();
        else window_.invalidate();
        window_.updateNow();
        h.painted = h.now;
    }
}

void ClickController::onButtonDown(std::int32_t x, std::int32_t y) {
    if (ui_.mainHover != kNone || ui_.colourHover != kNone || ui_.advancedHover != kNone) {
        ui_.pointerDown = true;
        window_.invalidate();
    }
    switch (ui_.currentPage) {
    case kPageMain: mainPageDown(x, y); break;
    case kPageAdvanced: advancedPageDown(x, y); break;
    case kPageColour: colourPageDown(x, y); break;
    default: break;
    }
}

void ClickController::mainPageDown(std::int32_t x, std::int32_t y) {
    if (popups_.menuOpen) {
        window_.destroyFunctionMenu();
        popups_.menuOpen = false;
    }
    Profile& p = model_.profile;
    const std::int32_t h = ui_.mainHover;
    if (h == mainIndex::kTabAdvanced) {
        enterAdvancedPage();
    } else if (h == mainIndex::kTabColour) {
        enterColourPage();
    } else if (h >= mainIndex::kFunctionFirst && h <= mainIndex::kFunctionLast) {
        openFunctionMenu();
    } else if (h == mainIndex::kWheel0 || h == mainIndex::kWheel1) {
        p.setWheelStatus(h - mainIndex::kWheel0);
    } else if (h >= mainIndex::kDpiEnableFirst && h < mainIndex::kDpiEnableFirst + kDpiLevelCount) {
        p.toggleDpiEnabled(h - mainIndex::kDpiEnableFirst);
    } else if (h >= mainIndex::kDpiSelectFirst && h < mainIndex::kDpiSelectFirst + kDpiLevelCount) {
        p.selectDpiLevel(h - mainIndex::kDpiSelectFirst);
    } else if (h >= mainIndex::kDpiBarFirst && h <= mainIndex::kDpiBarLast) {
        const int level = (h - mainIndex::kDpiBarFirst) / 12;
        p.setDpiValue(level, h - mainIndex::kDpiBarFirst - 12 * level);
        window_.invalidate();
    } else if (h == kNone) {
        window_.startWindowDrag(x, y);
    }
}

void ClickController::advancedPageDown(std::int32_t x, std::int32_t y) {
    Profile& p = model_.profile;
    const std::int32_t a = ui_.advancedHover;
    if (ui_.mainHover == mainIndex::kTabMain) {
        ui_.currentPage = kPageMain;
        macros_.destroyMacroControls();
        window_.invalidate();
    } else if (ui_.mainHover == mainIndex::kTabColour) {
        ui_.currentPage = kPageColour;
        preview_.startPreviewThread();
        macros_.destroyMacroControls();
        window_.invalidate();
    } else if (a == 0) {
        if (const auto path = window_.chooseMacroLibraryFile(false)) {
            macros_.loadMacroLibrary(*path);
            macros_.refillMacroList();
            window_.invalidate();
        }
    } else if (a == 1) {
        if (const auto path = window_.chooseMacroLibraryFile(true)) macros_.saveMacroLibrary(*path);
    } else if (a == 2) {
        macros_.addMacro();
    } else if (a == 3) {
        macros_.deleteMacro();
    } else if (a == 4) {
        macros_.startStopRecording();
    } else if (a == 5) {
        macros_.setRepeatCount();
    } else if (a == 6) {
        macros_.togglePlayMode();
    } else if (a == 7) {
        p.toggleMacroMode2();
    } else if (a >= 8 && a <= 17) {
        p.setDpiSpeed(a - 8);
    } else if (a >= 18 && a <= 27) {
        p.setWheelSpeed(a - 18);
    } else if (a == 30) {
        const SkinBox& bar = model_.layouts.advancedBoxes[30];
        p.setFireTime(fireTimeForClick(x, bar.x, bar.width));
        window_.invalidate();
    } else if (a == 31) {
        p.increaseFireTime();
        window_.invalidate();
    } else if (a == 32) {
        p.decreaseFireTime();
        window_.invalidate();
    } else if (a == kNone && ui_.mainHover == kNone) {
        window_.startWindowDrag(x, y);
    }
}

void ClickController::colourPageDown(std::int32_t x, std::int32_t y) {
    const std::int32_t c = ui_.colourHover;
    if (ui_.mainHover == mainIndex::kTabMain) {
        ui_.currentPage = kPageMain;
        window_.invalidate();
    } else if (ui_.mainHover == mainIndex::kTabAdvanced) {
        enterAdvancedPage();
    } else if (c >= 0 && c <= 3) {
        model_.profile.setLedStatus(c);
    } else if (c == kNone && ui_.mainHover == kNone) {
        window_.startWindowDrag(x, y);
    }
}

void ClickController::enterAdvancedPage() {
    ui_.currentPage = kPageAdvanced;
    window_.invalidatePaintRegion();
    macros_.createMacroControls();
    window_.updateNow();
    macros_.refillMacroList();
    window_.updateNow();
}

void ClickController::enterColourPage() {
    ui_.currentPage = kPageColour;
    preview_.startPreviewThread();
    window_.invalidate();
}

void ClickController::openFunctionMenu() {
    popups_.selectedButton = ui_.mainHover;
    const SkinBox& box = model_.layouts.mainBoxes[popups_.selectedButton];
    const ScreenPoint window = window_.windowOrigin();
    popups_.menuOrigin = ScreenPoint{static_cast<std::int32_t>(std::int64_t{window.x} + box.x),
                                     static_cast<std::int32_t>(std::int64_t{window.y} + box.y + box.height)};
    // Changing the only left button asks first.
    const int button = popups_.selectedButton - mainIndex::kFunctionFirst;
    bool otherLeft = false;
    for (int b = 0; b < kButtonCount; ++b)
        if (b != button && model_.profile.buttonFunction[b] == kFnLeft) otherLeft = true;
    if (!otherLeft && window_.showWarning(popups_.menuOrigin) == 2) return;
    window_.openFunctionMenu(popups_.menuOrigin);
    popups_.menuOpen = true;
}

void ClickController::onButtonUp(std::int32_t x, std::int32_t y) {
    ui_.pointerDown = false;
    window_.invalidate();
    Profile& p = model_.profile;
    const std::int32_t h = ui_.mainHover;
    switch (h) {
    case mainIndex::kSave:
        saveProfile(p, model_.configPath, model_.currentProfile);
        window_.invalidate();
        break;
    case mainIndex::kHide:
        ui_.mainHover = kNone;
        window_.hideToTrayReverting();
        window_.invalidate();
        break;
    case mainIndex::kApply:
        window_.applyProfile();
        break;
    case 4: case 5: case 6: case 7: case 8:
        model_.currentProfile = h - 3;
        loadProfile(p, model_.configPath, h - 3, false, model_.verSel);
        window_.invalidate();
        break;
    case mainIndex::kMinimise:
        ui_.mainHover = kNone;
        window_.postMinimise(x, y);
        break;
    case mainIndex::kClose:
        ui_.mainHover = kNone;
        window_.hideToTray();
        break;
    case mainIndex::kImport: files_.importProfile(); break;
    case mainIndex::kExport: files_.exportProfile(); break;
    case mainIndex::kReset: files_.factoryReset(); break;
    case mainIndex::kChinese: files_.switchEdition(0); break;
    case mainIndex::kEnglish: files_.switchEdition(1); break;
    case mainIndex::kWeb: window_.openWebPage(kWebPageAddress); break;
    default: break;
    }
}

}  // namespace korvel
