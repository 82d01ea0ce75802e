// Fuzz target: the input-report path. A sequence of arbitrary reports goes
// through the listener's handling of report 6, with the dispatcher's reaction
// after some of them, against a profile, macros and ports made from the input
// as well. Whatever arrives, the link stays inside its buffers, never queues a
// press, takes over only DPI levels the mouse can have, keeps the report-rate
// step in range and leaves every key released after a dispatch.
//
// Input: byte 0 flags (bit 0 macroMode2, bit 1 dispatch after every report,
// bit 2 a command interface with a feature length above the buffer), bytes
// 1-9 the nine button functions, byte 10 the user macros' play mode and
// repeat count, then reports as a length byte followed by that many bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/device_support.h"
#include "macro/macro_record.h"
#include "profile/profile.h"

namespace {

using namespace korvel;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// The mouse's command interface alone; every send is checked, not kept.
class CheckingBus final : public HidBus {
public:
    explicit CheckingBus(std::uint16_t featureLength) : featureLength_(featureLength) {}
    class One final : public HidInterfaceSet {
    public:
        std::optional<std::u16string> path(int index) override {
            if (index != 0) return std::nullopt;
            return u"\\\\?\\hid#vid_18f8&pid_1286&mi_01#fuzz";
        }
    };
    std::unique_ptr<HidInterfaceSet> presentInterfaces() override { return std::make_unique<One>(); }
    HidHandle open(std::u16string_view, HidAccess) override { return 0x10; }
    void close(HidHandle) override {}
    bool attributes(HidHandle, HidAttributes& out) override {
        out = HidAttributes{kMouseVendorId, kMouseProductId, 1};
        return true;
    }
    bool capabilities(HidHandle, HidCaps& out) override {
        out = HidCaps{kVendorUsage, kCommandUsagePage, 0, 0, featureLength_};
        return true;
    }
    bool setFeature(HidHandle, const std::uint8_t* data, std::size_t length) override {
        check(length <= kReportBufferSize && length > 0 && data[0] == kFeatureReportId);
        ++sends;
        return true;
    }
    int read(HidHandle, std::uint8_t*, std::size_t) override { return -1; }
    void cancelReads(HidHandle) override {}
    void registerForNotices() override {}

    std::size_t sends = 0;

private:
    std::uint16_t featureLength_;
};

// Small macros that press and release keys and mouse buttons, some left held.
class FuzzMacros final : public MacroSource {
public:
    explicit FuzzMacros(std::uint8_t shape) : shape_(shape) {}
    MacroRecord userMacro(int index) override { return make(index, true); }
    MacroRecord constMacro(int index) override { return make(index, false); }

private:
    MacroRecord make(int index, bool user) const {
        check(index >= 0 && index < 13);
        MacroRecord r;
        r.playMode = shape_ & 1;
        r.setRepeatCount(static_cast<std::uint16_t>((shape_ >> 1) & 3));
        const std::uint8_t codes[] = {4, 5, 240, 241, 242, 243, 224, 4};
        const int n = user ? 1 + (shape_ >> 3) % 8 : 3;
        for (int k = 0; k < n; ++k) {
            r.events[k].code = codes[(index + k) % 8];
            r.events[k].action = static_cast<std::uint8_t>(1 + (k + (shape_ >> 6)) % 3);  // down, up, other
            r.setDelay(k, static_cast<std::uint16_t>(k * 7));
        }
        r.eventCount = static_cast<std::uint8_t>(n);
        return r;
    }
    std::uint8_t shape_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 11) return 0;
    const std::uint8_t flags = data[0];
    Profile profile;
    for (int b = 0; b < kButtonCount; ++b) profile.buttonFunction[b] = data[1 + b] % 64;
    for (int n = 0; n < kDpiLevelCount; ++n) {
        profile.dpiSet[n] = static_cast<std::uint8_t>(n * 2);
        profile.dpiSetEn[n] = 1;
    }
    profile.macroMode2 = flags & 1;
    profile.usbSpeed = 2;

    SimulatedClock clock;  // playback pauses pass at once
    CheckingBus bus((flags & 4) ? 300 : 8);
    FuzzMacros macros(data[10]);
    NullProfileStore store;
    DevicePorts ports;
    ports.bus = &bus;
    ports.clock = &clock;
    ports.macros = &macros;
    ports.store = &store;
    DeviceLink link(profile, ports);
    link.ConnectMouse();
    link.ApplyProfile();  // the marks the dispatcher relies on

    check(bus.sends == 16);

    std::size_t pos = 11;
    std::vector<std::uint8_t> report;
    // Bounded, as a held user macro may repeat 10000 times per dispatch.
    for (int count = 0; pos < size && count < 64; ++count) {
        const std::size_t length = std::min<std::size_t>(data[pos], size - pos - 1);
        report.assign(data + pos + 1, data + pos + 1 + length);  // exactly the bytes read, nothing beyond
        pos += 1 + length;

        const bool wasBusy = link.macroBusy();
        link.handleInputReport(report.data(), report.size());
        // A press taken while busy never becomes a pending press of its own.
        if (wasBusy) check(link.macroBusy());

        if ((flags & 2) || pos >= size || count == 63) {
            const bool busy = link.macroBusy();
            check(link.dispatchOnce() == busy);
            check(!link.macroBusy() && !link.macroStop());
            check(profile.dpiLevel >= 0 && profile.dpiLevel < kDpiLevelCount);
            check(profile.usbSpeed <= 3);
            // Every repetition ends released.
            const auto slots = link.keySlots();
            check(std::all_of(slots.begin(), slots.end(), [](std::uint8_t s) { return s == 0; }));
            check((link.mouseButtonMask() & 0x07) == 0x07);
        }
    }
    const ReportBytes buffer = link.reportBufferCopy();
    check(buffer[0] == kFeatureReportId);
    return 0;
}
