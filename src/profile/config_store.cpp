#include "profile/config_store.h"

#include <vector>

#include "common/ini.h"
#include "common/number.h"
#include "common/text.h"

namespace korvel {

namespace {

constexpr std::size_t kSmall = 5;   // read capacity of most keys
constexpr std::size_t kWide = 10;   // the DPI keys

std::u16string numbered(std::u16string_view base, int n) { return std::u16string(base) + decimalText(n); }

}  // namespace

std::u16string profileSectionName(int number) { return numbered(u"Config", number); }

std::u16string defaultSectionName(int number, std::int32_t verSel) {
    if (number == 5 && verSel == 1) return u"CfgReset_EN5";
    return numbered(u"CfgReset", number);
}

void loadProfile(Profile& p, std::u16string_view path, int number, bool fromDefaults, std::int32_t verSel) {
    // One parse of the file serves all the keys of the section.
    const auto file = ini::Snapshot::load(path);
    const auto section = fromDefaults ? defaultSectionName(number, verSel) : profileSectionName(number);
    auto num = [&](std::u16string_view key, std::size_t capacity) { return leadingInt(file.get(section, key, capacity)); };
    auto byte = [&](std::u16string_view key, std::size_t capacity) {
        return static_cast<std::uint8_t>(num(key, capacity) & 0xFF);
    };

    for (int i = 0; i < kButtonCount; ++i) p.buttonFunction[i] = num(numbered(u"K", i), kSmall);
    p.wheelStatus = num(u"WHEEL_STATUS", kSmall);
    p.macroMode2 = num(u"MACRO_MODE2", kSmall);
    p.dpiLevel = num(u"DPI_LEVEL", kSmall);
    for (int level = 0; level < kDpiLevelCount; ++level) {
        p.dpiSet[level] = byte(numbered(u"DPI_SET", level), kWide);
        p.dpiSetEn[level] = num(numbered(u"DPI_SET_EN", level), kWide) != 0 ? 1 : 0;
    }
    p.ledStatus = byte(u"LED_STATUS", kSmall);
    p.dpiSpeed = byte(u"DPI_SPEED", kSmall);
    p.wheelSpeed = byte(u"WHEEL_SPEED", kSmall);
    p.usbSpeed = byte(u"USB_SPEED", kSmall);
    p.fireTime = num(u"FIRE_TIME", kSmall);
    p.boundLoadedValues();
}

void saveProfile(const Profile& p, std::u16string_view path, int number) {
    const auto section = profileSectionName(number);
    std::vector<ini::Write> w;
    auto put = [&](std::u16string key, std::int64_t value) { w.push_back({section, std::move(key), decimalText(value)}); };
    for (int i = 0; i < kButtonCount; ++i) put(numbered(u"K", i), p.buttonFunction[i]);
    put(u"DPI_LEVEL", p.dpiLevel);
    put(u"WHEEL_STATUS", p.wheelStatus);
    put(u"MACRO_MODE2", p.macroMode2);
    for (int level = 0; level < kDpiLevelCount; ++level) {
        put(numbered(u"DPI_SET", level), p.dpiSet[level]);
        put(numbered(u"DPI_SET_EN", level), p.dpiSetEn[level] != 0 ? 1 : 0);
    }
    put(u"LED_STATUS", p.ledStatus);
    put(u"DPI_SPEED", p.dpiSpeed);
    put(u"WHEEL_SPEED", p.wheelSpeed);
    put(u"USB_SPEED", p.usbSpeed);
    put(u"FIRE_TIME", p.fireTime);
    ini::writeStrings(path, w);
}

void saveDpiLevel(const Profile& p, std::u16string_view path, int number) {
    ini::writeString(path, profileSectionName(number), u"DPI_LEVEL", decimalText(p.dpiLevel));
}

void saveUsbSpeed(const Profile& p, std::u16string_view path, int number) {
    ini::writeString(path, profileSectionName(number), u"USB_SPEED", decimalText(p.usbSpeed));
}

std::int32_t readCurConfig(std::u16string_view path) { return leadingInt(ini::readString(path, u"Init", u"CurConfig", kSmall)); }

void writeCurConfig(std::u16string_view path, std::int32_t number) {
    ini::writeString(path, u"Init", u"CurConfig", decimalText(number));
}

std::int32_t readVerSel(std::u16string_view path) {
    return static_cast<std::uint8_t>(leadingInt(ini::readString(path, u"Init", u"VER_SEL", kSmall)) & 0xFF);
}

void writeVerSel(std::u16string_view path, std::int32_t value) {
    ini::writeString(path, u"Init", u"VER_SEL", decimalText(value));
}

}  // namespace korvel
