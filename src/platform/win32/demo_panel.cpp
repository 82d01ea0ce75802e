#include "demo_panel.h"

#include <cstdio>

namespace korvel::win {

namespace {

constexpr wchar_t kClassName[] = L"KorvelDemoPanel";
constexpr UINT kPressId = 1000;  // + button
constexpr UINT kHoldId = 1100;   // + button
constexpr UINT kPlugId = 1200;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 150;
constexpr int kWidth = 1000;
constexpr int kHeight = 270;

std::wstring numbers(const std::uint8_t* values, std::size_t count, const wchar_t* format) {
    std::wstring out;
    wchar_t item[16];
    for (std::size_t i = 0; i < count; ++i) {
        std::swprintf(item, 16, format, static_cast<unsigned>(values[i]));
        if (i) out += L' ';
        out += item;
    }
    return out;
}

}  // namespace

std::wstring describeState(const VirtualMouseState& s) {
    std::wstring text;
    wchar_t line[160];
    text += s.plugged ? L"Plugged in\r\n" : L"Unplugged\r\n";
    text += L"Buttons K0-K8 (device functions): " + numbers(s.buttonFunction.data(), 9, L"%u") + L"\r\n";
    text += L"DPI codes of levels 0-3: " + numbers(s.dpiCode.data(), 4, L"%u") + L"\r\n";
    std::wstring enabled;
    for (int n = 0; n < 4; ++n)
        if (s.enableMask & (1 << n)) enabled += (enabled.empty() ? L"" : L" ") + std::to_wstring(n);
    std::swprintf(line, 160, L"Levels in use: %ls (mask 0x%02X)\r\nCurrent level: %u\r\n",
                  enabled.empty() ? L"none" : enabled.c_str(), static_cast<unsigned>(s.enableMask),
                  static_cast<unsigned>(s.currentLevel));
    text += line;
    std::swprintf(line, 160, L"Wheel: %u\r\nLighting code: %u\r\nFire time: %u ms (value %u)\r\n",
                  static_cast<unsigned>(s.wheelStatus), static_cast<unsigned>(s.lightingCode),
                  static_cast<unsigned>(s.fireValue) * 8u, static_cast<unsigned>(s.fireValue));
    text += line;
    text += L"Keys held: " + numbers(s.keysHeld.data(), 6, L"%02X") + L"\r\n";
    std::swprintf(line, 160, L"Mouse-button byte: %02X\r\nConsumer keys sent: %u\r\n",
                  static_cast<unsigned>(s.mouseButtonByte), static_cast<unsigned>(s.consumerKeys.size()));
    text += line;
    std::swprintf(line, 160, L"Feature reports: %u taken, %u refused\r\nInput reports sent: %u\r\nExit command: %ls",
                  static_cast<unsigned>(s.featureReportsAccepted), static_cast<unsigned>(s.featureReportsRejected),
                  static_cast<unsigned>(s.inputReportsSent), s.exitReceived ? L"received" : L"not received");
    text += line;
    return text;
}

DemoPanel::~DemoPanel() { destroy(); }

bool DemoPanel::create() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DemoPanel::windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered

    // A strip along the bottom of the screen, below the centred main window.
    const int y = GetSystemMetrics(SM_CYSCREEN) - kHeight;
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kDemoPanelTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                            y > 0 ? y : 0, kWidth, kHeight, nullptr, nullptr, instance, this);
    if (hwnd_ == nullptr) return false;
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    return true;
}

void DemoPanel::destroy() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
        font_ = nullptr;
    }
}

LRESULT CALLBACK DemoPanel::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DemoPanel* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<DemoPanel*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<DemoPanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT DemoPanel::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls();
        refresh();
        SetTimer(hwnd_, kRefreshTimer, kRefreshMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer) refresh();
        return 0;
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (id >= kPressId && id < kPressId + 9) {
            mouse_.click(static_cast<int>(id - kPressId));
        } else if (id >= kHoldId && id < kHoldId + 9) {
            const int button = static_cast<int>(id - kHoldId);
            if (SendMessageW(hold_[button], BM_GETCHECK, 0, 0) == BST_CHECKED) mouse_.press(button);
            else mouse_.release(button);
        } else if (id == kPlugId) {
            // Unplugging ends the program, as pulling out the real mouse does.
            if (mouse_.state().plugged) mouse_.unplug();
            else mouse_.plugIn();
        }
        refresh();
        return 0;
    }
    case WM_CLOSE:
        // The panel goes with the program, not before it.
        ShowWindow(hwnd_, SW_MINIMIZE);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kRefreshTimer);
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void DemoPanel::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, UINT id) {
        HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
        if (font_ != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    // A column per button: press (and release) above, hold below.
    for (int b = 0; b < 9; ++b) {
        const std::wstring name = L"K" + std::to_wstring(b);
        make(L"BUTTON", name.c_str(), BS_PUSHBUTTON, 8 + b * 56, 8, 52, 26, kPressId + b);
        hold_[b] = make(L"BUTTON", L"Hold", BS_AUTOCHECKBOX, 10 + b * 56, 38, 50, 20, kHoldId + b);
    }
    plug_ = make(L"BUTTON", L"Unplug", BS_PUSHBUTTON, 8, 66, 108, 26, kPlugId);
    make(L"STATIC", L"Typed by the mouse:", SS_LEFT, 8, 100, 300, 18, 0);
    typed_ = make(L"EDIT", L"", WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 8, 120, 500, 110, 0);
    state_ = make(L"STATIC", L"", SS_LEFT, 530, 8, 460, 225, 0);
}

void DemoPanel::setText(HWND control, const std::wstring& text) {
    // Unchanged text is not set again, so the panel does not flicker.
    const int length = GetWindowTextLengthW(control);
    std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, current.data(), length + 1);
    current.resize(static_cast<std::size_t>(length));
    if (current != text) SetWindowTextW(control, text.c_str());
}

void DemoPanel::refresh() {
    if (hwnd_ == nullptr || state_ == nullptr) return;
    const VirtualMouseState state = mouse_.state();
    setText(state_, describeState(state));
    setText(plug_, state.plugged ? L"Unplug" : L"Plug in");
    std::wstring typed;
    for (char16_t c : mouse_.typedText()) {
        if (c == u'\n') typed += L"\r\n";
        else typed += static_cast<wchar_t>(c);
    }
    setText(typed_, typed);
}

}  // namespace korvel::win
