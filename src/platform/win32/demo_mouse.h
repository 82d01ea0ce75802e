#pragma once
// korvel-demo.exe's mouse: the virtual mouse in place of the HID bus, a panel
// window that shows what the mouse holds and lets the user press its buttons,
// and a line protocol on a loopback TCP socket through which a test script
// drives it.
//
// The socket listens on 127.0.0.1, on the port in the environment variable
// KORVEL_DEMO_PORT, or on a free port the system picks when it is not set
// (or 0). The port in use is written, in decimal, to "korvel-demo.port"
// beside the program once the socket listens. When the program ends, the
// mouse's last state (as the "state" command gives it) and then its log are
// written to "korvel-demo.state" beside it.
//
// Commands, one per line (buttons N are 0-8, the profile's K0-K8):
//   press N     press and release the button      -> "ok"
//   hold N      press the button and keep it held -> "ok"
//   release N   release a held button             -> "ok"
//   unplug      pull the mouse out                -> "ok" (the program then ends)
//   plug        plug it back in                   -> "ok"
//   state       the decoded device state, one line of key=value fields,
//               ending with busy=1 while the program dispatches a press
//   log         the mouse's log, one entry a line, then a line "."
//   typed-text  "text:" and the text the mouse typed, with \n \t \\ escaped
// Anything else answers "error: ..." on one line.
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "hid_bus.h"
#include "platform/virtual/virtual_mouse.h"

namespace korvel::win {

class DemoPanel;

class DemoMouseSource final : public MouseSource {
public:
    DemoMouseSource();
    ~DemoMouseSource() override;

    HidBus& bus() override { return mouse_; }
    // Sends the mouse's plug notices to the main window, opens the panel and
    // starts the socket.
    void attach(HWND mainWindow) override;
    // Lets a command under way (an unplug that ended the program) answer.
    void finish() override;

    VirtualMouse& mouse() { return mouse_; }
    // The answer to one protocol line (without its line end).
    std::string answer(const std::string& line);

private:
    void serve();

    VirtualMouse mouse_;
    HWND mainWindow_ = nullptr;
    std::unique_ptr<DemoPanel> panel_;
    std::timed_mutex commandLock_;  // held while a command runs and answers
};

// The decoded state as the "state" command gives it.
std::string demoStateLine(const VirtualMouseState& state);
// The typed text with backslash, line ends, tabs and other control
// characters escaped, as UTF-8.
std::string escapedText(const std::u16string& text);

}  // namespace korvel::win
