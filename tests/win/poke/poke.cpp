// korvel-poke: a small helper for the Wine end-to-end tests. It reaches the
// running program's window the way another Windows program would.
//
//   korvel-poke post TITLE MSG WPARAM LPARAM   post a message to the window
//   korvel-poke visible TITLE                  1 when visible, 0 when hidden
//   korvel-poke iconic TITLE                   1 when minimized, 0 otherwise
//   korvel-poke exists TITLE                   1 when a window has that title
//   korvel-poke texts TITLE                    the texts of the window's child
//                                              windows, one a line, in UTF-8
//   korvel-poke getspeed                       the pointer speed
//   korvel-poke setspeed N                     set the pointer speed (persistent)
//   korvel-poke getwheel                       the wheel scroll lines
//   korvel-poke setwheel N                     set the wheel scroll lines (persistent)
//   korvel-poke tray TITLE                     1 when the window has its tray icon
//                                              (id 153), 0 otherwise
//   korvel-poke items TITLE ID                 the lines of the window's list box
//                                              child ID, one a line, in UTF-8
//   korvel-poke lineheight TITLE ID            that list box's line height
//   korvel-poke text TITLE ID                  the text of the child ID (WM_GETTEXT)
//
// Numbers may be decimal or 0x hexadecimal. Exit code 0 on success, 1 on a
// failed call, 2 when the window is not found, 3 on a usage error.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool parseNumber(const wchar_t* text, long long& value) {
    wchar_t* end = nullptr;
    value = std::wcstoll(text, &end, 0);
    return end != text && *end == 0;
}

HWND findWindow(const wchar_t* title) { return FindWindowW(nullptr, title); }

int usage() {
    std::fputs("usage: korvel-poke post TITLE MSG WPARAM LPARAM | visible TITLE | iconic TITLE |"
               " exists TITLE | texts TITLE | getspeed | setspeed N | getwheel | setwheel N | tray TITLE |"
               " items TITLE ID | lineheight TITLE ID |"
               " text TITLE ID\n",
               stderr);
    return 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::wstring command = argv[1];

    if (command == L"post" && argc == 6) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        long long message = 0, wParam = 0, lParam = 0;
        if (!parseNumber(argv[3], message) || !parseNumber(argv[4], wParam) || !parseNumber(argv[5], lParam))
            return usage();
        return PostMessageW(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                            static_cast<LPARAM>(lParam))
                   ? 0
                   : 1;
    }
    if ((command == L"visible" || command == L"iconic" || command == L"exists") && argc == 3) {
        HWND window = findWindow(argv[2]);
        if (command == L"exists") {
            std::printf("%d\n", window != nullptr ? 1 : 0);
            return 0;
        }
        if (window == nullptr) return 2;
        const BOOL state = command == L"visible" ? IsWindowVisible(window) : IsIconic(window);
        std::printf("%d\n", state ? 1 : 0);
        return 0;
    }
    if (command == L"texts" && argc == 3) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        EnumChildWindows(
            window,
            [](HWND child, LPARAM) -> BOOL {
                wchar_t text[1024] = {};
                const int n = GetWindowTextW(child, text, 1024);
                char utf8[4096] = {};
                const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n, utf8, sizeof utf8 - 1, nullptr, nullptr);
                std::fwrite(utf8, 1, static_cast<std::size_t>(bytes > 0 ? bytes : 0), stdout);
                std::fputc('\n', stdout);
                return TRUE;
            },
            0);
        return 0;
    }
    if (command == L"getspeed" && argc == 2) {
        int speed = 0;
        if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0)) return 1;
        std::printf("%d\n", speed);
        return 0;
    }
    if (command == L"setspeed" && argc == 3) {
        long long speed = 0;
        if (!parseNumber(argv[2], speed)) return usage();
        // The speed goes in both arguments: Windows reads the third, Wine 8 the second.
        return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                     reinterpret_cast<void*>(static_cast<INT_PTR>(speed)),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                   ? 0
                   : 1;
    }
    if (command == L"getwheel" && argc == 2) {
        UINT lines = 0;
        if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 1;
        std::printf("%u\n", lines);
        return 0;
    }
    if (command == L"setwheel" && argc == 3) {
        long long lines = 0;
        if (!parseNumber(argv[2], lines)) return usage();
        return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr,
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                   ? 0
                   : 1;
    }
    if (command == L"tray" && argc == 3) {
        // Modifying an icon succeeds only when the notification area holds
        // one of that window and id; changing nothing but the flags leaves it as
        // it is.
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = 153;
        data.uFlags = 0;
        std::printf("%d\n", Shell_NotifyIconW(NIM_MODIFY, &data) ? 1 : 0);
        return 0;
    }
    if (command == L"text" && argc == 4) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        long long id = 0;
        if (!parseNumber(argv[3], id)) return usage();
        HWND child = GetDlgItem(window, static_cast<int>(id));
        if (child == nullptr) return 1;
        wchar_t text[1024] = {};
        const LRESULT n = SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        char utf8[4096] = {};
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n > 0 ? static_cast<int>(n) : 0, utf8,
                                              sizeof utf8 - 1, nullptr, nullptr);
        std::fwrite(utf8, 1, static_cast<std::size_t>(bytes > 0 ? bytes : 0), stdout);
        std::fputc('\n', stdout);
        return 0;
    }
    if (command == L"lineheight" && argc == 4) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        long long id = 0;
        if (!parseNumber(argv[3], id)) return usage();
        HWND list = GetDlgItem(window, static_cast<int>(id));
        if (list == nullptr) return 1;
        std::printf("%d\n", static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
        return 0;
    }
    if (command == L"items" && argc == 4) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 2;
        long long id = 0;
        if (!parseNumber(argv[3], id)) return usage();
        HWND list = GetDlgItem(window, static_cast<int>(id));
        if (list == nullptr) return 1;
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[1024] = {};
            if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 1024) continue;
            const LRESULT n = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            char utf8[4096] = {};
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n > 0 ? static_cast<int>(n) : 0, utf8,
                                                  sizeof utf8 - 1, nullptr, nullptr);
            std::fwrite(utf8, 1, static_cast<std::size_t>(bytes > 0 ? bytes : 0), stdout);
            std::fputc('\n', stdout);
        }
        return 0;
    }
    return usage();
}
