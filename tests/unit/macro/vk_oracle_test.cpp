// Independent references for the key-code tables:
//  - the virtual-key side against the VK_* constants of the mingw-w64 headers
//    (winuser.h is parsed at test time; letters and digits have no constants
//    there, their virtual keys are the ASCII codes of the characters);
//  - the usage side against the names of the HID Usage Tables' Keyboard/Keypad
//    page (0x07), listed below with their usage IDs.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "macro/key_codes.h"

namespace korvel {
namespace {

std::map<std::string, int> readVirtualKeyConstants() {
    const char* candidates[] = {"/usr/share/mingw-w64/include/winuser.h",
                                "/usr/x86_64-w64-mingw32/include/winuser.h"};
    std::map<std::string, int> constants;
    const std::regex define(R"(^#define\s+(VK_[A-Z0-9_]+)\s+(0x[0-9A-Fa-f]+|[0-9]+)\s*$)");
    for (const char* path : candidates) {
        std::ifstream in(path);
        if (!in) continue;
        std::string line;
        std::smatch m;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (std::regex_match(line, m, define)) constants.emplace(m[1].str(), std::stoi(m[2].str(), nullptr, 0));
        }
        break;
    }
    return constants;
}

struct KeyboardUsage {
    int usage;
    const char* hidName;     // HID Usage Tables, Keyboard/Keypad page
    const char* virtualKey;  // a VK_ constant, or a single character for letters and digits
};

// Usage 50 is the page's "Keyboard Non-US # and ~"; the mouse uses it for the
// grave-accent/tilde key (the page's usage 53), which is why 53 has no pair.
const KeyboardUsage kKeyboardPage[] = {
    {4, "Keyboard a and A", "A"}, {5, "Keyboard b and B", "B"}, {6, "Keyboard c and C", "C"},
    {7, "Keyboard d and D", "D"}, {8, "Keyboard e and E", "E"}, {9, "Keyboard f and F", "F"},
    {10, "Keyboard g and G", "G"}, {11, "Keyboard h and H", "H"}, {12, "Keyboard i and I", "I"},
    {13, "Keyboard j and J", "J"}, {14, "Keyboard k and K", "K"}, {15, "Keyboard l and L", "L"},
    {16, "Keyboard m and M", "M"}, {17, "Keyboard n and N", "N"}, {18, "Keyboard o and O", "O"},
    {19, "Keyboard p and P", "P"}, {20, "Keyboard q and Q", "Q"}, {21, "Keyboard r and R", "R"},
    {22, "Keyboard s and S", "S"}, {23, "Keyboard t and T", "T"}, {24, "Keyboard u and U", "U"},
    {25, "Keyboard v and V", "V"}, {26, "Keyboard w and W", "W"}, {27, "Keyboard x and X", "X"},
    {28, "Keyboard y and Y", "Y"}, {29, "Keyboard z and Z", "Z"},
    {30, "Keyboard 1 and !", "1"}, {31, "Keyboard 2 and @", "2"}, {32, "Keyboard 3 and #", "3"},
    {33, "Keyboard 4 and $", "4"}, {34, "Keyboard 5 and %", "5"}, {35, "Keyboard 6 and ^", "6"},
    {36, "Keyboard 7 and &", "7"}, {37, "Keyboard 8 and *", "8"}, {38, "Keyboard 9 and (", "9"},
    {39, "Keyboard 0 and )", "0"},
    {40, "Keyboard Return (ENTER)", "VK_RETURN"}, {41, "Keyboard ESCAPE", "VK_ESCAPE"},
    {42, "Keyboard DELETE (Backspace)", "VK_BACK"}, {43, "Keyboard Tab", "VK_TAB"},
    {44, "Keyboard Spacebar", "VK_SPACE"}, {45, "Keyboard - and (underscore)", "VK_OEM_MINUS"},
    {46, "Keyboard = and +", "VK_OEM_PLUS"}, {47, "Keyboard [ and {", "VK_OEM_4"},
    {48, "Keyboard ] and }", "VK_OEM_6"}, {49, "Keyboard \\ and |", "VK_OEM_5"},
    {50, "Keyboard Non-US # and ~", "VK_OEM_3"}, {51, "Keyboard ; and :", "VK_OEM_1"},
    {52, "Keyboard ' and \"", "VK_OEM_7"}, {54, "Keyboard , and <", "VK_OEM_COMMA"},
    {55, "Keyboard . and >", "VK_OEM_PERIOD"}, {56, "Keyboard / and ?", "VK_OEM_2"},
    {57, "Keyboard Caps Lock", "VK_CAPITAL"},
    {58, "Keyboard F1", "VK_F1"}, {59, "Keyboard F2", "VK_F2"}, {60, "Keyboard F3", "VK_F3"},
    {61, "Keyboard F4", "VK_F4"}, {62, "Keyboard F5", "VK_F5"}, {63, "Keyboard F6", "VK_F6"},
    {64, "Keyboard F7", "VK_F7"}, {65, "Keyboard F8", "VK_F8"}, {66, "Keyboard F9", "VK_F9"},
    {67, "Keyboard F10", "VK_F10"}, {68, "Keyboard F11", "VK_F11"}, {69, "Keyboard F12", "VK_F12"},
    {70, "Keyboard PrintScreen", "VK_SNAPSHOT"}, {71, "Keyboard Scroll Lock", "VK_SCROLL"},
    {72, "Keyboard Pause", "VK_PAUSE"}, {73, "Keyboard Insert", "VK_INSERT"},
    {74, "Keyboard Home", "VK_HOME"}, {75, "Keyboard PageUp", "VK_PRIOR"},
    {76, "Keyboard Delete Forward", "VK_DELETE"}, {77, "Keyboard End", "VK_END"},
    {78, "Keyboard PageDown", "VK_NEXT"}, {79, "Keyboard RightArrow", "VK_RIGHT"},
    {80, "Keyboard LeftArrow", "VK_LEFT"}, {81, "Keyboard DownArrow", "VK_DOWN"},
    {82, "Keyboard UpArrow", "VK_UP"}, {83, "Keypad Num Lock and Clear", "VK_NUMLOCK"},
    {84, "Keypad /", "VK_DIVIDE"}, {85, "Keypad *", "VK_MULTIPLY"}, {86, "Keypad -", "VK_SUBTRACT"},
    {87, "Keypad +", "VK_ADD"},
    {89, "Keypad 1 and End", "VK_NUMPAD1"}, {90, "Keypad 2 and Down Arrow", "VK_NUMPAD2"},
    {91, "Keypad 3 and PageDn", "VK_NUMPAD3"}, {92, "Keypad 4 and Left Arrow", "VK_NUMPAD4"},
    {93, "Keypad 5", "VK_NUMPAD5"}, {94, "Keypad 6 and Right Arrow", "VK_NUMPAD6"},
    {95, "Keypad 7 and Home", "VK_NUMPAD7"}, {96, "Keypad 8 and Up Arrow", "VK_NUMPAD8"},
    {97, "Keypad 9 and PageUp", "VK_NUMPAD9"}, {98, "Keypad 0 and Insert", "VK_NUMPAD0"},
    {99, "Keypad . and Delete", "VK_DECIMAL"}, {101, "Keyboard Application", "VK_APPS"},
    {104, "Keyboard F13", "VK_F13"}, {105, "Keyboard F14", "VK_F14"}, {106, "Keyboard F15", "VK_F15"},
    {107, "Keyboard F16", "VK_F16"}, {108, "Keyboard F17", "VK_F17"}, {109, "Keyboard F18", "VK_F18"},
    {110, "Keyboard F19", "VK_F19"}, {111, "Keyboard F20", "VK_F20"}, {112, "Keyboard F21", "VK_F21"},
    {113, "Keyboard F22", "VK_F22"}, {114, "Keyboard F23", "VK_F23"}, {115, "Keyboard F24", "VK_F24"},
    {116, "Keyboard Execute", "VK_EXECUTE"}, {117, "Keyboard Help", "VK_HELP"},
    {119, "Keyboard Select", "VK_SELECT"}, {156, "Keyboard Clear", "VK_CLEAR"},
    {159, "Keyboard Separator", "VK_SEPARATOR"},
    {224, "Keyboard LeftControl", "VK_LCONTROL"}, {225, "Keyboard LeftShift", "VK_LSHIFT"},
    {226, "Keyboard LeftAlt", "VK_LMENU"}, {227, "Keyboard Left GUI", "VK_LWIN"},
    {228, "Keyboard RightControl", "VK_RCONTROL"}, {229, "Keyboard RightShift", "VK_RSHIFT"},
    {230, "Keyboard RightAlt", "VK_RMENU"}, {231, "Keyboard Right GUI", "VK_RWIN"},
};

class VirtualKeyOracle : public ::testing::Test {
protected:
    static void SetUpTestSuite() { constants_ = new std::map<std::string, int>(readVirtualKeyConstants()); }
    static void TearDownTestSuite() { delete constants_; }
    static std::map<std::string, int>* constants_;

    int expectedVirtualKey(const KeyboardUsage& k) const {
        const std::string name = k.virtualKey;
        if (name.size() == 1) return static_cast<unsigned char>(name[0]);
        const auto it = constants_->find(name);
        return it == constants_->end() ? -1 : it->second;
    }
};
std::map<std::string, int>* VirtualKeyOracle::constants_ = nullptr;

TEST_F(VirtualKeyOracle, HeaderIsAvailable) {
    ASSERT_FALSE(constants_->empty()) << "winuser.h of mingw-w64 not found (scripts/setup.sh installs it)";
    // Letters and digits have no constants: their codes are the characters'.
    for (const auto& [name, value] : *constants_) {
        EXPECT_FALSE(value >= '0' && value <= '9') << name;
        EXPECT_FALSE(value >= 'A' && value <= 'Z') << name;
    }
}

TEST_F(VirtualKeyOracle, EveryPairMatchesTheReferences) {
    ASSERT_FALSE(constants_->empty());
    std::set<int> usages;
    std::set<int> virtualKeys;
    for (const KeyboardUsage& k : kKeyboardPage) {
        const int vk = expectedVirtualKey(k);
        ASSERT_GE(vk, 0) << k.virtualKey << " missing from winuser.h";
        EXPECT_EQ(usageToVirtualKey(static_cast<std::uint8_t>(k.usage)), vk) << k.hidName;
        EXPECT_EQ(virtualKeyToUsage(static_cast<std::uint8_t>(vk)), k.usage) << k.virtualKey;
        usages.insert(k.usage);
        virtualKeys.insert(vk);
    }
    EXPECT_EQ(usages.size(), 120u);
    EXPECT_EQ(virtualKeys.size(), 120u);
    // Outside the listed pairs both directions are the identity.
    for (int c = 0; c < 256; ++c) {
        if (!usages.count(c)) {
            EXPECT_EQ(usageToVirtualKey(static_cast<std::uint8_t>(c)), c) << "usage " << c;
        }
        if (!virtualKeys.count(c)) {
            EXPECT_EQ(virtualKeyToUsage(static_cast<std::uint8_t>(c)), c) << "vk " << c;
        }
    }
}

TEST_F(VirtualKeyOracle, KeyNamesFollowTheVirtualKeyNames) {
    for (const KeyboardUsage& k : kKeyboardPage) {
        const std::string vk = k.virtualKey;
        if (vk.rfind("VK_", 0) != 0 || vk.rfind("VK_OEM_", 0) == 0) continue;
        std::u16string expected;
        for (char c : vk.substr(3)) expected.push_back(static_cast<char16_t>(c));
        EXPECT_EQ(keyName(static_cast<KeyCode>(k.usage)), expected) << k.hidName;
    }
}

}  // namespace
}  // namespace korvel
