#include "system_settings.h"

#include <string>

namespace korvel::win {

bool Win32SystemSettings::getPointerSpeed(int& speed) {
    int value = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &value, 0)) return false;
    speed = value;
    return true;
}

void Win32SystemSettings::setPointerSpeed(int speed) {
    // Windows takes the speed from the pointer argument (the value itself,
    // cast) and ignores the second; Wine (8.0) takes it from the second.
    // Giving it in both works on each.
    SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed), reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

bool Win32SystemSettings::getWheelScrollLines(unsigned& lines) {
    UINT value = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &value, 0)) return false;
    lines = value;
    return true;
}

void Win32SystemSettings::setWheelScrollLines(unsigned lines) {
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE);
}

namespace {

class Win32Event final : public AutoResetEvent {
public:
    explicit Win32Event(HANDLE h) : h_(h) {}
    ~Win32Event() override {
        if (h_) CloseHandle(h_);
    }
    void set() override {
        if (h_) SetEvent(h_);
    }
    bool wait(int timeoutMs) override {
        return h_ && WaitForSingleObject(h_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
    }

private:
    HANDLE h_;
};

}  // namespace

std::unique_ptr<AutoResetEvent> Win32EventFactory::createNamedAutoResetEvent(std::u16string_view name) {
    const std::wstring wide(name.begin(), name.end());
    // Auto-reset, not signalled.
    return std::make_unique<Win32Event>(CreateEventW(nullptr, FALSE, FALSE, wide.c_str()));
}

void Win32RepaintRequester::requestRepaint(bool erase) {
    // Safe from any thread: it only marks the window; the UI thread paints.
    if (window_ != nullptr) InvalidateRect(window_, nullptr, erase ? TRUE : FALSE);
}

void raiseWorkerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One timer per sleeping thread, made on its first sleep.
HANDLE threadTimer() {
    thread_local HANDLE timer = [] {
        HANDLE t = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        if (!t) t = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        return t;
    }();
    return timer;
}

}  // namespace

std::int64_t Win32Clock::nowMicros() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<std::int64_t>(c.QuadPart / frequency * 1'000'000 + (c.QuadPart % frequency) * 1'000'000 / frequency);
}

void Win32Clock::sleepUntilMicros(std::int64_t deadline) {
    for (std::int64_t left = deadline - nowMicros(); left > 0; left = deadline - nowMicros()) {
        HANDLE timer = threadTimer();
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(left) * 10;  // relative, 100 ns units
        if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            WaitForSingleObject(timer, INFINITE);
        } else {
            Sleep(static_cast<DWORD>((left + 999) / 1000));
        }
    }
}

}  // namespace korvel::win
