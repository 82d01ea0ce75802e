#pragma once
// The link to the mouse: the shared feature-report buffer and its commands,
// applying a profile, finding and opening the mouse and following plug and
// unplug, the input-report listener and the button-function dispatcher, and
// macro playback through the mouse's key-state and mouse-button commands.
//
// Threads. ConnectMouse, ApplyProfile and the device-change handler run on the
// user-interface thread. The listener thread blocks in reads of input report
// 6; the dispatcher thread sleeps on a condition variable until the listener
// hands it a press (or a stop request while idle, which it drops). Key
// injection and playback run on the dispatcher thread only. Filling and
// sending the report buffer is one critical section shared by both senders.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/relaxed.h"
#include "device/device_ports.h"
#include "device/feature_reports.h"
#include "macro/macro_record.h"
#include "profile/profile.h"

namespace korvel {

inline constexpr int kEnumerationLimit = 100;
inline constexpr int kHoldRepetitions = 10000;  // user macro while held (macroMode2 1)
inline constexpr int kMinEventDelayMs = 15;
inline constexpr int kReleasePauseMs = 10;
inline constexpr int kApplyPauseMs = 5;         // after connecting, before the first apply
inline constexpr int kReadRetryMs = 2;

// The platform pieces the link works through. Null entries get do-nothing
// stand-ins (a real clock for `clock`), except `bus`, which is required.
struct DevicePorts {
    HidBus* bus = nullptr;
    Clock* clock = nullptr;
    SystemSettings* settings = nullptr;
    ProgramLauncher* launcher = nullptr;
    EventFactory* events = nullptr;
    RepaintRequester* repaint = nullptr;
    ProfileStore* store = nullptr;
    MacroSource* macros = nullptr;
    std::function<void()> exitRoutine;          // run when the mouse is removed
    std::function<void()> onWorkerThreadStart;  // e.g. raise the thread's priority
};

class DeviceLink {
public:
    DeviceLink(Profile& profile, DevicePorts ports);
    // Stops the threads (if started) and closes the handles. The program keeps
    // its one link for the whole run, so its threads end with the process.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // ---- worker threads
    // Clears macroBusy and macroStop, then starts the listener and the
    // dispatcher. The program never stops them; tests and tools do.
    void startThreads();
    void stopThreads();

    // ---- discovery and connection (user-interface thread)
    bool ConnectMouse();
    bool IsMousePath(const DeviceNotice* notice) const;
    // WM_DEVICECHANGE: arrival of the mouse while not connected reconnects;
    // removal of the mouse runs the exit routine. Always true.
    bool onDeviceChange(std::uint32_t eventType, const DeviceNotice* notice);

    bool mouseConnected() const { return mouseConnected_; }
    std::u16string mousePath() const { return mousePath_; }
    HidHandle readHandle() const { return readHandle_.load(std::memory_order_acquire); }
    HidHandle writeHandle() const { return writeHandle_.load(std::memory_order_acquire); }
    std::uint16_t inputReportLength() const { return inputReportLength_.load(std::memory_order_relaxed); }
    std::uint16_t featureReportLength() const { return featureReportLength_.load(std::memory_order_relaxed); }
    HidCaps eventCaps() const { return eventCaps_; }
    HidCaps commandCaps() const { return commandCaps_; }

    // ---- applying (user-interface thread)
    void ApplyProfile();

    // ---- single commands; each fills and sends under the buffer lock
    void sendButtonFunction(int button);
    void sendWheelStatus();
    void sendDpiLevel(int level);
    void sendLighting();
    void sendFireTime();
    void sendKeyState();
    void sendMouseButtons();
    void sendConsumerKey(std::uint16_t usage);
    void sendExitCommand();

    // ---- key injection and playback (dispatcher thread)
    void SendKeyEvent(std::uint8_t code, std::uint8_t action);
    void RemoveKey(std::uint8_t code);
    void ReleaseAll();
    void PlayMacro(const MacroRecord& record, int repetitions);
    // Plays the record `snapshot` returns, taking a fresh copy at the start
    // of every repetition, so an edit made meanwhile never mixes into a
    // repetition under way.
    void PlayMacro(const std::function<MacroRecord()>& snapshot, int repetitions);

    // ---- listener and dispatcher steps (public for tests)
    // The listener's handling of one report of `length` bytes.
    void handleInputReport(const std::uint8_t* data, std::size_t length);
    // One dispatcher step: dispatch the pending press, or drop a stop request
    // made while idle. Returns true when a press was dispatched.
    bool dispatchOnce();

    bool macroBusy() const { return macroBusy_.load(std::memory_order_acquire) != 0; }
    bool macroStop() const { return macroStop_.load(std::memory_order_acquire) != 0; }
    std::uint64_t inputReportsHandled() const { return reportsHandled_.load(std::memory_order_acquire); }
    std::array<std::uint8_t, 6> keySlots() const { return keySlots_; }
    std::uint8_t mouseButtonMask() const { return mouseButtonMask_; }
    ReportBytes reportBufferCopy();

private:
    template <class Fill>
    void send(Fill&& fill);
    void carryOut(int function);
    void listenerMain();
    void dispatcherMain();
    void wakeDispatcher();
    void wakeListener();
    bool stopping() const { return quit_.load(std::memory_order_acquire); }

    Profile& profile_;
    DevicePorts ports_;
    // Stand-ins for ports not given.
    std::unique_ptr<Clock> ownClock_;
    std::unique_ptr<SystemSettings> ownSettings_;
    std::unique_ptr<ProgramLauncher> ownLauncher_;
    std::unique_ptr<EventFactory> ownEvents_;
    std::unique_ptr<RepaintRequester> ownRepaint_;
    std::unique_ptr<ProfileStore> ownStore_;
    std::unique_ptr<MacroSource> ownMacros_;

    // Feature report 7.
    std::mutex reportLock_;
    ReportBytes reportBuffer_{};

    // Device state: written on the user-interface thread, handles published
    // with release after the lengths they go with.
    Relaxed<bool> mouseConnected_;
    std::u16string mousePath_;
    std::atomic<HidHandle> readHandle_{kNoHidHandle};
    std::atomic<HidHandle> writeHandle_{kNoHidHandle};
    std::atomic<std::uint16_t> inputReportLength_{0};
    std::atomic<std::uint16_t> featureReportLength_{0};
    HidCaps eventCaps_{};
    HidCaps commandCaps_{};
    std::vector<HidHandle> retiredHandles_;  // from before a reconnect; closed at the end

    // Listener and dispatcher.
    std::array<std::uint8_t, kReportBufferSize> inputBuffer_{};  // listener only
    std::uint8_t pressedCode_ = 0;   // written before macroBusy is set (release)
    std::uint8_t pressedLevel_ = 0;
    std::atomic<std::int32_t> macroBusy_{0};
    std::atomic<std::int32_t> macroStop_{0};
    std::atomic<std::uint64_t> reportsHandled_{0};
    std::atomic<bool> quit_{false};
    std::mutex wakeMutex_;
    std::condition_variable dispatcherWake_;
    std::condition_variable listenerWake_;
    std::unique_ptr<AutoResetEvent> macroSendEnd_;  // listener only
    std::thread listener_;
    std::thread dispatcher_;

    // Key state of playback (dispatcher thread).
    std::array<std::uint8_t, 6> keySlots_{};
    std::uint8_t mouseButtonMask_ = 0xFF;
};

}  // namespace korvel
