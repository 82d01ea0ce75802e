#pragma once
// Whole-file reads and crash-safe whole-file replacement.
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The bytes of a file; nullopt when it does not exist or cannot be read.
std::optional<std::string> readWholeFile(std::u16string_view path);
bool fileExists(std::u16string_view path);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk,
// then renames it over `path`, so readers see either the old or the new file,
// never a part of one. Returns false (and leaves `path` as it was) on failure.
bool replaceFileAtomically(std::u16string_view path, std::string_view bytes);

}  // namespace korvel
