#include "profile/profile.h"

#include <algorithm>

namespace korvel {

int dpiForDeviceCode(int deviceCode) {
    for (int i = 0; i < kDpiValueCount; ++i)
        if (dpiCodeTable[i] == deviceCode) return dpiValueTable[i];
    return 200;
}

std::uint8_t deviceFunctionCode(int code) {
    if (code >= 1 && code <= 6) return static_cast<std::uint8_t>(code);
    switch (code) {
        case 11: return 7;
        case 12: return 8;
        case 13: return 9;
        case 14: return 10;
        case 15: return 11;
        case 16: return 12;
        case 17: return 13;
        default: return 0;
    }
}

void Profile::setFactoryValues() {
    constexpr std::array<std::int32_t, kButtonCount> buttons{1, 2, 3, 5, 4, 16, 15, 13, 0};
    constexpr std::array<std::uint8_t, kDpiLevelCount> dpi{4, 6, 8, 10};
    for (int i = 0; i < kButtonCount; ++i) buttonFunction[i] = buttons[i];
    dpiLevel = 0;
    wheelStatus = 0;
    for (int i = 0; i < kDpiLevelCount; ++i) {
        dpiSet[i] = dpi[i];
        dpiSetEn[i] = 1;
    }
    ledStatus = 0;
    dpiSpeed = 4;
    wheelSpeed = 2;
    fireTime = 50;
    usbSpeed = 2;
}

void Profile::assignButtonFunction(int button, int code) {
    if (button < 0 || button >= kButtonCount) return;
    buttonFunction[button] = code;
    for (int i = kButtonCount - 1; i >= 0; --i)
        if (buttonFunction[i] == kFnLeft) return;
    buttonFunction[button == kButtonCount - 1 ? button : button + 1] = kFnLeft;
}

void Profile::toggleDpiEnabled(int level) {
    if (level < 0 || level >= kDpiLevelCount) return;
    if (dpiSetEn[level] == 0) {
        dpiSetEn[level] = 1;
        return;
    }
    dpiSetEn[level] = 0;
    if (dpiLevel != level) return;
    for (int step = 1; step <= kDpiLevelCount; ++step) {
        const int candidate = (level + step) % kDpiLevelCount;
        dpiLevel = candidate;
        if (dpiSetEn[candidate] == 1) return;
    }
    // It was the only level in use: it stays in use and current.
    dpiLevel = level;
    dpiSetEn[level] = 1;
}

void Profile::selectDpiLevel(int level) {
    if (level < 0 || level >= kDpiLevelCount) return;
    if (dpiSetEn[level] == 1) dpiLevel = level;
}

void Profile::setDpiValue(int level, int index) {
    if (level < 0 || level >= kDpiLevelCount || index < 0 || index >= kDpiValueCount) return;
    dpiSet[level] = static_cast<std::uint8_t>(index);
}

void Profile::setWheelStatus(int status) {
    if (status == 0 || status == 1) wheelStatus = status;
}

void Profile::setLedStatus(int status) {
    if (status >= 0 && status <= 3) ledStatus = static_cast<std::uint8_t>(status);
}

void Profile::setDpiSpeed(int step) {
    if (step >= 0 && step <= 9) dpiSpeed = static_cast<std::uint8_t>(step);
}

void Profile::setWheelSpeed(int step) {
    if (step >= 0 && step <= 9) wheelSpeed = static_cast<std::uint8_t>(step);
}

void Profile::setFireTime(int ms) { fireTime = std::clamp(ms, 0, kMaxFireTime); }

void Profile::increaseFireTime() {
    if (fireTime < kMaxFireTime) fireTime = fireTime + 1;
}

void Profile::decreaseFireTime() {
    if (fireTime > 0) fireTime = fireTime - 1;
}

void Profile::toggleMacroMode2() { macroMode2 = macroMode2 == 0 ? 1 : 0; }

void Profile::onDpiReported(int level) {
    // The mouse's own report; a level it cannot have changes nothing.
    if (level >= 0 && level < kDpiLevelCount) dpiLevel = level;
}

void Profile::onRateCycle() { usbSpeed = usbSpeed == 3 ? 0 : usbSpeed + 1; }

void Profile::deriveButtonFlags() {
    for (int i = 0; i < kButtonCount; ++i) {
        const int code = buttonFunction[i];
        dpiReportButton[i] = (code == 6 || code == 15 || code == 16) ? 1 : 0;
        rateCycleButton[i] = code == kFnRateCycle ? 1 : 0;
    }
}

int Profile::leftButtonCount() const {
    int n = 0;
    for (const auto& f : buttonFunction) n += f == kFnLeft;
    return n;
}

// Values from a hand-edited file are bounded on load, so that painting,
// encoding and the menus never index past a table:
//  - a function code outside 0-52 becomes 0 (no function);
//  - dpiSet, ledStatus, dpiSpeed, wheelSpeed, usbSpeed, fireTime and
//    wheelStatus are clamped into their ranges (dpiSet to 11, ledStatus to 3,
//    both speeds to 9, usbSpeed to 3, fireTime to 0-300, wheelStatus to 0-1);
//  - a dpiLevel outside 0-3 becomes the first level in use, or 0.
// What a missing file gives (all zeros, no level in use, no left button) is
// left as it is: it is the documented start without a configuration.
void Profile::boundLoadedValues() {
    for (auto& f : buttonFunction)
        if (f < 0 || f >= kFunctionCodeCount) f = kFnNone;
    for (auto& s : dpiSet)
        if (s >= kDpiValueCount) s = kDpiValueCount - 1;
    if (ledStatus > 3) ledStatus = 3;
    if (dpiSpeed > 9) dpiSpeed = 9;
    if (wheelSpeed > 9) wheelSpeed = 9;
    if (usbSpeed > 3) usbSpeed = 3;
    fireTime = std::clamp<std::int32_t>(fireTime, 0, kMaxFireTime);
    wheelStatus = std::clamp<std::int32_t>(wheelStatus, 0, 1);
    if (dpiLevel < 0 || dpiLevel >= kDpiLevelCount) {
        dpiLevel = 0;
        for (int i = 0; i < kDpiLevelCount; ++i)
            if (dpiSetEn[i] == 1) {
                dpiLevel = i;
                break;
            }
    }
}

int fireTimeForClick(int x, int left, int width) {
    if (width <= 0) return 0;
    return std::clamp((x - left) * kMaxFireTime / width, 0, kMaxFireTime - 1);
}

}  // namespace korvel
