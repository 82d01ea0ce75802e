// macrogen RES_FOLDER: writes the shipped macro libraries into res/.
// The initial user libraries equal the factory libraries, so a factory reset
// brings back what a fresh installation has.
#include <filesystem>
#include <iostream>

#include "common/text.h"
#include "macro/macro_library.h"
#include "shipped_macros.h"

namespace {

bool writeLibrary(const std::filesystem::path& file, const std::vector<korvel::MacroRecord>& records) {
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);  // no keys left over from an earlier run
    korvel::MacroTables tables;
    for (std::size_t i = 0; i < records.size(); ++i) tables.userMacros[i] = records[i];
    tables.userMacroCount = static_cast<std::int16_t>(records.size());
    const bool ok = korvel::SaveMacroLibrary(tables, korvel::fromPath(file));
    std::cout << (ok ? "wrote " : "FAILED ") << file.string() << "\n";
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: macrogen RES_FOLDER\n";
        return 2;
    }
    const std::filesystem::path res(argv[1]);
    using namespace korvel::shipped;
    bool ok = writeLibrary(res / "constMacro.dat", constantMacros());
    ok = writeLibrary(res / "Macro_EN.dat", englishSamples()) && ok;
    ok = writeLibrary(res / "Macro_CN.dat", chineseSamples()) && ok;
    ok = writeLibrary(res / "skins" / "INI_EN" / "defMacro.dat", englishSamples()) && ok;
    ok = writeLibrary(res / "skins" / "INI_CN" / "defMacro.dat", chineseSamples()) && ok;
    return ok ? 0 : 1;
}
