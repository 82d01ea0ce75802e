// Key-code tables, key names and the texts of the event list.
#include <gtest/gtest.h>

#include <set>

#include "macro/key_codes.h"

namespace korvel {
namespace {

// Usages without a virtual-key pair, and virtual keys without a usage pair.
std::set<int> unpairedUsages() {
    std::set<int> s{0, 1, 2, 3, 53, 88, 100, 102, 103, 118, 157, 158};
    for (int u = 120; u <= 155; ++u) s.insert(u);
    for (int u = 160; u <= 223; ++u) s.insert(u);
    for (int u = 232; u <= 255; ++u) s.insert(u);
    return s;
}

std::set<int> unpairedVirtualKeys() {
    std::set<int> s{10, 11, 42, 94, 95};
    auto range = [&s](int a, int b) { for (int v = a; v <= b; ++v) s.insert(v); };
    range(0, 7); range(14, 18); range(21, 26); range(28, 31); range(58, 64); range(136, 143);
    range(146, 159); range(166, 185); range(193, 218); range(223, 255);
    return s;
}

TEST(KeyCodeTables, ExactlyTheListedCodesArePairedAndThePairsAreInverse) {
    const auto noUsage = unpairedUsages();
    const auto noVirtualKey = unpairedVirtualKeys();
    EXPECT_EQ(256u - noUsage.size(), 120u);
    EXPECT_EQ(256u - noVirtualKey.size(), 120u);
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<std::uint8_t>(c);
        if (noUsage.count(c)) {
            EXPECT_EQ(usageToVirtualKey(code), c) << "usage " << c;
        } else {
            const int vk = usageToVirtualKey(code);
            EXPECT_EQ(noVirtualKey.count(vk), 0u) << "usage " << c << " -> " << vk;
            EXPECT_EQ(virtualKeyToUsage(static_cast<std::uint8_t>(vk)), c) << "usage " << c;
        }
        if (noVirtualKey.count(c)) {
            EXPECT_EQ(virtualKeyToUsage(code), c) << "virtual key " << c;
        }
    }
}

TEST(KeyCodeTables, DocumentedPairs) {
    struct Case { int usage; int virtualKey; };
    const Case cases[] = {
        {4, 65}, {29, 90}, {30, 49}, {38, 57}, {39, 48}, {40, 13}, {45, 189}, {50, 192},
        {58, 112}, {69, 123}, {89, 97}, {97, 105}, {98, 96}, {99, 110}, {104, 124}, {115, 135},
        {156, 12}, {159, 108}, {224, 162}, {227, 91}, {231, 92},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(usageToVirtualKey(static_cast<std::uint8_t>(c.usage)), c.virtualKey) << c.usage;
        EXPECT_EQ(virtualKeyToUsage(static_cast<std::uint8_t>(c.virtualKey)), c.usage) << c.virtualKey;
    }
}

TEST(KeyCodeTables, LossyAndPassThroughCases) {
    // Tilde: the mouse's usage 50 pairs with VK_OEM_3; 53 has no pair.
    EXPECT_EQ(virtualKeyToUsage(192), 50);
    EXPECT_EQ(usageToVirtualKey(53), 53);
    EXPECT_EQ(virtualKeyToUsage(usageToVirtualKey(53)), 34);  // comes back as the digit 5
    // Keypad Enter shares VK_RETURN with Enter, which always reads as usage 40.
    EXPECT_EQ(virtualKeyToUsage(13), 40);
    EXPECT_EQ(usageToVirtualKey(88), 88);
    EXPECT_EQ(virtualKeyToUsage(usageToVirtualKey(88)), 27);  // comes back as X
    // Side-neutral modifiers pass through and then read as letters.
    EXPECT_EQ(virtualKeyToUsage(16), 16);
    EXPECT_EQ(virtualKeyToUsage(17), 17);
    EXPECT_EQ(virtualKeyToUsage(18), 18);
    EXPECT_EQ(keyName(16), u"M");
    EXPECT_EQ(keyName(17), u"N");
    EXPECT_EQ(keyName(18), u"O");
    for (int mouse : {240, 241, 242}) {
        EXPECT_EQ(usageToVirtualKey(static_cast<std::uint8_t>(mouse)), mouse);
        EXPECT_EQ(virtualKeyToUsage(static_cast<std::uint8_t>(mouse)), mouse);
    }
}

// Everything the recorder can store (the usage of any virtual key) and the
// editor's mouse codes survive the write-then-read conversion.
TEST(KeyCodeTables, EveryRecordableCodeSurvivesWriteAndRead) {
    std::set<int> producible{240, 241, 242};
    for (int vk = 0; vk < 256; ++vk) producible.insert(virtualKeyToUsage(static_cast<std::uint8_t>(vk)));
    for (int code : producible) {
        const auto c = static_cast<std::uint8_t>(code);
        EXPECT_EQ(virtualKeyToUsage(usageToVirtualKey(c)), code) << code;
    }
    EXPECT_EQ(producible.count(53), 0u);
    EXPECT_EQ(producible.count(88), 0u);
}

TEST(KeyNames, NamedCodes) {
    struct Case { int code; std::u16string name; };
    const Case cases[] = {
        {4, u"A"}, {29, u"Z"}, {30, u"1"}, {38, u"9"}, {39, u"0"},
        {40, u"RETURN"}, {41, u"ESCAPE"}, {42, u"BACK"}, {43, u"TAB"}, {44, u"SPACE"},
        {45, u"-"}, {46, u"+"}, {47, u"[{"}, {48, u"]}"}, {49, u"\\|"}, {50, u"`~"},
        {51, u";:"}, {52, u" ' "}, {54, u","}, {55, u"."}, {56, u"/?"}, {57, u"CAPITAL"},
        {58, u"F1"}, {69, u"F12"}, {70, u"SNAPSHOT"}, {71, u"SCROLL"}, {72, u"PAUSE"},
        {73, u"INSERT"}, {74, u"HOME"}, {75, u"PRIOR"}, {76, u"DELETE"}, {77, u"END"},
        {78, u"NEXT"}, {79, u"RIGHT"}, {80, u"LEFT"}, {81, u"DOWN"}, {82, u"UP"},
        {83, u"NUMLOCK"}, {84, u"DIVIDE"}, {85, u"MULTIPLY"}, {86, u"SUBTRACT"}, {87, u"ADD"},
        {89, u"NUMPAD1"}, {97, u"NUMPAD9"}, {98, u"NUMPAD0"}, {99, u"DECIMAL"}, {101, u"APPS"},
        {104, u"F13"}, {115, u"F24"}, {116, u"EXECUTE"}, {117, u"HELP"}, {118, u"MENU"},
        {119, u"SELECT"}, {156, u"CLEAR"}, {159, u"SEPARATOR"},
        {224, u"LCONTROL"}, {225, u"LSHIFT"}, {226, u"LMENU"}, {227, u"LWIN"},
        {228, u"RCONTROL"}, {229, u"RSHIFT"}, {230, u"RMENU"}, {231, u"RWIN"},
        {240, u"L-KEY"}, {241, u"R-KEY"}, {242, u"M-KEY"},
    };
    for (const Case& c : cases) EXPECT_EQ(keyName(static_cast<KeyCode>(c.code)), c.name) << c.code;
}

TEST(KeyNames, UnnamedCodesAreNonAvailable) {
    std::set<int> unnamed{0, 1, 2, 3, 53, 88, 100, 102, 103, 157, 158};
    for (int c = 120; c <= 155; ++c) unnamed.insert(c);
    for (int c = 160; c <= 223; ++c) unnamed.insert(c);
    for (int c = 232; c <= 239; ++c) unnamed.insert(c);
    for (int c = 243; c <= 255; ++c) unnamed.insert(c);
    for (int c = 0; c < 256; ++c) {
        const bool isUnnamed = keyName(static_cast<KeyCode>(c)) == u"NON-AVAILABLE";
        EXPECT_EQ(isUnnamed, unnamed.count(c) == 1) << c;
    }
}

TEST(EventText, EventAndDelayLines) {
    EXPECT_EQ(eventLineText(4, ACTION_DOWN), u"[\u2193]A");
    EXPECT_EQ(eventLineText(241, ACTION_UP), u"[\u2191]R-KEY");
    EXPECT_EQ(eventLineText(4, 0), u"A");
    EXPECT_EQ(eventLineText(4, 3), u"A");
    EXPECT_EQ(eventLineText(53, ACTION_DOWN), u"[\u2193]NON-AVAILABLE");
    EXPECT_EQ(delayLineText(0), u"    0ms");
    EXPECT_EQ(delayLineText(30), u"    30ms");
    EXPECT_EQ(delayLineText(65535), u"    65535ms");
}

TEST(EventText, ThreeDigitText) {
    struct Case { std::u16string prefix; int n; std::u16string text; };
    const Case cases[] = {
        {u"", 0, u"000"}, {u"", 7, u"007"}, {u"", 10, u"010"}, {u"", 45, u"045"}, {u"", 99, u"099"},
        {u"", 100, u"100"}, {u"", 255, u"255"}, {u"", 1000, u"1000"}, {u"12", 3, u"12003"},
    };
    for (const Case& c : cases) EXPECT_EQ(threeDigitText(c.prefix, c.n), c.text) << c.n;
}

MacroRecord recordWith(std::initializer_list<std::pair<MacroEvent, std::uint16_t>> events) {
    MacroRecord r;
    int k = 0;
    for (const auto& [event, delay] : events) {
        r.events[static_cast<std::size_t>(k)] = event;
        r.setDelay(k, delay);
        ++k;
    }
    r.eventCount = static_cast<std::uint8_t>(k);
    return r;
}

TEST(EventText, LinesOfOneMacro) {
    EXPECT_TRUE(macroLines(MacroRecord{}).lines.empty());

    const MacroRecord r = recordWith({{{224, ACTION_DOWN}, 30}, {{6, ACTION_DOWN}, 45}, {{6, ACTION_UP}, 60},
                                      {{224, 7}, 999}});
    const MacroLines m = macroLines(r);
    const std::vector<std::u16string> expected{u"[\u2193]LCONTROL", u"    30ms", u"[\u2193]C", u"    45ms",
                                               u"[\u2191]C", u"    60ms", u"LCONTROL"};
    EXPECT_EQ(m.lines, expected);  // the delay after the last event is not shown
    EXPECT_EQ(m.downCount, 2);
    EXPECT_EQ(m.upCount, 1);
    EXPECT_EQ(eventOfLine(5), 2);
    EXPECT_TRUE(isDelayLine(5));
    EXPECT_FALSE(isDelayLine(4));
}

TEST(EventText, FullRecordHasNoOutOfRangeLines) {
    MacroRecord r;
    r.eventCount = 255;  // one more than the program makes; a file can hold it
    const MacroLines m = macroLines(r);
    EXPECT_EQ(m.lines.size(), 509u);
    EXPECT_EQ(m.downCount + m.upCount, 0);
}

}  // namespace
}  // namespace korvel
