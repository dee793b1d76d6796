// Shared state block of a driver instance: the records the driver service publishes in its
// file mapping, as the 64-bit monitor reads them, with every offset checked at compile time.
//
// Fixed-width types only, and explicit reserved stretches instead of compiler padding, so that
// a 32-bit build of this header describes exactly the same bytes as a 64-bit one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// --- Sizes and limits --------------------------------------------------------------------------

constexpr std::size_t kDrvBlockSize = 33160;    // the monitor maps exactly this much
constexpr std::size_t kDrvEntriesOffset = 1416; // first connection entry
constexpr std::size_t kDrvConnEntrySize = 248;
constexpr std::uint32_t kDrvMaxEntries = 128;   // configured + added, in all
constexpr std::uint32_t kDrvMaxAddedSlots = 64; // slots of the added list

// The configuration tool is 32-bit and reads only `handles_opened`, from the head of the block.
// A service on a 64-bit system publishes the layout below; on a 32-bit system its own layout
// puts the field four bytes earlier.
constexpr std::size_t kDrvToolHandlesOpenedOffset64 = 312;
constexpr std::size_t kDrvToolHandlesOpenedOffset32 = 308;
constexpr std::size_t kDrvToolViewSize64 = 1400;
constexpr std::size_t kDrvToolViewSize32 = 1392;

// --- Instances, commands, refresh --------------------------------------------------------------

constexpr int kDrvFirstInstance = 1;
constexpr int kDrvLastInstance = 9;

constexpr std::uint32_t kDrvCommandCloseAllIp = 1; // the only command the monitor sends
constexpr std::int32_t kDrvCommandPending = -1;    // `command_result` while the service works

constexpr std::uint32_t kDrvRefreshPeriodMinMs = 100; // the refresh loop never waits less
constexpr std::uint32_t kDrvRefreshPeriodMaxMs = 1000;
constexpr std::uint32_t kDrvRefreshPeriodStepMs = 100;

// --- Driver status codes (`status`) ------------------------------------------------------------

constexpr std::uint32_t kDrvStatusRunning = 0;
constexpr std::uint32_t kDrvStatusStopRequested = 1; // written by the monitor on a stop request
constexpr std::uint32_t kDrvStatusCommandLineError = 2;
constexpr std::uint32_t kDrvStatusLogFileError = 3; // also written by the monitor
constexpr std::uint32_t kDrvStatusIpcFirst = 4;     // 4..10: IPC resources not allocated
constexpr std::uint32_t kDrvStatusIpcLast = 10;
constexpr std::uint32_t kDrvStatusConfigInvalid = 11;
constexpr std::uint32_t kDrvStatusNoRemoteConnections = 12;
constexpr std::uint32_t kDrvStatusOutOfMemory = 13;
constexpr std::uint32_t kDrvStatusNoSockets = 14; // socket interface 1.1 or higher missing
constexpr std::uint32_t kDrvStatusNoAdapter = 15; // local adapter or IP address not found
constexpr std::uint32_t kDrvStatusAlreadyRunning = 16;
// Anything above kDrvStatusAlreadyRunning is some other fatal error.

// Message ids (monitor string table) the monitor shows at start-up for a status.
constexpr std::uint16_t kMsgDrvIpcNotAllocated = 101;
constexpr std::uint16_t kMsgDrvCommandLineError = 104;
constexpr std::uint16_t kMsgDrvConfigInvalid = 105;
constexpr std::uint16_t kMsgDrvFatalError = 107;
constexpr std::uint16_t kMsgDrvOutOfMemory = 108;
constexpr std::uint16_t kMsgDrvNoAdapter = 109;
constexpr std::uint16_t kMsgDrvNoSockets = 110;
constexpr std::uint16_t kMsgDrvNoRemoteConnections = 113;
constexpr std::uint16_t kMsgDrvLogFileError = 114;
constexpr std::uint16_t kMsgDrvAlreadyRunning = 123;

// --- Records -----------------------------------------------------------------------------------

// File version of the monitor program, filled from its fixed file-version record.
struct DRV_VERSION_INFO {
    std::uint16_t major;         // high word of the most significant version number
    std::uint16_t minor;         // its low word
    std::uint16_t release;       // high word of the least significant version number
    std::uint16_t build;         // its low word
    std::uint32_t is_debug;      // 1 when the file flags carry 0x1
    std::uint32_t is_prerelease; // 1 when the file flags carry 0x2
};

// One remote VELT station known to the instance.
struct DRV_CONN_ENTRY {
    std::uint32_t id;   // 0 marks a free slot of the added list
    std::uint32_t link; // id of the head entry; id == link makes a head (one per IP connection)
    std::uint8_t reserved_8[4];
    std::uint32_t connected; // non-zero while the head's IP connection is established
    std::uint8_t net;
    std::uint8_t station;
    char name[138];     // host name or address text as configured; terminator not guaranteed
    std::uint8_t ip[4]; // network order
    std::uint8_t reserved_160[88];
};

struct DRV_STATE_BLOCK {
    std::uint8_t reserved_0[4];
    std::uint32_t command; // read by the service when the exchange event is set
    std::uint8_t reserved_8[4];
    std::int32_t command_result; // connections closed; kDrvCommandPending while pending
    std::int8_t instance;        // 1..9, written by the service
    std::uint8_t reserved_17[3];
    std::uint32_t status; // kDrvStatus...
    std::uint8_t reserved_24[8];
    std::uint32_t refresh_period_ms; // 0..1000 in steps of 100, set on the Tune page
    char monitor_dir[256];           // monitor program's directory with trailing backslash
    DRV_VERSION_INFO monitor_version;
    std::uint16_t velt_net;
    std::uint16_t velt_station;
    std::uint16_t handles_opened; // non-zero: applications use the driver
    std::uint16_t sockets_attached;
    std::uint32_t cfg_entry_count; // configured entries at the start of `entries`
    std::uint32_t cfg_connected;
    std::uint32_t velt_send_total;
    std::uint32_t velt_recv_total;
    std::uint32_t velt_send_errors;
    std::uint32_t velt_recv_errors;
    std::uint8_t reserved_340[4];
    std::uint16_t winsock_version;  // high byte first number, low byte second
    std::uint16_t winsock_detected; // same encoding
    std::uint8_t reserved_348[404];
    char host_name[264];      // local host name; terminator not guaranteed
    std::uint8_t local_ip[4]; // network order
    std::uint8_t reserved_1020[8];
    std::uint32_t adapter_number;
    std::uint8_t reserved_1032[8];
    std::uint32_t ip_connections;
    std::uint32_t ip_connected;
    std::uint32_t ip_send_total;
    std::uint32_t ip_recv_total;
    std::uint32_t ip_send_errors;
    std::uint32_t ip_recv_errors;
    std::uint8_t reserved_1064[12];
    char log_file_name[256];
    std::uint32_t log_size_limit; // bytes
    std::uint32_t log_position;   // bytes written so far
    std::uint8_t reserved_1340[4];
    std::uint64_t log_switch; // logging on when non-zero
    std::uint8_t reserved_1352[4];
    std::uint32_t quiet_mode; // non-zero: the monitor shows no window of its own accord
    std::uint8_t reserved_1360[4];
    std::int32_t countdown_ms; // run down by the monitor's refresh loop
    std::uint8_t reserved_1368[12];
    std::uint32_t added_entry_count; // added entries, right after the configured ones
    std::uint32_t added_slot_bound;  // added slots to examine (id 0 = free)
    std::uint32_t added_connected;
    std::uint8_t reserved_1392[24];
    DRV_CONN_ENTRY entries[kDrvMaxEntries];
};

// --- Layout checks -----------------------------------------------------------------------------

// Plain bytes: copied with memcpy, mapped straight onto the view.
static_assert(std::is_standard_layout<DRV_STATE_BLOCK>::value &&
                  std::is_trivially_copyable<DRV_STATE_BLOCK>::value,
              "DRV_STATE_BLOCK is plain data");
static_assert(std::is_standard_layout<DRV_CONN_ENTRY>::value &&
                  std::is_trivially_copyable<DRV_CONN_ENTRY>::value,
              "DRV_CONN_ENTRY is plain data");

static_assert(sizeof(DRV_VERSION_INFO) == 16, "DRV_VERSION_INFO size");
static_assert(offsetof(DRV_VERSION_INFO, major) == 0, "major");
static_assert(offsetof(DRV_VERSION_INFO, minor) == 2, "minor");
static_assert(offsetof(DRV_VERSION_INFO, release) == 4, "release");
static_assert(offsetof(DRV_VERSION_INFO, build) == 6, "build");
static_assert(offsetof(DRV_VERSION_INFO, is_debug) == 8, "is_debug");
static_assert(offsetof(DRV_VERSION_INFO, is_prerelease) == 12, "is_prerelease");

static_assert(sizeof(DRV_CONN_ENTRY) == kDrvConnEntrySize, "DRV_CONN_ENTRY size");
static_assert(offsetof(DRV_CONN_ENTRY, id) == 0, "id");
static_assert(offsetof(DRV_CONN_ENTRY, link) == 4, "link");
static_assert(offsetof(DRV_CONN_ENTRY, connected) == 12, "connected");
static_assert(offsetof(DRV_CONN_ENTRY, net) == 16, "net");
static_assert(offsetof(DRV_CONN_ENTRY, station) == 17, "station");
static_assert(offsetof(DRV_CONN_ENTRY, name) == 18, "name");
static_assert(sizeof(DRV_CONN_ENTRY::name) == 138, "name size");
static_assert(offsetof(DRV_CONN_ENTRY, ip) == 156, "ip");

static_assert(offsetof(DRV_STATE_BLOCK, command) == 4, "command");
static_assert(offsetof(DRV_STATE_BLOCK, command_result) == 12, "command_result");
static_assert(offsetof(DRV_STATE_BLOCK, instance) == 16, "instance");
static_assert(offsetof(DRV_STATE_BLOCK, status) == 20, "status");
static_assert(offsetof(DRV_STATE_BLOCK, refresh_period_ms) == 32, "refresh_period_ms");
static_assert(offsetof(DRV_STATE_BLOCK, monitor_dir) == 36, "monitor_dir");
static_assert(sizeof(DRV_STATE_BLOCK::monitor_dir) == 256, "monitor_dir size");
static_assert(offsetof(DRV_STATE_BLOCK, monitor_version) == 292, "monitor_version");
static_assert(offsetof(DRV_STATE_BLOCK, velt_net) == 308, "velt_net");
static_assert(offsetof(DRV_STATE_BLOCK, velt_station) == 310, "velt_station");
static_assert(offsetof(DRV_STATE_BLOCK, handles_opened) == kDrvToolHandlesOpenedOffset64,
              "handles_opened");
static_assert(offsetof(DRV_STATE_BLOCK, sockets_attached) == 314, "sockets_attached");
static_assert(offsetof(DRV_STATE_BLOCK, cfg_entry_count) == 316, "cfg_entry_count");
static_assert(offsetof(DRV_STATE_BLOCK, cfg_connected) == 320, "cfg_connected");
static_assert(offsetof(DRV_STATE_BLOCK, velt_send_total) == 324, "velt_send_total");
static_assert(offsetof(DRV_STATE_BLOCK, velt_recv_total) == 328, "velt_recv_total");
static_assert(offsetof(DRV_STATE_BLOCK, velt_send_errors) == 332, "velt_send_errors");
static_assert(offsetof(DRV_STATE_BLOCK, velt_recv_errors) == 336, "velt_recv_errors");
static_assert(offsetof(DRV_STATE_BLOCK, winsock_version) == 344, "winsock_version");
static_assert(offsetof(DRV_STATE_BLOCK, winsock_detected) == 346, "winsock_detected");
static_assert(offsetof(DRV_STATE_BLOCK, host_name) == 752, "host_name");
static_assert(sizeof(DRV_STATE_BLOCK::host_name) == 264, "host_name size");
static_assert(offsetof(DRV_STATE_BLOCK, local_ip) == 1016, "local_ip");
static_assert(offsetof(DRV_STATE_BLOCK, adapter_number) == 1028, "adapter_number");
static_assert(offsetof(DRV_STATE_BLOCK, ip_connections) == 1040, "ip_connections");
static_assert(offsetof(DRV_STATE_BLOCK, ip_connected) == 1044, "ip_connected");
static_assert(offsetof(DRV_STATE_BLOCK, ip_send_total) == 1048, "ip_send_total");
static_assert(offsetof(DRV_STATE_BLOCK, ip_recv_total) == 1052, "ip_recv_total");
static_assert(offsetof(DRV_STATE_BLOCK, ip_send_errors) == 1056, "ip_send_errors");
static_assert(offsetof(DRV_STATE_BLOCK, ip_recv_errors) == 1060, "ip_recv_errors");
static_assert(offsetof(DRV_STATE_BLOCK, log_file_name) == 1076, "log_file_name");
static_assert(sizeof(DRV_STATE_BLOCK::log_file_name) == 256, "log_file_name size");
static_assert(offsetof(DRV_STATE_BLOCK, log_size_limit) == 1332, "log_size_limit");
static_assert(offsetof(DRV_STATE_BLOCK, log_position) == 1336, "log_position");
static_assert(offsetof(DRV_STATE_BLOCK, log_switch) == 1344, "log_switch");
static_assert(offsetof(DRV_STATE_BLOCK, quiet_mode) == 1356, "quiet_mode");
static_assert(offsetof(DRV_STATE_BLOCK, countdown_ms) == 1364, "countdown_ms");
static_assert(offsetof(DRV_STATE_BLOCK, added_entry_count) == 1380, "added_entry_count");
static_assert(offsetof(DRV_STATE_BLOCK, added_slot_bound) == 1384, "added_slot_bound");
static_assert(offsetof(DRV_STATE_BLOCK, added_connected) == 1388, "added_connected");
static_assert(offsetof(DRV_STATE_BLOCK, entries) == kDrvEntriesOffset, "entries");
static_assert(sizeof(DRV_STATE_BLOCK) == kDrvBlockSize, "DRV_STATE_BLOCK size");
static_assert(kDrvEntriesOffset + kDrvMaxEntries * kDrvConnEntrySize == kDrvBlockSize,
              "entries end the block");
static_assert(kDrvMaxAddedSlots <= kDrvMaxEntries, "added slots fit the entries");
// The tool's reads stay inside the views it maps.
static_assert(kDrvToolHandlesOpenedOffset64 + 2 <= kDrvToolViewSize64, "64-bit tool view");
static_assert(kDrvToolHandlesOpenedOffset32 + 2 <= kDrvToolViewSize32, "32-bit tool view");
