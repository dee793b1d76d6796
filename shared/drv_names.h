// Names through which the driver service, the monitor and the configuration tool find each
// other: kernel objects in the global namespace, the monitor's window title, the tool's window
// class, and the driver-state notification the monitor posts to the tool.
//
// The formatting functions write a terminated name into the caller's buffer and never past
// `size` bytes. On failure (number out of range, buffer too small) they return false and leave
// an empty string in the buffer (when size > 0), so a cut name is never used by mistake.
#pragma once

#include <cstddef>
#include <cstdint>

// Buffer size the programs use for every object name.
constexpr std::size_t kDrvNameBufferSize = 256;

// File mapping holding the DRV_STATE_BLOCK: prefix + instance as two upper-case hex digits.
constexpr char kDrvMappingNamePrefix[] = "Global\\KORData";
// Exchange event (a command waits in the block): prefix + instance as two upper-case hex digits.
constexpr char kDrvExchangeEventPrefix[] = "Global\\KOREVENTEXCHANGE";
// Stop request to one monitor: prefix + the monitor's process id in decimal.
constexpr char kDrvStopRequestEventPrefix[] = "Global\\KorIhm";
// The monitor's acknowledgement of a stop request: prefix + instance in decimal.
constexpr char kDrvStopAckEventPrefix[] = "Global\\KOR_EVENTIN_0";
// Title of a monitor's property sheet: prefix + instance in decimal.
constexpr char kDrvMonitorTitlePrefix[] = "KOR Driver - KOR0";
// Window class of the configuration tool's main window.
constexpr char kCnfKorWindowClass[] = "OVCnfKorClass";

// Instances that fit each kind of name: two hex digits, or the one digit after "KOR0".
constexpr int kDrvHexNameInstanceMax = 0xFF;
constexpr int kDrvDecimalNameInstanceMax = 9;

// "Global\KORData%02X"; instance 0..255.
bool FormatMappingName(char* buf, std::size_t size, int instance);
// "Global\KOREVENTEXCHANGE%02X"; instance 0..255.
bool FormatExchangeEventName(char* buf, std::size_t size, int instance);
// "Global\KorIhm%d" with a process id.
bool FormatStopRequestEventName(char* buf, std::size_t size, std::uint32_t processId);
// "Global\KOR_EVENTIN_0%d"; instance 0..9.
bool FormatStopAckEventName(char* buf, std::size_t size, int instance);
// "KOR Driver - KOR0%d"; instance 0..9.
bool FormatMonitorTitle(char* buf, std::size_t size, int instance);

// Driver-state notification: WM_COMMAND to the tool's main window with this command id in the
// low word of wParam and the instance number in the high word; lParam 1 = started, 0 = ended.
constexpr std::uint16_t kDrvNotifyCommandId = 0xFFFF;
constexpr std::uint32_t kDrvNotifyStarted = 1;
constexpr std::uint32_t kDrvNotifyEnded = 0;

// wParam of the notification for an instance (only its low 16 bits are carried).
std::uint32_t MakeDrvNotifyWParam(int instance);
// True when wParam is a driver-state notification; then *instance receives its instance number
// (0..65535: the receiver decides which numbers it knows).
bool ParseDrvNotifyWParam(std::uint32_t wParam, int* instance);
