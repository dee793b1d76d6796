// The shared state block through the system: the monitor's attachment to its instance's block,
// the commands it posts, and the tool's read-only looks at the blocks of instances. The pure
// checks behind these (counts, positions, texts) are in drv_block_ops.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "shared/drv_block_ops.h"

// Monitor side: the block of one instance, mapped read/write for the monitor's whole run, and
// the monitor's private copies of its entry lists.
class CDriverBlock {
public:
    CDriverBlock();
    ~CDriverBlock(); // unmaps and closes
    CDriverBlock(const CDriverBlock&) = delete;
    CDriverBlock& operator=(const CDriverBlock&) = delete;

    // Opens "Global\KORData%02X" of the instance for all access, maps the whole block and takes
    // a first snapshot. False when the mapping does not exist or cannot be mapped (the system's
    // error code is then in LastError()); nothing stays open then.
    bool AttachSharedBlock(int instance);
    bool IsAttached() const { return m_pBlock != nullptr; }
    DWORD LastError() const { return m_dwLastError; }

    // The mapped block; null before a successful attach.
    DRV_STATE_BLOCK* Block() const { return m_pBlock; }

    // Replaces the copies of the entry lists (no block lock: the copies are the monitor's).
    // False when counts in the block were beyond their limits and had to be cut.
    bool SnapshotEntries();
    const DRV_ENTRY_COPIES& Copies() const { return *m_pCopies; }

    // The entry of the copies with this id, the added list first (bound read from the block
    // now); null when none.
    const DRV_CONN_ENTRY* FindEntryById(std::uint32_t id) const;

    // Writes `command` and `command_result` = -1, then sets the exchange event named from the
    // block's `instance` (created when the service has not made it: the command is then lost).
    // False when the event could be neither opened nor created.
    bool PostDriverCommand(std::uint32_t code);

private:
    HANDLE m_hMapping;
    DRV_STATE_BLOCK* m_pBlock;
    std::unique_ptr<DRV_ENTRY_COPIES> m_pCopies;
    DWORD m_dwLastError;
};

// Tool side. `index` is the profile slot 0..8 (instance index + 1).

// True when the block of instance index + 1 can be opened for reading; the handle is closed at
// once.
bool IsInstanceRunning(int index);

// True on a 64-bit system: IsWow64Process, looked up at run time, says so for this process.
// A system without the function counts as 32-bit.
bool IsWow64System();

// `handles_opened` of instance index + 1 as the tool reads it: maps the head of the block
// read-only (1400 bytes on a 64-bit system, 1392 on a 32-bit one) and reads the field at 312 or
// 308. Returns 1 with the value, 0 when the block does not exist, -1 when it exists but the
// view cannot be mapped.
int ReadInstanceHandlesOpened(int index, std::uint16_t* handlesOpened);

// Stop-request protocol. The monitor creates its stop-request event (auto-reset, not
// signalled) named with its own process id; null when it cannot.
HANDLE CreateStopRequestEvent(DWORD monitorProcessId);
// The tool opens a monitor's stop-request event with modify-state access and sets it. False
// when the event does not exist (the monitor must then be terminated instead).
bool SignalStopRequest(DWORD monitorProcessId);
// The monitor's acknowledgement: sets "Global\KOR_EVENTIN_0%d" when the service made it.
bool SignalStopAck(int instance);
