#include "device/recording_bus.h"

#include "device/feature_reports.h"

namespace korvel {

namespace {
class OneInterface final : public HidInterfaceSet {
public:
    std::optional<std::u16string> path(int index) override {
        if (index == 0) return std::u16string(RecordingHidBus::kPath);
        return std::nullopt;
    }
};
}  // namespace

std::unique_ptr<HidInterfaceSet> RecordingHidBus::presentInterfaces() { return std::make_unique<OneInterface>(); }

HidHandle RecordingHidBus::open(std::u16string_view path, HidAccess access) {
    if (path != kPath) return kInvalidHidHandle;
    return access == HidAccess::Write ? 2 : 1;
}

bool RecordingHidBus::attributes(HidHandle, HidAttributes& out) {
    out = HidAttributes{kMouseVendorId, kMouseProductId, 0};
    return true;
}

bool RecordingHidBus::capabilities(HidHandle, HidCaps& out) {
    out = HidCaps{kVendorUsage, kCommandUsagePage, 0, 0, featureReportLength_};
    return true;
}

bool RecordingHidBus::setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) {
    if (handle != 2) return false;
    std::lock_guard lock(m_);
    reports_.push_back(RecordedReport{clock_.nowMicros(), std::vector<std::uint8_t>(data, data + length)});
    return true;
}

std::vector<RecordedReport> RecordingHidBus::reports() const {
    std::lock_guard lock(m_);
    return reports_;
}

void RecordingHidBus::clear() {
    std::lock_guard lock(m_);
    reports_.clear();
}

}  // namespace korvel
