#include "kordrv/monitor_log.h"

#include "kordrv/core/kordrv_log.h"
#include "shared/drv_block_ops.h"

#include <cerrno>
#include <share.h>

namespace kordrv
{

std::FILE* OpenLogFileExclusive(const char* name, LogOpenResult* result)
{
    // "c": fflush commits to disk; _SH_DENYRW: other opens fail while this one holds it.
    std::FILE* file = name && *name ? _fsopen(name, "wtc", _SH_DENYRW) : nullptr;
    if (result)
        *result =
            file ? LogOpenResult::Opened
                 : (errno == EACCES ? LogOpenResult::AccessDenied : LogOpenResult::OtherFailure);
    return file;
}

bool CMonitorLog::OpenMonitorLog(DRV_STATE_BLOCK* block, CRITICAL_SECTION* logLock, bool requested)
{
    m_pBlock = block;
    m_pLock = logLock;
    ApplyInstanceLogName(block->log_file_name, LoadShared(block->instance));
    if (!requested)
        return true;
    // The service may rewrite the field: open a terminated copy of it.
    char name[sizeof(block->log_file_name) + 1];
    ReadTextField(block->log_file_name, name);
    m_pFile = OpenLogFileExclusive(name, nullptr);
    if (!m_pFile)
        return false;
    WriteLogLine(kLogStarted);
    return true;
}

void CMonitorLog::WriteLogLine(const char* format, const FormatArg* args, std::size_t argCount)
{
    if (!m_pFile || !m_pLock)
        return;
    ::EnterCriticalSection(m_pLock);
    if (m_pFile) {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        const LogTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
        char line[kLogLineSize];
        const std::size_t length =
            args ? FormatLogLine(line, sizeof(line), time, format, args, argCount)
                 : FormatLogLine(line, sizeof(line), time, format);
        const std::uint32_t position = LoadShared(m_pBlock->log_position);
        if (DecideLogWrite(position, length, LoadShared(m_pBlock->log_size_limit)) ==
            LogWrite::Rewind) {
            std::fseek(m_pFile, 0, SEEK_SET);
        } else {
            std::fputs(line, m_pFile);
            std::fputc('\n', m_pFile);
        }
        std::fflush(m_pFile);
        const long at = std::ftell(m_pFile);
        StoreShared(m_pBlock->log_position, static_cast<std::uint32_t>(at > 0 ? at : 0));
    }
    ::LeaveCriticalSection(m_pLock);
}

void CMonitorLog::Close()
{
    if (!m_pFile)
        return;
    if (m_pLock)
        ::EnterCriticalSection(m_pLock);
    std::fclose(m_pFile);
    m_pFile = nullptr;
    if (m_pLock)
        ::LeaveCriticalSection(m_pLock);
}

} // namespace kordrv
