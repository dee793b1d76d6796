// _ADDRESSASSOC: one remote host of a profile's table.
//
// A plain record (copied by value, zero-initialised by `_ADDRESSASSOC x{}`), so tables of it
// live in a CArray and the core can work on it. Portable: no <windows.h>.
#pragma once

#include <cstdint>

// Longest host name a record holds: what the editor's "Station" field admits.
constexpr int kHostIdMaxChars = 128;

// At most this many remote hosts per profile.
constexpr int kMaxRemoteHosts = 64;

struct _ADDRESSASSOC {
    // Host name as typed; the name resolved when UseDNS is set. Always zero-terminated
    // within the field: longer names are cut to kHostIdMaxChars characters when loaded.
    char Id[kHostIdMaxChars + 1];
    // 1 when the host is reached by its name, 0 when by Ip.
    std::int32_t UseDNS;
    // 1 when automatic detection is enabled for the host, 0 when not.
    std::int32_t Dynamic;
    // Remote VELT address: low byte network number, high byte station number
    // (station 255: a station on another network layer, shown as "*").
    std::uint16_t Velt;
    // IPv4 address, first octet in the most significant byte; 0 when UseDNS is 1.
    std::uint32_t Ip;
};
