#include "device/feature_reports.h"

#include <algorithm>

namespace korvel {

namespace {
void head(ReportBytes& buf, std::uint8_t command) {
    buf[0] = kFeatureReportId;
    buf[1] = command;
}
}  // namespace

std::uint8_t dpiCodeOfLevel(const Profile& profile, int level) {
    const int index = std::min<int>(profile.dpiSet[level], kDpiValueCount - 1);
    return dpiCodeTable[index];
}

std::uint8_t dpiEnableMask(const Profile& profile) {
    std::uint8_t mask = 0;
    for (int n = 0; n < kDpiLevelCount; ++n)
        if (profile.dpiSetEn[n] != 0) mask |= static_cast<std::uint8_t>(1u << n);
    return mask;
}

void encodeButtonFunction(ReportBytes& buf, const Profile& profile, int button) {
    head(buf, kCmdButtonFunction);
    buf[2] = hardwareButtonCode[button];
    buf[3] = deviceFunctionCode(profile.buttonFunction[button]);
}

void encodeWheelStatus(ReportBytes& buf, const Profile& profile) {
    head(buf, kCmdWheelStatus);
    buf[2] = static_cast<std::uint8_t>(profile.wheelStatus);
    buf[3] = 0;
}

void encodeDpiLevel(ReportBytes& buf, const Profile& profile, int level) {
    head(buf, kCmdDpiLevel);
    buf[2] = static_cast<std::uint8_t>(0x40 + profile.dpiLevel);
    buf[3] = static_cast<std::uint8_t>((dpiCodeOfLevel(profile, level) << 4) + 8 + level);
    buf[4] = dpiEnableMask(profile);
}

void encodeLighting(ReportBytes& buf, const Profile& profile) {
    head(buf, kCmdLighting);
    buf[2] = 0x7F;
    // ledDeviceValue is 0x10 + the lighting code; a value past the table
    // takes its last entry.
    buf[3] = ledDeviceValue[std::min<int>(profile.ledStatus, static_cast<int>(ledDeviceValue.size()) - 1)];
}

void encodeFireTime(ReportBytes& buf, const Profile& profile) {
    head(buf, kCmdFireTime);
    const std::int32_t v = profile.fireTime / 8;
    buf[2] = static_cast<std::uint8_t>(v / 256);
    buf[3] = static_cast<std::uint8_t>(v % 256);
    buf[4] = buf[5] = buf[6] = buf[7] = 0;
}

void encodeKeyState(ReportBytes& buf, const std::array<std::uint8_t, 6>& slots) {
    head(buf, kCmdKeyState);
    std::copy(slots.begin(), slots.end(), buf.begin() + 2);
}

void encodeMouseButtons(ReportBytes& buf, std::uint8_t mask) {
    head(buf, kCmdMouseButtons);
    buf[3] = mask;  // byte 2 keeps what the last command left
}

void encodeConsumerKey(ReportBytes& buf, std::uint16_t usage) {
    buf[1] = kCmdConsumerKey;  // byte 0 is always 7 already
    buf[2] = static_cast<std::uint8_t>(usage >> 8);
    buf[3] = static_cast<std::uint8_t>(usage & 0xFF);
}

void encodeExit(ReportBytes& buf) {
    // 07 20 00 00, one 32-bit little-endian value 0x2007 in the original.
    buf[0] = kFeatureReportId;
    buf[1] = kCmdExit;
    buf[2] = 0;
    buf[3] = 0;
}

}  // namespace korvel
