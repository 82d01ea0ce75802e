#pragma once
#include <cstdint>
#include <string_view>

namespace korvel {

// The leading decimal integer of a text, as the C runtime's wide atoi reads
// it: leading blanks skipped, an optional sign, then digits up to the first
// other character; no digits gives 0. Values beyond 32 bits saturate instead
// of wrapping, so a hand-edited file cannot produce a surprising sign.
std::int32_t leadingInt(std::u16string_view text);

}  // namespace korvel
