// korvelctl: the command-line companion of Korvel. The commands register
// themselves (command.h); this file only turns the process's arguments into
// UTF-8 words and runs them.
#include <iostream>
#include <string>
#include <vector>

#include "command.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include "common/text.h"

namespace {

// The ANSI argv of main cannot hold every file name; take the wide command line.
std::vector<std::string> commandWords() {
    std::vector<std::string> words;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return words;
    for (int i = 1; i < count; ++i) {
        const std::wstring w(argv[i]);
        words.push_back(korvel::toUtf8(std::u16string(w.begin(), w.end())));
    }
    LocalFree(argv);
    return words;
}

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    const std::vector<std::string> words = commandWords();
    // UTF-8 out, the same bytes as on other systems.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
    const std::vector<std::string> words(argv + 1, argv + argc);
#endif
    const int code = korvelctl::runCommandLine(words, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
