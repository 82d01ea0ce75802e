#pragma once
// Text and path helpers. Every text of the program is UTF-16 (std::u16string);
// file paths are built the Windows way ("folder" + "\\name") and only turned
// into a native path at the file-system edge.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvel {

// UTF-8 <-> UTF-16. Invalid UTF-8 bytes are kept losslessly as U+DC80..U+DCFF
// (so a file in another code page survives a read-modify-write unchanged), and
// lone surrogates are written back as those same bytes.
std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view text);

// ASCII-only case folding, as used for INI section and key names.
char16_t asciiLower(char16_t c);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);

// Blanks that surround INI names and values: space, tab, CR, LF, VT, FF.
bool isBlank(char16_t c);
std::u16string_view trimBlanks(std::u16string_view s);

// "%d" of a 32-bit value.
std::u16string decimalText(std::int64_t value);

// A program path ("C:\\x\\config.ini", or "/tmp/x\\config.ini" on Linux) as a
// native path. On non-Windows systems backslashes become slashes.
std::filesystem::path toPath(std::u16string_view programPath);
std::u16string fromPath(const std::filesystem::path& path);

// The folder of a file path: everything before its last backslash (or slash
// on non-Windows systems); empty when there is none.
std::u16string folderOf(std::u16string_view filePath);

}  // namespace korvel
