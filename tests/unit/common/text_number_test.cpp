#include <gtest/gtest.h>

#include "common/number.h"
#include "common/text.h"

namespace korvel {
namespace {

TEST(LeadingInt, ReadsLikeTheRuntime) {
    const std::vector<std::pair<std::u16string, std::int32_t>> cases{
        {u"41", 41},       {u"041", 41},        {u"  -7x", -7},          {u"+12", 12},
        {u"", 0},          {u"abc", 0},         {u"-", 0},               {u"12 34", 12},
        {u"\t9", 9},       {u"2147483647", 2147483647},
        {u"99999999999", 2147483647},           {u"-99999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(leadingInt(text), value) << toUtf8(text);
}

TEST(Utf8, RoundTripsTextAndKeepsInvalidBytes) {
    for (const std::string s : {std::string("plain"), std::string("Lumar宏编程游戏鼠标"), std::string("\xF0\x9F\x8E\xAE"),
                                std::string("bad \xC0\xAF and \xFF\xFE bytes"), std::string("\xCE\xDE\xB9")})
        EXPECT_EQ(toUtf8(fromUtf8(s)), s);
    EXPECT_EQ(fromUtf8("宏"), u"宏");
}

TEST(Paths, FolderOfCutsBeforeTheLastSeparator) {
    EXPECT_EQ(folderOf(u"C:\\Games\\Korvel\\korvel.exe"), u"C:\\Games\\Korvel");
    EXPECT_EQ(folderOf(u"korvel.exe"), u"");
}

}  // namespace
}  // namespace korvel
