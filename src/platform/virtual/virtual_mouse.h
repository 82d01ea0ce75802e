#pragma once
// The virtual mouse: a complete stand-in for the nine-button mouse and the HID
// bus it sits on. It shows several interfaces with the mouse's vendor and
// product identifiers (a plain mouse collection, a keyboard/consumer
// collection and the two vendor collections) among other devices and
// enumeration gaps; decodes every feature report 7 into device state and into
// the input a host would see (keys, mouse buttons, consumer keys, the text it
// would type); produces input report 6 for its software, DPI and report-rate
// buttons, stepping its own DPI level among the enabled ones; keeps a
// timestamped log; and can be unplugged and plugged in again.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/device_ports.h"

namespace korvel {

enum class VirtualSlot {
    Gap,                 // an enumeration index that fails
    OtherDevice,         // some other HID device
    MouseCollection,     // the mouse's plain mouse collection (usage page 1, usage 2)
    KeyboardCollection,  // the mouse's keyboard/consumer collection (page 1, usage 6)
    EventCollection,     // vendor collection 0xFF00, input report 6
    CommandCollection,   // vendor collection 0xFF01, feature report 7
};

struct VirtualMouseOptions {
    std::vector<VirtualSlot> layout{VirtualSlot::OtherDevice,        VirtualSlot::Gap,
                                    VirtualSlot::MouseCollection,    VirtualSlot::KeyboardCollection,
                                    VirtualSlot::Gap,                VirtualSlot::CommandCollection,
                                    VirtualSlot::OtherDevice,        VirtualSlot::EventCollection,
                                    VirtualSlot::OtherDevice};
    std::uint16_t vendorId = 0x18F8;
    std::uint16_t productId = 0x1286;
    std::uint16_t inputReportLength = 8;
    std::uint16_t featureReportLength = 8;
    // Windows gives notice names in another letter case than enumeration.
    bool noticeNamesUpperCase = true;
    // Opens of these collections fail (the invalid handle).
    std::vector<VirtualSlot> failingOpens;
    Clock* clock = nullptr;  // the real clock when not given
};

// What the mouse holds, decoded from the commands it was sent.
struct VirtualMouseState {
    bool plugged = true;
    // Device function of buttons 0-8 (the profile's order); factory values.
    std::array<std::uint8_t, 9> buttonFunction{1, 2, 3, 5, 4, 12, 11, 9, 0};
    std::array<std::uint8_t, 4> dpiCode{5, 7, 11, 14};
    std::uint8_t enableMask = 0x0F;
    std::uint8_t currentLevel = 0;
    std::uint8_t wheelStatus = 0;
    std::uint16_t fireValue = 6;  // fire time / 8
    std::uint8_t lightingCode = 0;
    std::array<std::uint8_t, 6> keysHeld{};
    std::uint8_t mouseButtonByte = 0xFF;
    std::vector<std::uint16_t> consumerKeys;
    bool exitReceived = false;
    std::size_t featureReportsAccepted = 0;
    std::size_t featureReportsRejected = 0;
    std::size_t inputReportsSent = 0;
    int noticeRegistrations = 0;
};

struct VirtualLogEntry {
    enum Kind { FeatureIn, FeatureRejected, InputOut, Host, Plug };
    std::int64_t micros = 0;
    Kind kind = FeatureIn;
    std::vector<std::uint8_t> bytes;
    std::string text;  // what it meant, for people reading the log
};

struct HostInput {
    enum Kind { KeyDown, KeyUp, MouseDown, MouseUp, Consumer };
    std::int64_t micros = 0;
    Kind kind = KeyDown;
    std::uint16_t code = 0;  // key usage, mouse button 1-5, consumer usage
};

class VirtualMouse final : public HidBus {
public:
    explicit VirtualMouse(VirtualMouseOptions options = {});
    ~VirtualMouse() override;

    // ---- HidBus
    std::unique_ptr<HidInterfaceSet> presentInterfaces() override;
    HidHandle open(std::u16string_view path, HidAccess access) override;
    void close(HidHandle handle) override;
    bool attributes(HidHandle handle, HidAttributes& out) override;
    bool capabilities(HidHandle handle, HidCaps& out) override;
    bool setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    int read(HidHandle handle, std::uint8_t* data, std::size_t length) override;
    void cancelReads(HidHandle handle) override;
    void registerForNotices() override;

    // ---- the user's hand
    void press(int button);    // button 0-8, the profile's order
    void release(int button);
    void click(int button) { press(button); release(button); }
    // Input report 6 with any event code and value (codes up to 240 are the
    // mouse's other events).
    void sendEvent(std::uint8_t code, std::uint8_t value);
    // Any bytes as an input report (for strange reports and fuzzing).
    void sendInputReport(const std::vector<std::uint8_t>& bytes);
    void unplug();
    void plugIn();
    // Receives the plug and unplug notices (after a registration), on the
    // thread that calls unplug/plugIn.
    void setNoticeSink(std::function<void(std::uint32_t eventType, const DeviceNotice& notice)> sink);

    // ---- what can be seen
    VirtualMouseState state() const;
    std::vector<VirtualLogEntry> log() const;
    std::vector<VirtualLogEntry> featureLog() const;  // accepted feature reports only
    // The log as text, one line per entry: time in microseconds, direction
    // ("in" feature report, "rejected", "out" input report, "host", "plug"),
    // the bytes in hex and what they meant.
    std::vector<std::string> logLines() const;
    std::vector<HostInput> hostInput() const;
    std::u16string typedText() const;
    std::u16string pathOf(VirtualSlot slot) const;  // first interface of that kind
    Clock& clock() { return *clock_; }
    // Waits, up to the timeout, until `condition` (called without the lock
    // held) is true; re-checked whenever anything happens on the mouse.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) const;
    bool waitForFeatureReports(std::size_t count, int timeoutMs) const;
    // The text a US keyboard types for a key usage (shift held or not); empty
    // for keys that type nothing.
    static std::u16string keyText(std::uint8_t usage, bool shift);

private:
    struct Interface {
        VirtualSlot kind;
        std::u16string path;
        std::uint16_t vendorId, productId;
        HidCaps caps;
        bool mine;  // belongs to the mouse (goes away with it)
    };
    struct OpenHandle {
        int iface;
        HidAccess access;
        unsigned generation;
        bool cancelled = false;
        std::vector<std::vector<std::uint8_t>> queue;  // input reports not yet read
    };
    class Set;

    bool aliveLocked(const OpenHandle& h) const;
    OpenHandle* findLocked(HidHandle handle);
    void pushInputLocked(std::vector<std::uint8_t> bytes, const std::string& text);
    void decodeLocked(const std::uint8_t* data, std::size_t length);
    void hostLocked(HostInput::Kind kind, std::uint16_t code, const std::string& text);
    void logLocked(VirtualLogEntry::Kind kind, const std::uint8_t* data, std::size_t length, std::string text);
    void changedLocked();
    std::uint8_t stepLevelLocked(int direction, bool wrap);
    void notify(std::uint32_t eventType);

    VirtualMouseOptions options_;
    std::unique_ptr<Clock> ownClock_;
    Clock* clock_;
    std::vector<std::optional<Interface>> interfaces_;  // by enumeration index; nullopt = gap
    mutable std::mutex m_;
    mutable std::condition_variable changed_;
    std::uint64_t changes_ = 0;
    unsigned generation_ = 1;
    HidHandle nextHandle_ = 0x100;
    std::map<HidHandle, OpenHandle> handles_;
    VirtualMouseState state_;
    std::array<bool, 9> held_{};
    std::vector<VirtualLogEntry> log_;
    std::vector<HostInput> host_;
    std::u16string typed_;
    std::function<void(std::uint32_t, const DeviceNotice&)> sink_;
};

}  // namespace korvel
