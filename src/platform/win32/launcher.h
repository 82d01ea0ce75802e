#pragma once
// Starts the system's own programs ("calc.exe", "cmd.exe") by their full path
// in the system directory. WinExec with a bare name would search the
// program's own folder and the current folder first, so a file of that name
// placed there would run instead.
#include "device/device_ports.h"

namespace korvel::win {

class Win32ProgramLauncher final : public ProgramLauncher {
public:
    void launch(std::u16string_view systemProgram) override;
};

}  // namespace korvel::win
