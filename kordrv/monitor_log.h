// The monitor's own log file: opened at start-up when "-L" was given, one line per event with
// the local date and time, wrapping to the start of the file at the size limit the block
// publishes. Its name, limit and position live in the shared block.
#pragma once

#include "kordrv/core/kordrv_format.h"
#include "kordrv/core/kordrv_tune.h"
#include "shared/drv_block.h"

#include <windows.h>

#include <cstdio>

namespace kordrv
{

// Opens `name` for writing as the monitor's log: created or truncated, text mode, committed
// to disk on every flush, for this process alone. Null on failure, with the reason in *result.
std::FILE* OpenLogFileExclusive(const char* name, LogOpenResult* result);

class CMonitorLog
{
public:
    CMonitorLog() = default;
    CMonitorLog(const CMonitorLog&) = delete;
    CMonitorLog& operator=(const CMonitorLog&) = delete;
    ~CMonitorLog() { Close(); }

    // Start-up: gives `log_file_name` the instance's own name when it holds the default one,
    // then, when requested, opens the file and writes "LOG STARTED". False when the open
    // failed (the caller then sets `status` to 3). `logLock` serialises the lines.
    bool OpenMonitorLog(DRV_STATE_BLOCK* block, CRITICAL_SECTION* logLock, bool requested);

    // One line "MM/DD/YY-HH:MM:SS message" (cut at 128 characters), or a rewind when the line
    // would pass the size limit; then `log_position` := the file's position. Does nothing
    // while the log is not open.
    void WriteLogLine(const char* format, const FormatArg* args, std::size_t argCount);
    void WriteLogLine(const char* message) { WriteLogLine(message, nullptr, 0); }
    template <std::size_t N> void WriteLogLine(const char* format, const FormatArg (&args)[N])
    {
        WriteLogLine(format, args, N);
    }

    bool IsOpen() const { return m_pFile != nullptr; }
    void Close();

private:
    DRV_STATE_BLOCK* m_pBlock = nullptr;
    CRITICAL_SECTION* m_pLock = nullptr;
    std::FILE* m_pFile = nullptr;
};

} // namespace kordrv
