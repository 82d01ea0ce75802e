// The macro libraries under res/ are the ones tools/macrogen describes, and
// every shipped macro is one the program can show, play and save unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "../../../tools/macrogen/shipped_macros.h"
#include "common/ini.h"
#include "common/text.h"
#include "macro/key_codes.h"
#include "macro/macro_library.h"
#include "test_support.h"

namespace korvel {
namespace {

struct ShippedFile {
    const char* relativePath;
    std::vector<MacroRecord> (*expected)();
    bool chinese;
};

const ShippedFile kFiles[] = {
    {"res/constMacro.dat", shipped::constantMacros, false},
    {"res/Macro_EN.dat", shipped::englishSamples, false},
    {"res/Macro_CN.dat", shipped::chineseSamples, true},
    {"res/skins/INI_EN/defMacro.dat", shipped::englishSamples, false},
    {"res/skins/INI_CN/defMacro.dat", shipped::chineseSamples, true},
};

std::u16string sourcePath(const char* relative) {
    return fromPath(std::filesystem::path(KORVEL_SOURCE_DIR) / relative);
}

TEST(ShippedMacros, FilesHoldTheDescribedMacros) {
    for (const ShippedFile& f : kFiles) {
        SCOPED_TRACE(f.relativePath);
        MacroTables tables;
        test::RecordingMessageBox box;
        const auto expected = f.expected();
        const auto result = LoadMacroLibrary(tables, sourcePath(f.relativePath), MacroTable::Constant, box);
        ASSERT_TRUE(result.fileFound);
        ASSERT_EQ(result.count, static_cast<int>(expected.size()));
        EXPECT_LE(result.count, kMaxUserMacros);  // each also fits the user table
        for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(tables.constMacros[i], expected[i]) << i;
    }
    EXPECT_EQ(shipped::constantMacros().size(), 8u);
}

std::string bytesOf(const std::u16string& path) {
    std::ifstream in(toPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Loading a shipped library and saving it again writes the same bytes, so the
// program never rewrites what it reads.
TEST(ShippedMacros, LoadThenSaveIsByteIdentical) {
    test::TempFolder folder;
    for (const ShippedFile& f : kFiles) {
        SCOPED_TRACE(f.relativePath);
        MacroTables tables;
        test::RecordingMessageBox box;
        LoadMacroLibrary(tables, sourcePath(f.relativePath), MacroTable::User, box);
        const auto copy = folder.path(u"copy.dat");
        std::filesystem::remove(toPath(copy));
        ASSERT_TRUE(SaveMacroLibrary(tables, copy));
        EXPECT_EQ(bytesOf(copy), bytesOf(sourcePath(f.relativePath)));
    }
}

TEST(ShippedMacros, EveryMacroIsPlayableAndLeavesNoKeyHeld) {
    for (const ShippedFile& f : kFiles) {
        for (const MacroRecord& r : f.expected()) {
            const std::u16string name = macroName(r);
            SCOPED_TRACE(std::string(f.relativePath) + ": " + toUtf8(name));
            EXPECT_FALSE(name.empty());
            EXPECT_LE(name.size(), static_cast<std::size_t>(kMacroNameMaxChars));
            if (f.chinese) {
                EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; }));
            }
            ASSERT_GE(r.eventCount, 1);
            ASSERT_LE(r.eventCount, 254);
            std::map<int, int> held;
            for (int k = 0; k < r.eventCount; ++k) {
                const MacroEvent& e = r.events[static_cast<std::size_t>(k)];
                EXPECT_NE(keyName(e.code), u"NON-AVAILABLE");
                EXPECT_EQ(virtualKeyToUsage(usageToVirtualKey(e.code)), e.code);
                ASSERT_TRUE(e.action == ACTION_DOWN || e.action == ACTION_UP);
                if (e.action == ACTION_DOWN) {
                    EXPECT_EQ(held[e.code]++, 0) << "pressed twice";
                } else {
                    EXPECT_EQ(held[e.code]--, 1) << "released while up";
                }
                EXPECT_GE(r.delay(k), 15);
            }
            for (const auto& [code, count] : held) EXPECT_EQ(count, 0) << "still held: " << code;
            EXPECT_GE(r.repeatCount(), 1);
        }
    }
}

}  // namespace
}  // namespace korvel
