#pragma once
// Our own private-profile (INI) engine, used on every platform in place of
// GetPrivateProfileStringW / WritePrivateProfileStringW.
//
// Reading follows what Windows does: section and key names match without
// regard to ASCII case and with surrounding blanks ignored; the first matching
// section and, inside it, the first matching key win; a value has the blanks
// around it removed and one pair of matching quotes ('..' or "..") stripped;
// a read returns at most capacity - 1 characters; a missing file, section or
// key reads as empty. Lines starting with ';' are comments.
//
// Files may have CRLF or LF line ends, a UTF-8 or UTF-16 byte-order mark, or
// no mark at all (then UTF-8, with any other bytes kept as they are).
//
// Writing creates the file, appends a missing section at the end of the file
// and a missing key at the end of its section, and replaces an existing value
// in place; every other line is kept byte for byte. Each write is one
// read-modify-write under a process-wide lock, and the new content replaces the
// old file atomically (temporary file beside it, flushed, then renamed), so a
// crash never leaves a half-written file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::ini {

// The whole content of one file, parsed once; for reading many values.
class Snapshot {
public:
    static Snapshot load(std::u16string_view path);
    static Snapshot fromText(std::u16string_view content);

    bool exists() const { return exists_; }
    // The value, cut to capacity - 1 characters; capacity 0 gives "".
    std::u16string get(std::u16string_view section, std::u16string_view key, std::size_t capacity) const;
    bool has(std::u16string_view section, std::u16string_view key) const;

private:
    struct Entry {
        std::u16string section;
        std::u16string key;
        std::u16string value;
    };
    const Entry* find(std::u16string_view section, std::u16string_view key) const;
    std::vector<Entry> entries_;  // in file order
    bool exists_ = false;
};

// One value, as GetPrivateProfileStringW with an empty default.
std::u16string readString(std::u16string_view path, std::u16string_view section,
                          std::u16string_view key, std::size_t capacity);

struct Write {
    std::u16string section;
    std::u16string key;
    std::u16string value;
};

// One value, as WritePrivateProfileStringW. Returns false when the file could
// not be replaced or a name or value would break the file's structure (line
// breaks in any of them, '=' in a key, ']' in a section name); the file is
// then unchanged. Callers of the program ignore the result as Windows callers
// do; tests use it.
bool writeString(std::u16string_view path, std::u16string_view section,
                 std::u16string_view key, std::u16string_view value);

// Several values applied in order in one read-modify-write and one replace.
bool writeStrings(std::u16string_view path, const std::vector<Write>& writes);

// The same edit on text in memory (for tests and tools): returns the new
// content, or the old one unchanged if a write is refused.
std::u16string applyWrites(std::u16string_view content, const std::vector<Write>& writes, bool* ok = nullptr);

}  // namespace korvel::ini
