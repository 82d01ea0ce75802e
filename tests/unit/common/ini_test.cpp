#include "common/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "common/text.h"
#include "test_support.h"

namespace korvel {
namespace {

struct ReadCase {
    const char* what;
    const char* content;
    const char16_t* section;
    const char16_t* key;
    std::size_t capacity;
    const char16_t* expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReadsAsWindowsDoes) {
    const auto& c = GetParam();
    const auto snap = ini::Snapshot::fromText(fromUtf8(c.content));
    EXPECT_EQ(toUtf8(snap.get(c.section, c.key, c.capacity)), toUtf8(c.expected)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[Init]\r\nCurConfig=3\r\n", u"Init", u"CurConfig", 5, u"3"},
        ReadCase{"names ignore case", "[iNiT]\nCURCONFIG=3\n", u"Init", u"curconfig", 5, u"3"},
        ReadCase{"blanks around names and =", "  [ Init ]  \n  CurConfig   =   3  \n", u"Init", u"CurConfig", 5, u"3"},
        ReadCase{"blanks in the asked names", "[Init]\nCurConfig=3\n", u" Init ", u" CurConfig\t", 5, u"3"},
        ReadCase{"capacity cuts to capacity - 1", "[S]\nFIRE_TIME=12345\n", u"S", u"FIRE_TIME", 5, u"1234"},
        ReadCase{"capacity 1 gives nothing", "[S]\nK=12\n", u"S", u"K", 1, u""},
        ReadCase{"capacity 0 gives nothing", "[S]\nK=12\n", u"S", u"K", 0, u""},
        ReadCase{"exact fit", "[S]\nK=1234\n", u"S", u"K", 5, u"1234"},
        ReadCase{"missing key", "[S]\nK=1\n", u"S", u"J", 5, u""},
        ReadCase{"missing section", "[S]\nK=1\n", u"T", u"K", 5, u""},
        ReadCase{"empty value", "[S]\nK=\n", u"S", u"K", 5, u""},
        ReadCase{"line without =", "[S]\nK\nJ=2\n", u"S", u"K", 5, u""},
        ReadCase{"first duplicate key wins", "[S]\nK=1\nK=2\n", u"S", u"K", 5, u"1"},
        ReadCase{"later duplicate section is hidden", "[S]\nA=1\n[T]\n[S]\nK=2\n", u"S", u"K", 5, u""},
        ReadCase{"key of another section", "[S]\nA=1\n[T]\nK=2\n", u"S", u"K", 5, u""},
        ReadCase{"comment line", "[S]\n;K=1\nK=2\n", u"S", u"K", 5, u"2"},
        ReadCase{"key before any section", "K=1\n[S]\n", u"S", u"K", 5, u""},
        ReadCase{"double quotes stripped", "[S]\nK=\"a b\"\n", u"S", u"K", 10, u"a b"},
        ReadCase{"single quotes stripped", "[S]\nK='x'\n", u"S", u"K", 10, u"x"},
        ReadCase{"unmatched quote kept", "[S]\nK=\"x\n", u"S", u"K", 10, u"\"x"},
        ReadCase{"= inside the value", "[S]\nK=a=b\n", u"S", u"K", 10, u"a=b"},
        ReadCase{"unterminated header is no section", "[S\nK=1\n", u"S", u"K", 5, u""},
        ReadCase{"no final line end", "[S]\nK=7", u"S", u"K", 5, u"7"},
        ReadCase{"a lone CR ends a line", "[S]\rK=5\r", u"S", u"K", 5, u"5"},
        ReadCase{"non-ASCII value", "[FUN_STRING]\n14=无功能\n", u"FUN_STRING", u"14", 260, u"无功能"}));

struct WriteCase {
    const char* what;
    const char* before;
    std::vector<ini::Write> writes;
    const char* after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, EditsOnlyWhatItMust) {
    const auto& c = GetParam();
    bool ok = false;
    const auto out = ini::applyWrites(fromUtf8(c.before), c.writes, &ok);
    EXPECT_TRUE(ok) << c.what;
    EXPECT_EQ(toUtf8(out), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"new file", "", {{u"Init", u"CurConfig", u"2"}}, "[Init]\r\nCurConfig=2\r\n"},
        WriteCase{"replace in place keeps other lines",
                  "; mine\r\n[Init]\r\n  CurConfig = 1 \r\nVER_SEL=1\r\n",
                  {{u"init", u"curconfig", u"4"}},
                  "; mine\r\n[Init]\r\nCurConfig=4\r\nVER_SEL=1\r\n"},
        WriteCase{"missing key goes to the end of its section, before blank lines",
                  "[A]\nX=1\n\n[B]\nY=2\n",
                  {{u"A", u"Z", u"3"}},
                  "[A]\nX=1\nZ=3\n\n[B]\nY=2\n"},
        WriteCase{"missing section goes to the end of the file", "[A]\nX=1", {{u"B", u"Y", u"2"}},
                  "[A]\nX=1\n[B]\nY=2\n"},
        WriteCase{"several writes keep their order in a new section", "",
                  {{u"Config3", u"K0", u"1"}, {u"Config3", u"K1", u"2"}, {u"Config3", u"K0", u"5"}},
                  "[Config3]\r\nK0=5\r\nK1=2\r\n"},
        WriteCase{"line without = gets its value", "[A]\nX\n", {{u"A", u"X", u"9"}}, "[A]\nX=9\n"},
        WriteCase{"only the first of duplicate keys changes", "[A]\nX=1\nX=2\n", {{u"A", u"X", u"3"}},
                  "[A]\nX=3\nX=2\n"},
        WriteCase{"empty value", "[A]\nX=1\n", {{u"A", u"X", u""}}, "[A]\nX=\n"}));

TEST(IniWriteRefused, InputThatWouldBreakTheFileChangesNothing) {
    const std::u16string before = u"[A]\r\nX=1\r\n";
    for (const auto& w : std::vector<ini::Write>{{u"A", u"X", u"1\r\n[B]"},
                                                 {u"A\n", u"X", u"1"},
                                                 {u"A", u"X=Y", u"1"},
                                                 {u"A]", u"X", u"1"},
                                                 {u"", u"X", u"1"},
                                                 {u"A", u" ", u"1"}}) {
        bool ok = true;
        EXPECT_EQ(ini::applyWrites(before, {w}, &ok), before);
        EXPECT_FALSE(ok);
    }
}

TEST(IniFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    test::TempFolder dir;
    const auto path = dir.file("config.ini");
    EXPECT_EQ(ini::readString(path, u"Init", u"CurConfig", 5), u"");
    EXPECT_FALSE(ini::Snapshot::load(path).exists());
    ASSERT_TRUE(ini::writeString(path, u"Init", u"CurConfig", u"2"));
    EXPECT_EQ(dir.read("config.ini"), "[Init]\r\nCurConfig=2\r\n");
    EXPECT_EQ(ini::readString(path, u"Init", u"CurConfig", 5), u"2");
}

TEST(IniFile, KeepsEncodingAndForeignBytes) {
    test::TempFolder dir;
    struct Case {
        std::string before, after;
    };
    const std::string gbk = "\xce\xde\xb9\xa6\xc4\xdc";  // GBK text, not UTF-8
    const std::vector<Case> cases{
        {"\xEF\xBB\xBF[S]\r\nK=1\r\n", "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
        {std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0001\0\r\0\n\0", 22),
         std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0002\0\r\0\n\0", 22)},
        {"[S]\nN=" + gbk + "\nK=1\n", "[S]\nN=" + gbk + "\nK=2\n"},
    };
    for (const auto& c : cases) {
        dir.write("f.ini", c.before);
        EXPECT_EQ(ini::readString(dir.file("f.ini"), u"S", u"K", 5), u"1");
        ASSERT_TRUE(ini::writeString(dir.file("f.ini"), u"S", u"K", u"2"));
        EXPECT_EQ(dir.read("f.ini"), c.after);
    }
}

TEST(IniFile, FailedWriteLeavesNothingBehind) {
    test::TempFolder dir;
    EXPECT_FALSE(ini::writeString(dir.file("no-such-folder/config.ini"), u"S", u"K", u"1"));
    dir.write("config.ini", "[S]\r\nK=1\r\n");
    EXPECT_FALSE(ini::writeString(dir.file("config.ini"), u"S", u"K", u"1\n2"));
    EXPECT_EQ(dir.read("config.ini"), "[S]\r\nK=1\r\n");
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.root())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file may stay beside the file";
}

// Two threads (the user interface and the dispatcher) write the same file:
// every value written must be there at the end, and a reader meanwhile must
// always see a whole file.
TEST(IniFile, ConcurrentWritersLoseNothing) {
    test::TempFolder dir;
    const auto path = dir.file("config.ini");
    ASSERT_TRUE(ini::writeString(path, u"Init", u"CurConfig", u"1"));
    constexpr int kPerThread = 150;
    auto writer = [&](char16_t prefix) {
        for (int i = 0; i < kPerThread; ++i)
            ini::writeString(path, u"Config1", prefix + decimalText(i), decimalText(i));
    };
    std::atomic<bool> done{false};
    std::atomic<int> tornReads{0};
    std::thread reader([&] {
        while (!done) {
            if (ini::readString(path, u"Init", u"CurConfig", 5) != u"1") ++tornReads;
        }
    });
    std::thread a(writer, u'A'), b(writer, u'B');
    a.join();
    b.join();
    done = true;
    reader.join();
    EXPECT_EQ(tornReads, 0);
    const auto snap = ini::Snapshot::load(path);
    for (int i = 0; i < kPerThread; ++i) {
        EXPECT_EQ(snap.get(u"Config1", u"A" + decimalText(i), 10), decimalText(i));
        EXPECT_EQ(snap.get(u"Config1", u"B" + decimalText(i), 10), decimalText(i));
    }
}

}  // namespace
}  // namespace korvel
