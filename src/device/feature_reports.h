#pragma once
// Feature report 7: the byte layout of the nine commands the mouse takes.
// Each encoder writes only the bytes of its own command into the shared
// buffer; every other byte keeps what an earlier command left there, as the
// mouse has always received it.
#include <array>
#include <cstdint>

#include "profile/profile.h"

namespace korvel {

inline constexpr std::uint16_t kMouseVendorId = 0x18F8;
inline constexpr std::uint16_t kMouseProductId = 0x1286;
inline constexpr std::uint16_t kEventUsagePage = 0xFF00;    // input report 6
inline constexpr std::uint16_t kCommandUsagePage = 0xFF01;  // feature report 7
inline constexpr std::uint16_t kVendorUsage = 1;

inline constexpr std::size_t kReportBufferSize = 256;
inline constexpr std::uint8_t kFeatureReportId = 7;
inline constexpr std::uint8_t kInputReportId = 6;
inline constexpr std::uint8_t kReleaseValue = 0x80;
inline constexpr std::uint8_t kSoftwareEventBase = 240;  // event code = 240 + hardware button code

using ReportBytes = std::array<std::uint8_t, kReportBufferSize>;

enum CommandCode : std::uint8_t {
    kCmdDpiLevel = 0x09,
    kCmdButtonFunction = 0x10,
    kCmdWheelStatus = 0x11,
    kCmdFireTime = 0x12,
    kCmdLighting = 0x13,
    kCmdKeyState = 0x15,
    kCmdMouseButtons = 0x16,
    kCmdConsumerKey = 0x17,
    kCmdExit = 0x20,
};

// Consumer-page usages of the media functions 21-30.
inline constexpr std::array<std::uint16_t, 10> consumerUsageTable{0x0223, 0x0183, 0x018A, 0x00E9, 0x00EA,
                                                                  0x00B6, 0x00B5, 0x00E2, 0x00CD, 0x0192};

// The device DPI code of a level; a hand-edited index past the table takes
// the table's last entry rather than reading beyond it.
std::uint8_t dpiCodeOfLevel(const Profile& profile, int level);
// Bit n set when level n is in use.
std::uint8_t dpiEnableMask(const Profile& profile);

void encodeButtonFunction(ReportBytes& buf, const Profile& profile, int button);
void encodeWheelStatus(ReportBytes& buf, const Profile& profile);
void encodeDpiLevel(ReportBytes& buf, const Profile& profile, int level);
void encodeLighting(ReportBytes& buf, const Profile& profile);
void encodeFireTime(ReportBytes& buf, const Profile& profile);
void encodeKeyState(ReportBytes& buf, const std::array<std::uint8_t, 6>& slots);
void encodeMouseButtons(ReportBytes& buf, std::uint8_t mask);
void encodeConsumerKey(ReportBytes& buf, std::uint16_t usage);
void encodeExit(ReportBytes& buf);

}  // namespace korvel
