#include "app/lifecycle.h"

#include "app/app_state.h"
#include "profile/config_store.h"

namespace korvel {

void applyCurrentProfile() {
    // ApplyProfile joins here with the device link; until then there is no
    // mouse to send to.
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
    // The exit command 0x20 to an open mouse joins here with the device link.
    int speed = 0;
    if (host.getPointerSpeed(speed)) host.setPointerSpeed(kDefaultPointerSpeed);
    host.destroyWindow();
}

}  // namespace korvel
