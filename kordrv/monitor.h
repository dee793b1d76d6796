// Program-wide state of the driver monitor and the helpers its windows share: the block of
// the instance and its lock, the log and its lock, string-table texts, the configuration
// tool (notifications, start) and the program's own version.
#pragma once

#include "kordrv/monitor_log.h"
#include "shared/drv_block_win.h"

#include <string>

namespace kordrv
{

struct MonitorState {
    MonitorState();
    ~MonitorState();

    CDriverBlock block;           // mapped for the whole run
    CRITICAL_SECTION blockLock{}; // monitor-side block fields and the sheet's visible flag
    CRITICAL_SECTION logLock{};   // one log line at a time; taken after the block lock
    CMonitorLog log;              // the monitor's own log ("-L")
    int instance = 0;             // from "-I": tray tip, notifications, block name
    HWND hTunePage = nullptr;     // the Tune page's window once it exists
    HWND hSheet = nullptr;        // the property sheet while it runs (posted to by threads)
    bool sheetVisible = false;    // shown and not minimised; under the block lock
};

MonitorState& Monitor();

// Holds the block lock for its scope.
class BlockLock
{
public:
    BlockLock() { ::EnterCriticalSection(&Monitor().blockLock); }
    ~BlockLock() { ::LeaveCriticalSection(&Monitor().blockLock); }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;
};

// A string of the string table in the user's language, as UTF-8 (the core's formatters work
// on bytes); empty when missing.
std::string LoadUtf8(UINT nID);
// UTF-8 to UTF-16 for the windows.
std::wstring Widen(const char* utf8);

// `monitor_version` from the version resource of the running program file; all zero when it
// has none.
DRV_VERSION_INFO ReadModuleVersion();

// Posts the driver-state notification (started or ended) to the configuration tool's main
// window when there is one.
void NotifyConfigTool(int instance, bool started);

// Where the configuration tool is looked for: the 32-bit system folder of a 64-bit system,
// else `monitorDir`; then "CnfKor.exe". False when it does not fit.
bool ConfigToolPath(char* buf, std::size_t size, const char* wow64Dir, const char* monitorDir);

// Starts the configuration tool (it asks for elevation itself). A missing program shows
// nothing.
void LaunchConfigTool();

} // namespace kordrv
