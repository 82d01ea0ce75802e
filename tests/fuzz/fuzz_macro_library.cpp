// Fuzz target: the macro library reader. The input is the text of a library
// file; the reader must stay inside its tables whatever the file holds, and
// what it reads must write back to a well-formed value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/ini.h"
#include "common/text.h"
#include "macro/key_codes.h"
#include "macro/macro_library.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void exercise(const korvel::MacroRecord& record) {
    (void)korvel::macroLines(record);
    check(korvel::macroName(record).size() <= 20);
    // Once written, a record reads back to the same value.
    const std::u16string value = korvel::encodeMacroValue(record);
    check(value.size() == static_cast<std::size_t>(korvel::kMacroValueChars));
    check(korvel::encodeMacroValue(korvel::decodeMacroValue(value)) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = korvel::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

    const korvel::ini::Snapshot file = korvel::ini::Snapshot::fromText(text);
    // The user table's bound is a prefix of the constant table's.
    const int userCount = korvel::macroCountOf(file, korvel::kMaxUserMacros);
    check(userCount >= 0 && userCount <= korvel::kMaxUserMacros);
    const auto records = korvel::readMacroLibrary(file, korvel::kMaxConstMacros);
    check(records.size() <= static_cast<std::size_t>(korvel::kMaxConstMacros));
    check(userCount == std::min<int>(static_cast<int>(records.size()), korvel::kMaxUserMacros));
    for (const auto& r : records) exercise(r);

    // The same bytes as one value, to reach every field of the decoder.
    exercise(korvel::decodeMacroValue(text));
    return 0;
}
