// Names and encodings of the configuration's registry layout, and the rules that turn stored
// values into model values. Pure functions: the registry access itself is in kor_registry.h.
//
// Layout below the application key (HKLM\Software\<company>\<application title>):
//   Localhost<n>    Velt, Adapter, IpFixed (DWORD), AdapterName (text)
//   Connections<n>  Number (DWORD), then per entry i: Id<ii> (text), NoDyn<ii>, UseDNS<ii>,
//                   Velt<ii> (DWORD), Ip<ii> (dotted text)
//   Mirror, Ping    Count, Size, Timeout (DWORD)
// with n the profile number 1..9 and ii the 0-based entry index as two digits at least.
//
// The formatting functions write a terminated name into the caller's buffer and never past
// `size` bytes; on failure they return false and leave an empty string (when size > 0).
#pragma once

#include <cstddef>
#include <cstdint>

// Key names of a profile: prefix + profile number ("Localhost%1i", "Connections%1i").
constexpr char kLocalhostKeyPrefix[] = "Localhost";
constexpr char kConnectionsKeyPrefix[] = "Connections";
// Keys of the test options and the key kept across a whole import.
constexpr char kMirrorKey[] = "Mirror";
constexpr char kPingKey[] = "Ping";
constexpr char kCurrentVersionKey[] = "CurrentVersion";

// Values of "Localhost<n>".
constexpr char kLocalVeltValue[] = "Velt";
constexpr char kAdapterValue[] = "Adapter";
constexpr char kIpFixedValue[] = "IpFixed";
constexpr char kAdapterNameValue[] = "AdapterName";
// Values of "Connections<n>": the entry count, and the prefixes of each entry's values.
constexpr char kNumberValue[] = "Number";
constexpr char kEntryIdPrefix[] = "Id";
constexpr char kEntryNoDynPrefix[] = "NoDyn";
constexpr char kEntryUseDnsPrefix[] = "UseDNS";
constexpr char kEntryVeltPrefix[] = "Velt";
constexpr char kEntryIpPrefix[] = "Ip";
// Values of "Mirror" and "Ping".
constexpr char kCountValue[] = "Count";
constexpr char kSizeValue[] = "Size";
constexpr char kTimeoutValue[] = "Timeout";

// Value of the driver family's key that gives the first port of the family.
constexpr char kFirstPortValue[] = "FirstPort";
// Base port of the driver instances when FirstPort is missing or unusable.
constexpr int kDefaultBasePort = 27720;
// The base port lies this far above FirstPort.
constexpr int kBasePortOffset = 80;
// The highest instance port lies this far above the base port (instance 9).
constexpr int kHighestInstancePortOffset = 46;

// Big enough for every key and value name of the layout.
constexpr std::size_t kRegNameSize = 32;
// "255.255.255.255" and its terminator.
constexpr std::size_t kIpTextSize = 16;

// prefix + profile number 1..9 ("Localhost1"); false for another number.
bool FormatProfileKeyName(char* buf, std::size_t size, const char* prefix, int profileNumber);

// prefix + entry index 0..kMaxRemoteHosts-1 as "%02i" ("Id00" .. "Id63").
bool FormatEntryValueName(char* buf, std::size_t size, const char* prefix, int index);

// Reads an IPv4 address the way "%i.%i.%i.%i" scans it: before each number blanks are
// skipped, a sign is allowed, "0x" starts a hexadecimal number and a leading 0 an octal one;
// the dots must follow the numbers directly; text after the fourth number is ignored. Each
// number is truncated to its low 8 bits (a number beyond 32 bits wraps). On success *ip holds
// the first octet in its most significant byte; on failure (fewer than four numbers) *ip is
// unchanged.
bool ParseHostIpText(const char* text, std::uint32_t* ip);

// "%i.%i.%i.%i" of the four octets, first octet (most significant byte) first.
bool FormatHostIpText(char* buf, std::size_t size, std::uint32_t ip);

// The 32-bit number a stored value of `count` bytes stands for, little-endian as the
// registry keeps a DWORD. A value shorter than 4 bytes is zero-extended (nothing of the
// reader's buffer leaks into the result); of a longer one the first 4 bytes count.
std::uint32_t DwordFromValueBytes(const unsigned char* bytes, std::size_t count);

// How many entries of a remote-host table to read for a stored Number: none when it is
// below 1 taken as a signed number, at most kMaxRemoteHosts (the rest is not read).
int RemoteHostsToLoad(std::uint32_t number);

// Base port from the driver family's FirstPort: FirstPort + 80 when `usable` (a DWORD of
// exactly 4 bytes was read) and every instance port (up to base + 46) is a TCP port;
// kDefaultBasePort otherwise.
int BasePortFromFirstPort(bool usable, std::uint32_t firstPort);

// Copies the text src (srcLen bytes, or up to its first zero) into a field of dstSize bytes,
// cutting it to dstSize - 1 characters; the field is always terminated. Returns false when the
// text was cut (or dstSize is 0).
bool CopyFieldText(char* dst, std::size_t dstSize, const char* src, std::size_t srcLen);
