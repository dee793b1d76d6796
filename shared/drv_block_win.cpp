#include "shared/drv_block_win.h"

#include "shared/drv_names.h"

CDriverBlock::CDriverBlock()
    : m_hMapping(nullptr), m_pBlock(nullptr), m_pCopies(new DRV_ENTRY_COPIES()),
      m_dwLastError(0)
{
}

CDriverBlock::~CDriverBlock()
{
    if (m_pBlock)
        UnmapViewOfFile(m_pBlock);
    if (m_hMapping)
        CloseHandle(m_hMapping);
}

bool CDriverBlock::AttachSharedBlock(int instance)
{
    char name[kDrvNameBufferSize];
    if (m_pBlock || !FormatMappingName(name, sizeof(name), instance)) {
        m_dwLastError = ERROR_INVALID_PARAMETER;
        return false;
    }
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!mapping) {
        m_dwLastError = GetLastError();
        return false;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DRV_STATE_BLOCK));
    if (!view) {
        m_dwLastError = GetLastError();
        CloseHandle(mapping);
        return false;
    }
    m_hMapping = mapping;
    m_pBlock = static_cast<DRV_STATE_BLOCK*>(view);
    m_dwLastError = 0;
    SnapshotEntries();
    return true;
}

bool CDriverBlock::SnapshotEntries()
{
    if (!m_pBlock)
        return false;
    return ::SnapshotEntries(*m_pBlock, m_pCopies.get());
}

const DRV_CONN_ENTRY* CDriverBlock::FindEntryById(std::uint32_t id) const
{
    if (!m_pBlock)
        return nullptr;
    return ::FindEntryById(*m_pCopies, LoadShared(m_pBlock->added_slot_bound), id);
}

bool CDriverBlock::PostDriverCommand(std::uint32_t code)
{
    if (!m_pBlock)
        return false;
    StoreShared(m_pBlock->command, code);
    StoreShared(m_pBlock->command_result, kDrvCommandPending);
    char name[kDrvNameBufferSize];
    if (!FormatExchangeEventName(name, sizeof(name), LoadShared(m_pBlock->instance)))
        return false;
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (!event)
        event = CreateEventA(nullptr, FALSE, FALSE, name);
    if (!event)
        return false;
    SetEvent(event);
    CloseHandle(event);
    return true;
}

bool IsInstanceRunning(int index)
{
    char name[kDrvNameBufferSize];
    if (!FormatMappingName(name, sizeof(name), index + 1))
        return false;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!mapping)
        return false;
    CloseHandle(mapping);
    return true;
}

bool IsWow64System()
{
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32");
    auto fn = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                           reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                     : nullptr;
    BOOL wow64 = FALSE;
    if (!fn || !fn(GetCurrentProcess(), &wow64))
        return false;
#ifdef _WIN64
    return true; // a 64-bit program runs on a 64-bit system, whatever the function says
#else
    return wow64 != FALSE;
#endif
}

int ReadInstanceHandlesOpened(int index, std::uint16_t* handlesOpened)
{
    char name[kDrvNameBufferSize];
    if (!FormatMappingName(name, sizeof(name), index + 1))
        return 0;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!mapping)
        return 0;
    bool system64 = IsWow64System();
    std::size_t size = DrvToolViewSize(system64);
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    int result = -1;
    if (view) {
        result = ReadHandlesOpened(view, size, system64, handlesOpened) ? 1 : -1;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return result;
}

HANDLE CreateStopRequestEvent(DWORD monitorProcessId)
{
    char name[kDrvNameBufferSize];
    if (!FormatStopRequestEventName(name, sizeof(name), monitorProcessId))
        return nullptr;
    return CreateEventA(nullptr, FALSE, FALSE, name);
}

bool SignalStopRequest(DWORD monitorProcessId)
{
    char name[kDrvNameBufferSize];
    if (!FormatStopRequestEventName(name, sizeof(name), monitorProcessId))
        return false;
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (!event)
        return false;
    BOOL ok = SetEvent(event);
    CloseHandle(event);
    return ok != FALSE;
}

bool SignalStopAck(int instance)
{
    char name[kDrvNameBufferSize];
    if (!FormatStopAckEventName(name, sizeof(name), instance))
        return false;
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (!event)
        return false;
    BOOL ok = SetEvent(event);
    CloseHandle(event);
    return ok != FALSE;
}
