#include "launcher.h"

#include <windows.h>

#include <string>

namespace korvel::win {

void Win32ProgramLauncher::launch(std::u16string_view systemProgram) {
    // Only a plain file name is started, and only from the system directory.
    if (systemProgram.empty() || systemProgram.find_first_of(u"\\/:") != std::u16string_view::npos) return;
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::wstring path(folder, n);
    path += L'\\';
    path.append(systemProgram.begin(), systemProgram.end());
    std::wstring commandLine = L"\"" + path + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace korvel::win
