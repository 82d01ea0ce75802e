// korvelctl reports / macro reports: the feature reports the program would
// send to the mouse, worked out by the program's own device code against a
// recording bus and virtual time (nothing is sent, nothing is written).
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "command.h"
#include "common/ini.h"
#include "common/text.h"
#include "device/device_link.h"
#include "device/device_support.h"
#include "device/recording_bus.h"
#include "macro/macro_library.h"
#include "profile/config_store.h"
#include "profile/profile.h"

namespace korvelctl {
namespace {

bool parseNumber(const std::string& text, int maxValue, int& value) {
    if (text.empty() || text.size() > 6) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= maxValue;
}

// Bytes 0-7 as two-digit upper-case hex separated by single blanks.
std::string hexLine(const std::vector<std::uint8_t>& bytes) {
    std::string line;
    char b[4];
    for (std::size_t i = 0; i < 8; ++i) {
        std::snprintf(b, sizeof b, "%02X", i < bytes.size() ? bytes[i] : 0);
        if (i) line += ' ';
        line += b;
    }
    return line;
}

// A link on a recording bus from a fresh start: report buffer and key state
// as the program has them when it begins.
struct Recorder {
    explicit Recorder(korvel::Profile& profile) : bus(clock) {
        korvel::DevicePorts ports;
        ports.bus = &bus;
        ports.clock = &clock;
        ports.store = &store;
        link = std::make_unique<korvel::DeviceLink>(profile, ports);
        link->ConnectMouse();
    }
    korvel::SimulatedClock clock;
    korvel::RecordingHidBus bus;
    korvel::NullProfileStore store;
    std::unique_ptr<korvel::DeviceLink> link;
};

int runReports(CommandContext& context) {
    std::string config = "config.ini";
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        if (context.args[i] == "--config") {
            if (i + 1 >= context.args.size()) return usageError(context, "reports");
            config = context.args[++i];
        } else {
            rest.push_back(context.args[i]);
        }
    }
    if (rest.size() != 1) return usageError(context, "reports");
    int number = 0;
    if (!parseNumber(rest[0], 7, number) || number < 1)
        return fail(context, "invalid profile number '" + rest[0] + "' (1-7)");
    const std::u16string path = pathArgument(config);
    if (!korvel::ini::Snapshot::load(path).exists()) return fail(context, "cannot read configuration file '" + config + "'");

    korvel::Profile profile;
    korvel::loadProfile(profile, path, number, false, korvel::readVerSel(path));
    Recorder recorder(profile);
    recorder.link->ApplyProfile();
    for (const auto& report : recorder.bus.reports()) context.out << hexLine(report.bytes) << '\n';
    return kExitOk;
}

int runMacroReports(CommandContext& context) {
    if (context.args.size() != 2 && context.args.size() != 3) return usageError(context, "macro reports");
    int index = 0;
    if (!parseNumber(context.args[1], 999999, index)) return fail(context, "invalid macro index '" + context.args[1] + "'");
    int repeats = 1;
    if (context.args.size() == 3 && !parseNumber(context.args[2], 65535, repeats))
        return fail(context, "invalid repeat count '" + context.args[2] + "' (0-65535)");
    const korvel::ini::Snapshot file = korvel::ini::Snapshot::load(pathArgument(context.args[0]));
    if (!file.exists()) return fail(context, "cannot read macro library '" + context.args[0] + "'");
    const std::vector<korvel::MacroRecord> records = korvel::readMacroLibrary(file, korvel::kMacroTableSize);
    if (index >= static_cast<int>(records.size()))
        return fail(context, "macro index " + std::to_string(index) + " out of range (the library holds " +
                                 std::to_string(records.size()) + " macros)");

    korvel::Profile profile;
    Recorder recorder(profile);
    recorder.link->PlayMacro(records[static_cast<std::size_t>(index)], repeats);
    const auto reports = recorder.bus.reports();
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const std::int64_t pause = i + 1 < reports.size() ? (reports[i + 1].micros - reports[i].micros) / 1000 : 0;
        context.out << hexLine(reports[i].bytes) << ' ' << pause << '\n';
    }
    return kExitOk;
}

const CommandRegistrar reportsCommand{{"reports", "[--config FILE] PROFILE",
                                       "the sixteen feature reports that applying profile PROFILE would send",
                                       &runReports}};
const CommandRegistrar macroReportsCommand{
    {"macro reports", "FILE INDEX [REPEATS]",
     "the feature reports that playing macro INDEX (0-based) REPEATS times would send, each with the pause after it in ms",
     &runMacroReports}};

}  // namespace
}  // namespace korvelctl
