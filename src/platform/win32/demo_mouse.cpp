// winsock2 must come before windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "demo_mouse.h"

#include <dbt.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "common/text.h"
#include "demo_panel.h"
#include "device/device_link.h"
#include "win_text.h"

namespace korvel::win {

namespace {

constexpr char16_t kPortFileName[] = u"\\korvel-demo.port";
constexpr char16_t kFinalStateFileName[] = u"\\korvel-demo.state";
constexpr int kNoticeTimeoutMs = 2000;
constexpr int kFinishWaitMs = 5000;

std::string joined(const std::uint8_t* values, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) out += ',';
        out += std::to_string(values[i]);
    }
    return out;
}

// The button number of a command: one decimal digit 0-8 and nothing else.
bool parseButton(const std::string& text, int& button) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '8') return false;
    button = text[0] - '0';
    return true;
}

bool sendAll(SOCKET s, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(s, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// The port the socket asks for: KORVEL_DEMO_PORT when it holds 1-65535.
unsigned short requestedPort() {
    const char* text = std::getenv("KORVEL_DEMO_PORT");
    if (text == nullptr) return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || value < 0 || value > 65535) return 0;
    return static_cast<unsigned short>(value);
}

// Writes text and a line end to a file beside the program.
void writeLineFile(const char16_t* name, const std::string& line) {
    const std::wstring path = wide(appState().programFolder + name);
    // Written whole under another name, then moved into place, so a reader
    // never sees half of it.
    const std::wstring partial = path + L".part";
    FILE* f = _wfopen(partial.c_str(), L"wb");
    if (f == nullptr) return;
    std::fputs(line.c_str(), f);
    std::fputc('\n', f);
    std::fclose(f);
    MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

std::string demoStateLine(const VirtualMouseState& s) {
    std::string line;
    line += "plugged=" + std::to_string(s.plugged ? 1 : 0);
    line += " buttons=" + joined(s.buttonFunction.data(), s.buttonFunction.size());
    line += " dpi=" + joined(s.dpiCode.data(), s.dpiCode.size());
    line += " mask=" + std::to_string(s.enableMask);
    line += " level=" + std::to_string(s.currentLevel);
    line += " wheel=" + std::to_string(s.wheelStatus);
    line += " lighting=" + std::to_string(s.lightingCode);
    line += " fire=" + std::to_string(s.fireValue);
    line += " keys=" + joined(s.keysHeld.data(), s.keysHeld.size());
    line += " mousebyte=" + std::to_string(s.mouseButtonByte);
    line += " consumer=" + std::to_string(s.consumerKeys.size());
    line += " exit=" + std::to_string(s.exitReceived ? 1 : 0);
    line += " features=" + std::to_string(s.featureReportsAccepted);
    line += " inputs=" + std::to_string(s.inputReportsSent);
    return line;
}

std::string escapedText(const std::u16string& text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'\\') out += u"\\\\";
        else if (c == u'\n') out += u"\\n";
        else if (c == u'\t') out += u"\\t";
        else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
            for (const char* p = hex; *p; ++p) out += static_cast<char16_t>(*p);
        } else {
            out += c;
        }
    }
    return toUtf8(out);
}

DemoMouseSource::DemoMouseSource() = default;
DemoMouseSource::~DemoMouseSource() = default;

void DemoMouseSource::attach(HWND mainWindow) {
    mainWindow_ = mainWindow;
    // The mouse's notices reach the main window as the system's would: a
    // WM_DEVICECHANGE whose record lives for the call.
    mouse_.setNoticeSink([this](std::uint32_t eventType, const DeviceNotice& notice) {
        // The mouse announces each of its interfaces. Once one has ended the
        // program (removal) or connected it again (arrival) the others have
        // nothing left to do, and the window would no longer answer them.
        if (const DeviceLink* link = deviceLink()) {
            if (eventType == kDeviceRemoveComplete && !link->mouseConnected()) return;
            if (eventType == kDeviceArrival && link->mouseConnected()) return;
        }
        const std::size_t chars = notice.name.size() + 1;
        std::vector<std::uint8_t> storage(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + chars * sizeof(wchar_t));
        auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
        record->dbcc_size = static_cast<DWORD>(storage.size());
        record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        for (std::size_t i = 0; i < notice.name.size(); ++i) record->dbcc_name[i] = static_cast<wchar_t>(notice.name[i]);
        record->dbcc_name[notice.name.size()] = 0;
        DWORD_PTR result = 0;
        // Bounded: once the program is ending its window no longer answers.
        if (IsWindow(mainWindow_))
            SendMessageTimeoutW(mainWindow_, WM_DEVICECHANGE, eventType, reinterpret_cast<LPARAM>(record), SMTO_NORMAL,
                                kNoticeTimeoutMs, &result);
    });
    panel_ = std::make_unique<DemoPanel>(mouse_);
    panel_->create();
    std::thread([this] { serve(); }).detach();
}

void DemoMouseSource::finish() {
    if (commandLock_.try_lock_for(std::chrono::milliseconds(kFinishWaitMs))) commandLock_.unlock();
    if (panel_) panel_->destroy();
    // What the mouse last held and its log (what did the program send as it
    // ended?), for a script that can no longer ask.
    std::string text = demoStateLine(mouse_.state());
    for (const auto& entry : mouse_.logLines()) text += "\n" + entry;
    writeLineFile(kFinalStateFileName, text);
}

std::string DemoMouseSource::answer(const std::string& line) {
    const auto space = line.find(' ');
    const std::string command = line.substr(0, space);
    const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
    int button = 0;
    if (command == "press" || command == "hold" || command == "release") {
        if (!parseButton(argument, button)) return "error: a button is 0-8\n";
        if (command == "press") mouse_.click(button);
        else if (command == "hold") mouse_.press(button);
        else mouse_.release(button);
        return "ok\n";
    }
    if (!argument.empty()) return "error: " + command + " takes no argument\n";
    if (command == "unplug") {
        mouse_.unplug();
        return "ok\n";
    }
    if (command == "plug") {
        mouse_.plugIn();
        return "ok\n";
    }
    if (command == "state") {
        // And whether the program is still dispatching a press (a macro under
        // way), so that a script can wait for it to end.
        const DeviceLink* link = deviceLink();
        return demoStateLine(mouse_.state()) + " busy=" + (link && link->macroBusy() ? "1" : "0") + "\n";
    }
    if (command == "typed-text") return "text:" + escapedText(mouse_.typedText()) + "\n";
    if (command == "log") {
        std::string block;
        for (const auto& entry : mouse_.logLines()) block += entry + "\n";
        return block + ".\n";
    }
    return "error: unknown command\n";
}

void DemoMouseSource::serve() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from outside
    address.sin_port = htons(requestedPort());
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    writeLineFile(kPortFileName, std::to_string(ntohs(address.sin_port)));

    // One client at a time; the process ends with this thread still waiting.
    for (;;) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        std::string pending;
        char chunk[512];
        bool open = true;
        while (open) {
            const int n = recv(client, chunk, sizeof chunk, 0);
            if (n <= 0) break;
            pending.append(chunk, static_cast<std::size_t>(n));
            // A client that never ends its line gets no more room than this.
            if (pending.size() > 4096 && pending.find('\n') == std::string::npos) break;
            for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (line.empty()) continue;
                std::lock_guard lock(commandLock_);
                if (!sendAll(client, answer(line))) {
                    open = false;
                    break;
                }
            }
        }
        closesocket(client);
    }
}

}  // namespace korvel::win
