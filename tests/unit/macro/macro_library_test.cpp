// Macro records and the library files: format, reader bounds, round trips.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <thread>

#include "common/ini.h"
#include "macro/key_codes.h"
#include "macro/macro_library.h"
#include "test_support.h"

namespace korvel {
namespace {

using test::RecordingMessageBox;
using test::TempFolder;

std::u16string fields(std::initializer_list<int> values) {
    std::u16string s;
    for (int v : values) s += threeDigitText(u"", v);
    return s;
}

std::u16string zeros(int count) {
    std::u16string s;
    for (int i = 0; i < count; ++i) s += u"000";
    return s;
}

// Every code that recording (the usage of any virtual key) or the editor
// (the mouse buttons) can put into an event.
std::vector<std::uint8_t> producibleCodes() {
    std::set<int> codes{KEY_MOUSE_LEFT, KEY_MOUSE_RIGHT, KEY_MOUSE_MIDDLE};
    for (int vk = 0; vk < 256; ++vk) codes.insert(virtualKeyToUsage(static_cast<std::uint8_t>(vk)));
    return {codes.begin(), codes.end()};
}

// A record with every byte in use, events beyond the count included.
MacroRecord busyRecord(int seed, std::u16string_view name) {
    const auto codes = producibleCodes();
    MacroRecord r;
    setMacroName(r, name);
    r.playMode = static_cast<std::uint8_t>(seed % 3);
    r.setRepeatCount(static_cast<std::uint16_t>(seed * 7919 + 1));
    r.eventCount = static_cast<std::uint8_t>(seed % 255);
    for (int k = 0; k < kMacroEventSlots; ++k) {
        r.events[static_cast<std::size_t>(k)] = {codes[static_cast<std::size_t>(k * 31 + seed) % codes.size()],
                                                 static_cast<std::uint8_t>((k + seed) % 4)};
        r.setDelay(k, static_cast<std::uint16_t>(k * 257 + seed * 13));
    }
    return r;
}

void writeText(const TempFolder& folder, const std::u16string& name, const std::string& text) {
    std::ofstream(toPath(folder.path(name)), std::ios::binary) << text;
}

TEST(MacroValue, EncodesTheDocumentedExample) {
    MacroRecord r;
    setMacroName(r, u"A");
    r.setRepeatCount(1);
    r.eventCount = 1;
    r.events[0] = {4, ACTION_DOWN};
    r.setDelay(0, 30);
    const std::u16string expected =
        fields({65, 0}) + zeros(38) + fields({0, 1, 0, 1}) + fields({65, 1, 30, 0}) + zeros(4 * 254);
    const std::u16string value = encodeMacroValue(r);
    EXPECT_EQ(value.size(), 3192u);
    EXPECT_EQ(value, expected);
    EXPECT_EQ(decodeMacroValue(value), r);
}

TEST(MacroValue, FieldsAreReadByTheirLeadingInteger) {
    struct Case { std::u16string field; int byte; };
    const Case cases[] = {
        {u"007", 7}, {u"255", 255}, {u"256", 0}, {u"-01", 255}, {u"+12", 12}, {u" 9x", 9},
        {u"abc", 0}, {u"999", 999 & 0xFF}, {u"1", 1}, {u"", 0},
    };
    for (const Case& c : cases) {
        // Field 40 is the play mode, so the case's text lands in one byte.
        const std::u16string value = zeros(40) + c.field;
        EXPECT_EQ(decodeMacroValue(value).playMode, c.byte) << "field '" << toUtf8(c.field) << "'";
    }
}

TEST(MacroValue, ShortOrEmptyValuesGiveZeros) {
    EXPECT_EQ(decodeMacroValue(u""), MacroRecord{});
    const MacroRecord r = decodeMacroValue(fields({66, 0}) + zeros(42) + fields({65}));  // name B, event 0 code A
    EXPECT_EQ(macroName(r), u"B");
    EXPECT_EQ(r.events[0].code, 4);
    EXPECT_EQ(r.events[0].action, 0);
    EXPECT_EQ(r.delay(0), 0);
}

TEST(MacroValue, FullValueIsReadWholeFromAFile) {
    // The last field is the high byte of delay 254: a buffer of exactly 3192
    // characters would lose its last character.
    MacroRecord r;
    r.setDelay(254, 0xC812);  // high byte 200
    TempFolder folder;
    const auto path = folder.path(u"full.dat");
    const std::vector<MacroRecord> records{r};
    ASSERT_TRUE(ini::writeStrings(path, macroLibraryWrites(records.data(), 1)));
    MacroTables tables;
    RecordingMessageBox box;
    LoadMacroLibrary(tables, path, MacroTable::User, box);
    EXPECT_EQ(tables.userMacros[0].delay(254), 0xC812);
}

TEST(MacroNames, FieldIsBoundedAndSettersCut) {
    MacroRecord r;
    r.name.fill('x');  // 20 characters 'x'x'... without a terminating zero
    const std::u16string full = macroName(r);
    EXPECT_EQ(full.size(), 20u);

    setMacroName(r, u"A long macro name of thirty chars");
    EXPECT_EQ(macroName(r), u"A long macro name o");
    EXPECT_EQ(r.name[38], 0);
    EXPECT_EQ(r.name[39], 0);

    setMacroName(r, u"复制");
    EXPECT_EQ(macroName(r), u"复制");
    EXPECT_EQ(r.name[4], 0);

    // 18 characters then a character needing two units: the pair is dropped whole.
    std::u16string text(18, u'a');
    text += u"\U0001F3AE";
    setMacroName(r, text);
    EXPECT_EQ(macroName(r), std::u16string(18, u'a'));

    setMacroName(r, std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(macroName(r), u"ab");
}

class MacroLibraryFile : public ::testing::Test {
protected:
    // Writes a library of `count` busy records, named "M0", "M1", ...
    std::u16string library(const std::u16string& name, int count, int seed = 1) {
        MacroTables t;
        for (int i = 0; i < count && i < 12; ++i) t.userMacros[static_cast<std::size_t>(i)] = busyRecord(seed + i, u"M" + std::u16string(1, char16_t(u'0' + i)));
        t.userMacroCount = static_cast<std::int16_t>(count);
        const auto path = folder.path(name);
        EXPECT_TRUE(SaveMacroLibrary(t, path));
        return path;
    }
    TempFolder folder;
    RecordingMessageBox box;
    MacroTables tables;
};

TEST_F(MacroLibraryFile, SaveThenLoadGivesTheSameRecords) {
    MacroTables source;
    for (int i = 0; i < 12; ++i) source.userMacros[static_cast<std::size_t>(i)] = busyRecord(i * 37 + 5, u"宏 " + std::u16string(1, char16_t(u'A' + i)));
    source.userMacroCount = 12;
    const auto path = folder.path(u"Macro_CN.dat");
    ASSERT_TRUE(SaveMacroLibrary(source, path));

    const MacroLoadResult result = LoadMacroLibrary(tables, path, MacroTable::User, box);
    EXPECT_TRUE(result.fileFound);
    EXPECT_EQ(result.count, 12);
    EXPECT_EQ(result.currentMacro, 11);
    EXPECT_EQ(tables.userMacroCount, 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(tables.userMacros[static_cast<std::size_t>(i)], source.userMacros[static_cast<std::size_t>(i)]) << i;
    EXPECT_TRUE(box.texts.empty());
}

TEST_F(MacroLibraryFile, EveryProducibleCodeSurvivesInEverySlot) {
    const auto codes = producibleCodes();
    MacroTables source;
    source.userMacroCount = 0;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        auto& r = source.userMacros[c / kMacroEventSlots];
        r.events[c % kMacroEventSlots] = {codes[c], ACTION_UP};
        r.eventCount = 254;
        source.userMacroCount = static_cast<std::int16_t>(c / kMacroEventSlots + 1);
    }
    const auto path = folder.path(u"codes.dat");
    ASSERT_TRUE(SaveMacroLibrary(source, path));
    LoadMacroLibrary(tables, path, MacroTable::User, box);
    for (int i = 0; i < source.userMacroCount; ++i) EXPECT_EQ(tables.userMacros[static_cast<std::size_t>(i)], source.userMacros[static_cast<std::size_t>(i)]);
}

TEST_F(MacroLibraryFile, UnpairedUsagesThatAreVirtualKeysComeBackAsOtherKeys) {
    MacroTables source;
    source.userMacros[0].eventCount = 2;
    source.userMacros[0].events[0] = {53, ACTION_DOWN};
    source.userMacros[0].events[1] = {88, ACTION_DOWN};
    source.userMacroCount = 1;
    const auto path = folder.path(u"lossy.dat");
    ASSERT_TRUE(SaveMacroLibrary(source, path));
    EXPECT_EQ(ini::Snapshot::load(path).get(u"Macros", u"0", 3193).substr(3 * 44, 3), u"053");
    LoadMacroLibrary(tables, path, MacroTable::User, box);
    EXPECT_EQ(tables.userMacros[0].events[0].code, 34);  // the digit 5
    EXPECT_EQ(tables.userMacros[0].events[1].code, 27);  // the letter X
}

TEST_F(MacroLibraryFile, CountIsReadFromTwoCharactersAndBounded) {
    struct Case { std::string macroNum; int user; int constant; };
    const Case cases[] = {
        {"3", 3, 3}, {"123", 12, 12}, {"13", 12, 13}, {"99", 12, 13}, {"-3", 0, 0},
        {"abc", 0, 0}, {"", 0, 0}, {"0", 0, 0}, {" 7", 7, 7}, {"1x", 1, 1},
    };
    for (const Case& c : cases) {
        writeText(folder, u"count.dat", "[Macros]\nmacroNum=" + c.macroNum + "\n");
        MacroTables t;
        t.userMacros[12].playMode = 9;  // would be overwritten if the template were loaded into
        EXPECT_EQ(LoadMacroLibrary(t, folder.path(u"count.dat"), MacroTable::User, box).count, c.user) << c.macroNum;
        EXPECT_EQ(t.userMacroCount, c.user);
        EXPECT_EQ(t.userMacros[12].playMode, 9);
        EXPECT_EQ(LoadMacroLibrary(t, folder.path(u"count.dat"), MacroTable::Constant, box).count, c.constant) << c.macroNum;
        EXPECT_EQ(t.constMacroCount, c.constant);
    }
}

TEST_F(MacroLibraryFile, MissingKeysGiveBlankRecords) {
    writeText(folder, u"gaps.dat", "[Macros]\nmacroNum=2\n1=065000\n");
    tables.userMacros[0] = busyRecord(3, u"old");
    LoadMacroLibrary(tables, folder.path(u"gaps.dat"), MacroTable::User, box);
    EXPECT_EQ(tables.userMacros[0], MacroRecord{});
    EXPECT_EQ(macroName(tables.userMacros[1]), u"A");
}

TEST_F(MacroLibraryFile, ShorterLibraryLeavesLaterRecordsAsTheyWere) {
    LoadMacroLibrary(tables, library(u"five.dat", 5, 10), MacroTable::User, box);
    const MacroRecord third = tables.userMacros[3];
    const MacroRecord fourth = tables.userMacros[4];
    const MacroLoadResult r = LoadMacroLibrary(tables, library(u"three.dat", 3, 50), MacroTable::User, box);
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.currentMacro, 2);
    EXPECT_EQ(tables.userMacroCount, 3);
    EXPECT_EQ(tables.userMacros[0], busyRecord(50, u"M0"));
    EXPECT_EQ(tables.userMacros[3], third);
    EXPECT_EQ(tables.userMacros[4], fourth);
}

TEST_F(MacroLibraryFile, MissingFileShowsTheMessageAndLoadsNothing) {
    tables.userMacros[0] = busyRecord(1, u"kept");
    tables.userMacroCount = 4;
    const MacroLoadResult r = LoadMacroLibrary(tables, folder.path(u"none.dat"), MacroTable::User, box);
    EXPECT_FALSE(r.fileFound);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.currentMacro, 0);
    EXPECT_EQ(tables.userMacroCount, 0);
    EXPECT_EQ(tables.userMacros[0], busyRecord(1, u"kept"));
    ASSERT_EQ(box.texts.size(), 1u);
    EXPECT_EQ(box.texts[0], u"找不到配置文件");
    EXPECT_EQ(box.captions[0], u"");
    EXPECT_FALSE(std::filesystem::exists(toPath(folder.path(u"none.dat"))));
}

TEST_F(MacroLibraryFile, SaveWritesTheCountAndKeepsKeysBeyondIt) {
    const auto path = library(u"lib.dat", 5);
    tables.userMacroCount = 2;
    tables.userMacros[0] = busyRecord(90, u"new");
    ASSERT_TRUE(SaveMacroLibrary(tables, path));
    const ini::Snapshot file = ini::Snapshot::load(path);
    EXPECT_EQ(file.get(u"Macros", u"macroNum", 10), u"2");
    EXPECT_EQ(file.get(u"Macros", u"0", 3193), encodeMacroValue(busyRecord(90, u"new")));
    EXPECT_TRUE(file.has(u"Macros", u"4"));  // left from the longer library
    EXPECT_FALSE(file.has(u"Macros", u"5"));
}

TEST_F(MacroLibraryFile, RecordsAreWrittenWithAllSlots) {
    tables.userMacros[0] = busyRecord(2, u"two");  // eventCount 2, slots 2-254 in use too
    tables.userMacroCount = 1;
    const auto path = folder.path(u"slots.dat");
    ASSERT_TRUE(SaveMacroLibrary(tables, path));
    const std::u16string value = ini::Snapshot::load(path).get(u"Macros", u"0", 4000);
    EXPECT_EQ(value.size(), 3192u);
    EXPECT_EQ(decodeMacroValue(value), tables.userMacros[0]);
}

TEST(MacroTablesSnapshot, OutOfRangeIndexGivesBlank) {
    EXPECT_EQ(snapshotUserMacro(-1), MacroRecord{});
    EXPECT_EQ(snapshotUserMacro(13), MacroRecord{});
    EXPECT_EQ(snapshotConstMacro(99), MacroRecord{});
}

// Playback copies a record while the user interface reloads the library: each
// copy is wholly the old or wholly the new record.
TEST(MacroTablesSnapshot, LoadsNeverTearARecord) {
    TempFolder folder;
    MacroTables a;
    MacroTables b;
    a.userMacros[0] = busyRecord(7, u"first");
    b.userMacros[0] = busyRecord(8, u"second");
    a.userMacroCount = b.userMacroCount = 1;
    const auto pathA = folder.path(u"a.dat");
    const auto pathB = folder.path(u"b.dat");
    ASSERT_TRUE(SaveMacroLibrary(a, pathA));
    ASSERT_TRUE(SaveMacroLibrary(b, pathB));

    const MacroTables saved = editMacroTables([](MacroTables& t) { return t; });
    std::atomic<bool> done{false};
    std::thread loader([&] {
        RecordingMessageBox box;
        for (int i = 0; i < 200; ++i) LoadMacroLibrary(i % 2 ? pathA : pathB, MacroTable::User, box);
        done = true;
    });
    int torn = 0;
    int copies = 0;
    while (!done || copies < 10) {
        const MacroRecord r = snapshotUserMacro(0);
        if (!(r == a.userMacros[0] || r == b.userMacros[0] || r == saved.userMacros[0])) ++torn;
        ++copies;
    }
    loader.join();
    EXPECT_EQ(torn, 0);
    editMacroTables([&saved](MacroTables& t) { t = saved; });
}

}  // namespace
}  // namespace korvel
