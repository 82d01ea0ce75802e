#include "macro/key_codes.h"

#include <array>

namespace korvel {
namespace {

struct Pair {
    std::uint8_t usage;
    std::uint8_t virtualKey;
};

// Single pairs; the runs (letters, digits, F-keys, keypad digits) are added
// by buildTables below.
constexpr Pair kSinglePairs[] = {
    {39, 48},   // 0
    {40, 13},   // Enter
    {41, 27},   // Escape
    {42, 8},    // Backspace
    {43, 9},    // Tab
    {44, 32},   // Space
    {45, 189},  // - _
    {46, 187},  // = +
    {47, 219},  // [ {
    {48, 221},  // ] }
    {49, 220},  // \ |
    {50, 192},  // ` ~ (the mouse reports it as usage 50, not 53)
    {51, 186},  // ; :
    {52, 222},  // ' "
    {54, 188},  // , <
    {55, 190},  // . >
    {56, 191},  // / ?
    {57, 20},   // Caps Lock
    {70, 44},   // Print Screen
    {71, 145},  // Scroll Lock
    {72, 19},   // Pause
    {73, 45},   // Insert
    {74, 36},   // Home
    {75, 33},   // Page Up
    {76, 46},   // Delete
    {77, 35},   // End
    {78, 34},   // Page Down
    {79, 39},   // Right
    {80, 37},   // Left
    {81, 40},   // Down
    {82, 38},   // Up
    {83, 144},  // Num Lock
    {84, 111},  // keypad /
    {85, 106},  // keypad *
    {86, 109},  // keypad -
    {87, 107},  // keypad +
    {98, 96},   // keypad 0
    {99, 110},  // keypad .
    {101, 93},  // Application
    {116, 43},  // Execute
    {117, 47},  // Help
    {119, 41},  // Select
    {156, 12},  // Clear
    {159, 108}, // Separator
    {224, 162}, // left Control
    {225, 160}, // left Shift
    {226, 164}, // left Alt
    {227, 91},  // left GUI
    {228, 163}, // right Control
    {229, 161}, // right Shift
    {230, 165}, // right Alt
    {231, 92},  // right GUI
};

struct Tables {
    std::array<std::uint8_t, 256> toVirtualKey{};
    std::array<std::uint8_t, 256> toUsage{};
};

constexpr Tables buildTables() {
    Tables t{};
    for (int i = 0; i < 256; ++i) {
        t.toVirtualKey[i] = static_cast<std::uint8_t>(i);
        t.toUsage[i] = static_cast<std::uint8_t>(i);
    }
    auto add = [&t](int usage, int virtualKey) {
        t.toVirtualKey[usage] = static_cast<std::uint8_t>(virtualKey);
        t.toUsage[virtualKey] = static_cast<std::uint8_t>(usage);
    };
    for (int u = 4; u <= 29; ++u) add(u, u + 61);     // A-Z
    for (int u = 30; u <= 38; ++u) add(u, u + 19);    // 1-9
    for (int u = 58; u <= 69; ++u) add(u, u + 54);    // F1-F12
    for (int u = 89; u <= 97; ++u) add(u, u + 8);     // keypad 1-9
    for (int u = 104; u <= 115; ++u) add(u, u + 20);  // F13-F24
    for (const Pair& p : kSinglePairs) add(p.usage, p.virtualKey);
    return t;
}

constexpr Tables kTables = buildTables();

constexpr std::size_t kPairCount = 26 + 9 + 12 + 9 + 12 + std::size(kSinglePairs);
static_assert(kPairCount == 120);

std::u16string decimal(long long n) {
    std::u16string digits;
    const bool negative = n < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v != 0);
    if (negative) digits.insert(digits.begin(), u'-');
    return digits;
}

std::u16string asciiText(const char* s) {
    std::u16string out;
    for (; *s; ++s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
    return out;
}

const char* fixedName(int code) {
    switch (code) {
    case 40: return "RETURN";
    case 41: return "ESCAPE";
    case 42: return "BACK";
    case 43: return "TAB";
    case 44: return "SPACE";
    case 45: return "-";
    case 46: return "+";
    case 47: return "[{";
    case 48: return "]}";
    case 49: return "\\|";
    case 50: return "`~";
    case 51: return ";:";
    case 52: return " ' ";
    case 54: return ",";
    case 55: return ".";
    case 56: return "/?";
    case 57: return "CAPITAL";
    case 70: return "SNAPSHOT";
    case 71: return "SCROLL";
    case 72: return "PAUSE";
    case 73: return "INSERT";
    case 74: return "HOME";
    case 75: return "PRIOR";
    case 76: return "DELETE";
    case 77: return "END";
    case 78: return "NEXT";
    case 79: return "RIGHT";
    case 80: return "LEFT";
    case 81: return "DOWN";
    case 82: return "UP";
    case 83: return "NUMLOCK";
    case 84: return "DIVIDE";
    case 85: return "MULTIPLY";
    case 86: return "SUBTRACT";
    case 87: return "ADD";
    case 98: return "NUMPAD0";
    case 99: return "DECIMAL";
    case 101: return "APPS";
    case 116: return "EXECUTE";
    case 117: return "HELP";
    case 118: return "MENU";
    case 119: return "SELECT";
    case 156: return "CLEAR";
    case 159: return "SEPARATOR";
    case 224: return "LCONTROL";
    case 225: return "LSHIFT";
    case 226: return "LMENU";
    case 227: return "LWIN";
    case 228: return "RCONTROL";
    case 229: return "RSHIFT";
    case 230: return "RMENU";
    case 231: return "RWIN";
    case 240: return "L-KEY";
    case 241: return "R-KEY";
    case 242: return "M-KEY";
    default: return nullptr;
    }
}

}  // namespace

std::uint8_t usageToVirtualKey(std::uint8_t usage) { return kTables.toVirtualKey[usage]; }

std::uint8_t virtualKeyToUsage(std::uint8_t virtualKey) { return kTables.toUsage[virtualKey]; }

std::u16string keyName(KeyCode code) {
    if (code >= 4 && code <= 29) return std::u16string(1, static_cast<char16_t>(code + 61));
    if (code >= 30 && code <= 38) return std::u16string(1, static_cast<char16_t>(u'1' + (code - 30)));
    if (code == 39) return u"0";
    if (code >= 58 && code <= 69) return u"F" + decimal(code - 57);
    if (code >= 89 && code <= 97) return u"NUMPAD" + decimal(code - 88);
    if (code >= 104 && code <= 115) return u"F" + decimal(code - 91);
    if (const char* name = fixedName(code)) return asciiText(name);
    return u"NON-AVAILABLE";
}

std::u16string eventLineText(KeyCode code, std::uint8_t action) {
    std::u16string prefix;
    if (action == ACTION_DOWN) prefix = u"[\u2193]";
    else if (action == ACTION_UP) prefix = u"[\u2191]";
    return prefix + keyName(code);
}

std::u16string delayLineText(std::uint16_t delayMs) { return u"    " + decimal(delayMs) + u"ms"; }

std::u16string threeDigitText(std::u16string_view prefix, int n) {
    std::u16string out(prefix);
    if (n < 10) out += u"00";
    else if (n < 100) out += u"0";
    out += decimal(n);
    return out;
}

MacroLines macroLines(const MacroRecord& record) {
    MacroLines result;
    const int n = record.eventCount;
    if (n == 0) return result;
    result.lines.reserve(static_cast<std::size_t>(2 * n - 1));
    for (int i = 0; i < n; ++i) {
        if (i > 0) result.lines.push_back(delayLineText(record.delay(i - 1)));
        const MacroEvent& e = record.events[static_cast<std::size_t>(i)];
        result.lines.push_back(eventLineText(e.code, e.action));
        if (e.action == ACTION_DOWN) ++result.downCount;
        else if (e.action == ACTION_UP) ++result.upCount;
    }
    return result;
}

}  // namespace korvel
