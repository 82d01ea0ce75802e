#pragma once
// The narrow interfaces through which the device link reaches the platform:
// the HID bus, system settings, program start, time, the "MacroSendEnd" event,
// repaint requests and the configuration writes. The Windows program, the
// virtual mouse and the tests each supply their own implementations.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "macro/macro_record.h"

namespace korvel {

struct Profile;

// ---------------------------------------------------------------- HID bus

// An open interface. 0 means "never opened"; kInvalidHidHandle is what a
// failed open leaves (the platform's invalid-handle value). Both count as
// "set" for the connect loop; neither can be used for I/O.
using HidHandle = std::intptr_t;
inline constexpr HidHandle kNoHidHandle = 0;
inline constexpr HidHandle kInvalidHidHandle = -1;
inline constexpr bool isUsableHandle(HidHandle h) { return h != kNoHidHandle && h != kInvalidHidHandle; }

enum class HidAccess { Probe, Read, Write };  // Probe: no access rights, for attributes and caps

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// The parts of a top-level collection's capabilities that are used.
struct HidCaps {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
};

// The set of HID interfaces present when it was taken.
class HidInterfaceSet {
public:
    virtual ~HidInterfaceSet() = default;
    // The device path at this member index; nullopt when the index fails (a
    // gap in the set or past its end).
    virtual std::optional<std::u16string> path(int index) = 0;
};

class HidBus {
public:
    virtual ~HidBus() = default;
    virtual std::unique_ptr<HidInterfaceSet> presentInterfaces() = 0;
    // Opens shared for read and write; kInvalidHidHandle on failure.
    virtual HidHandle open(std::u16string_view path, HidAccess access) = 0;
    virtual void close(HidHandle handle) = 0;
    virtual bool attributes(HidHandle handle, HidAttributes& out) = 0;
    virtual bool capabilities(HidHandle handle, HidCaps& out) = 0;
    virtual bool setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) = 0;
    // Waits until an input report arrives and copies at most `length` bytes of
    // it. Returns the number of bytes read, or -1 when the read failed (not
    // open, device gone, reads cancelled).
    virtual int read(HidHandle handle, std::uint8_t* data, std::size_t length) = 0;
    // Wakes a read blocked on the handle; reads on it fail from then on. Used
    // only to stop the listener in tests and tools (the program never stops it).
    virtual void cancelReads(HidHandle handle) = 0;
    // Registers the main window for plug and unplug notices of HID interfaces.
    virtual void registerForNotices() = 0;
};

// A device-change notice as the main window receives it.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE
inline constexpr std::uint32_t kDeviceTypeInterface = 5;        // DBT_DEVTYP_DEVICEINTERFACE

struct DeviceNotice {
    std::uint32_t deviceType = 0;
    std::u16string name;  // the interface path, for kDeviceTypeInterface
};

// ---------------------------------------------------------------- system

class SystemSettings {
public:
    virtual ~SystemSettings() = default;
    virtual bool getPointerSpeed(int& speed) = 0;
    // Saved to the user profile and broadcast.
    virtual void setPointerSpeed(int speed) = 0;
    virtual bool getWheelScrollLines(unsigned& lines) = 0;
    // Saved to the user profile, not broadcast.
    virtual void setWheelScrollLines(unsigned lines) = 0;
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts one of the system's own programs ("calc.exe", "cmd.exe"), shown
    // normally. Implementations start it from the system directory by full
    // path, never through a search of the program's or the current folder.
    virtual void launch(std::u16string_view systemProgram) = 0;
};

// Time in microseconds on a monotonic scale, and sleeping until a moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMicros() = 0;
    virtual void sleepUntilMicros(std::int64_t deadline) = 0;
    void sleepForMillis(int ms) { sleepUntilMicros(nowMicros() + std::int64_t{ms} * 1000); }
};

// An auto-reset event, for the named "MacroSendEnd".
class AutoResetEvent {
public:
    virtual ~AutoResetEvent() = default;
    virtual void set() = 0;
    // True when signalled within the time; resets it.
    virtual bool wait(int timeoutMs) = 0;
};

class EventFactory {
public:
    virtual ~EventFactory() = default;
    virtual std::unique_ptr<AutoResetEvent> createNamedAutoResetEvent(std::u16string_view name) = 0;
};

class RepaintRequester {
public:
    virtual ~RepaintRequester() = default;
    // Invalidates the whole main window.
    virtual void requestRepaint(bool erase) = 0;
};

// ---------------------------------------------------------------- core data

// Where playback gets its macro records: each call returns a consistent copy.
class MacroSource {
public:
    virtual ~MacroSource() = default;
    virtual MacroRecord userMacro(int index) = 0;
    virtual MacroRecord constMacro(int index) = 0;
};

// The configuration writes that applying and the dispatcher make.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::int32_t currentProfileNumber() = 0;
    virtual void writeCurConfig(std::int32_t number) = 0;
    virtual void saveProfile(const Profile& profile, int number) = 0;
    virtual void saveDpiLevel(const Profile& profile, int number) = 0;
    virtual void saveUsbSpeed(const Profile& profile, int number) = 0;
};

}  // namespace korvel
