#include "macro/macro_library.h"

#include <algorithm>

#include "common/number.h"
#include "macro/key_codes.h"

namespace korvel {
namespace {

constexpr char16_t kMissingFileText[] = u"找不到配置文件";

// The count field is read through a 3-character buffer, so only its first two
// characters count ("123" reads as 12).
constexpr std::size_t kCountCapacity = 3;
// One more than the value's length, so a full value is read whole.
constexpr std::size_t kValueCapacity = kMacroValueChars + 1;

constexpr int kHeaderBytes = 44;  // name, play mode, repeat count, event count

MacroRecord blankRecord() { return MacroRecord{}; }

MacroRecord snapshotOf(const std::array<MacroRecord, 13>& table, int index) {
    if (index < 0 || index >= kMacroTableSize) return blankRecord();
    std::lock_guard<std::mutex> lock(macroTablesLock());
    return table[static_cast<std::size_t>(index)];
}

// Key names and counts are never negative.
std::u16string decimalKey(int i) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + i % 10));
        i /= 10;
    } while (i != 0);
    return digits;
}

// threeDigitText of one byte, appended in place: a value has 1064 of them.
void appendField(std::u16string& value, std::uint8_t byte) {
    value.push_back(static_cast<char16_t>(u'0' + byte / 100));
    value.push_back(static_cast<char16_t>(u'0' + byte / 10 % 10));
    value.push_back(static_cast<char16_t>(u'0' + byte % 10));
}

}  // namespace

MacroTables& macroTables() {
    static MacroTables tables;
    return tables;
}

std::mutex& macroTablesLock() {
    static std::mutex lock;
    return lock;
}

MacroRecord snapshotUserMacro(int index) { return snapshotOf(macroTables().userMacros, index); }
MacroRecord snapshotConstMacro(int index) { return snapshotOf(macroTables().constMacros, index); }

std::u16string encodeMacroValue(const MacroRecord& record) {
    std::u16string value;
    value.reserve(kMacroValueChars);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    for (int e = 0; e < kHeaderBytes; ++e) appendField(value, bytes[e]);
    for (int k = 0; k < kMacroEventSlots; ++k) {
        const MacroEvent& event = record.events[static_cast<std::size_t>(k)];
        appendField(value, usageToVirtualKey(event.code));
        appendField(value, event.action);
        appendField(value, record.delayBytes[static_cast<std::size_t>(2 * k)]);
        appendField(value, record.delayBytes[static_cast<std::size_t>(2 * k + 1)]);
    }
    return value;
}

MacroRecord decodeMacroValue(std::u16string_view value) {
    auto field = [value](int e) -> std::uint8_t {
        const std::size_t start = static_cast<std::size_t>(3 * e);
        if (start >= value.size()) return 0;
        return static_cast<std::uint8_t>(leadingInt(value.substr(start, 3)) & 0xFF);
    };
    MacroRecord record;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
    for (int e = 0; e < kHeaderBytes; ++e) bytes[e] = field(e);
    for (int k = 0; k < kMacroEventSlots; ++k) {
        const int e = kHeaderBytes + 4 * k;
        MacroEvent& event = record.events[static_cast<std::size_t>(k)];
        event.code = virtualKeyToUsage(field(e));
        event.action = field(e + 1);
        record.delayBytes[static_cast<std::size_t>(2 * k)] = field(e + 2);
        record.delayBytes[static_cast<std::size_t>(2 * k + 1)] = field(e + 3);
    }
    return record;
}

int macroCountOf(const ini::Snapshot& file, int maxCount) {
    const int count = leadingInt(file.get(kMacroSection, kMacroCountKey, kCountCapacity));
    return std::clamp(count, 0, maxCount);
}

std::vector<MacroRecord> readMacroLibrary(const ini::Snapshot& file, int maxCount) {
    const int count = macroCountOf(file, maxCount);
    std::vector<MacroRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        records.push_back(decodeMacroValue(file.get(kMacroSection, decimalKey(i), kValueCapacity)));
    return records;
}

std::vector<ini::Write> macroLibraryWrites(const MacroRecord* records, int count) {
    count = std::max(count, 0);
    std::vector<ini::Write> writes;
    writes.reserve(static_cast<std::size_t>(count) + 1);
    writes.push_back({kMacroSection, kMacroCountKey, decimalKey(count)});
    for (int i = 0; i < count; ++i) writes.push_back({kMacroSection, decimalKey(i), encodeMacroValue(records[i])});
    return writes;
}

MacroLoadResult LoadMacroLibrary(MacroTables& tables, std::u16string_view path, MacroTable target,
                                 MessageBoxPort& messageBox) {
    const ini::Snapshot file = ini::Snapshot::load(path);
    MacroLoadResult result;
    result.fileFound = file.exists();
    if (!result.fileFound) messageBox.show(kMissingFileText, u"");

    const bool user = target == MacroTable::User;
    // Record 12 of the user table is the blank template, so a user library
    // fills at most 12 records.
    const std::vector<MacroRecord> records = readMacroLibrary(file, user ? kMaxUserMacros : kMaxConstMacros);
    result.count = static_cast<std::int16_t>(records.size());
    result.currentMacro = result.count > 0 ? result.count - 1 : 0;
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        auto& table = user ? tables.userMacros : tables.constMacros;
        std::copy(records.begin(), records.end(), table.begin());
        (user ? tables.userMacroCount : tables.constMacroCount) = result.count;
    }
    return result;
}

MacroLoadResult LoadMacroLibrary(std::u16string_view path, MacroTable target, MessageBoxPort& messageBox) {
    return LoadMacroLibrary(macroTables(), path, target, messageBox);
}

bool SaveMacroLibrary(const MacroTables& tables, std::u16string_view path) {
    std::vector<MacroRecord> records;
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        const int count = std::clamp<int>(tables.userMacroCount, 0, kMaxUserMacros);
        records.assign(tables.userMacros.begin(), tables.userMacros.begin() + count);
    }
    return ini::writeStrings(path, macroLibraryWrites(records.data(), static_cast<int>(records.size())));
}

bool SaveMacroLibrary(std::u16string_view path) { return SaveMacroLibrary(macroTables(), path); }

}  // namespace korvel
