// Stand-in for one driver instance of the driver service: publishes the shared state block and
// its events, keeps some counters moving, answers command 1 and listens on the instance's TCP
// port, until it is terminated (or its -T lifetime runs out).
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shared/drv_block.h"

namespace {

const char kUsage[] =
    "usage: KorDrvSys.exe -I<n> [-F[ ]scenario.txt] [-T[ ]seconds] [-Q]\n"
    "  -I<n>   instance 1..9: block Global\\KORData%02X, its events, its TCP port\n"
    "  -F      scenario file, one setting per line ('#' starts a comment):\n"
    "            status N           driver status code (default 0)\n"
    "            velt NET STATION   local VELT address\n"
    "            handles N          handles_opened      sockets N   sockets_attached\n"
    "            host NAME          host_name           ip A.B.C.D  local_ip\n"
    "            adapter N          adapter_number      quiet N     quiet_mode\n"
    "            logfile NAME       log_file_name       loglimit N  log_size_limit\n"
    "            winsock V D        winsock_version, winsock_detected (e.g. 0x0202)\n"
    "            counters VS VR VSE VRE IS IR ISE IRE   start values of the counters\n"
    "            moving 0|1         counters move every 250 ms (default 1)\n"
    "            cfg ID LINK CONN NET STA A.B.C.D NAME     a configured entry\n"
    "            added ID LINK CONN NET STA A.B.C.D NAME   an added entry\n"
    "            raw OFFSET VALUE   a 32-bit value at a block offset, after all else\n"
    "  -T      end by itself after this many seconds\n"
    "  -Q      no listening socket\n"
    "The listening port follows FirstPort (HKLM\\Software\\Orvanta\\Corvia, 32-bit view):\n"
    "base = FirstPort + 80 (27720 when missing); instances 1..5 base+2(n-1), 6..9\n"
    "base+40+2(n-6).\n";

DRV_STATE_BLOCK* g_block;
bool g_moving = true;
struct Raw {
    unsigned offset, value;
} g_raw[32];
int g_rawCount;

bool ParseIp(const char* text, std::uint8_t out[4])
{
    unsigned a, b, c, d;
    if (std::sscanf(text, "%u.%u.%u.%u", &a, &b, &c, &d) != 4 || a > 255 || b > 255 ||
        c > 255 || d > 255)
        return false;
    out[0] = static_cast<std::uint8_t>(a);
    out[1] = static_cast<std::uint8_t>(b);
    out[2] = static_cast<std::uint8_t>(c);
    out[3] = static_cast<std::uint8_t>(d);
    return true;
}

void CopyText(char* dst, size_t size, const char* src)
{
    size_t n = strnlen(src, size - 1); // cut to the field, always terminated
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// Reads an entry line "ID LINK CONN NET STA IP NAME" into the next entry of the block.
bool AddEntry(const char* rest, bool added)
{
    DRV_STATE_BLOCK& b = *g_block;
    std::uint32_t used = b.cfg_entry_count + b.added_entry_count;
    if (used >= kDrvMaxEntries || (!added && b.added_entry_count != 0))
        return false; // configured entries come first
    unsigned id, link, conn, net, sta;
    char ip[32], name[256] = "";
    if (std::sscanf(rest, "%u %u %u %u %u %31s %255[^\r\n]", &id, &link, &conn, &net, &sta, ip,
                    name) < 6)
        return false;
    DRV_CONN_ENTRY& e = b.entries[used];
    e.id = id;
    e.link = link;
    e.connected = conn;
    e.net = static_cast<std::uint8_t>(net);
    e.station = static_cast<std::uint8_t>(sta);
    if (!ParseIp(ip, e.ip))
        return false;
    CopyText(e.name, sizeof(e.name), name);
    if (added) {
        ++b.added_entry_count;
        b.added_slot_bound = b.added_entry_count;
        if (conn)
            ++b.added_connected;
    } else {
        ++b.cfg_entry_count;
        if (conn)
            ++b.cfg_connected;
    }
    if (id == link) {
        ++b.ip_connections;
        if (conn)
            ++b.ip_connected;
    }
    return true;
}

bool LoadScenario(const char* path)
{
    FILE* f = std::fopen(path, "r");
    if (!f) {
        std::fprintf(stderr, "KorDrvSys: cannot open %s\n", path);
        return false;
    }
    DRV_STATE_BLOCK& b = *g_block;
    char line[512];
    int lineNo = 0;
    bool ok = true;
    while (ok && std::fgets(line, sizeof(line), f)) {
        ++lineNo;
        char key[32];
        int used = 0;
        if (line[0] == '#' || std::sscanf(line, "%31s %n", key, &used) < 1)
            continue;
        const char* rest = line + used;
        unsigned v[8] = {};
        char text[300] = "";
        if (!std::strcmp(key, "status"))
            ok = std::sscanf(rest, "%u", &b.status) == 1;
        else if (!std::strcmp(key, "velt") && std::sscanf(rest, "%u %u", &v[0], &v[1]) == 2) {
            b.velt_net = static_cast<std::uint16_t>(v[0]);
            b.velt_station = static_cast<std::uint16_t>(v[1]);
        } else if (!std::strcmp(key, "handles") && std::sscanf(rest, "%u", &v[0]) == 1)
            b.handles_opened = static_cast<std::uint16_t>(v[0]);
        else if (!std::strcmp(key, "sockets") && std::sscanf(rest, "%u", &v[0]) == 1)
            b.sockets_attached = static_cast<std::uint16_t>(v[0]);
        else if (!std::strcmp(key, "host") && std::sscanf(rest, "%299[^\r\n]", text) == 1)
            CopyText(b.host_name, sizeof(b.host_name), text);
        else if (!std::strcmp(key, "ip") && std::sscanf(rest, "%31s", text) == 1)
            ok = ParseIp(text, b.local_ip);
        else if (!std::strcmp(key, "adapter"))
            ok = std::sscanf(rest, "%u", &b.adapter_number) == 1;
        else if (!std::strcmp(key, "quiet"))
            ok = std::sscanf(rest, "%u", &b.quiet_mode) == 1;
        else if (!std::strcmp(key, "logfile") && std::sscanf(rest, "%255s", text) == 1)
            CopyText(b.log_file_name, sizeof(b.log_file_name), text);
        else if (!std::strcmp(key, "loglimit"))
            ok = std::sscanf(rest, "%u", &b.log_size_limit) == 1;
        else if (!std::strcmp(key, "winsock") && std::sscanf(rest, "%i %i", &v[0], &v[1]) == 2) {
            b.winsock_version = static_cast<std::uint16_t>(v[0]);
            b.winsock_detected = static_cast<std::uint16_t>(v[1]);
        } else if (!std::strcmp(key, "counters") &&
                   std::sscanf(rest, "%u %u %u %u %u %u %u %u", &b.velt_send_total,
                               &b.velt_recv_total, &b.velt_send_errors, &b.velt_recv_errors,
                               &b.ip_send_total, &b.ip_recv_total, &b.ip_send_errors,
                               &b.ip_recv_errors) == 8) {
        } else if (!std::strcmp(key, "moving") && std::sscanf(rest, "%u", &v[0]) == 1)
            g_moving = v[0] != 0;
        else if (!std::strcmp(key, "cfg") || !std::strcmp(key, "added"))
            ok = AddEntry(rest, key[0] == 'a');
        else if (!std::strcmp(key, "raw") && g_rawCount < 32 &&
                 std::sscanf(rest, "%i %i", &v[0], &v[1]) == 2 &&
                 v[0] + 4 <= sizeof(DRV_STATE_BLOCK)) {
            g_raw[g_rawCount++] = {v[0], v[1]};
        } else
            ok = false;
        if (!ok)
            std::fprintf(stderr, "KorDrvSys: %s:%d: bad line: %s", path, lineNo, line);
    }
    std::fclose(f);
    return ok;
}

int BasePort()
{
    // The configuration tool is 32-bit and reads FirstPort in its own view: do the same.
    HKEY key;
    DWORD port = 0, type = 0, size = sizeof(port);
    int base = 27720;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Orvanta\\Corvia", 0,
                      KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, "FirstPort", nullptr, &type, reinterpret_cast<BYTE*>(&port),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == 4)
            base = static_cast<int>(port) + 80;
        RegCloseKey(key);
    }
    return base;
}

SOCKET Listen(int instance)
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return INVALID_SOCKET;
    int base = BasePort();
    int port = instance <= 5 ? base + 2 * (instance - 1) : base + 40 + 2 * (instance - 6);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(port));
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 ||
        listen(s, 4) != 0) {
        std::fprintf(stderr, "KorDrvSys: cannot listen on port %d (%d)\n", port,
                     WSAGetLastError());
        if (s != INVALID_SOCKET)
            closesocket(s);
        return INVALID_SOCKET;
    }
    // Under Wine the listener table shows the owning process only after this option is set.
    BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof(on));
    std::printf("KorDrvSys: instance %d listening on port %d\n", instance, port);
    return s;
}

// Command 1: close every established IP connection and report how many were closed.
void CloseAllIp()
{
    DRV_STATE_BLOCK& b = *g_block;
    std::int32_t closed = 0;
    std::uint32_t total = b.cfg_entry_count + b.added_entry_count;
    for (std::uint32_t i = 0; i < total && i < kDrvMaxEntries; ++i) {
        DRV_CONN_ENTRY& e = b.entries[i];
        if (e.id == e.link && e.connected) {
            e.connected = 0;
            ++closed;
        }
    }
    b.cfg_connected = b.added_connected = b.ip_connected = 0;
    b.command_result = closed;
}

} // namespace

int main(int argc, char** argv)
{
    int instance = 0, lifetime = 0;
    const char* scenario = nullptr;
    bool listenPort = true;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if ((a[0] == '-' || a[0] == '/') && (a[1] == 'I' || a[1] == 'i'))
            instance = std::atoi(a + 2);
        else if (!std::strncmp(a, "-F", 2) && (a[2] || i + 1 < argc))
            scenario = a[2] ? a + 2 : argv[++i];
        else if (!std::strncmp(a, "-T", 2) && (a[2] || i + 1 < argc))
            lifetime = std::atoi(a[2] ? a + 2 : argv[++i]);
        else if (!std::strcmp(a, "-Q"))
            listenPort = false;
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (instance < kDrvFirstInstance || instance > kDrvLastInstance) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // A null DACL: the monitor runs with the interactive user's rights, the service does not.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES sa{sizeof(sa), &sd, FALSE};

    char name[64];
    std::snprintf(name, sizeof(name), "Global\\KORData%02X", instance);
    HANDLE map = CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0,
                                    sizeof(DRV_STATE_BLOCK), name);
    if (!map || GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "KorDrvSys: block %s exists already or cannot be created\n", name);
        return 1;
    }
    g_block = static_cast<DRV_STATE_BLOCK*>(
        MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DRV_STATE_BLOCK)));
    if (!g_block)
        return 1;
    std::memset(g_block, 0, sizeof(DRV_STATE_BLOCK));
    DRV_STATE_BLOCK& b = *g_block;
    b.instance = static_cast<std::int8_t>(instance);
    b.refresh_period_ms = 500;
    b.log_size_limit = 65536;
    b.winsock_version = b.winsock_detected = 0x0202;
    CopyText(b.log_file_name, sizeof(b.log_file_name), "KORLOG01.TXT");
    CopyText(b.host_name, sizeof(b.host_name), "localhost");
    b.local_ip[0] = 127;
    b.local_ip[3] = 1;
    if (scenario && !LoadScenario(scenario))
        return 2;
    for (int i = 0; i < g_rawCount; ++i)
        std::memcpy(reinterpret_cast<char*>(g_block) + g_raw[i].offset, &g_raw[i].value, 4);

    std::snprintf(name, sizeof(name), "Global\\KOREVENTEXCHANGE%02X", instance);
    HANDLE exchange = CreateEventA(&sa, FALSE, FALSE, name);
    std::snprintf(name, sizeof(name), "Global\\KOR_EVENTIN_0%d", instance);
    HANDLE ack = CreateEventA(&sa, FALSE, FALSE, name);
    if (!exchange || !ack)
        return 1;
    SOCKET s = listenPort ? Listen(instance) : INVALID_SOCKET;
    std::printf("KorDrvSys: instance %d running\n", instance);
    std::fflush(stdout);

    DWORD start = GetTickCount();
    HANDLE waits[2] = {exchange, ack};
    for (;;) {
        DWORD w = WaitForMultipleObjects(2, waits, FALSE, 250);
        if (w == WAIT_OBJECT_0 && b.command == kDrvCommandCloseAllIp)
            CloseAllIp();
        else if (w == WAIT_OBJECT_0 + 1) {
            std::printf("KorDrvSys: stop acknowledged by the monitor\n");
            std::fflush(stdout);
        }
        if (g_moving) {
            b.velt_send_total += 3;
            b.velt_recv_total += 2;
            b.ip_send_total += 5;
            b.ip_recv_total += 4;
        }
        if (lifetime > 0 && GetTickCount() - start >= static_cast<DWORD>(lifetime) * 1000)
            break;
    }
    if (s != INVALID_SOCKET)
        closesocket(s);
    UnmapViewOfFile(g_block);
    CloseHandle(map);
    return 0;
}
