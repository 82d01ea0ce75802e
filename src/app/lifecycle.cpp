#include "app/lifecycle.h"

#include <atomic>

#include "app/app_state.h"
#include "device/device_link.h"
#include "profile/config_store.h"

namespace korvel {

namespace {
std::atomic<DeviceLink*> theLink{nullptr};
}  // namespace

void setDeviceLink(DeviceLink* link) { theLink.store(link, std::memory_order_release); }
DeviceLink* deviceLink() { return theLink.load(std::memory_order_acquire); }

void applyCurrentProfile() {
    if (DeviceLink* link = deviceLink()) link->ApplyProfile();
}

void onPowerBroadcast() { applyCurrentProfile(); }

void hideToTray(MainWindowHost& host) {
    host.minimize();
    host.hide();
    host.addTrayIcon();
}

void hideToTrayReverting(MainWindowHost& host) {
    AppState& state = appState();
    Profile& profile = currentProfile();
    // Marking no control as pressed joins here with the click handling.
    saveDpiLevel(profile, state.configPath, kAppliedProfile);
    loadProfile(profile, state.configPath, kAppliedProfile, false, state.verSel);
    host.minimize();
    host.hide();
    host.addTrayIcon();
    host.repaint();
}

void runExitRoutine(MainWindowHost& host) {
    host.removeTrayIcon();
    // A command interface that failed to open takes nothing; one never opened
    // (no mouse at start) sends nothing anyway.
    if (DeviceLink* link = deviceLink(); link && link->writeHandle() != kInvalidHidHandle) link->sendExitCommand();
    int speed = 0;
    if (host.getPointerSpeed(speed)) host.setPointerSpeed(kDefaultPointerSpeed);
    host.destroyWindow();
}

}  // namespace korvel
