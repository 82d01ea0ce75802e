// korvelctl macro list / macro show: inspect a macro library file.
#include <ostream>
#include <string>

#include "command.h"
#include "common/ini.h"
#include "common/text.h"
#include "macro/key_codes.h"
#include "macro/macro_library.h"

namespace korvelctl {
namespace {

using korvel::MacroRecord;

// A library as the program's tables would hold it: at most 13 macros.
bool readLibrary(CommandContext& context, const std::string& file, std::vector<MacroRecord>& records) {
    const korvel::ini::Snapshot snapshot = korvel::ini::Snapshot::load(pathArgument(file));
    if (!snapshot.exists()) {
        fail(context, "cannot read macro library '" + file + "'");
        return false;
    }
    records = korvel::readMacroLibrary(snapshot, korvel::kMacroTableSize);
    return true;
}

// A name from a file may hold anything: keep each line one macro.
std::string displayName(const MacroRecord& record) {
    std::u16string name = korvel::macroName(record);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
            ++i;  // a whole pair
        } else if (high || low) {
            name[i] = u'\uFFFD';
        } else if (c < 0x20 || c == 0x7F) {
            name[i] = u'?';
        }
    }
    return korvel::toUtf8(name);
}

bool parseIndex(const std::string& text, int& index) {
    if (text.empty() || text.size() > 6) return false;
    index = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        index = index * 10 + (c - '0');
    }
    return true;
}

int runList(CommandContext& context) {
    if (context.args.size() != 1) return usageError(context, "macro list");
    std::vector<MacroRecord> records;
    if (!readLibrary(context, context.args[0], records)) return kExitFailure;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const MacroRecord& r = records[i];
        context.out << i << '\t' << displayName(r) << '\t' << int(r.playMode) << '\t' << r.repeatCount() << '\t'
                    << int(r.eventCount) << '\n';
    }
    return kExitOk;
}

int runShow(CommandContext& context) {
    if (context.args.size() != 2) return usageError(context, "macro show");
    int index = 0;
    if (!parseIndex(context.args[1], index)) return fail(context, "invalid macro index '" + context.args[1] + "'");
    std::vector<MacroRecord> records;
    if (!readLibrary(context, context.args[0], records)) return kExitFailure;
    if (index >= static_cast<int>(records.size()))
        return fail(context, "macro index " + std::to_string(index) + " out of range (the library holds " +
                                 std::to_string(records.size()) + " macros)");
    const MacroRecord& r = records[static_cast<std::size_t>(index)];
    for (const std::u16string& line : korvel::macroLines(r).lines) context.out << korvel::toUtf8(line) << '\n';
    if (r.eventCount > 0) context.out << korvel::toUtf8(korvel::delayLineText(r.delay(r.eventCount - 1))) << '\n';
    return kExitOk;
}

const CommandRegistrar listCommand{
    {"macro list", "FILE", "one line per macro: index, name, play mode, repeat count, event count", &runList}};
const CommandRegistrar showCommand{
    {"macro show", "FILE INDEX", "the event list of macro INDEX (0-based), then the delay after its last event",
     &runShow}};

}  // namespace
}  // namespace korvelctl
