#pragma once
// The core's UTF-16 texts at the Win32 edge, where wchar_t is UTF-16 too.
#include <string>
#include <string_view>

namespace korvel::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string fromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace korvel::win
