// Reading the shared state block safely. The block belongs to the driver service, which writes
// it while we read: every count, position and text in it is outside data, checked before use.
// Nothing here calls the system; the monitor and the tool call these on their mapped view (or
// on a copy of it).
#pragma once

#include "shared/drv_block.h"

#include <cstddef>
#include <cstdint>

// One real load or store of a block field. The service changes fields behind our back, so a
// value is read once into a local, checked, and used from there (and a poll really re-reads).
template <class T> T LoadShared(const T& field)
{
    return *static_cast<const volatile T*>(&field);
}
template <class T> void StoreShared(T& field, T value)
{
    *static_cast<volatile T*>(&field) = value;
}

// --- Entry lists -------------------------------------------------------------------------------

// The monitor's private copies of the two entry lists; status lines are built from these, never
// from the block. Fixed-size so that a snapshot cannot fail for want of memory.
struct DRV_ENTRY_COPIES {
    std::uint32_t cfg_count;                 // configured entries held in `cfg`
    DRV_CONN_ENTRY cfg[kDrvMaxEntries];      // positions cfg_count.. are zeroed
    DRV_CONN_ENTRY added[kDrvMaxAddedSlots]; // slots not filled by the snapshot are free (id 0)
};

// Replaces the copies with the entry lists of the block: `cfg_entry_count` configured entries,
// then `added_entry_count` added ones into added slots 0... Each count is read once. Counts
// beyond the limits are cut: configured to 128, added to 64 and to what is left of the 128
// entries after the configured ones. Returns false when something was cut.
bool SnapshotEntries(const DRV_STATE_BLOCK& block, DRV_ENTRY_COPIES* copies);

// Added slots to examine for a bound read from the block: at most the 64 slots of the copy.
std::uint32_t ClampAddedSlotBound(std::uint32_t addedSlotBound);

// An entry is a head (one per IP connection) when its id equals its link.
inline bool IsHeadEntry(const DRV_CONN_ENTRY& entry)
{
    return entry.id == entry.link;
}

// The entry of the copies with this id: first the added slots 0..addedSlotBound-1 (free slots
// never match), then the configured entries. Null when there is none. `addedSlotBound` is the
// block's `added_slot_bound` as read at call time; it is clamped to the copy.
const DRV_CONN_ENTRY* FindEntryById(const DRV_ENTRY_COPIES& copies, std::uint32_t addedSlotBound,
                                    std::uint32_t id);

// Head of a configured entry: the configured entry at position `entry.link`. Null when `link`
// is not a position of the configured copy.
const DRV_CONN_ENTRY* FindConfiguredHead(const DRV_ENTRY_COPIES& copies,
                                         const DRV_CONN_ENTRY& entry);

// --- Text fields -------------------------------------------------------------------------------

// Copies the text of a fixed-size field into `out` as a terminated string. The field's own
// terminator is not trusted: reading stops at the first NUL or at the end of the field. `out`
// is always terminated when outSize > 0. Returns true when the whole text fitted.
bool ReadTextField(const char* field, std::size_t fieldSize, char* out, std::size_t outSize);

// Fills a fixed-size field with `text`, terminated, the rest of the field zeroed. Returns false
// when the text had to be cut to fit.
bool WriteTextField(char* field, std::size_t fieldSize, const char* text);

// A buffer one longer than the field always takes its whole text.
template <std::size_t F, std::size_t O> bool ReadTextField(const char (&field)[F], char (&out)[O])
{
    return ReadTextField(field, F, out, O);
}
template <std::size_t F> bool WriteTextField(char (&field)[F], const char* text)
{
    return WriteTextField(field, F, text);
}

// --- Refresh period and countdown --------------------------------------------------------------

// Period the refresh loop waits: `refresh_period_ms` brought into 100..1000.
std::uint32_t EffectiveRefreshPeriod(std::uint32_t refreshPeriodMs);

// One countdown step: a non-zero countdown loses the effective period; 0 or less becomes 0.
std::int32_t CountdownStep(std::int32_t countdownMs, std::uint32_t refreshPeriodMs);

// The block's side of one refresh cycle (caller holds the block lock): runs the countdown step
// on `countdown_ms` (written only when it was non-zero) and returns the effective period.
std::uint32_t RunCountdown(DRV_STATE_BLOCK* block);

// --- The configuration tool's view -------------------------------------------------------------

// Bytes the tool maps, and where it finds `handles_opened`, on a 64-bit or a 32-bit system.
std::size_t DrvToolViewSize(bool system64);
std::size_t DrvToolHandlesOpenedOffset(bool system64);

// Reads the little-endian `handles_opened` from the head of a block mapped by the tool. False
// (and *handlesOpened unchanged) when the view is too short to hold it.
bool ReadHandlesOpened(const void* view, std::size_t viewSize, bool system64,
                       std::uint16_t* handlesOpened);

// --- Status and version ------------------------------------------------------------------------

// Message the monitor shows at start-up for a driver status; 0 for none (running, stopping).
std::uint16_t DriverStatusMessageId(std::uint32_t status);

// `monitor_version` from the fixed file-version record: most and least significant version
// numbers and the file flags.
DRV_VERSION_INFO MakeVersionInfo(std::uint32_t fileVersionMs, std::uint32_t fileVersionLs,
                                 std::uint32_t fileFlags);
