#include "kordrv/core/kordrv_texts.h"

#include "kordrv/core/kordrv_ids.h"

#include "shared/drv_block_ops.h"

namespace kordrv
{

// The string ids here and the shared block's start-up message ids are the same table.
static_assert(kMsgDrvIpcNotAllocated == IDS_IPC_ERROR, "101");
static_assert(kMsgDrvCommandLineError == IDS_COMMAND_LINE_ERROR, "104");
static_assert(kMsgDrvConfigInvalid == IDS_CONFIG_INVALID, "105");
static_assert(kMsgDrvFatalError == IDS_FATAL_ERROR, "107");
static_assert(kMsgDrvOutOfMemory == IDS_OUT_OF_MEMORY, "108");
static_assert(kMsgDrvNoAdapter == IDS_NO_ADAPTER, "109");
static_assert(kMsgDrvNoSockets == IDS_NO_SOCKETS, "110");
static_assert(kMsgDrvNoRemoteConnections == IDS_NO_REMOTE_CONNECTIONS, "113");
static_assert(kMsgDrvLogFileError == IDS_LOG_FILE_ERROR, "114");
static_assert(kMsgDrvAlreadyRunning == IDS_ALREADY_RUNNING, "123");

bool FormatAppTitle(char* buf, std::size_t size, const char* titleTemplate, int instance)
{
    TextWriter out(buf, size);
    if (!titleTemplate || titleTemplate[0] == '\0')
        return false;
    out.Text(titleTemplate);
    if (out.Cut()) {
        if (buf && size > 0)
            buf[0] = '\0'; // a cut title would never match the other monitors' titles
        return false;
    }
    const bool valid = instance >= 0 && instance <= 9;
    buf[out.Length() - 1] = valid ? static_cast<char>('0' + instance) : '?';
    return valid;
}

bool FormatTrayTip(char* buf, std::size_t size, int instance)
{
    TextWriter out(buf, size, kTrayTipSize - 1);
    const FormatArg args[] = {ArgI(instance)};
    out.Format(kTrayTipFormat, args, 1);
    return size > 0 && buf && !out.Cut();
}

bool StartupErrorLaunchesConfigTool(unsigned messageId)
{
    return messageId == IDS_CONFIG_INVALID || messageId == IDS_NO_ADAPTER ||
           messageId == IDS_NO_REMOTE_CONNECTIONS;
}

IpPageCounters ReadIpPageCounters(const DRV_STATE_BLOCK& block)
{
    IpPageCounters c;
    c.connections = LoadShared(block.ip_connections);
    c.connected = LoadShared(block.ip_connected);
    c.sendTotal = LoadShared(block.ip_send_total);
    c.recvTotal = LoadShared(block.ip_recv_total);
    c.sendErrors = LoadShared(block.ip_send_errors);
    c.recvErrors = LoadShared(block.ip_recv_errors);
    return c;
}

std::uint32_t VeltConnectionCount(std::uint32_t cfgEntryCount, std::uint32_t addedEntryCount)
{
    const std::uint32_t cfg = cfgEntryCount < kDrvMaxEntries ? cfgEntryCount : kDrvMaxEntries;
    std::uint32_t added = addedEntryCount < kDrvMaxAddedSlots ? addedEntryCount : kDrvMaxAddedSlots;
    if (added > kDrvMaxEntries - cfg)
        added = kDrvMaxEntries - cfg;
    return cfg + added;
}

std::uint32_t SaturatedSum(std::uint32_t a, std::uint32_t b)
{
    return a > 0xFFFFFFFFu - b ? 0xFFFFFFFFu : a + b;
}

VeltPageCounters ReadVeltPageCounters(const DRV_STATE_BLOCK& block)
{
    VeltPageCounters c;
    c.handlesOpened = LoadShared(block.handles_opened);
    c.socketsAttached = LoadShared(block.sockets_attached);
    c.connections =
        VeltConnectionCount(LoadShared(block.cfg_entry_count), LoadShared(block.added_entry_count));
    c.connected = SaturatedSum(LoadShared(block.cfg_connected), LoadShared(block.added_connected));
    c.sendTotal = LoadShared(block.velt_send_total);
    c.recvTotal = LoadShared(block.velt_recv_total);
    c.sendErrors = LoadShared(block.velt_send_errors);
    c.recvErrors = LoadShared(block.velt_recv_errors);
    return c;
}

bool FormatVeltAddress(char* buf, std::size_t size, const char* format, std::uint32_t net,
                       std::uint32_t station)
{
    const FormatArg args[] = {ArgU(net), ArgU(station)};
    return FormatText(buf, size, format, args);
}

bool FormatVersionLine(char* buf, std::size_t size, const AboutTexts& texts,
                       const DRV_VERSION_INFO& version)
{
    char kind[64];
    TextWriter kindOut(kind, sizeof(kind));
    kindOut.Text(version.is_prerelease ? texts.prerelease : texts.release);
    if (version.is_debug)
        kindOut.Text(texts.debug);
    const FormatArg args[] = {ArgS(kind), ArgU(version.major), ArgU(version.minor),
                              ArgU(version.release), ArgU(version.build)};
    return FormatText(buf, size, texts.versionFormat, args) && !kindOut.Cut();
}

bool FormatSystemLine(char* buf, std::size_t size, const AboutTexts& texts,
                      std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                      std::uint32_t buildNumber)
{
    const std::uint32_t lowBuild = buildNumber & 0xFFFFu;
    const char* name = "??";
    std::uint32_t build = lowBuild;
    if (platformId == kPlatformWindows9x) {
        name = lowBuild < 980 ? "95" : "98";
    } else if (platformId == kPlatformNt) {
        name = "NT";
        build = buildNumber;
    }
    const FormatArg args[] = {ArgS(name), ArgU(major), ArgU(minor), ArgU(build)};
    return FormatText(buf, size, texts.systemFormat, args);
}

bool FormatExtendedLine(char* buf, std::size_t size, const AboutTexts& texts,
                        const char* servicePack, std::size_t servicePackSize)
{
    const bool empty = !servicePack || servicePackSize == 0 || servicePack[0] == '\0';
    const FormatArg args[] = {empty ? ArgS(texts.none) : ArgS(servicePack, servicePackSize)};
    return FormatText(buf, size, texts.extendedFormat, args);
}

bool FormatSocketsLine(char* buf, std::size_t size, const AboutTexts& texts,
                       std::uint16_t winsockVersion, std::uint16_t winsockDetected)
{
    const FormatArg args[] = {ArgU(winsockVersion >> 8u), ArgU(winsockVersion & 0xFFu),
                              ArgU(winsockDetected >> 8u), ArgU(winsockDetected & 0xFFu)};
    return FormatText(buf, size, texts.socketsFormat, args);
}

} // namespace kordrv
