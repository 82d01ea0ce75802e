// "korvelctl reports" and "korvelctl macro reports", run as the user runs
// them (skipped when the tool has not been built in this tree).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/text.h"
#include "device_fakes.h"
#include "macro/macro_library.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

struct Tool {
    Tool() {
        exe = fs::path(KORVEL_BINARY_DIR) / "tools" / "korvelctl" / "korvelctl";
        dir = fs::temp_directory_path() / ("korvel_ctl_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    ~Tool() { fs::remove_all(dir); }
    std::string run(const std::string& args, int* status = nullptr) {
        const std::string command = "\"" + exe.string() + "\" " + args + " 2>/dev/null";
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return out;
        char buf[512];
        while (std::fgets(buf, sizeof buf, pipe)) out += buf;
        const int rc = pclose(pipe);
        if (status) *status = rc;
        return out;
    }
    fs::path exe, dir;
};

TEST(KorvelctlReports, ProfileReportsFromAFreshStart) {
    Tool tool;
    if (!fs::exists(tool.exe)) GTEST_SKIP() << "korvelctl not built";
    const fs::path config = tool.dir / "config.ini";
    std::ofstream(config) << "[Init]\nCurConfig=2\n[Config2]\nK0=1\nK1=2\nK2=3\nK3=13\nK4=4\nK5=16\nK6=15\nK7=14\nK8=45\n"
                             "DPI_LEVEL=0\nDPI_SET0=4\nDPI_SET1=6\nDPI_SET2=8\nDPI_SET3=10\nDPI_SET_EN0=1\nDPI_SET_EN1=1\n"
                             "DPI_SET_EN2=1\nDPI_SET_EN3=1\nLED_STATUS=2\nWHEEL_STATUS=1\nFIRE_TIME=50\n";
    int status = -1;
    const std::string out = tool.run("reports --config \"" + config.string() + "\" 2", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "07 10 01 01 00 00 00 00\n"
              "07 10 02 02 00 00 00 00\n"
              "07 10 03 03 00 00 00 00\n"
              "07 10 05 09 00 00 00 00\n"
              "07 10 04 04 00 00 00 00\n"
              "07 10 06 0C 00 00 00 00\n"
              "07 10 08 0B 00 00 00 00\n"
              "07 10 07 0A 00 00 00 00\n"
              "07 10 09 00 00 00 00 00\n"
              "07 11 01 00 00 00 00 00\n"
              "07 09 40 58 0F 00 00 00\n"
              "07 09 40 79 0F 00 00 00\n"
              "07 09 40 BA 0F 00 00 00\n"
              "07 09 40 EB 0F 00 00 00\n"
              "07 13 7F 16 0F 00 00 00\n"
              "07 12 00 06 00 00 00 00\n");
    // Nothing was written to the file.
    std::ifstream in(config);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after.find("Config6"), std::string::npos);

    tool.run("reports --config \"" + config.string() + "\" 8", &status);
    EXPECT_NE(status, 0);
    tool.run("reports --config \"" + (tool.dir / "missing.ini").string() + "\" 1", &status);
    EXPECT_NE(status, 0);
}

TEST(KorvelctlReports, MacroReportsWithTheirPauses) {
    Tool tool;
    if (!fs::exists(tool.exe)) GTEST_SKIP() << "korvelctl not built";
    MacroTables tables;
    tables.userMacros[0] = test::makeMacro({{test::kA, ACTION_DOWN, 5}, {KEY_MOUSE_LEFT, ACTION_DOWN, 100}});
    tables.userMacroCount = 1;
    const fs::path file = tool.dir / "lib.dat";
    ASSERT_TRUE(SaveMacroLibrary(tables, fromPath(file)));
    int status = -1;
    const std::string out = tool.run("macro reports \"" + file.string() + "\" 0 2", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "07 15 04 00 00 00 00 00 15\n"
              "07 16 04 FE 00 00 00 00 110\n"
              "07 16 04 FF 00 00 00 00 10\n"
              "07 15 00 00 00 00 00 00 0\n"
              "07 15 04 00 00 00 00 00 15\n"
              "07 16 04 FE 00 00 00 00 110\n"
              "07 16 04 FF 00 00 00 00 10\n"
              "07 15 00 00 00 00 00 00 0\n");
    EXPECT_EQ(tool.run("macro reports \"" + file.string() + "\" 0 0", &status), "");
    EXPECT_EQ(status, 0);
    tool.run("macro reports \"" + file.string() + "\" 5", &status);
    EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace korvel
