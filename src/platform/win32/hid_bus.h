#pragma once
// The HID bus of the real mouse: device-interface enumeration (SetupDi), the
// HID class driver (HidD_*, HidP_GetCaps), CreateFileW and synchronous
// ReadFile, and the registration for device-change notices.
#include <windows.h>

#include <mutex>
#include <set>

#include "device/device_ports.h"

namespace korvel::win {

class Win32HidBus final : public HidBus {
public:
    // The window that receives WM_DEVICECHANGE once registered.
    void setNoticeWindow(HWND window) { window_ = window; }

    std::unique_ptr<HidInterfaceSet> presentInterfaces() override;
    HidHandle open(std::u16string_view path, HidAccess access) override;
    void close(HidHandle handle) override;
    bool attributes(HidHandle handle, HidAttributes& out) override;
    bool capabilities(HidHandle handle, HidCaps& out) override;
    bool setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    int read(HidHandle handle, std::uint8_t* data, std::size_t length) override;
    // Cancels the read under way (CancelIoEx) and fails later reads on the
    // handle. A read that enters ReadFile just after the cancel is caught by
    // repeating the cancel for a while.
    void cancelReads(HidHandle handle) override;
    void registerForNotices() override;

private:
    bool cancelled(HidHandle handle);

    HWND window_ = nullptr;
    std::mutex cancelLock_;
    std::set<HidHandle> cancelled_;
};

// Where the program's mouse comes from: the HID bus of the real mouse in
// korvel.exe, the virtual mouse in korvel-demo.exe. One for the whole run.
class MouseSource {
public:
    virtual ~MouseSource() = default;
    virtual HidBus& bus() = 0;
    // The main window exists (its device-change notices go there); called
    // before the mouse is connected.
    virtual void attach(HWND mainWindow) = 0;
    // The main window's modal run has ended; the process ends next.
    virtual void finish() {}
};

class Win32MouseSource final : public MouseSource {
public:
    HidBus& bus() override { return bus_; }
    void attach(HWND mainWindow) override { bus_.setNoticeWindow(mainWindow); }

private:
    Win32HidBus bus_;
};

// The program's source, made on first use and kept to the end of the process
// (the worker threads use its bus until then). korvel_app.cpp picks the kind.
MouseSource& programMouse();

// The notice of a WM_DEVICECHANGE message (its lParam); device type 0 when
// the message carries none.
DeviceNotice deviceNoticeFrom(LPARAM lParam);

}  // namespace korvel::win
