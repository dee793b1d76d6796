// CKorConfigData: the configuration the tool edits, as the document holds it.
//
// Nine profile slots (index 0..8, profile number n = index + 1, name "KOR%02u" of n) in
// parallel arrays, and the six options of the mirror and ping tests. CKorDocument derives
// from CDocument and from this record, so the members are used under these names everywhere.
// Portable: no <windows.h>.
#pragma once

#include "cnfkor/config/address_assoc.h"
#include "framework/carray.h"

#include <cstdint>

// Profile slots; the profile of slot i has the number i + 1.
constexpr int kProfileSlots = 9;

// Size of the adapter-name field: 259 characters and the terminating zero.
constexpr int kAdapterNameSize = 260;

// Defaults of the test options.
constexpr std::uint16_t kDefaultRequestSize = 128;
constexpr std::uint16_t kDefaultTimeoutSeconds = 2;
constexpr std::uint16_t kDefaultRequestCount = 2;

typedef CArray<_ADDRESSASSOC, _ADDRESSASSOC> CAddressAssocArray;

struct CKorConfigData {
    // Mirror test: request size in bytes, timeout in seconds, requests to send.
    std::uint16_t m_wMirrorSize = kDefaultRequestSize;
    std::uint16_t m_wMirrorTimeout = kDefaultTimeoutSeconds;
    std::uint16_t m_wMirrorCount = kDefaultRequestCount;
    // Ping test: the same three options.
    std::uint16_t m_wPingSize = kDefaultRequestSize;
    std::uint16_t m_wPingTimeout = kDefaultTimeoutSeconds;
    std::uint16_t m_wPingCount = kDefaultRequestCount;

    // 1 when the slot holds a profile.
    std::int32_t m_bPresent[kProfileSlots] = {};
    // Local VELT address: low byte network number, high byte station number.
    std::uint16_t m_wLocalVelt[kProfileSlots] = {};
    // Adapter number of the binding.
    std::uint16_t m_wAdapter[kProfileSlots] = {};
    // Carried through the registry unchanged; 0 for profiles the tool creates.
    std::uint32_t m_dwIpFixed[kProfileSlots] = {};
    // Name of the bound adapter as the system's adapter list reports it; empty when none.
    char m_szAdapterName[kProfileSlots][kAdapterNameSize] = {};
    // Remote-host table of each profile (at most kMaxRemoteHosts entries).
    CAddressAssocArray m_Connections[kProfileSlots];

    // Sets the six test options to their defaults: sizes 128, timeouts 2, counts 2.
    void SetDefaultTestOptions()
    {
        m_wMirrorSize = m_wPingSize = kDefaultRequestSize;
        m_wMirrorTimeout = m_wPingTimeout = kDefaultTimeoutSeconds;
        m_wMirrorCount = m_wPingCount = kDefaultRequestCount;
    }
};
