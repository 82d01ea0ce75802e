#pragma once
// config.ini and profile exchange files: sections "Init", "Config<n>" and the
// read-only factory defaults "CfgReset<n>" / "CfgReset_EN5".
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/profile.h"

namespace korvel {

inline constexpr int kAppliedProfile = 6;   // the copy last sent to the mouse
inline constexpr int kExchangeProfile = 7;  // section of profile files

std::u16string profileSectionName(int number);                  // "Config<n>"
std::u16string defaultSectionName(int number, std::int32_t verSel);  // "CfgReset<n>" / "CfgReset_EN5"

// Fills the persisted fields from "Config<number>" (or its default section);
// derived fields are untouched. Missing values read as 0; out-of-range values
// are bounded (Profile::boundLoadedValues).
void loadProfile(Profile& profile, std::u16string_view path, int number, bool fromDefaults, std::int32_t verSel);
// All 25 keys in their fixed order, as one atomic replace of the file.
void saveProfile(const Profile& profile, std::u16string_view path, int number);
void saveDpiLevel(const Profile& profile, std::u16string_view path, int number);
void saveUsbSpeed(const Profile& profile, std::u16string_view path, int number);

std::int32_t readCurConfig(std::u16string_view path);
void writeCurConfig(std::u16string_view path, std::int32_t number);
// "VER_SEL" narrowed to 8 bits, then widened: 0 Chinese, 1 English.
std::int32_t readVerSel(std::u16string_view path);
void writeVerSel(std::u16string_view path, std::int32_t value);

}  // namespace korvel
