#include "editor_win32.h"

#include <commdlg.h>

#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/editor_commands.h"
#include "app/lifecycle.h"
#include "fonts.h"
#include "macro/editable_list.h"
#include "macro/macro_editor.h"
#include "ui/brel_menu.h"
#include "ui/layout.h"
#include "ui_gdi.h"
#include "win_text.h"

namespace korvel::win {

namespace {

Rect toEditorRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// A list box child; while its window is missing it answers as a message to a
// missing window would.
class Win32ListBox : public EventListPort {
public:
    HWND hwnd = nullptr;

    int count() const override {
        if (hwnd == nullptr) return 0;
        const LRESULT n = SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
        return n > 0 ? static_cast<int>(n) : 0;
    }
    void addLine(std::u16string_view text) override {
        if (hwnd == nullptr) return;
        const std::wstring t = wide(text);
        SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    void insertLine(int index, std::u16string_view text) override {
        if (hwnd == nullptr) return;
        const std::wstring t = wide(text);
        SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.c_str()));
    }
    void deleteLine(int index) override {
        if (hwnd != nullptr) SendMessageW(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
    std::u16string lineText(int index) const override {
        if (hwnd == nullptr || index < 0) return {};
        const LRESULT length = SendMessageW(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length <= 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(hwnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        if (got <= 0) return {};
        text.resize(static_cast<std::size_t>(got));
        return fromWide(text);
    }
    int selected() const override {
        if (hwnd == nullptr) return -1;
        const LRESULT s = SendMessageW(hwnd, LB_GETCURSEL, 0, 0);
        return s == LB_ERR ? -1 : static_cast<int>(s);
    }
    void select(int index) override {
        if (hwnd != nullptr) SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int topIndex() const override {
        if (hwnd == nullptr) return 0;
        const LRESULT t = SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0);
        return t > 0 ? static_cast<int>(t) : 0;
    }
    int lineHeight() const override {
        if (hwnd == nullptr) return 0;
        const LRESULT h = SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0);
        return h > 0 ? static_cast<int>(h) : 0;
    }
    Rect itemRect(int index) const override {
        RECT r{};
        if (hwnd == nullptr || SendMessageW(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            return {};
        return toEditorRect(r);
    }
    Rect clientRectOnScreen() const override {
        if (hwnd == nullptr) return {};
        RECT r{};
        GetClientRect(hwnd, &r);
        POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
        ClientToScreen(hwnd, &topLeft);
        ClientToScreen(hwnd, &bottomRight);
        return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    void focus() override {
        if (hwnd != nullptr) SetFocus(hwnd);
    }
    void requestEdit() override {
        if (hwnd != nullptr) SendMessageW(hwnd, WM_CHAR, kEditRequestChar, 0);
    }
};

class Win32EditField : public EditFieldPort {
public:
    HWND hwnd = nullptr;

    std::u16string text() const override {
        if (hwnd == nullptr) return {};
        wchar_t buffer[256] = {};
        const int n = GetWindowTextW(hwnd, buffer, 256);
        return fromWide(std::wstring_view(buffer, n > 0 ? static_cast<std::size_t>(n) : 0));
    }
    void setText(std::u16string_view text) override {
        if (hwnd != nullptr) SetWindowTextW(hwnd, wide(text).c_str());
    }
    void enable(bool enabled) override {
        if (hwnd != nullptr) EnableWindow(hwnd, enabled ? TRUE : FALSE);
    }
    void focus() override {
        if (hwnd != nullptr) SetFocus(hwnd);
    }
};

LRESULT CALLBACK editHelperProc(HWND, UINT, WPARAM, LPARAM);
WNDPROC editDefaultProc = nullptr;

// CEditHelper: the edit window over the line being edited.
class InPlaceEdit : public InPlaceEditPort {
public:
    Win32ListBox& list;
    HWND hwnd = nullptr;

    explicit InPlaceEdit(Win32ListBox& l) : list(l) {}

    bool exists() const override { return hwnd != nullptr && IsWindow(hwnd); }
    void create(Rect r) override {
        if (list.hwnd == nullptr) return;
        hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, list.hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInPlaceEditId)), moduleInstanceHandle(),
                               nullptr);
        if (hwnd == nullptr) return;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        SendMessageW(hwnd, WM_SETFONT, SendMessageW(list.hwnd, WM_GETFONT, 0, 0), FALSE);
        const WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editHelperProc)));
        if (editDefaultProc == nullptr) editDefaultProc = old;
    }
    void setText(std::u16string_view text) override {
        if (exists()) SetWindowTextW(hwnd, wide(text).c_str());
    }
    std::u16string text() const override {
        if (!exists()) return {};
        wchar_t buffer[256] = {};
        const int n = GetWindowTextW(hwnd, buffer, 256);
        return fromWide(std::wstring_view(buffer, n > 0 ? static_cast<std::size_t>(n) : 0));
    }
    void selectAll() override {
        if (exists()) SendMessageW(hwnd, EM_SETSEL, 0, -1);
    }
    void focus() override {
        if (exists()) SetFocus(hwnd);
    }
    void destroy() override {
        // Forgotten first: losing the focus while going sends the end-of-edit
        // message again, which must then find no editor.
        HWND h = hwnd;
        hwnd = nullptr;
        if (h != nullptr && IsWindow(h)) DestroyWindow(h);
    }

    static HINSTANCE moduleInstanceHandle() { return GetModuleHandleW(nullptr); }
};

class ListParent : public EditableListParentPort {
public:
    Win32ListBox& list;
    explicit ListParent(Win32ListBox& l) : list(l) {}
    void lineChanged(int index, std::u16string_view oldText) override {
        if (list.hwnd == nullptr) return;
        const std::wstring old = wide(oldText);
        SendMessageW(GetParent(list.hwnd), kMsgLbeChanged, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(old.c_str()));
    }
    void editDone() override {
        if (list.hwnd != nullptr) SendMessageW(GetParent(list.hwnd), kMsgLbeEditDone, 0, 0);
    }
};

// --- the keyboard hook of the recorder ------------------------------------

HHOOK keyboardHook = nullptr;

LRESULT CALLBACK recordHookProc(int code, WPARAM message, LPARAM record) {
    if (code >= 0) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(record);
        const std::wstring title = wide(windowTitle(appState().verSel));
        if (HWND main = FindWindowW(nullptr, title.c_str()))
            PostMessageW(main, static_cast<UINT>(message), key->vkCode, 0);
    }
    // Never passed on: while recording, the keystroke reaches no window but
    // through the post above.
    return 1;
}

class UtcClock : public UtcClockPort {
public:
    UtcTimeOfDay now() override {
        SYSTEMTIME t{};
        GetSystemTime(&t);
        return UtcTimeOfDay{t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    }
};

class WindowMessageBox : public MessageBoxPort {
public:
    std::function<HWND()> window;
    void show(std::u16string_view text, std::u16string_view caption) override {
        const std::wstring t = wide(text);
        const std::wstring c = caption.empty() ? wide(windowTitle(appState().verSel)) : wide(caption);
        MessageBoxW(window(), t.c_str(), c.c_str(), MB_OK);
    }
};

class EditorHost : public MacroEditorHost {
public:
    std::function<HWND()> window;
    WindowMessageBox* messages = nullptr;

    void invalidate() override { InvalidateRect(window(), nullptr, FALSE); }
    Point cursorPosition() override {
        POINT p{};
        GetCursorPos(&p);
        return Point{p.x, p.y};
    }
    void showEventMenu(Point at) override {
        HMENU menu = reinterpret_cast<HMENU>(eventMenu().handle());
        if (menu == nullptr) return;
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, window(), nullptr);
    }
    void showMessage(std::u16string_view text) override { messages->show(text, {}); }
    bool installKeyboardHook() override {
        if (keyboardHook == nullptr)
            keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, &recordHookProc, GetModuleHandleW(nullptr), 0);
        return keyboardHook != nullptr;
    }
    void removeKeyboardHook() override {
        if (keyboardHook != nullptr) UnhookWindowsHookEx(keyboardHook);
        keyboardHook = nullptr;
    }
};

// --- menus -----------------------------------------------------------------

class Win32Menus : public MenuResourcePort {
public:
    MenuHandle loadMenu(int resourceId) override {
        return reinterpret_cast<MenuHandle>(
            LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(static_cast<WORD>(resourceId))));
    }
    int itemCount(MenuHandle menu) override {
        const int n = GetMenuItemCount(asMenu(menu));
        return n > 0 ? n : 0;
    }
    std::int32_t itemId(MenuHandle menu, int position) override {
        return static_cast<std::int32_t>(GetMenuItemID(asMenu(menu), position));
    }
    std::u16string itemText(MenuHandle menu, int position) override {
        wchar_t text[256] = {};
        const int n = GetMenuStringW(asMenu(menu), static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        return fromWide(std::wstring_view(text, n > 0 ? static_cast<std::size_t>(n) : 0));
    }
    MenuHandle subMenu(MenuHandle menu, int position) override {
        return reinterpret_cast<MenuHandle>(GetSubMenu(asMenu(menu), position));
    }
    void makeOwnerDraw(MenuHandle menu, int position, std::uintptr_t itemData) override {
        HMENU m = asMenu(menu);
        HMENU sub = GetSubMenu(m, position);
        const UINT_PTR idOrMenu = sub != nullptr ? reinterpret_cast<UINT_PTR>(sub) : GetMenuItemID(m, position);
        ModifyMenuW(m, static_cast<UINT>(position), MF_BYPOSITION | MF_OWNERDRAW | (sub != nullptr ? MF_POPUP : 0),
                    idOrMenu, reinterpret_cast<LPCWSTR>(itemData));
    }

private:
    static HMENU asMenu(MenuHandle h) { return reinterpret_cast<HMENU>(h); }
};

// --- the main window's part in the profile-file commands ------------------

class EditionWindow : public EditionWindowPort {
public:
    std::function<HWND()> window;
    WindowMessageBox* messages = nullptr;
    Win32Menus* menus = nullptr;
    MainWindowHost* host = nullptr;

    std::optional<std::u16string> chooseFile(const FileDialogRequest& request) override {
        std::wstring filter = wide(request.filter);
        for (wchar_t& c : filter)
            if (c == L'|') c = L'\0';
        filter.push_back(L'\0');
        const std::wstring extension = wide(request.defaultExtension);
        const std::wstring folder = wide(request.initialFolder);
        wchar_t file[MAX_PATH] = {};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = window();
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        // The explorer-style dialog, as the framework's file dialog always is.
        ofn.Flags = request.flags | OFN_EXPLORER;
        const BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        if (!ok) return std::nullopt;
        return fromWide(file);
    }
    void repaint() override {
        InvalidateRect(window(), nullptr, FALSE);
        UpdateWindow(window());
    }
    void applyProfile() override { applyCurrentProfile(); }
    bool advancedPageShown() override { return uiState().currentPage == kPageAdvanced; }
    void loadSkinLayouts(std::int32_t verSel) override {
        // A missing layout file of the edition ends the program, as at start-up.
        LayoutContext context{appState().skinFolder, verSel, messages, windowTitle(verSel),
                              [this] { runExitRoutine(*host); }};
        korvel::loadSkinLayouts(context, skinLayouts());
    }
    void reloadMenus(std::int32_t verSel) override { LoadBrelMenus(*menus, verSel, eventMenu(), trayMenu()); }
    void setTitle(std::u16string_view title) override { SetWindowTextW(window(), wide(title).c_str()); }
};

// --- the advanced page's child windows ------------------------------------

LRESULT CALLBACK eventListProc(HWND, UINT, WPARAM, LPARAM);
WNDPROC listDefaultProc = nullptr;

class ChildWindows : public MacroControlWindows {
public:
    std::function<HWND()> window;
    Win32EditField* repeatEdit = nullptr;
    Win32EditField* nameEdit = nullptr;
    Win32ListBox* macroList = nullptr;
    Win32ListBox* eventList = nullptr;

    void create() override {
        const SkinLayouts& layouts = skinLayouts();
        HFONT font = editionFont(appState().verSel);
        const DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_CENTER;
        const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY;
        destroy();
        repeatEdit->hwnd = make(L"EDIT", editStyle, layouts.repeatBox.rect, kRepeatEditId, font);
        nameEdit->hwnd = make(L"EDIT", editStyle, layouts.nameBox.rect, kNameEditId, font);
        macroList->hwnd = make(L"LISTBOX", listStyle, layouts.macroListBox.rect, kMacroListId, font);
        eventList->hwnd = make(L"LISTBOX", listStyle, layouts.eventListBox.rect, kEventListId, font);
        if (eventList->hwnd != nullptr) {
            const WNDPROC old = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(eventList->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&eventListProc)));
            if (listDefaultProc == nullptr) listDefaultProc = old;
        }
    }
    void destroy() override {
        for (HWND* h : {&repeatEdit->hwnd, &nameEdit->hwnd, &macroList->hwnd, &eventList->hwnd}) {
            HWND w = *h;
            *h = nullptr;
            if (w != nullptr && IsWindow(w)) DestroyWindow(w);
        }
    }

private:
    HWND make(const wchar_t* kind, DWORD style, const Rect& r, int id, HFONT font) {
        HWND h = CreateWindowExW(0, kind, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (h != nullptr && font != nullptr) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h;
    }
};

struct EditorRuntime {
    WindowMessageBox messages;
    Win32EditField repeatEdit;
    Win32EditField nameEdit;
    Win32ListBox macroList;
    Win32ListBox eventList;
    InPlaceEdit inPlaceEdit{eventList};
    ListParent listParent{eventList};
    EditableListLogic listLogic{eventList, inPlaceEdit, listParent, true};
    EditorHost host;
    UtcClock clock;
    MacroEditor editor{macroEditorState(), macroTables(),
                       MacroEditorControls{repeatEdit, nameEdit, macroList, eventList}, host, clock};
    Win32Menus menus;
    EditionWindow edition;
    ChildWindows children;
    AppProfileFilesHost filesHost{edition, macroTables(), editor, messages};
    ProfileFilesCommands files{filesHost};
    MacroPanelCommands panel{editor, children, macroTables(), messages};
};

EditorRuntime& runtime() {
    // Lives until the process ends: menu item data and hooks point into it.
    static EditorRuntime* const r = new EditorRuntime();
    return *r;
}

LRESULT CALLBACK eventListProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    EditableListLogic& logic = runtime().listLogic;
    switch (message) {
    case WM_CHAR:
        logic.onChar(static_cast<char16_t>(w));
        return CallWindowProcW(listDefaultProc, hwnd, message, w, l);
    case WM_SIZE: {
        const LRESULT r = CallWindowProcW(listDefaultProc, hwnd, message, w, l);
        logic.onSize();
        return r;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        logic.onScroll();
        return CallWindowProcW(listDefaultProc, hwnd, message, w, l);
    case kMsgLbeEndEdit:
        return logic.onEndEditMessage(w);
    case WM_DESTROY:
        logic.onDestroy();
        return CallWindowProcW(listDefaultProc, hwnd, message, w, l);
    default:
        return CallWindowProcW(listDefaultProc, hwnd, message, w, l);
    }
}

LRESULT CALLBACK editHelperProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_KEYUP:
        if (const auto keep = editHelperKeyUp(w)) SendMessageW(GetParent(hwnd), kMsgLbeEndEdit, *keep, 0);
        break;
    case WM_KILLFOCUS:
        SendMessageW(GetParent(hwnd), kMsgLbeEndEdit, 1, 0);
        break;
    default:
        break;
    }
    // The end of the edit destroys this window; nothing is left to process.
    if (!IsWindow(hwnd)) return 0;
    return CallWindowProcW(editDefaultProc, hwnd, message, w, l);
}

void drawMenuItem(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    const std::int32_t width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    Canvas canvas(width, height);
    CBrelMenu::DrawItem(canvas, gdiText(), editionUiFont(appState().verSel),
                        reinterpret_cast<const MenuItemRecord*>(item.itemData), SkinBox{0, 0, width, height},
                        (item.itemState & ODS_SELECTED) != 0);
    showCanvas(item.hDC, r.left, r.top, canvas);
}

}  // namespace

void attachMacroEditor(MainWindowHost& host, std::function<HWND()> window, const SkinMessageRegistrar& on) {
    EditorRuntime& r = runtime();
    r.edition.host = &host;
    r.messages.window = window;
    r.host.window = window;
    r.host.messages = &r.messages;
    r.edition.window = window;
    r.edition.messages = &r.messages;
    r.edition.menus = &r.menus;
    r.children.window = window;
    r.children.repeatEdit = &r.repeatEdit;
    r.children.nameEdit = &r.nameEdit;
    r.children.macroList = &r.macroList;
    r.children.eventList = &r.eventList;

    setProfileFilesHooks(&r.files);
    setMacroPanelHooks(&r.panel);
    setMacroEditorView([&r] { return macroEditorView(r.editor.state()); });

    on(WM_COMMAND, [&r](WPARAM w, LPARAM) -> std::optional<LRESULT> {
        const int id = LOWORD(w);
        if (id == kMacroListId) {
            if (HIWORD(w) == LBN_SELCHANGE) r.editor.selectMacro();
            return 0;
        }
        if (r.editor.onEventCommand(id)) return 0;
        return std::nullopt;
    });
    on(kMsgLbeEditDone, [&r](WPARAM, LPARAM) -> std::optional<LRESULT> {
        r.editor.onEditDone();
        return 0;
    });
    on(WM_MEASUREITEM, [](WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        auto* request = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (w != 0 || request == nullptr || request->CtlType != ODT_MENU) return std::nullopt;
        const MenuItemSize size = CBrelMenu::MeasureItem(reinterpret_cast<const MenuItemRecord*>(request->itemData));
        request->itemWidth = static_cast<UINT>(size.width);
        request->itemHeight = static_cast<UINT>(size.height);
        return TRUE;
    });
    on(WM_DRAWITEM, [](WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        const auto* request = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (w != 0 || request == nullptr || request->CtlType != ODT_MENU) return std::nullopt;
        drawMenuItem(*request);
        return TRUE;
    });
}

void startMacroEditor(int currentMacro) { runtime().editor.startAfterLibraryLoad(currentMacro); }

bool macroEditorPreTranslate(const MSG& m) {
    return runtime().editor.PreTranslateMessage(m.message, m.wParam, uiState().currentPage == kPageAdvanced);
}

void loadOwnerDrawnMenus(std::int32_t verSel) { LoadBrelMenus(runtime().menus, verSel, eventMenu(), trayMenu()); }

HMENU trayPopupMenu() {
    HMENU menu = reinterpret_cast<HMENU>(trayMenu().handle());
    return menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
}

}  // namespace korvel::win
