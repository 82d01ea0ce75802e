#pragma once
// The two macro tables and the macro library files.
//
// A library file is INI text with one section "Macros": "macroNum" holds the
// number of macros and keys "0", "1", ... one macro each as 1064 fields of
// three decimal digits. Fields 0-43 are the record's bytes 0-43 (name, play
// mode, repeat count, event count); then each event k takes four fields: its
// code as a Windows virtual-key code, its action, and the delay after it (low
// byte, high byte).
#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini.h"
#include "common/ports.h"
#include "macro/macro_record.h"

namespace korvel {

inline constexpr int kMacroValueChars = 3 * kMacroRecordBytes;  // 3192
inline constexpr int kMaxConstMacros = kMacroTableSize;         // 13
inline constexpr char16_t kMacroSection[] = u"Macros";
inline constexpr char16_t kMacroCountKey[] = u"macroNum";

struct MacroTables {
    // Records 0-11 are user macros 1-12; record 12 stays the blank template
    // that a new recording copies.
    std::array<MacroRecord, 13> userMacros{};
    std::int16_t userMacroCount = 0;
    // Records 0-7 are played by the constant-macro functions.
    std::array<MacroRecord, 13> constMacros{};
    std::int16_t constMacroCount = 0;
    std::u16string macroLibraryPath;  // the user library of the current edition
};

// The process-wide tables.
MacroTables& macroTables();

// Held by every writer of record contents and counts (load, edit, delete) and
// by the snapshots, so that playback never copies a half-updated record.
std::mutex& macroTablesLock();

// Runs edit(tables) with the lock held: the way to change records or counts
// of the process-wide tables.
template <class Edit>
decltype(auto) editMacroTables(Edit&& edit) {
    std::lock_guard<std::mutex> lock(macroTablesLock());
    return edit(macroTables());
}

// Copies taken under the lock; an index outside 0-12 gives a blank record.
MacroRecord snapshotUserMacro(int index);
MacroRecord snapshotConstMacro(int index);

enum class MacroTable { User, Constant };

// What a load did. currentMacro is the macro the editor selects after a load
// into the user table: the last loaded one, or 0 when none was loaded.
struct MacroLoadResult {
    bool fileFound = false;
    std::int16_t count = 0;
    int currentMacro = 0;
};

// Load and save take macroTablesLock themselves: do not call them with it held.
//
// Loads a library file into the user or the constant table: the count from
// "macroNum" (at most 12 user macros, so the blank template survives, and at
// most 13 constant macros), then records 0 to count - 1; later records keep
// what they held. A missing file shows "找不到配置文件" and loads a count of 0.
MacroLoadResult LoadMacroLibrary(MacroTables& tables, std::u16string_view path, MacroTable target,
                                 MessageBoxPort& messageBox);
MacroLoadResult LoadMacroLibrary(std::u16string_view path, MacroTable target, MessageBoxPort& messageBox);

// Writes "macroNum" and the first userMacroCount user macros in one file
// replace. Keys beyond the count that a longer library left stay in the file.
// Returns false when the file could not be written (the program ignores it).
bool SaveMacroLibrary(const MacroTables& tables, std::u16string_view path);
bool SaveMacroLibrary(std::u16string_view path);

// The pieces, for tools, tests and the fuzzer.
std::u16string encodeMacroValue(const MacroRecord& record);
// Reads fields from the value; missing or short fields give 0, a field's
// leading integer is kept to its low 8 bits.
MacroRecord decodeMacroValue(std::u16string_view value);

// The count a reader takes from "macroNum", bounded to 0..maxCount.
int macroCountOf(const ini::Snapshot& file, int maxCount);

// The records a library holds, at most maxCount of them.
std::vector<MacroRecord> readMacroLibrary(const ini::Snapshot& file, int maxCount);

// The writes of a whole library.
std::vector<ini::Write> macroLibraryWrites(const MacroRecord* records, int count);

}  // namespace korvel
