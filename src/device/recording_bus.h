#pragma once
// A HID bus with only the mouse's command interface, which records every
// feature report sent to it with the time of the send. For tools that show
// what the program would send ("korvelctl reports") and for tests.
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/device_ports.h"

namespace korvel {

struct RecordedReport {
    std::int64_t micros = 0;
    std::vector<std::uint8_t> bytes;
};

class RecordingHidBus final : public HidBus {
public:
    explicit RecordingHidBus(Clock& clock, std::uint16_t featureReportLength = 8)
        : clock_(clock), featureReportLength_(featureReportLength) {}

    std::unique_ptr<HidInterfaceSet> presentInterfaces() override;
    HidHandle open(std::u16string_view path, HidAccess access) override;
    void close(HidHandle) override {}
    bool attributes(HidHandle handle, HidAttributes& out) override;
    bool capabilities(HidHandle handle, HidCaps& out) override;
    bool setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    int read(HidHandle, std::uint8_t*, std::size_t) override { return -1; }
    void cancelReads(HidHandle) override {}
    void registerForNotices() override {}

    std::vector<RecordedReport> reports() const;
    void clear();

    static constexpr char16_t kPath[] = u"\\\\?\\hid#vid_18f8&pid_1286&mi_01#recording";

private:
    Clock& clock_;
    std::uint16_t featureReportLength_;
    mutable std::mutex m_;
    std::vector<RecordedReport> reports_;
};

}  // namespace korvel
