// Our INI engine against the system's own GetPrivateProfileStringW and
// WritePrivateProfileStringW: the Windows probe (tests/win/iniprobe) runs the
// same table of reads and writes under Wine, once for the whole table, and
// every case compares the two.
//
// Besides the listed reads, every case checks that our engine finds every key
// Wine lists in the file, with Wine's value. A case with writes also checks
// that
//  - what Wine reads from the file we wrote equals what it reads from its own
//    (every section and key it lists, with its value), so Windows sees our file
//    as it sees its own;
//  - our engine reading Wine's file gets what Wine gets;
//  - the bytes are equal, unless the case says why they differ on purpose;
//  - all the writes at once (writeStrings, one replace) give the same bytes as
//    one writeString after another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/ini.h"
#include "common/text.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// The table

struct Read {
    std::u16string section;
    std::u16string key;
    std::size_t capacity = 100;
    // Set only where our engine differs from Wine on purpose (the case's
    // readsDiffer says why): what our engine must give instead.
    std::optional<std::u16string> ours = std::nullopt;
};

struct Case {
    const char* name;
    std::optional<std::string> file;  // the bytes before the writes; nullopt: no file
    std::vector<ini::Write> writes;
    std::vector<Read> reads;
    const char* bytesDiffer = nullptr;  // why our written bytes differ from Wine's; null: identical
    const char* readsDiffer = nullptr;  // why the reads that carry `ours` differ from Wine
    bool refused = false;               // we refuse the writes and leave the file alone; Wine does not
    const char* shipped = nullptr;      // the file comes from the source tree (it must be there)
};

std::string utf16le(std::u16string_view text, bool bom) {
    std::string out = bom ? "\xFF\xFE" : "";
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Why our bytes differ from Wine's after an edit of a hand-made file.
const char* const kNormalForm =
    "Wine rewrites the whole file in its own normal form (CRLF line ends, no blanks around names and '=', "
    "blank lines dropped); we keep every line we do not change byte for byte and give new lines the "
    "file's own line end, so hand edits and comments survive.";

std::optional<std::string> sourceFile(const char* relative) {
    std::ifstream in(fs::path(KORVEL_SOURCE_DIR) / relative, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A profile save: the 25 keys of a profile section in their write order.
std::vector<ini::Write> profileSave(const std::u16string& section, int base) {
    std::vector<ini::Write> w;
    auto number = [](int v) { return fromUtf8(std::to_string(v)); };
    for (int i = 0; i < 9; ++i) w.push_back({section, u"K" + number(i), number(base + i)});
    w.push_back({section, u"DPI_LEVEL", u"2"});
    w.push_back({section, u"WHEEL_STATUS", u"0"});
    w.push_back({section, u"MACRO_MODE2", u"-1"});
    for (int i = 0; i < 4; ++i) {
        w.push_back({section, u"DPI_SET" + number(i), number(4 + 2 * i)});
        w.push_back({section, u"DPI_SET_EN" + number(i), u"1"});
    }
    w.push_back({section, u"LED_STATUS", u"0"});
    w.push_back({section, u"DPI_SPEED", u"4"});
    w.push_back({section, u"WHEEL_SPEED", u"2"});
    w.push_back({section, u"USB_SPEED", u"2"});
    w.push_back({section, u"FIRE_TIME", u"12345"});
    return w;
}

std::vector<ini::Write> concat(std::vector<ini::Write> a, const std::vector<ini::Write>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One macro as the library stores it: 1064 three-digit fields.
std::u16string macroValue(int seed) {
    std::u16string v;
    for (int e = 0; e < 1064; ++e) {
        const int n = (e * 37 + seed) % 256;
        v += fromUtf8(std::string(1, static_cast<char>('0' + n / 100)) + static_cast<char>('0' + n / 10 % 10) +
                      static_cast<char>('0' + n % 10));
    }
    return v;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        // ---- reading
        {"PlainValuesAndMissingNames",
         "[Init]\r\nCurConfig=3\r\nVER_SEL=1\r\n",
         {},
         {{u"Init", u"CurConfig", 2}, {u"Init", u"VER_SEL", 2}, {u"Init", u"Missing"}, {u"NoSuch", u"CurConfig"}}},
        {"MissingFile", std::nullopt, {}, {{u"Init", u"CurConfig", 2}, {u"Config1", u"K0", 8}}},
        {"EmptyFile", "", {}, {{u"Init", u"CurConfig", 2}}},
        {"CaseOfNames",
         "[Config1]\r\nDPI_LEVEL=2\r\n",
         {},
         {{u"config1", u"dpi_level"}, {u"CONFIG1", u"Dpi_Level"}, {u"Config1", u"DPI_LEVEL"}}},
        // Only ASCII letters match without regard to case, for Wine as for us.
        {"CaseOfNonAsciiNames",
         std::string(kUtf8Bom) + "[\xC3\x84rger]\r\n\xC3\xA9t\xC3\xA9=1\r\n",
         {},
         {{u"Ärger", u"été"}, {u"ärger", u"été"}, {u"Ärger", u"ÉTÉ"}}},
        {"DuplicateSectionsFirstWins",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nx=3\r\nz=4\r\n",
         {},
         {{u"A", u"x"}, {u"A", u"z"}, {u"a", u"z"}, {u"B", u"y"}}},
        {"DuplicateKeysFirstWins", "[A]\r\nk=first\r\nK=second\r\n", {}, {{u"A", u"k"}, {u"a", u"K"}}},
        {"DuplicateKeyFirstWithoutEquals", "[A]\r\nk\r\nk=second\r\n", {}, {{u"A", u"k"}}},
        {"BlanksAroundNamesAndEquals",
         "  [Sec]  \r\n  key  =  value with  inner  blanks  \r\n\tTab\t=\tx\t\r\n",
         {},
         {{u"Sec", u"key"}, {u" Sec ", u" key "}, {u"Sec", u"Tab"}, {u"Sec", u"\tTab"}}},
        {"BlanksInsideBrackets", "[ Sec ]\r\nk=v\r\n", {}, {{u"Sec", u"k"}, {u" Sec ", u"k"}}},
        {"LinesWithoutEquals",
         "[S]\r\njunk line\r\nk=v\r\nnoeq\r\n",
         {},
         {{u"S", u"k"}, {u"S", u"noeq"}, {u"S", u"junk line"}}},
        {"EmptyValues", "[S]\r\ne=\r\nf= \t \r\ng=v\r\n", {}, {{u"S", u"e"}, {u"S", u"f"}, {u"S", u"g"}}},
        {"ValueHoldsEquals", "[S]\r\nk=a=b\r\n k2 = = \r\n", {}, {{u"S", u"k"}, {u"S", u"k2"}}},
        {"OddCapacities",
         "[S]\r\nv=12345\r\n",
         {},
         {{u"S", u"v", 0},
          {u"S", u"v", 1},
          {u"S", u"v", 2},
          {u"S", u"v", 5},
          {u"S", u"v", 6},  // exactly the value and its terminator
          {u"S", u"v", 7},
          {u"S", u"missing", 1}}},
        {"QuotedValues",
         "[S]\r\nd=\"quoted\"\r\ns='single'\r\nm=\"mixed'\r\ni=a\"b\"c\r\nq=\"\r\nqq=\"\"\r\n"
         "sp=  \"  pad  \"  \r\nhalf=\"open\r\n",
         {},
         {{u"S", u"d"},
          {u"S", u"s"},
          {u"S", u"m"},
          {u"S", u"i"},
          {u"S", u"q"},
          {u"S", u"qq"},
          {u"S", u"sp"},
          {u"S", u"half"},
          {u"S", u"d", 6},
          {u"S", u"d", 8},
          {u"S", u"d", 2}}},
        // Wine copies "quoted\"" (the text after the opening quote) cut to
        // capacity - 1 and then drops the last character copied whenever the
        // capacity is at least that text's length, so at a capacity of exactly
        // the unquoted length + 1 it drops a real character ("quote" for 7). We
        // cut the unquoted value to capacity - 1 characters, as documented.
        {"QuotedValueAtExactCapacity",
         "[S]\r\nd=\"quoted\"\r\n",
         {},
         {{u"S", u"d", 7, u"quoted"}},
         nullptr,
         "a quoted value read with capacity = its unquoted length + 1 loses its last character in Wine"},
        {"CommentLines",
         "; a comment\r\n[S]\r\n;k=commented\r\nk=real\r\n  ; indented=comment\r\n#hash=1\r\n",
         {},
         {{u"S", u"k"}, {u"S", u"#hash"}}},
        // Wine keeps a line starting with ';' as a key of that name (it only
        // leaves it out of key lists), so asking for ";k" finds it. To us such
        // a line is a comment and nothing in it is ever found; the program
        // asks for no name starting with ';', so only the comment reading
        // matters to it.
        {"CommentLinesAskedForByName",
         "[S]\r\n;k=commented\r\n  ; indented=comment\r\nk=real\r\n",
         {},
         {{u"S", u";k", 100, u""}, {u"S", u"; indented", 100, u""}, {u"S", u"k"}},
         nullptr,
         "lines starting with ';' are comments to us, keys nobody lists to Wine"},
        {"LfLineEnds", "[S]\na=1\nb=2\n[T]\nc=3", {}, {{u"S", u"a"}, {u"S", u"b"}, {u"T", u"c"}}},
        {"MixedLineEnds", "[S]\r\na=1\nb=2\r\n[T]\nc=3\r\n", {}, {{u"S", u"a"}, {u"S", u"b"}, {u"T", u"c"}}},
        {"Utf8ByteOrderMark",
         std::string(kUtf8Bom) + "[S]\r\nname=Gr\xC3\xBC\xC3\x9F" "e\r\nk=v\r\n",
         {},
         {{u"S", u"name"}, {u"S", u"k"}}},
        {"Utf16LeByteOrderMark",
         utf16le(u"[S]\r\nname=宋体\r\nk=v\r\nface=a\U0001F600b\r\n", true),
         {},
         {{u"S", u"name"}, {u"S", u"k"}, {u"S", u"name", 2}, {u"S", u"face"}, {u"S", u"face", 3}}},
        // A file without a byte-order mark is read as UTF-8 by us; Wine reads
        // it in the ANSI code page. Our own files are UTF-8, and ASCII (all
        // that the program itself writes into config.ini) reads the same both
        // ways.
        {"Utf8WithoutByteOrderMark",
         "[S]\r\nname=Gr\xC3\xBC\xC3\x9F" "e\r\nk=v\r\n",
         {},
         {{u"S", u"name", 100, u"Grüße"}, {u"S", u"k"}},
         nullptr,
         "files without a byte-order mark are UTF-8 to us, ANSI code page to Wine"},
        {"Utf16BeByteOrderMark",
         std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n", 22),
         {},
         {{u"S", u"k"}}},
        // A lone CR ends a line, for Wine and for us.
        {"BareCarriageReturns", "[S]\rk=v\r[T]\rm=w\r", {}, {{u"S", u"k", 100}, {u"T", u"m", 100}}},
        {"TextAfterSectionHeader",
         "[S] ; the first\r\nk=v\r\n[T]x=1\r\nm=w\r\n",
         {},
         {{u"S", u"k"}, {u"T", u"m"}, {u"T", u"x"}}},
        {"ValueWithSemicolon", "[S]\r\nk=v ; not a comment\r\n", {}, {{u"S", u"k"}}},
        // A NUL inside a value ends it: the value is a C string.
        {"NulInValue", std::string("[S]\r\nk=12\0" "34\r\nm=1\r\n", 19), {}, {{u"S", u"k", 100}, {u"S", u"m"}}},
        {"KeysBeforeFirstSection", "k=orphan\r\n[S]\r\nk=v\r\n", {}, {{u"S", u"k"}}},
        {"SectionHeaderWithoutClose", "[S]\r\na=1\r\n[Broken\r\nk=v\r\n", {}, {{u"S", u"a"}, {u"S", u"k"}}},
        {"NamesWithSpacesAndDigits",
         "[Config 7]\r\nDPI_SET_EN0=1\r\nK8 = 43\r\n",
         {},
         {{u"Config 7", u"DPI_SET_EN0", 2}, {u"config 7", u"k8", 8}}},

        // ---- writing
        {"WriteIntoMissingFile",
         std::nullopt,
         {{u"Init", u"CurConfig", u"1"}},
         {{u"Init", u"CurConfig"}}},
        {"WriteSeveralIntoMissingFile",
         std::nullopt,
         {{u"Init", u"CurConfig", u"2"},
          {u"Config1", u"K0", u"1"},
          {u"Config1", u"K1", u"2"},
          {u"Config6", u"K0", u"3"},
          {u"Init", u"VER_SEL", u"1"},
          {u"config1", u"k0", u"9"}},
         {{u"Init", u"CurConfig"}, {u"Init", u"VER_SEL"}, {u"Config1", u"K0"}, {u"Config6", u"K0"}}},
        {"WriteMissingSection",
         "[A]\r\nx=1\r\n",
         {{u"B", u"y", u"2"}},
         {{u"A", u"x"}, {u"B", u"y"}}},
        {"WriteMissingSectionAfterUnterminatedLine",
         "[A]\r\nx=1",
         {{u"B", u"y", u"2"}},
         {{u"A", u"x"}, {u"B", u"y"}}},
        {"WriteNewKeyAtEndOfSection",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n",
         {{u"A", u"z", u"3"}},
         {{u"A", u"x"}, {u"A", u"z"}, {u"B", u"y"}, {u"B", u"z"}}},
        // The new key goes after the section's last key, before the empty line
        // that separates it from the next section.
        {"WriteNewKeyBeforeEmptyLine",
         "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
         {{u"A", u"z", u"3"}},
         {{u"A", u"x"}, {u"A", u"z"}, {u"B", u"y"}, {u"B", u"z"}},
         kNormalForm},
        {"WriteIntoLastSectionWithoutLineEnd",
         "[A]\r\nx=1",
         {{u"A", u"y", u"2"}},
         {{u"A", u"x"}, {u"A", u"y"}}},
        {"WriteIntoEmptySectionAtEnd", "[A]\r\nx=1\r\n[B]", {{u"B", u"y", u"2"}}, {{u"A", u"x"}, {u"B", u"y"}}},
        {"ReplaceInPlace",
         "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=9\r\n",
         {{u"a", u"X", u"5"}},
         {{u"A", u"x"}, {u"A", u"y"}, {u"B", u"x"}}},
        {"ReplaceKeepsOtherLines",
         "; top\n[A]\n  x = 1  \n\n; note\ny = 2\n[B]\nk=v\n",
         {{u"A", u"x", u"7"}, {u"A", u"w", u"8"}},
         {{u"A", u"x"}, {u"A", u"y"}, {u"A", u"w"}, {u"B", u"k"}},
         kNormalForm},
        {"WriteIntoLfFile",
         "[A]\nx=1\n",
         {{u"A", u"y", u"2"}, {u"B", u"z", u"3"}},
         {{u"A", u"x"}, {u"A", u"y"}, {u"B", u"z"}},
         kNormalForm},
        {"WriteIntoFirstOfDuplicateSections",
         "[A]\r\nx=1\r\n[B]\r\n[a]\r\nz=3\r\n",
         {{u"A", u"z", u"4"}},
         {{u"A", u"z"}, {u"A", u"x"}}},
        {"WriteDuplicateKeyReplacesFirst", "[A]\r\nk=1\r\nk=2\r\n", {{u"A", u"K", u"3"}}, {{u"A", u"k"}}},
        {"WriteNamesAndValueWithBlanks",
         "[A]\r\nk=1\r\n",
         {{u" A ", u" k ", u" v "}, {u"\tB", u"n\t", u"  w"}},
         {{u"A", u"k"}, {u"B", u"n"}},
         // Wine keeps the trailing blank of a new key's name ("n\t=w"); we
         // write names and values without their surrounding blanks, which
         // reads the same.
         "we drop the blanks around a new key's name; Wine keeps the trailing ones"},
        {"WriteEmptyValue", "[A]\r\nk=1\r\n", {{u"A", u"k", u""}, {u"A", u"e", u""}}, {{u"A", u"k"}, {u"A", u"e"}}},
        {"WriteOverBareKeyAfterEmptyName",
         "[S]\r\n=v\r\n k \r\nk=2\r\n",
         {{u"S", u"k", u"3"}},
         {{u"S", u"k"}}},
        {"WriteLineWithoutEquals", "[A]\r\nnoeq\r\nz=1\r\n", {{u"A", u"noeq", u"v"}}, {{u"A", u"noeq"}, {u"A", u"z"}}},
        {"WriteSectionNameInOtherCase",
         "[Config1]\r\nK0=1\r\n",
         {{u"CONFIG1", u"k1", u"2"}},
         {{u"Config1", u"K1"}, {u"config1", u"K0"}}},
        {"WriteQuotedValue", "[A]\r\n", {{u"A", u"q", u"\"x y\""}}, {{u"A", u"q"}}},
        {"WriteIntoUtf8BomFile",
         std::string(kUtf8Bom) + "[S]\r\nk=v\r\n",
         {{u"S", u"name", u"Grüße"}, {u"T", u"k", u"w"}},
         {{u"S", u"name"}, {u"S", u"k"}, {u"T", u"k"}}},
        {"WriteIntoUtf16LeFile",
         utf16le(u"[S]\r\nk=v\r\n", true),
         {{u"S", u"name", u"宋体"}, {u"S", u"k", u"x"}},
         {{u"S", u"name"}, {u"S", u"k"}}},
        // A comment after the last key belongs to the section: the new key
        // goes after it.
        {"WriteAfterComments",
         "[S]\r\nk=v\r\n; trailing comment\r\n[T]\r\n",
         {{u"S", u"n", u"1"}},
         {{u"S", u"n"}, {u"S", u"k"}}},
        {"WriteKeyOnlyInLaterDuplicateSection",
         "[A]\r\nx=1\r\n[A]\r\ny=2\r\n",
         {{u"A", u"y", u"3"}},
         {{u"A", u"y"}, {u"A", u"x"}}},
        {"WriteIntoEmptyFile", "", {{u"Init", u"VER_SEL", u"1"}}, {{u"Init", u"VER_SEL"}}},
        {"WriteIntoEmptyUtf8BomFile", kUtf8Bom, {{u"Init", u"VER_SEL", u"1"}}, {{u"Init", u"VER_SEL"}}},
        // '=' in a key name would split it into another key and value when
        // read back ("a=b=v" is key "a"): Wine writes it, we refuse it.
        {"WriteKeyWithEquals",
         "[A]\r\nk=1\r\n",
         {{u"A", u"a=b", u"v"}},
         {{u"A", u"a", 100, u""}, {u"A", u"k"}},
         nullptr,
         "a key name with '=' is refused by us, written by Wine",
         true},
        // A line break in a value would let the value become lines of its own
        // (here a section "[B]"): Wine writes it as given, we refuse the write
        // and leave the file as it was.
        {"WriteValueWithLineBreak",
         "[A]\r\nk=1\r\n",
         {{u"A", u"k", u"a\r\n[B]\r\nx=1"}},
         {{u"A", u"k", 100, u"1"}, {u"B", u"x", 100, u""}},
         nullptr,
         "a value with a line break is refused by us, written by Wine",
         true},

        // ---- the files we ship, read and written as the program does
        {"ShippedConfigIni",
         sourceFile("res/config.ini"),
         concat(concat({{u"Init", u"CurConfig", u"3"}}, profileSave(u"Config3", 20)), profileSave(u"Config7", 30)),
         {{u"Init", u"CurConfig", 5},
          {u"Init", u"VER_SEL", 5},
          {u"Config3", u"K0", 5},
          {u"Config3", u"FIRE_TIME", 5},
          {u"Config3", u"DPI_SET3", 10},
          {u"Config7", u"MACRO_MODE2", 5},
          {u"Config7", u"FIRE_TIME", 5},
          {u"CfgReset_EN5", u"K0", 5}},
         kNormalForm,
         nullptr,
         false,
         "res/config.ini"},
        // A macro is read into a buffer of exactly its length, so its last
        // character is cut.
        {"ShippedMacroLibrary",
         sourceFile("res/Macro_EN.dat"),
         {{u"Macros", u"1", macroValue(1)}, {u"Macros", u"macroNum", u"8"}, {u"Macros", u"7", macroValue(7)}},
         {{u"Macros", u"macroNum", 3},
          {u"Macros", u"0", 3192},
          {u"Macros", u"1", 3192},
          {u"Macros", u"7", 3193},
          {u"Macros", u"8", 3192}},
         nullptr,
         nullptr,
         false,
         "res/Macro_EN.dat"},
        {"ShippedConstantMacros",
         sourceFile("res/constMacro.dat"),
         {},
         {{u"Macros", u"macroNum", 3}, {u"Macros", u"0", 3192}},
         nullptr,
         nullptr,
         false,
         "res/constMacro.dat"},
    };
    return table;
}

// ---------------------------------------------------------------------------
// Hex and display helpers

std::string hexBytes(std::string_view bytes) {
    if (bytes.empty()) return ".";
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 15]);
    }
    return hex;
}

std::string hexText(std::u16string_view text) {
    if (text.empty()) return ".";
    std::string hex;
    char unit[8];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c));
        hex += unit;
    }
    return hex;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> unhexBytes(std::string_view hex) {
    if (hex == ".") return std::string();
    if (hex.size() % 2) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
    }
    return out;
}

std::optional<std::u16string> unhexText(std::string_view hex) {
    if (hex == ".") return std::u16string();
    if (hex.size() % 4) return std::nullopt;
    std::u16string out;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        unsigned v = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const int d = hexDigit(hex[i + j]);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<unsigned>(d);
        }
        out.push_back(static_cast<char16_t>(v));
    }
    return out;
}

// Printable forms for failure messages.
std::string show(std::u16string_view text) {
    std::string out = "\"";
    char buf[16];
    for (char16_t c : text) {
        if (c == u'\r') out += "\\r";
        else if (c == u'\n') out += "\\n";
        else if (c == u'\t') out += "\\t";
        else if (c == u'"' || c == u'\\') out += std::string("\\") + static_cast<char>(c);
        else if (c >= 0x20 && c < 0x7F) out.push_back(static_cast<char>(c));
        else {
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out + "\"";
}

std::string showBytes(const std::optional<std::string>& bytes) {
    if (!bytes) return "(no file)";
    std::string out = "\"";
    char buf[8];
    for (unsigned char c : *bytes) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
        else if (c >= 0x20 && c < 0x7F) out.push_back(static_cast<char>(c));
        else {
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string clip(const std::string& s) { return s.size() <= 240 ? s : s.substr(0, 240) + "..."; }

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// ---------------------------------------------------------------------------
// Running both sides

// Sections in the order the system lists them, each with its keys and values.
struct Key {
    std::u16string name;
    std::u16string value;
    bool operator==(const Key&) const = default;
};
struct Section {
    std::u16string name;
    std::vector<Key> keys;
    bool operator==(const Section&) const = default;
};
using View = std::vector<Section>;

std::string showView(const View& view) {
    std::string out;
    for (const auto& s : view) {
        out += "[" + show(s.name) + "]";
        for (const auto& k : s.keys) out += " " + show(k.name) + "=" + show(k.value);
        out += "\n";
    }
    return out.empty() ? "(nothing)\n" : out;
}

struct WineRead {
    std::u16string value;
    unsigned long count = 0;
    bool overrun = false;
};

struct Outcome {
    // Ours.
    std::vector<bool> ourWrites;
    std::optional<std::string> ourBytes;
    bool ourBatchOk = true;
    std::optional<std::string> ourBatchBytes;  // the same writes through writeStrings
    std::vector<std::u16string> ourReads;
    // Wine on its own file.
    std::vector<bool> wineWrites;
    std::optional<std::string> wineBytes;
    std::vector<WineRead> wineReads;
    View wineView;
    // Wine on the file we wrote, and we on the file Wine wrote.
    std::vector<WineRead> wineReadsOfOurs;
    View wineViewOfOurs;
    std::vector<std::u16string> ourReadsOfWine;
    std::vector<std::u16string> ourViewReadsOfWine;  // one per key of wineView, in order
};

struct OracleRun {
    std::string error;  // why the oracle could not run; empty when it did
    std::vector<Outcome> outcomes;
    fs::path work;
};

std::optional<std::string> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void putBytes(const fs::path& p, const std::optional<std::string>& bytes) {
    std::error_code ec;
    fs::remove(p, ec);
    if (!bytes) return;
    std::ofstream out(p, std::ios::binary);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
}

std::string windowsPath(const fs::path& p) {
    std::string s = "Z:" + fs::absolute(p).string();
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out.push_back(c);
    }
    return out + "'";
}

bool hasWrites(const Case& c) { return !c.writes.empty(); }

// Our engine on every case; the probe's script for every case.
std::string runOursAndScript(const fs::path& work, std::vector<Outcome>& outcomes) {
    std::ostringstream script;
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        Outcome& o = outcomes[i];
        const std::string id = std::to_string(i);

        const fs::path ours = work / ("ours" + id + ".ini");
        putBytes(ours, c.file);
        const std::u16string oursPath = fromPath(ours);
        for (const auto& w : c.writes) o.ourWrites.push_back(ini::writeString(oursPath, w.section, w.key, w.value));
        o.ourBytes = fileBytes(ours);
        if (hasWrites(c)) {
            const fs::path batch = work / ("batch" + id + ".ini");
            putBytes(batch, c.file);
            o.ourBatchOk = ini::writeStrings(fromPath(batch), c.writes);
            o.ourBatchBytes = fileBytes(batch);
        }
        for (const auto& r : c.reads) o.ourReads.push_back(ini::readString(oursPath, r.section, r.key, r.capacity));

        const std::string wineFile = "wine" + id + ".ini";
        script << "CASE " << id << "\n";
        if (c.file) script << "PUT " << wineFile << " " << hexBytes(*c.file) << "\n";
        else script << "DEL " << wineFile << "\n";
        for (const auto& w : c.writes)
            script << "SET " << wineFile << " " << hexText(w.section) << " " << hexText(w.key) << " "
                   << hexText(w.value) << "\n";
        script << "DUMP " << wineFile << "\n";
        for (const auto& r : c.reads)
            script << "GET " << wineFile << " " << hexText(r.section) << " " << hexText(r.key) << " " << r.capacity
                   << "\n";
        script << "VIEW " << wineFile << "\n";
        if (hasWrites(c)) {
            const std::string copy = "copy" + id + ".ini";
            if (o.ourBytes) script << "PUT " << copy << " " << hexBytes(*o.ourBytes) << "\n";
            else script << "DEL " << copy << "\n";
            for (const auto& r : c.reads)
                script << "GET " << copy << " " << hexText(r.section) << " " << hexText(r.key) << " " << r.capacity
                       << "\n";
            script << "VIEW " << copy << "\n";
        }
    }
    return script.str();
}

std::optional<WineRead> parseGet(const std::vector<std::string>& w) {
    if (w.size() != 4 || w[0] != "GET") return std::nullopt;
    auto value = unhexText(w[2]);
    if (!value) return std::nullopt;
    return WineRead{*value, std::strtoul(w[1].c_str(), nullptr, 10), w[3] == "1"};
}

std::optional<View> parseView(const std::vector<std::string>& w) {
    if (w.empty() || w[0] != "VIEW") return std::nullopt;
    View view;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const auto slash = w[i].find('/');
        if (slash == std::string::npos) return std::nullopt;
        auto name = unhexText(w[i].substr(0, slash));
        if (!name) return std::nullopt;
        Section s{*name, {}};
        std::string rest = w[i].substr(slash + 1);
        std::size_t start = 0;
        while (start < rest.size()) {
            std::size_t end = rest.find(',', start);
            if (end == std::string::npos) end = rest.size();
            const std::string item = rest.substr(start, end - start);
            const auto colon = item.find(':');
            if (colon == std::string::npos) return std::nullopt;
            auto key = unhexText(item.substr(0, colon));
            auto value = unhexText(item.substr(colon + 1));
            if (!key || !value) return std::nullopt;
            s.keys.push_back({*key, *value});
            start = end + 1;
        }
        view.push_back(std::move(s));
    }
    return view;
}

// Reads the probe's answers back in the order of the script.
std::string parseAnswers(const std::string& text, std::vector<Outcome>& outcomes) {
    std::istringstream in(text);
    std::string line;
    auto next = [&](const char* op) -> std::optional<std::vector<std::string>> {
        if (!std::getline(in, line)) return std::nullopt;
        auto w = words(line);
        if (w.empty() || w[0] != op) return std::nullopt;
        return w;
    };
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        Outcome& o = outcomes[i];
        const std::string where = "case " + std::to_string(i) + " (" + c.name + "): unexpected probe line: ";
        if (!next("CASE")) return where + line;
        if (!next(c.file ? "PUT" : "DEL")) return where + line;
        for (std::size_t k = 0; k < c.writes.size(); ++k) {
            auto w = next("SET");
            if (!w || w->size() != 2) return where + line;
            o.wineWrites.push_back((*w)[1] == "1");
        }
        auto dump = next("DUMP");
        if (!dump || dump->size() != 2) return where + line;
        if ((*dump)[1] != "missing") {
            o.wineBytes = unhexBytes((*dump)[1]);
            if (!o.wineBytes) return where + line;
        }
        for (std::size_t k = 0; k < c.reads.size(); ++k) {
            auto w = next("GET");
            auto r = w ? parseGet(*w) : std::nullopt;
            if (!r) return where + line;
            o.wineReads.push_back(*r);
        }
        auto v = next("VIEW");
        auto view = v ? parseView(*v) : std::nullopt;
        if (!view) return where + line;
        o.wineView = *view;
        if (hasWrites(c)) {
            if (!next(o.ourBytes ? "PUT" : "DEL")) return where + line;
            for (std::size_t k = 0; k < c.reads.size(); ++k) {
                auto w = next("GET");
                auto r = w ? parseGet(*w) : std::nullopt;
                if (!r) return where + line;
                o.wineReadsOfOurs.push_back(*r);
            }
            auto v2 = next("VIEW");
            auto view2 = v2 ? parseView(*v2) : std::nullopt;
            if (!view2) return where + line;
            o.wineViewOfOurs = *view2;
        }
    }
    if (!std::getline(in, line) || line != "END") return "the probe's answers do not end with END: " + line;
    return {};
}

// Our engine reading the files Wine wrote.
void readWineFiles(const fs::path& work, std::vector<Outcome>& outcomes) {
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        Outcome& o = outcomes[i];
        const fs::path theirs = work / ("fromwine" + std::to_string(i) + ".ini");
        putBytes(theirs, o.wineBytes);
        const std::u16string path = fromPath(theirs);
        for (const auto& r : c.reads) o.ourReadsOfWine.push_back(ini::readString(path, r.section, r.key, r.capacity));
        for (const auto& s : o.wineView)
            for (const auto& k : s.keys) o.ourViewReadsOfWine.push_back(ini::readString(path, s.name, k.name, 1 << 16));
    }
}

OracleRun runOracle() {
    OracleRun run;
    run.outcomes.resize(cases().size());
    const fs::path probe = KORVEL_INIPROBE_EXE;
    if (!fs::exists(probe)) {
        run.error = "the Windows INI probe is missing: " + probe.string() +
                    " (build it with: cmake --preset windows && cmake --build build/windows --target korvel-iniprobe)";
        return run;
    }
    std::error_code ec;
    fs::create_directories(KORVEL_ORACLE_WORK_DIR, ec);
    std::string pattern = (fs::path(KORVEL_ORACLE_WORK_DIR) / "work-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        run.error = "cannot make a work folder from " + pattern;
        return run;
    }
    run.work = pattern;

    const std::string script = runOursAndScript(run.work, run.outcomes);
    {
        std::ofstream out(run.work / "script.txt", std::ios::binary);
        out << script;
    }
    const fs::path answers = run.work / "answers.txt";
    const fs::path log = run.work / "wine.log";
    const std::string command = "cd " + quoted(run.work.string()) + " && WINEPREFIX=" + quoted(KORVEL_WINEPREFIX) +
                                " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' timeout 300 " + quoted(KORVEL_WINE) +
                                " " + quoted(probe.string()) + " " + quoted(windowsPath(run.work / "script.txt")) +
                                " " + quoted(windowsPath(answers)) + " </dev/null >" + quoted(log.string()) + " 2>&1";
    const int status = std::system(command.c_str());
    const auto text = fileBytes(answers);
    if (status != 0 || !text) {
        run.error = "the probe did not run under Wine (status " + std::to_string(status) + "): " + command +
                    "\nWine said: " + fileBytes(log).value_or("(nothing)");
        return run;
    }
    run.error = parseAnswers(*text, run.outcomes);
    if (run.error.empty()) readWineFiles(run.work, run.outcomes);
    return run;
}

const OracleRun* oracleRan = nullptr;

const OracleRun& oracle() {
    static const OracleRun run = runOracle();
    oracleRan = &run;
    return run;
}

// ---------------------------------------------------------------------------
// The comparison

class IniOracle : public ::testing::TestWithParam<std::size_t> {};

std::string describe(const Read& r) {
    return "[" + show(r.section) + "] " + show(r.key) + " capacity " + std::to_string(r.capacity);
}

TEST_P(IniOracle, MatchesTheSystemFunctions) {
    const OracleRun& run = oracle();
    ASSERT_TRUE(run.error.empty()) << run.error;
    const Case& c = cases()[GetParam()];
    const Outcome& o = run.outcomes[GetParam()];
    if (c.shipped) {
        ASSERT_TRUE(c.file.has_value()) << "missing from the source tree: " << c.shipped;
    }
    SCOPED_TRACE(std::string("file before: ") + (c.shipped ? c.shipped : showBytes(c.file)));

    // The probe itself: the system never writes past the capacity and its
    // count is the length of what it wrote.
    for (std::size_t k = 0; k < o.wineReads.size(); ++k) {
        EXPECT_FALSE(o.wineReads[k].overrun) << describe(c.reads[k]);
        EXPECT_EQ(o.wineReads[k].count, o.wineReads[k].value.size()) << describe(c.reads[k]);
    }

    if (c.refused) {
        for (bool ok : o.ourWrites) EXPECT_FALSE(ok) << "we must refuse: " << c.readsDiffer;
        EXPECT_FALSE(o.ourBatchOk) << "we must refuse: " << c.readsDiffer;
        EXPECT_EQ(showBytes(o.ourBytes), showBytes(c.file)) << "a refused write leaves the file as it was";
    } else {
        EXPECT_EQ(o.ourWrites, o.wineWrites) << "write results (ours vs Wine)";
        if (hasWrites(c)) {
            EXPECT_TRUE(o.ourBatchOk) << "writeStrings";
        }
    }
    if (hasWrites(c)) {
        EXPECT_EQ(showBytes(o.ourBatchBytes), showBytes(o.ourBytes))
            << "writeStrings at once vs writeString one after another";
    }

    // The listed reads: ours on our file against Wine on its file.
    for (std::size_t k = 0; k < c.reads.size(); ++k) {
        const Read& r = c.reads[k];
        if (r.ours) {
            EXPECT_EQ(show(o.ourReads[k]), show(*r.ours))
                << describe(r) << ": on purpose we differ from Wine (" << c.readsDiffer
                << "); Wine gives " << show(o.wineReads[k].value);
            std::printf("  on purpose (%s): %s: ours %s, Wine %s\n", c.readsDiffer, describe(r).c_str(),
                        show(o.ourReads[k]).c_str(), show(o.wineReads[k].value).c_str());
        } else {
            EXPECT_EQ(show(o.ourReads[k]), show(o.wineReads[k].value)) << describe(r) << " (ours vs Wine)";
        }
    }
    // Every key Wine finds in its file (after its writes), we find with the
    // same value in that file. Where reads differ on purpose the reason
    // applies to the whole file, so this is left out.
    if (!c.readsDiffer) {
        SCOPED_TRACE("Wine's file: " + showBytes(o.wineBytes));
        std::size_t n = 0;
        for (const auto& s : o.wineView)
            for (const auto& key : s.keys) {
                EXPECT_EQ(show(o.ourViewReadsOfWine[n]), show(key.value))
                    << "[" << show(s.name) << "] " << show(key.name) << " (we reading Wine's file vs Wine)";
                ++n;
            }
    }
    if (!hasWrites(c) || c.refused) return;

    SCOPED_TRACE("our file: " + showBytes(o.ourBytes) + "\nWine's file: " + showBytes(o.wineBytes));

    // Windows reads our file as it reads its own.
    for (std::size_t k = 0; k < c.reads.size(); ++k)
        EXPECT_EQ(show(o.wineReadsOfOurs[k].value), show(o.wineReads[k].value))
            << describe(c.reads[k]) << " (Wine reading our file vs Wine reading its own)";
    EXPECT_EQ(showView(o.wineViewOfOurs), showView(o.wineView))
        << "every section, key and value Wine finds in our file vs in its own";

    // We read Wine's file as Wine does.
    for (std::size_t k = 0; k < c.reads.size(); ++k)
        EXPECT_EQ(show(o.ourReadsOfWine[k]), show(o.wineReads[k].value))
            << describe(c.reads[k]) << " (we reading Wine's file vs Wine)";

    if (!c.bytesDiffer) {
        EXPECT_EQ(showBytes(o.ourBytes), showBytes(o.wineBytes)) << "the bytes written (ours vs Wine)";
    } else if (o.ourBytes != o.wineBytes) {
        std::printf("  on purpose (%s):\n  ours: %s\n  Wine: %s\n", c.bytesDiffer, clip(showBytes(o.ourBytes)).c_str(),
                    clip(showBytes(o.wineBytes)).c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, IniOracle, ::testing::Range<std::size_t>(0, cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(cases()[info.param].name);
                         });

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The work folder is kept when something failed, to look at the files.
    if (result == 0 && korvel::oracleRan && !korvel::oracleRan->work.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(korvel::oracleRan->work, ec);
    }
    return result;
}
