#pragma once
// Key codes of macro events and the texts of the event list.
//
// A KeyCode is a HID keyboard usage (page 0x07) or one of the mouse-button
// pseudo-codes 240-242. Windows virtual-key codes appear only at the edges:
// the recorder receives them and the library files store them. Everything
// here is a pure function, callable from any thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_record.h"

namespace korvel {

using KeyCode = std::uint8_t;

// The 120 usage <-> virtual-key pairs; any other value passes unchanged.
std::uint8_t usageToVirtualKey(std::uint8_t usage);
std::uint8_t virtualKeyToUsage(std::uint8_t virtualKey);

// Display name of a code; "NON-AVAILABLE" for codes without one.
std::u16string keyName(KeyCode code);

// "[↓]" or "[↑]" before the key name for a press or release; other actions
// show the name alone.
std::u16string eventLineText(KeyCode code, std::uint8_t action);

// Four blanks, the delay in decimal, then "ms".
std::u16string delayLineText(std::uint16_t delayMs);

// The prefix followed by n with leading zeros to three digits ("007", "045",
// "255"); values of 100 and more are written as they are.
std::u16string threeDigitText(std::u16string_view prefix, int n);

// The event list of one macro: 2n - 1 lines for n events (event i on line 2i,
// the delay after event i on line 2i + 1; the delay after the last event is
// not shown), with the number of press and release lines among them.
struct MacroLines {
    std::vector<std::u16string> lines;
    int downCount = 0;
    int upCount = 0;
};
MacroLines macroLines(const MacroRecord& record);

// Which event a line of the list shows, and whether it is a delay line.
constexpr int eventOfLine(int line) { return line / 2; }
constexpr bool isDelayLine(int line) { return line % 2 != 0; }

}  // namespace korvel
