#include "hid_bus.h"

#include <dbt.h>
#include <setupapi.h>

// mingw-w64's HID headers declare C functions without a C++ guard.
extern "C" {
#include <hidsdi.h>
}

#include <vector>

namespace korvel::win {

namespace {

HANDLE toHandle(HidHandle h) { return reinterpret_cast<HANDLE>(h); }

class InterfaceSet final : public HidInterfaceSet {
public:
    InterfaceSet() {
        HidD_GetHidGuid(&guid_);
        info_ = SetupDiGetClassDevsW(&guid_, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    }
    ~InterfaceSet() override {
        if (info_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(info_);
    }
    std::optional<std::u16string> path(int index) override {
        if (info_ == INVALID_HANDLE_VALUE || index < 0) return std::nullopt;
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(info_, nullptr, &guid_, static_cast<DWORD>(index), &data)) return std::nullopt;
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(info_, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::nullopt;
        std::vector<std::uint8_t> storage(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(info_, &data, detail, size, nullptr, nullptr)) return std::nullopt;
        // The path ends within the buffer: read at most what it holds.
        const auto* begin = reinterpret_cast<const char16_t*>(detail->DevicePath);
        const std::size_t room = (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(char16_t);
        std::size_t n = 0;
        while (n < room && begin[n] != 0) ++n;
        return std::u16string(begin, n);
    }

private:
    GUID guid_{};
    HDEVINFO info_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<HidInterfaceSet> Win32HidBus::presentInterfaces() { return std::make_unique<InterfaceSet>(); }

HidHandle Win32HidBus::open(std::u16string_view path, HidAccess access) {
    const std::wstring name(path.begin(), path.end());
    const DWORD rights = access == HidAccess::Read ? GENERIC_READ : access == HidAccess::Write ? GENERIC_WRITE : 0;
    // Synchronous (no FILE_FLAG_OVERLAPPED): the listener's read waits.
    const HANDLE h = CreateFileW(name.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return reinterpret_cast<HidHandle>(h);  // INVALID_HANDLE_VALUE is kInvalidHidHandle
}

void Win32HidBus::close(HidHandle handle) {
    if (isUsableHandle(handle)) CloseHandle(toHandle(handle));
}

bool Win32HidBus::attributes(HidHandle handle, HidAttributes& out) {
    HIDD_ATTRIBUTES a{};
    a.Size = sizeof a;
    if (!isUsableHandle(handle) || !HidD_GetAttributes(toHandle(handle), &a)) return false;
    out = HidAttributes{a.VendorID, a.ProductID, a.VersionNumber};
    return true;
}

bool Win32HidBus::capabilities(HidHandle handle, HidCaps& out) {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!isUsableHandle(handle) || !HidD_GetPreparsedData(toHandle(handle), &preparsed)) return false;
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS) return false;
    out = HidCaps{caps.Usage, caps.UsagePage, caps.InputReportByteLength, caps.OutputReportByteLength,
                  caps.FeatureReportByteLength};
    return true;
}

bool Win32HidBus::setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) {
    if (!isUsableHandle(handle)) return false;
    return HidD_SetFeature(toHandle(handle), const_cast<std::uint8_t*>(data), static_cast<ULONG>(length)) != FALSE;
}

bool Win32HidBus::cancelled(HidHandle handle) {
    std::lock_guard lock(cancelLock_);
    return cancelled_.count(handle) != 0;
}

int Win32HidBus::read(HidHandle handle, std::uint8_t* data, std::size_t length) {
    if (!isUsableHandle(handle) || cancelled(handle)) return -1;
    DWORD got = 0;
    if (!ReadFile(toHandle(handle), data, static_cast<DWORD>(length), &got, nullptr) || cancelled(handle)) return -1;
    return static_cast<int>(got);
}

void Win32HidBus::cancelReads(HidHandle handle) {
    if (!isUsableHandle(handle)) return;
    {
        std::lock_guard lock(cancelLock_);
        cancelled_.insert(handle);
    }
    for (int i = 0; i < 10; ++i) {
        CancelIoEx(toHandle(handle), nullptr);
        Sleep(10);
    }
}

void Win32HidBus::registerForNotices() {
    if (!window_) return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;  // 32
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    // Never withdrawn: the registration lasts as long as the window.
    RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

DeviceNotice deviceNoticeFrom(LPARAM lParam) {
    DeviceNotice notice;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (!header) return notice;
    notice.deviceType = header->dbch_devicetype;
    if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        const auto* di = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        // The name runs to the end of the record at most.
        const std::size_t room =
            header->dbch_size > offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)
                ? (header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) / sizeof(wchar_t)
                : 0;
        std::size_t n = 0;
        while (n < room && di->dbcc_name[n] != 0) ++n;
        notice.name.assign(reinterpret_cast<const char16_t*>(di->dbcc_name), n);
    }
    return notice;
}

}  // namespace korvel::win
