// Texts of the monitor's windows that are built from values: the application title, the tray
// tip, the start-up message, the counters of the TCP/IP and VELT pages and the lines of the
// About page. Formats and words that live in the string table are passed in, loaded by the
// caller in the user's language; every text goes into a caller's buffer, bounded and
// terminated. Each function returns true when the whole text fitted.
#pragma once

#include "kordrv/core/kordrv_format.h"

#include "shared/drv_block.h"

#include <cstddef>
#include <cstdint>

namespace kordrv
{

// --- Application title, tray tip, start-up message ---------------------------------------------

// The title: `titleTemplate` (string IDS_APP_TITLE_TEMPLATE, "KOR Driver - KOR0x") with its
// last character replaced by the digit of `instance`. It is also the caption of the sheet and
// of every message box, and the title another monitor of the instance looks for. An instance
// outside 0..9 has no digit: the last character becomes "?", which no monitor's title carries,
// and the result is false. An empty template, or a buffer too small for the whole title, gives
// an empty title and false.
bool FormatAppTitle(char* buf, std::size_t size, const char* titleTemplate, int instance);

constexpr std::size_t kTrayTipSize = 128; // the notification area takes 127 characters
constexpr char kTrayTipFormat[] = "[%d] Orvanta KOR Driver";

// Tip of the notification-area icon for the instance of the command line, cut to 127
// characters (and to the buffer).
bool FormatTrayTip(char* buf, std::size_t size, int instance);

// Start-up error the sheet shows for a driver status: 0 (none) or a string id, see
// DriverStatusMessageId. True when the sheet must start the configuration tool after
// showing it (invalid configuration, adapter not found, no remote connections).
bool StartupErrorLaunchesConfigTool(unsigned messageId);

// --- TCP/IP and VELT pages ---------------------------------------------------------------------

// The six IP counters of the TCP/IP page. Read under the block lock.
struct IpPageCounters {
    std::uint32_t connections;
    std::uint32_t connected;
    std::uint32_t sendTotal;
    std::uint32_t recvTotal;
    std::uint32_t sendErrors;
    std::uint32_t recvErrors;
};
IpPageCounters ReadIpPageCounters(const DRV_STATE_BLOCK& block);

// The values of the VELT page. Read under the block lock.
struct VeltPageCounters {
    std::uint32_t handlesOpened;
    std::uint32_t socketsAttached;
    std::uint32_t connections; // entries, configured + added (see VeltConnectionCount)
    std::uint32_t connected;   // cfg_connected + added_connected, saturated
    std::uint32_t sendTotal;
    std::uint32_t recvTotal;
    std::uint32_t sendErrors;
    std::uint32_t recvErrors;
};
VeltPageCounters ReadVeltPageCounters(const DRV_STATE_BLOCK& block);

// Entries the VELT page counts: `cfg_entry_count` + `added_entry_count`, each cut the way the
// entry snapshot cuts it (128 in all, 64 added), so the page never counts more stations than
// the status dialog can list.
std::uint32_t VeltConnectionCount(std::uint32_t cfgEntryCount, std::uint32_t addedEntryCount);

// Sum of two counters that stops at 4294967295 instead of wrapping.
std::uint32_t SaturatedSum(std::uint32_t a, std::uint32_t b);

// Local VELT address: `format` (string IDS_VELT_ADDRESS_FORMAT, "%u.%u") with net and station.
bool FormatVeltAddress(char* buf, std::size_t size, const char* format, std::uint32_t net,
                       std::uint32_t station);

// --- About page --------------------------------------------------------------------------------

// String-table texts of the About page, as loaded by the caller.
struct AboutTexts {
    const char* versionFormat;  // IDS_VERSION_FORMAT  "%sVersion %u.%u (IE%02u - Build %u)"
    const char* socketsFormat;  // IDS_SOCKETS_FORMAT  "WINDOWS Sockets V%u.%u (V%u.%u detected)"
    const char* systemFormat;   // IDS_SYSTEM_FORMAT   "WINDOWS %s V%u.%u (Build %u)"
    const char* extendedFormat; // IDS_EXTENDED_FORMAT "Extended Info : %s"
    const char* none;           // IDS_EXTENDED_NONE   "None"
    const char* prerelease;     // IDS_KIND_PRERELEASE "Prerelease "
    const char* debug;          // IDS_KIND_DEBUG      "Debug "
    const char* release;        // IDS_KIND_RELEASE    "Release "
};

constexpr std::size_t kAboutLineSize = 256;

// Version line of the monitor: the kind ("Prerelease " or "Release ", then "Debug " for a
// debug build) and major, minor, release, build of `monitor_version`.
bool FormatVersionLine(char* buf, std::size_t size, const AboutTexts& texts,
                       const DRV_VERSION_INFO& version);

// Platform ids of the system's version record.
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

// System line: platform name and build, then the version. The 9x platform reads "95" when the
// low 16 bits of the build number are below 980, else "98", and shows those 16 bits; the NT
// platform reads "NT" and shows the whole build number; any other reads "??" and shows the
// low 16 bits (its high bits are not a build number).
bool FormatSystemLine(char* buf, std::size_t size, const AboutTexts& texts,
                      std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                      std::uint32_t buildNumber);

// Extended line: the service-pack text (at most `servicePackSize` characters: the system's
// field need not be terminated), or the word for none when it is empty.
bool FormatExtendedLine(char* buf, std::size_t size, const AboutTexts& texts,
                        const char* servicePack, std::size_t servicePackSize);

// Socket line: the versions used and detected, each high byte first.
bool FormatSocketsLine(char* buf, std::size_t size, const AboutTexts& texts,
                       std::uint16_t winsockVersion, std::uint16_t winsockDetected);

} // namespace kordrv
