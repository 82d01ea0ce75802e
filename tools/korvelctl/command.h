#pragma once
// The command registry of korvelctl.
//
// Each command lives in its own cmd_*.cpp and registers itself under its full
// path of words ("macro list", "reports show", ...) with a static registrar:
//
//   namespace {
//   int runList(korvelctl::CommandContext& ctx) { ... }
//   const korvelctl::CommandRegistrar listCommand{
//       {"macro list", "FILE", "one line per macro of a library file", &runList}};
//   }
//
// Commands under the same first word may come from different files. The
// dispatcher picks the longest registered path that starts the command line;
// the words after it are the command's arguments.
#include <iosfwd>
#include <string>
#include <vector>

namespace korvelctl {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the command could not do its work
inline constexpr int kExitUsage = 2;    // unknown command or wrong arguments

struct CommandContext {
    std::vector<std::string> args;  // UTF-8, after the command path
    std::ostream& out;              // UTF-8 text, "\n" line ends
    std::ostream& err;              // messages for the user
};

using CommandHandler = int (*)(CommandContext& context);

struct CommandInfo {
    std::string path;     // words separated by single blanks
    std::string usage;    // the arguments, for the help text ("FILE INDEX")
    std::string summary;  // one line
    CommandHandler handler;
};

class CommandRegistrar {
public:
    explicit CommandRegistrar(CommandInfo info);
};

// All registered commands, sorted by path.
std::vector<CommandInfo> registeredCommands();

// Runs a command line (the words after the program name).
int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Helpers for commands.
// A path argument (UTF-8) as the program's kind of path.
std::u16string pathArgument(const std::string& utf8);
// Prints "korvelctl: " + message on err and returns kExitFailure.
int fail(CommandContext& context, const std::string& message);
// Prints the usage of the command and returns kExitUsage.
int usageError(CommandContext& context, const std::string& path);

}  // namespace korvelctl
