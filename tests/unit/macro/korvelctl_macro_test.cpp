// korvelctl's macro commands, run in-process through the command registry.
// The registry and the macro commands are compiled into this test from
// tools/korvelctl (the executable's own main.cpp is not needed).
#include <gtest/gtest.h>

#include <sstream>

#include "../../../tools/korvelctl/cmd_macro.cpp"
#include "../../../tools/korvelctl/registry.cpp"
#include "macro/key_codes.h"
#include "macro/macro_library.h"
#include "test_support.h"

namespace korvel {
namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun korvelctl(std::vector<std::string> words) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = korvelctl::runCommandLine(words, out, err);
    return {code, out.str(), err.str()};
}

class KorvelctlMacro : public ::testing::Test {
protected:
    void SetUp() override {
        MacroTables t;
        setMacroName(t.userMacros[0], u"Copy\t复制");
        t.userMacros[0].setRepeatCount(1);
        t.userMacros[0].eventCount = 3;
        t.userMacros[0].events[0] = {224, ACTION_DOWN};
        t.userMacros[0].events[1] = {6, ACTION_UP};
        t.userMacros[0].events[2] = {241, 0};
        t.userMacros[0].setDelay(0, 30);
        t.userMacros[0].setDelay(1, 65535);
        t.userMacros[0].setDelay(2, 7);
        setMacroName(t.userMacros[1], u"Empty");
        t.userMacros[1].playMode = 1;
        t.userMacros[1].setRepeatCount(300);
        t.userMacroCount = 2;
        file = toUtf8(folder.path(u"lib.dat"));
        ASSERT_TRUE(SaveMacroLibrary(t, folder.path(u"lib.dat")));
    }
    test::TempFolder folder;
    std::string file;
};

TEST_F(KorvelctlMacro, ListGivesOneTabSeparatedLinePerMacro) {
    const CliRun r = korvelctl({"macro", "list", file});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "0\tCopy?复制\t0\t1\t3\n1\tEmpty\t1\t300\t0\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(KorvelctlMacro, ShowPrintsTheEventListAndTheLastDelay) {
    const CliRun r = korvelctl({"macro", "show", file, "0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "[\xE2\x86\x93]LCONTROL\n    30ms\n[\xE2\x86\x91]C\n    65535ms\nR-KEY\n    7ms\n");
    const CliRun empty = korvelctl({"macro", "show", file, "1"});
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(KorvelctlMacro, ErrorsGoToStandardErrorWithNonZeroExit) {
    struct Case { std::vector<std::string> words; int code; };
    const Case cases[] = {
        {{"macro", "show", file, "2"}, korvelctl::kExitFailure},
        {{"macro", "show", file, "-1"}, korvelctl::kExitFailure},
        {{"macro", "show", file, "x"}, korvelctl::kExitFailure},
        {{"macro", "list", toUtf8(folder.path(u"missing.dat"))}, korvelctl::kExitFailure},
        {{"macro", "show", toUtf8(folder.path(u"missing.dat")), "0"}, korvelctl::kExitFailure},
        {{"macro", "list"}, korvelctl::kExitUsage},
        {{"macro", "show", file}, korvelctl::kExitUsage},
        {{"macro", "frobnicate"}, korvelctl::kExitUsage},
        {{}, korvelctl::kExitUsage},
    };
    for (const Case& c : cases) {
        const CliRun r = korvelctl(c.words);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
}

TEST_F(KorvelctlMacro, ShippedConstantLibraryIsListed) {
    const CliRun r = korvelctl({"macro", "list", std::string(KORVEL_SOURCE_DIR) + "/res/constMacro.dat"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 8);
    EXPECT_EQ(r.out.rfind("0\tCopy\t0\t1\t4\n", 0), 0u);
}

}  // namespace
}  // namespace korvel
