#include "shared/drv_block_ops.h"

#include <cstring>

namespace
{

std::uint32_t Min(std::uint32_t a, std::uint32_t b)
{
    return a < b ? a : b;
}

} // namespace

bool SnapshotEntries(const DRV_STATE_BLOCK& block, DRV_ENTRY_COPIES* copies)
{
    if (!copies)
        return false;
    // Read each count once: the service may change it while we copy.
    const std::uint32_t cfgAnnounced = LoadShared(block.cfg_entry_count);
    const std::uint32_t addedAnnounced = LoadShared(block.added_entry_count);

    const std::uint32_t cfgCount = Min(cfgAnnounced, kDrvMaxEntries);
    const std::uint32_t addedCount =
        Min(Min(addedAnnounced, kDrvMaxAddedSlots), kDrvMaxEntries - cfgCount);

    std::memset(copies, 0, sizeof(*copies));
    copies->cfg_count = cfgCount;
    std::memcpy(copies->cfg, block.entries, cfgCount * sizeof(DRV_CONN_ENTRY));
    std::memcpy(copies->added, block.entries + cfgCount, addedCount * sizeof(DRV_CONN_ENTRY));
    return cfgCount == cfgAnnounced && addedCount == addedAnnounced;
}

std::uint32_t ClampAddedSlotBound(std::uint32_t addedSlotBound)
{
    return Min(addedSlotBound, kDrvMaxAddedSlots);
}

const DRV_CONN_ENTRY* FindEntryById(const DRV_ENTRY_COPIES& copies, std::uint32_t addedSlotBound,
                                    std::uint32_t id)
{
    const std::uint32_t slots = ClampAddedSlotBound(addedSlotBound);
    for (std::uint32_t i = 0; i < slots; ++i) {
        const DRV_CONN_ENTRY& slot = copies.added[i];
        if (slot.id != 0 && slot.id == id)
            return &slot;
    }
    const std::uint32_t cfgCount = Min(copies.cfg_count, kDrvMaxEntries);
    for (std::uint32_t i = 0; i < cfgCount; ++i) {
        if (copies.cfg[i].id == id)
            return &copies.cfg[i];
    }
    return nullptr;
}

const DRV_CONN_ENTRY* FindConfiguredHead(const DRV_ENTRY_COPIES& copies,
                                         const DRV_CONN_ENTRY& entry)
{
    const std::uint32_t cfgCount = Min(copies.cfg_count, kDrvMaxEntries);
    return entry.link < cfgCount ? &copies.cfg[entry.link] : nullptr;
}

bool ReadTextField(const char* field, std::size_t fieldSize, char* out, std::size_t outSize)
{
    if (!out || outSize == 0)
        return false;
    if (fieldSize == 0) {
        out[0] = '\0';
        return true;
    }
    if (!field) {
        out[0] = '\0';
        return false;
    }
    const void* nul = std::memchr(field, '\0', fieldSize);
    const std::size_t textLen =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : fieldSize;
    const std::size_t copyLen = textLen < outSize ? textLen : outSize - 1;
    std::memcpy(out, field, copyLen);
    out[copyLen] = '\0';
    return copyLen == textLen;
}

bool WriteTextField(char* field, std::size_t fieldSize, const char* text)
{
    if (!field || fieldSize == 0)
        return false;
    std::size_t len = 0;
    if (text) {
        while (len + 1 < fieldSize && text[len] != '\0')
            ++len;
        std::memcpy(field, text, len);
    }
    std::memset(field + len, 0, fieldSize - len);
    return text && text[len] == '\0';
}

std::uint32_t EffectiveRefreshPeriod(std::uint32_t refreshPeriodMs)
{
    if (refreshPeriodMs < kDrvRefreshPeriodMinMs)
        return kDrvRefreshPeriodMinMs;
    if (refreshPeriodMs > kDrvRefreshPeriodMaxMs)
        return kDrvRefreshPeriodMaxMs;
    return refreshPeriodMs;
}

std::int32_t CountdownStep(std::int32_t countdownMs, std::uint32_t refreshPeriodMs)
{
    if (countdownMs == 0)
        return 0;
    // 64-bit arithmetic: a countdown near INT32_MIN must not wrap.
    const std::int64_t left = static_cast<std::int64_t>(countdownMs) -
                              static_cast<std::int64_t>(EffectiveRefreshPeriod(refreshPeriodMs));
    return left <= 0 ? 0 : static_cast<std::int32_t>(left);
}

std::uint32_t RunCountdown(DRV_STATE_BLOCK* block)
{
    const std::uint32_t period = EffectiveRefreshPeriod(LoadShared(block->refresh_period_ms));
    const std::int32_t countdown = LoadShared(block->countdown_ms);
    if (countdown != 0)
        StoreShared(block->countdown_ms, CountdownStep(countdown, period));
    return period;
}

std::size_t DrvToolViewSize(bool system64)
{
    return system64 ? kDrvToolViewSize64 : kDrvToolViewSize32;
}

std::size_t DrvToolHandlesOpenedOffset(bool system64)
{
    return system64 ? kDrvToolHandlesOpenedOffset64 : kDrvToolHandlesOpenedOffset32;
}

bool ReadHandlesOpened(const void* view, std::size_t viewSize, bool system64,
                       std::uint16_t* handlesOpened)
{
    const std::size_t offset = DrvToolHandlesOpenedOffset(system64);
    if (!view || !handlesOpened || viewSize < offset + 2)
        return false;
    const unsigned char* bytes = static_cast<const unsigned char*>(view) + offset;
    *handlesOpened = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    return true;
}

std::uint16_t DriverStatusMessageId(std::uint32_t status)
{
    switch (status) {
    case kDrvStatusRunning:
    case kDrvStatusStopRequested:
        return 0;
    case kDrvStatusCommandLineError:
        return kMsgDrvCommandLineError;
    case kDrvStatusLogFileError:
        return kMsgDrvLogFileError;
    case kDrvStatusConfigInvalid:
        return kMsgDrvConfigInvalid;
    case kDrvStatusNoRemoteConnections:
        return kMsgDrvNoRemoteConnections;
    case kDrvStatusOutOfMemory:
        return kMsgDrvOutOfMemory;
    case kDrvStatusNoSockets:
        return kMsgDrvNoSockets;
    case kDrvStatusNoAdapter:
        return kMsgDrvNoAdapter;
    case kDrvStatusAlreadyRunning:
        return kMsgDrvAlreadyRunning;
    default:
        break;
    }
    if (status >= kDrvStatusIpcFirst && status <= kDrvStatusIpcLast)
        return kMsgDrvIpcNotAllocated;
    return kMsgDrvFatalError;
}

DRV_VERSION_INFO MakeVersionInfo(std::uint32_t fileVersionMs, std::uint32_t fileVersionLs,
                                 std::uint32_t fileFlags)
{
    DRV_VERSION_INFO info{};
    info.major = static_cast<std::uint16_t>(fileVersionMs >> 16);
    info.minor = static_cast<std::uint16_t>(fileVersionMs & 0xFFFFu);
    info.release = static_cast<std::uint16_t>(fileVersionLs >> 16);
    info.build = static_cast<std::uint16_t>(fileVersionLs & 0xFFFFu);
    info.is_debug = (fileFlags & 0x1u) ? 1u : 0u;
    info.is_prerelease = (fileFlags & 0x2u) ? 1u : 0u;
    return info;
}
