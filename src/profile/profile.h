#pragma once
// The current profile: what each button does, the four DPI levels, wheel and
// lighting modes, pointer and wheel speeds, fire time and report-rate step,
// with the editing operations that keep a left button and an in-use DPI level.
#include <array>
#include <cstdint>

#include "common/relaxed.h"

namespace korvel {

inline constexpr int kButtonCount = 9;
inline constexpr int kDpiLevelCount = 4;
inline constexpr int kDpiValueCount = 12;
inline constexpr int kFunctionCodeCount = 53;  // codes 0-52 have a meaning
inline constexpr int kMaxFireTime = 300;

// Function codes with a meaning of their own.
enum FunctionCode : std::int32_t {
    kFnNone = 0,
    kFnLeft = 1,
    kFnDpiReport = 6,       // also 15 and 16
    kFnRateCycle = 14,
    kFnMediaFirst = 21,     // 21-30
    kFnConstMacroFirst = 31,  // 31-38
    kFnCalculator = 39,
    kFnCommandPrompt = 40,
    kFnUserMacroFirst = 41,   // 41-52
    kFnUserMacroLast = 52,
};

// Hardware code of button i, used in device commands and button events.
inline constexpr std::array<std::uint8_t, kButtonCount> hardwareButtonCode{1, 2, 3, 5, 4, 6, 8, 7, 9};

// DPI value index -> device code, and -> DPI shown to the user.
inline constexpr std::array<std::uint8_t, kDpiValueCount> dpiCodeTable{1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14, 15};
inline constexpr std::array<int, kDpiValueCount> dpiValueTable{200, 400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3200, 4000, 4800};

// Pointer-speed step -> Windows pointer speed (1-20 scale).
inline constexpr std::array<int, 10> pointerSpeedTable{1, 2, 4, 6, 8, 10, 12, 14, 16, 18};

// Lighting mode -> device value.
inline constexpr std::array<std::uint8_t, 4> ledDeviceValue{0x10, 0x13, 0x16, 0x17};

// The DPI a device code stands for; 200 for a code not in the table.
int dpiForDeviceCode(int deviceCode);

// The device function sent for a button function code (0 for codes that the
// program carries out itself or that have no function).
std::uint8_t deviceFunctionCode(int functionCode);

struct Profile {
    // Persisted fields.
    std::array<Relaxed<std::int32_t>, kButtonCount> buttonFunction{};
    Relaxed<std::int32_t> dpiLevel;
    Relaxed<std::int32_t> wheelStatus;
    Relaxed<std::int32_t> macroMode2;
    std::array<Relaxed<std::uint8_t>, kDpiLevelCount> dpiSet{};
    std::array<Relaxed<std::uint8_t>, kDpiLevelCount> dpiSetEn{};
    Relaxed<std::uint8_t> ledStatus;
    Relaxed<std::uint8_t> dpiSpeed;
    Relaxed<std::uint8_t> wheelSpeed;
    Relaxed<std::int32_t> fireTime;
    Relaxed<std::uint8_t> usbSpeed;

    // Derived by applying; never written to a file.
    std::array<Relaxed<std::uint8_t>, kDpiLevelCount> dpiCode{};
    Relaxed<std::uint8_t> ledStatusApplied;
    std::array<Relaxed<std::int32_t>, kButtonCount> dpiReportButton{};
    std::array<Relaxed<std::int32_t>, kButtonCount> rateCycleButton{};

    // Editing operations; each keeps the invariants, none saves or applies.
    void setFactoryValues();
    void assignButtonFunction(int button, int code);
    void toggleDpiEnabled(int level);
    void selectDpiLevel(int level);
    void setDpiValue(int level, int index);
    void setWheelStatus(int status);
    void setLedStatus(int status);
    void setDpiSpeed(int step);
    void setWheelSpeed(int step);
    void setFireTime(int ms);
    void increaseFireTime();
    void decreaseFireTime();
    void toggleMacroMode2();
    void onDpiReported(int level);
    void onRateCycle();
    void deriveButtonFlags();

    // Count of buttons with the left-button function.
    int leftButtonCount() const;

    // Bounds values read from a file so that no later step indexes past a
    // table (see the rule in profile.cpp).
    void boundLoadedValues();
};

// The fire time for a click at x in a slider at left edge `left`, `width` wide:
// 0-299, only the increase control reaches 300.
int fireTimeForClick(int x, int left, int width);

}  // namespace korvel
