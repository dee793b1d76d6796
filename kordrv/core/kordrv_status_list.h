// Lines of the connection status dialog, built from the monitor's entry copies (never from the
// block). IP mode lists one line per IP connection (its head entry), VELT mode one line per
// station with its net.station and the state and address of the connection it uses:
//
//   CONNECTED<tab>name (net.sta) @IP:a.b.c.d          (" (net.sta)" in VELT mode only)
//   DISCONNECTED<tab>name @IP:a.b.c.d
//   Error: Redirection could not be found<name> @IP:Error: Redirection could not be found
//
// The last form is an entry whose head cannot be found; the caller logs it. Each line is built
// under the block lock and added at the end of the list, in the order of the copies.
#pragma once

#include "shared/drv_block_ops.h"

#include <cstddef>
#include <cstdint>

namespace kordrv
{

enum class StatusMode { Ip = 0, Velt = 1 };

// What building a line gave.
enum class StatusLine {
    NotListed,   // nothing to add (not a head in IP mode, free or out-of-range slot)
    Listed,      // a line with the head's state and address
    HeadMissing, // a line with the redirection error: log "Error: %s" with kRedirectionNotFound
};

constexpr char kConnectedPrefix[] = "CONNECTED\t";
constexpr char kDisconnectedPrefix[] = "DISCONNECTED\t";
constexpr char kIpPrefix[] = " @IP:";
constexpr char kRedirectionNotFound[] = "Redirection could not be found";
constexpr char kRedirectionError[] = "Error: Redirection could not be found";

constexpr char kStatusCaptionIp[] = "IP Connection Status";
constexpr char kStatusCaptionVelt[] = "VELT Connection Status";
constexpr int kStatusListExtentPx = 640; // horizontal extent of the list box

// Longest line (227): error, a name filling its 138-byte field, " (255.255)", " @IP:", error.
constexpr std::size_t kStatusLineSize = 256;

// Caption of the dialog in a mode.
const char* StatusCaption(StatusMode mode);

// Line of configured entry `position` (0 .. cfg_count - 1 of the copies). The head is the
// configured entry at position `link`; a link that is no position of the copy gives the
// redirection error. Positions beyond the copy are not listed.
StatusLine FormatConfiguredStatusLine(const DRV_ENTRY_COPIES& copies, std::uint32_t position,
                                      StatusMode mode, char* buf, std::size_t size);

// Line of added slot `slot`. `addedSlotBound` is the block's `added_slot_bound` as read for
// this line; slots at or past it (or past the 64 of the copy) and free slots are not listed.
// The head is found by identifier (FindEntryById).
StatusLine FormatAddedStatusLine(const DRV_ENTRY_COPIES& copies, std::uint32_t slot,
                                 std::uint32_t addedSlotBound, StatusMode mode, char* buf,
                                 std::size_t size);

} // namespace kordrv
