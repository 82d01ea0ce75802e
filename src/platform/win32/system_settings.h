#pragma once
// Windows settings the profile changes (SystemParametersInfoW), the worker
// threads' priority, and a clock whose sleeps keep the macro timing.
#include <windows.h>

#include "device/device_ports.h"

namespace korvel::win {

class Win32SystemSettings final : public SystemSettings {
public:
    bool getPointerSpeed(int& speed) override;
    void setPointerSpeed(int speed) override;
    bool getWheelScrollLines(unsigned& lines) override;
    void setWheelScrollLines(unsigned lines) override;
};

// Invalidates the whole main window, from whichever thread asks.
class Win32RepaintRequester final : public RepaintRequester {
public:
    void setWindow(HWND window) { window_ = window; }
    void requestRepaint(bool erase) override;

private:
    HWND window_ = nullptr;
};

// For DevicePorts::onWorkerThreadStart: THREAD_PRIORITY_HIGHEST.
void raiseWorkerThreadPriority();

// Kernel events by name (CreateEventW), for "MacroSendEnd".
class Win32EventFactory final : public EventFactory {
public:
    std::unique_ptr<AutoResetEvent> createNamedAutoResetEvent(std::u16string_view name) override;
};

// QueryPerformanceCounter time; sleeps on a high-resolution waitable timer
// where the system has one (Sleep alone rounds up to the 15.6 ms tick, which
// would stretch every 15 ms macro pause to about 31 ms).
class Win32Clock final : public Clock {
public:
    std::int64_t nowMicros() override;
    void sleepUntilMicros(std::int64_t deadline) override;
};

}  // namespace korvel::win
