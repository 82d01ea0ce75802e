#pragma once
// The demo's panel: a plain window beside the main one that shows what the
// virtual mouse holds (button map, DPI codes, enabled levels and the current
// one, wheel, lighting, fire time, held keys), nine buttons to press or hold,
// the text the mouse typed, and a switch to unplug and plug it in.
#include <windows.h>

#include <array>
#include <string>

#include "platform/virtual/virtual_mouse.h"

namespace korvel::win {

inline constexpr wchar_t kDemoPanelTitle[] = L"Korvel virtual mouse";

class DemoPanel {
public:
    explicit DemoPanel(VirtualMouse& mouse) : mouse_(mouse) {}
    ~DemoPanel();
    DemoPanel(const DemoPanel&) = delete;
    DemoPanel& operator=(const DemoPanel&) = delete;

    // Creates and shows the window (on the user-interface thread, whose
    // message loop serves it).
    bool create();
    void destroy();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void refresh();
    void setText(HWND control, const std::wstring& text);

    VirtualMouse& mouse_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::array<HWND, 9> hold_{};
    HWND state_ = nullptr;
    HWND typed_ = nullptr;
    HWND plug_ = nullptr;
};

// The decoded state in words, one item a line, for the panel.
std::wstring describeState(const VirtualMouseState& state);

}  // namespace korvel::win
