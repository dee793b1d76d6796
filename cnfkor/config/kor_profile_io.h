// The algorithms that move the configuration between the model (CKorConfigData) and its
// store: one profile, or the six test options. They see the store through CKorValueStore,
// which the program implements over the registry (kor_registry.h); being pure, they also run
// natively against a store in memory.
#pragma once

#include "cnfkor/config/kor_config_data.h"

#include <cstdint>
#include <string>

// The store operations the algorithms rely on. section is a key below the application key.
class CKorValueStore
{
public:
    virtual ~CKorValueStore() = default;

    // Reads a 32-bit value from the existing key `section` without checking its type; never
    // creates the key. `value` is written only on success.
    virtual bool ReadDword(const char* section, const char* entry, std::uint32_t& value) = 0;
    // Reads a text value (up to its first zero); may create `section` when it is missing.
    // `text` is written only on success.
    virtual bool ReadText(const char* section, const char* entry, std::string& text) = 0;
    // Reads a 32-bit value, creating `section` when missing; `def` when it cannot be read.
    virtual std::uint32_t ReadIntOrDefault(const char* section, const char* entry,
                                           std::uint32_t def) = 0;
    // Writes a 32-bit number (DWORD), creating `section` when missing.
    virtual bool WriteDword(const char* section, const char* entry, std::uint32_t value) = 0;
    // Writes a text (REG_SZ with its terminating zero), creating `section` when missing.
    virtual bool WriteText(const char* section, const char* entry, const char* value) = 0;
};

// Returned by ReadIntOrDefault for a missing test option (and so a stored value equal to it
// counts as missing).
constexpr std::uint32_t kMissingTestOption = 0xFFFFAAAAu;

// Writes profile `index` (0..8): Localhost<n> Velt, Adapter, IpFixed, AdapterName; then
// Connections<n> Number and, per entry, Id, NoDyn, UseDNS, Velt, Ip. Stops with false at the
// first failed write (what was written stays); deletes nothing, so values of a longer earlier
// table remain beyond Number. False without writing anything for a bad index or a table of
// more than kMaxRemoteHosts entries (the table the tool keeps never holds more).
bool SaveProfileTo(CKorValueStore& store, const CKorConfigData& doc, int index);

// Reads profile `index` (0..8) into the document, in the order of SaveProfileTo. Fails when
// Localhost<n> Velt or Adapter, Connections<n> Number, or an entry's Id, UseDNS, Velt or a
// readable Ip is missing; what was read before the failure stays in the document (a missing
// Velt leaves it untouched). A missing IpFixed reads as 0, a missing AdapterName as empty, a
// missing NoDyn as automatic detection on. Over-long texts are cut to their fields (Id to
// kHostIdMaxChars, AdapterName to kAdapterNameSize - 1); a Number below 1 gives an empty
// table and one above kMaxRemoteHosts reads only the first kMaxRemoteHosts entries.
bool LoadProfileFrom(CKorValueStore& store, CKorConfigData& doc, int index);

// Writes Mirror Count, Size, Timeout, then Ping Count, Size, Timeout; stops with false at the
// first failed write.
bool SaveTestOptionsTo(CKorValueStore& store, const CKorConfigData& doc);

// Reads the six options in the order of SaveTestOptionsTo with ReadIntOrDefault. A result equal
// to kMissingTestOption ends with false; the options read before it are already stored (low
// 16 bits). The caller then sets all six to their defaults.
bool LoadTestOptionsFrom(CKorValueStore& store, CKorConfigData& doc);

// From the slots' present flags: the number of present slots and the lowest present slot
// (-1 and 0 when none is present).
void PickCurrentProfile(const CKorConfigData& doc, std::uint16_t& count, int& current);
