#include "ui_main_window.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <memory>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "fonts.h"
#include "platform/win32/gdiplus_image.h"
#include "platform/win32/region_win32.h"
#include "ui/layout.h"
#include "ui/lighting_preview.h"
#include "ui/page_painter.h"
#include "ui/region.h"
#include "ui_gdi.h"
#include "ui_popups.h"
#include "win_text.h"

namespace korvel::win {

namespace {

// Forwards to what a later part plugs in, or does nothing.
class ForwardingHooks : public ProfileFilesHooks, public MacroPanelHooks {
public:
    ProfileFilesHooks* files = nullptr;
    MacroPanelHooks* panel = nullptr;
    std::function<MacroEditorView()> view;

    void importProfile() override { if (files) files->importProfile(); }
    void exportProfile() override { if (files) files->exportProfile(); }
    void factoryReset() override { if (files) files->factoryReset(); }
    void switchEdition(std::int32_t v) override { if (files) files->switchEdition(v); }
    void createMacroControls() override { if (panel) panel->createMacroControls(); }
    void destroyMacroControls() override { if (panel) panel->destroyMacroControls(); }
    void refillMacroList() override { if (panel) panel->refillMacroList(); }
    void loadMacroLibrary(std::u16string_view path) override {
        if (panel) panel->loadMacroLibrary(path);
        else MacroPanelHooks::loadMacroLibrary(path);
    }
    void saveMacroLibrary(std::u16string_view path) override {
        if (panel) panel->saveMacroLibrary(path);
        else MacroPanelHooks::saveMacroLibrary(path);
    }
    void addMacro() override { if (panel) panel->addMacro(); }
    void deleteMacro() override { if (panel) panel->deleteMacro(); }
    void startStopRecording() override { if (panel) panel->startStopRecording(); }
    void setRepeatCount() override { if (panel) panel->setRepeatCount(); }
    void togglePlayMode() override { if (panel) panel->togglePlayMode(); }
};

ForwardingHooks& hooks() {
    static ForwardingHooks h;
    return h;
}

// Process-wide objects that live until the process ends: the preview thread is
// never joined, as the other worker threads.
struct SkinRuntime {
    win32::GdiplusImageDecoder decoder;
    std::unique_ptr<SkinImageCache> images;
    HWND window = nullptr;
    LightingPreview preview{uiState(), currentProfile(), [this] {
                                if (window != nullptr) InvalidateRect(window, nullptr, TRUE);
                            }};
    std::unique_ptr<SkinnedSurface> surface;
    std::unique_ptr<CMenuDlg> functionMenu;
};

SkinRuntime& runtime() {
    static SkinRuntime* const r = new SkinRuntime();
    return *r;
}

class WindowMessages : public MessageBoxPort {
public:
    explicit WindowMessages(HWND window) : window_(window) {}
    void show(std::u16string_view text, std::u16string_view caption) override {
        const std::wstring t = wide(text), c = wide(caption);
        MessageBoxW(window_, t.c_str(), c.empty() ? nullptr : c.c_str(), MB_OK);
    }

private:
    HWND window_;
};

std::int32_t xOf(LPARAM p) { return GET_X_LPARAM(p); }
std::int32_t yOf(LPARAM p) { return GET_Y_LPARAM(p); }

}  // namespace

void setProfileFilesHooks(ProfileFilesHooks* h) { hooks().files = h; }
void setMacroPanelHooks(MacroPanelHooks* h) { hooks().panel = h; }
void setMacroEditorView(std::function<MacroEditorView()> view) { hooks().view = std::move(view); }

SkinImageCache& skinImageCache() {
    SkinRuntime& r = runtime();
    if (!r.images) r.images = std::make_unique<SkinImageCache>(r.decoder, appState().skinFolder);
    return *r.images;
}

void attachSkinnedSurface(MainWindowHost& host, std::function<HWND()> window, const SkinMessageRegistrar& on) {
    SkinRuntime& r = runtime();
    if (!r.surface) r.surface = std::make_unique<SkinnedSurface>(host, std::move(window));
    SkinnedSurface* s = r.surface.get();
    on(WM_MOUSEMOVE, [s](WPARAM, LPARAM l) -> std::optional<LRESULT> {
        s->onMouseMove(l);
        return std::nullopt;
    });
    on(WM_LBUTTONDOWN, [s](WPARAM, LPARAM l) -> std::optional<LRESULT> {
        s->onButtonDown(l);
        return std::nullopt;
    });
    on(WM_LBUTTONUP, [s](WPARAM, LPARAM l) -> std::optional<LRESULT> {
        s->onButtonUp(l);
        return std::nullopt;
    });
    // The advanced page's child controls: the language font, white on black.
    const SkinMessageHandler childColours = [](WPARAM w, LPARAM) -> std::optional<LRESULT> {
        HDC dc = reinterpret_cast<HDC>(w);
        SelectObject(dc, editionFont(appState().verSel));
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    };
    on(WM_CTLCOLOREDIT, childColours);
    on(WM_CTLCOLORLISTBOX, childColours);
    on(WM_CTLCOLORSTATIC, childColours);  // a disabled edit field (the repeat count) asks with this one
}

SkinnedSurface& skinnedSurface() { return *runtime().surface; }

SkinnedSurface::SkinnedSurface(MainWindowHost& host, std::function<HWND()> window)
    : host_(host),
      window_(std::move(window)),
      controller_(ClickModel{skinLayouts(), currentProfile(), appState().currentProfile, appState().verSel,
                             appState().configPath},
                  uiState(), popupState(), runtime().preview, *this, hooks(), hooks()) {}

bool SkinnedSurface::loadLayouts() {
    runtime().window = hwnd();
    WindowMessages messages(hwnd());
    LayoutContext context{appState().skinFolder, appState().verSel, &messages, windowTitle(appState().verSel),
                          [this] { runExitRoutine(host_); }};
    // One reader at a time; a missing file ends the run from inside the loader.
    return loadMainLayout(context, skinLayouts()) && loadColourLayout(context, skinLayouts()) &&
           loadAdvancedLayout(context, skinLayouts());
}

bool SkinnedSurface::loadWarningLayout() {
    WindowMessages messages(hwnd());
    LayoutContext context{appState().skinFolder, appState().verSel, &messages, windowTitle(appState().verSel),
                          [this] { runExitRoutine(host_); }};
    return korvel::loadWarningLayout(context, skinLayouts());
}

void SkinnedSurface::shapeWindow() {
    win32::WindowOutline outline(hwnd());
    SkinRuntime& r = runtime();
    shapeMainWindow(r.decoder, appState().skinFolder, skinLayouts(), windowShape(), outline);
    const WindowShape& shape = windowShape();
    if (shape.skinWidth > 0 && shape.skinHeight > 0)
        SetWindowPos(hwnd(), nullptr, 0, 0, shape.skinWidth, shape.skinHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinnedSurface::paint() {
    PopupState& popups = popupState();
    if (popups.closeMenuPending) {
        popups.closeMenuPending = false;
        destroyFunctionMenu();
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (IsIconic(hwnd())) {
        RECT client{};
        GetClientRect(hwnd(), &client);
        HICON icon = reinterpret_cast<HICON>(SendMessageW(hwnd(), WM_GETICON, ICON_BIG, 0));
        const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
        if (icon != nullptr) DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, icon);
        EndPaint(hwnd(), &ps);
        return;
    }
    const UiState& ui = uiState();
    const std::uint8_t page = ui.currentPage <= kPageColour ? ui.currentPage.load() : std::uint8_t{kPageMain};
    const MacroEditorView editor = hooks().view ? hooks().view() : MacroEditorView{};
    const PaintInput input{skinLayouts(), currentProfile(), macroTables(), ui, appState().currentProfile,
                           appState().verSel, editor};
    const WindowShape& shape = windowShape();
    composePage(canvas_, pageImages(skinImageCache(), page), input, gdiText(), shape.skinWidth, shape.skinHeight);
    showCanvas(dc, 0, 0, canvas_);
    EndPaint(hwnd(), &ps);
}

void SkinnedSurface::onMouseMove(LPARAM p) { controller_.onPointerMove(xOf(p), yOf(p)); }
void SkinnedSurface::onButtonDown(LPARAM p) { controller_.onButtonDown(xOf(p), yOf(p)); }
void SkinnedSurface::onButtonUp(LPARAM p) { controller_.onButtonUp(xOf(p), yOf(p)); }

void SkinnedSurface::showChoice() {
    HWND main = FindWindowW(nullptr, wide(windowTitle(appState().verSel)).c_str());
    if (main == nullptr) main = hwnd();
    InvalidateRect(main, nullptr, FALSE);
    UpdateWindow(main);
}

void SkinnedSurface::invalidate() { InvalidateRect(hwnd(), nullptr, TRUE); }

void SkinnedSurface::invalidatePaintRegion() {
    HRGN region = win32::makeHrgn(windowShape().paintRegion.rectangles());
    InvalidateRgn(hwnd(), region, TRUE);
    DeleteObject(region);
}

void SkinnedSurface::updateNow() { UpdateWindow(hwnd()); }

void SkinnedSurface::startWindowDrag(std::int32_t x, std::int32_t y) {
    PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
}

ScreenPoint SkinnedSurface::windowOrigin() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return ScreenPoint{r.left, r.top};
}

void SkinnedSurface::postMinimise(std::int32_t x, std::int32_t y) {
    PostMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(x, y));
}

void SkinnedSurface::hideToTray() { korvel::hideToTray(host_); }
void SkinnedSurface::hideToTrayReverting() { korvel::hideToTrayReverting(host_); }
void SkinnedSurface::applyProfile() { applyCurrentProfile(); }

void SkinnedSurface::openWebPage(std::u16string_view address) {
    const std::wstring url = wide(address);
    ShellExecuteW(hwnd(), L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
}

int SkinnedSurface::showWarning(ScreenPoint) {
    // The dialog opens at menuOrigin, which the controller has just set.
    WarningDlg dialog;
    return static_cast<int>(dialog.runModal(hwnd()));
}

void SkinnedSurface::openFunctionMenu(ScreenPoint origin) {
    SkinRuntime& r = runtime();
    r.functionMenu = std::make_unique<CMenuDlg>();
    if (!r.functionMenu->createModeless(hwnd())) return;
    MoveWindow(r.functionMenu->hwnd(), origin.x, origin.y, kPopupWindowWidth, kMenuWindowHeight, TRUE);
    ShowWindow(r.functionMenu->hwnd(), SW_SHOW);
}

std::optional<std::u16string> SkinnedSurface::chooseMacroLibraryFile(bool save) {
    wchar_t file[MAX_PATH] = {};
    const std::wstring folder = wide(appState().programFolder);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"All Files(*.dat)\0*.dat\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (save ? OFN_OVERWRITEPROMPT : 0);
    if (save) ofn.lpstrDefExt = L"dat";
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return std::nullopt;
    return fromWide(file);
}

void SkinnedSurface::destroyFunctionMenu() {
    SkinRuntime& r = runtime();
    if (r.functionMenu && r.functionMenu->hwnd() != nullptr) DestroyWindow(r.functionMenu->hwnd());
}

}  // namespace korvel::win
