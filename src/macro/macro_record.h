#pragma once
// A macro: a name, play mode, repeat count and up to 255 key or mouse-button
// events with a delay after each. The byte layout is the macro file format.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr std::uint8_t ACTION_DOWN = 1;
inline constexpr std::uint8_t ACTION_UP = 2;
inline constexpr std::uint8_t KEY_MOUSE_LEFT = 240;
inline constexpr std::uint8_t KEY_MOUSE_RIGHT = 241;
inline constexpr std::uint8_t KEY_MOUSE_MIDDLE = 242;

inline constexpr int kMacroEventSlots = 255;
inline constexpr int kMacroNameBytes = 40;
inline constexpr int kMacroNameMaxChars = 19;
inline constexpr int kMacroRecordBytes = 1064;
inline constexpr int kMacroTableSize = 13;
inline constexpr int kMaxUserMacros = 12;

#pragma pack(push, 1)
struct MacroEvent {
    std::uint8_t code = 0;    // KeyCode: HID keyboard usage or 240-242
    std::uint8_t action = 0;  // ACTION_DOWN or ACTION_UP
    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

struct MacroRecord {
    std::array<std::uint8_t, kMacroNameBytes> name{};  // UTF-16LE, zero-ended, zero-filled
    std::uint8_t playMode = 0;                          // 0: once; else repeatCount times
    std::uint8_t repeatCountLow = 0;                    // unaligned 16-bit little-endian
    std::uint8_t repeatCountHigh = 0;
    std::uint8_t eventCount = 0;                        // 0-254
    std::array<MacroEvent, kMacroEventSlots> events{};
    std::array<std::uint8_t, 2 * kMacroEventSlots> delayBytes{};  // 16-bit little-endian each

    std::uint16_t repeatCount() const { return static_cast<std::uint16_t>(repeatCountLow | (repeatCountHigh << 8)); }
    void setRepeatCount(std::uint16_t n) {
        repeatCountLow = static_cast<std::uint8_t>(n & 0xFF);
        repeatCountHigh = static_cast<std::uint8_t>(n >> 8);
    }
    std::uint16_t delay(int k) const {
        return static_cast<std::uint16_t>(delayBytes[2 * k] | (delayBytes[2 * k + 1] << 8));
    }
    void setDelay(int k, std::uint16_t ms) {
        delayBytes[2 * k] = static_cast<std::uint8_t>(ms & 0xFF);
        delayBytes[2 * k + 1] = static_cast<std::uint8_t>(ms >> 8);
    }
    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};
#pragma pack(pop)

// The name held in the 40-byte field: up to the first zero character, and never
// more than the field's 20 characters (a damaged file may leave no zero).
std::u16string macroName(const MacroRecord& record);

// Stores a name, cut at kMacroNameMaxChars characters (never splitting a
// surrogate pair) so the terminating zero always fits; the rest of the field
// is zero-filled. A zero character inside the text ends it.
void setMacroName(MacroRecord& record, std::u16string_view text);

static_assert(sizeof(MacroEvent) == 2);
static_assert(sizeof(MacroRecord) == kMacroRecordBytes);
static_assert(offsetof(MacroRecord, playMode) == 40);
static_assert(offsetof(MacroRecord, eventCount) == 43);
static_assert(offsetof(MacroRecord, events) == 44);
static_assert(offsetof(MacroRecord, delayBytes) == 554);

}  // namespace korvel
