#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>

#include "command.h"
#include "common/text.h"

namespace korvelctl {
namespace {

// Function-local so that registrars in any translation unit find it ready.
std::map<std::string, CommandInfo>& registry() {
    static std::map<std::string, CommandInfo> commands;
    return commands;
}

std::vector<std::string> wordsOf(const std::string& path) {
    std::vector<std::string> words;
    std::istringstream in(path);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

void printHelp(std::ostream& out, const std::string& prefix) {
    out << "usage: korvelctl COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const CommandInfo& c : registeredCommands()) {
        if (!prefix.empty() && c.path.rfind(prefix + " ", 0) != 0 && c.path != prefix) continue;
        std::string line = "  " + c.path + (c.usage.empty() ? "" : " " + c.usage);
        if (line.size() < 34) line.resize(34, ' ');
        else line += "  ";
        out << line << c.summary << "\n";
    }
}

}  // namespace

CommandRegistrar::CommandRegistrar(CommandInfo info) {
    const std::string path = info.path;
    registry()[path] = std::move(info);
}

std::vector<CommandInfo> registeredCommands() {
    std::vector<CommandInfo> all;
    for (const auto& [path, info] : registry()) all.push_back(info);
    return all;
}

int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty() || words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        printHelp(words.empty() ? err : out, "");
        return words.empty() ? kExitUsage : kExitOk;
    }
    // The longest registered path that the words start with.
    const CommandInfo* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [path, info] : registry()) {
        const auto pathWords = wordsOf(path);
        if (pathWords.size() <= words.size() && pathWords.size() > bestLength &&
            std::equal(pathWords.begin(), pathWords.end(), words.begin())) {
            best = &info;
            bestLength = pathWords.size();
        }
    }
    if (best == nullptr) {
        const bool group = std::any_of(registry().begin(), registry().end(), [&words](const auto& entry) {
            return entry.first.rfind(words[0] + " ", 0) == 0;
        });
        if (group && words.size() == 1) {
            err << "korvelctl: '" << words[0] << "' needs a subcommand\n";
        } else {
            err << "korvelctl: unknown command '" << words[0] << (words.size() > 1 ? " " + words[1] : "") << "'\n";
        }
        // Under a known first word, list only what exists there.
        printHelp(err, group ? words[0] : "");
        return kExitUsage;
    }
    CommandContext context{{words.begin() + static_cast<std::ptrdiff_t>(bestLength), words.end()}, out, err};
    return best->handler(context);
}

std::u16string pathArgument(const std::string& utf8) { return korvel::fromUtf8(utf8); }

int fail(CommandContext& context, const std::string& message) {
    context.err << "korvelctl: " << message << "\n";
    return kExitFailure;
}

int usageError(CommandContext& context, const std::string& path) {
    const auto it = registry().find(path);
    context.err << "usage: korvelctl " << path;
    if (it != registry().end() && !it->second.usage.empty()) context.err << " " << it->second.usage;
    context.err << "\n";
    return kExitUsage;
}

}  // namespace korvelctl
