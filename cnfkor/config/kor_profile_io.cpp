// Moving one profile, or the test options, between the model and the store.
#include "cnfkor/config/kor_profile_io.h"

#include "cnfkor/config/kor_reg_layout.h"

namespace
{

struct ProfileKeys {
    char localhost[kRegNameSize];
    char connections[kRegNameSize];
};

bool MakeProfileKeys(int index, ProfileKeys& keys)
{
    if (index < 0 || index >= kProfileSlots)
        return false;
    return FormatProfileKeyName(keys.localhost, sizeof keys.localhost, kLocalhostKeyPrefix,
                                index + 1) &&
           FormatProfileKeyName(keys.connections, sizeof keys.connections, kConnectionsKeyPrefix,
                                index + 1);
}

// The six options in their store order.
struct TestOption {
    const char* section;
    const char* entry;
    std::uint16_t CKorConfigData::*member;
};

const TestOption kTestOptions[] = {
    {kMirrorKey, kCountValue, &CKorConfigData::m_wMirrorCount},
    {kMirrorKey, kSizeValue, &CKorConfigData::m_wMirrorSize},
    {kMirrorKey, kTimeoutValue, &CKorConfigData::m_wMirrorTimeout},
    {kPingKey, kCountValue, &CKorConfigData::m_wPingCount},
    {kPingKey, kSizeValue, &CKorConfigData::m_wPingSize},
    {kPingKey, kTimeoutValue, &CKorConfigData::m_wPingTimeout},
};

// A field's text up to its terminator, never past the field (a field filled to the last byte
// without a zero is cut to its size - 1 characters, as a load would cut it).
template <std::size_t N> std::string FieldText(const char (&field)[N])
{
    char copy[N];
    CopyFieldText(copy, N, field, N);
    return copy;
}

bool SaveEntry(CKorValueStore& store, const char* section, int i, const _ADDRESSASSOC& entry)
{
    char name[kRegNameSize];
    char ip[kIpTextSize];
    return FormatEntryValueName(name, sizeof name, kEntryIdPrefix, i) &&
           store.WriteText(section, name, FieldText(entry.Id).c_str()) &&
           FormatEntryValueName(name, sizeof name, kEntryNoDynPrefix, i) &&
           store.WriteDword(section, name, entry.Dynamic == 1 ? 0u : 1u) &&
           FormatEntryValueName(name, sizeof name, kEntryUseDnsPrefix, i) &&
           store.WriteDword(section, name, static_cast<std::uint32_t>(entry.UseDNS)) &&
           FormatEntryValueName(name, sizeof name, kEntryVeltPrefix, i) &&
           store.WriteDword(section, name, entry.Velt) &&
           FormatEntryValueName(name, sizeof name, kEntryIpPrefix, i) &&
           FormatHostIpText(ip, sizeof ip, entry.Ip) && store.WriteText(section, name, ip);
}

// Reads entry i; false when a value it needs is missing or unusable. `entry` may be partly
// filled on failure.
bool LoadEntry(CKorValueStore& store, const char* section, int i, _ADDRESSASSOC& entry)
{
    char name[kRegNameSize];
    std::string text;
    std::uint32_t value = 0;

    if (!FormatEntryValueName(name, sizeof name, kEntryIdPrefix, i) ||
        !store.ReadText(section, name, text))
        return false;
    CopyFieldText(entry.Id, sizeof entry.Id, text.data(), text.size());

    // NoDyn holds the inverse: automatic detection unless it is exactly 1.
    if (!FormatEntryValueName(name, sizeof name, kEntryNoDynPrefix, i))
        return false;
    entry.Dynamic = store.ReadDword(section, name, value) ? (value != 1 ? 1 : 0) : 1;

    if (!FormatEntryValueName(name, sizeof name, kEntryUseDnsPrefix, i) ||
        !store.ReadDword(section, name, value))
        return false;
    entry.UseDNS = static_cast<std::int32_t>(value);

    if (!FormatEntryValueName(name, sizeof name, kEntryVeltPrefix, i) ||
        !store.ReadDword(section, name, value))
        return false;
    entry.Velt = static_cast<std::uint16_t>(value);

    if (!FormatEntryValueName(name, sizeof name, kEntryIpPrefix, i) ||
        !store.ReadText(section, name, text))
        return false;
    return ParseHostIpText(text.c_str(), &entry.Ip);
}

} // namespace

bool SaveProfileTo(CKorValueStore& store, const CKorConfigData& doc, int index)
{
    ProfileKeys keys;
    if (!MakeProfileKeys(index, keys))
        return false;
    const CAddressAssocArray& table = doc.m_Connections[index];
    if (table.GetSize() > kMaxRemoteHosts)
        return false;

    if (!store.WriteDword(keys.localhost, kLocalVeltValue, doc.m_wLocalVelt[index]) ||
        !store.WriteDword(keys.localhost, kAdapterValue, doc.m_wAdapter[index]) ||
        !store.WriteDword(keys.localhost, kIpFixedValue, doc.m_dwIpFixed[index]) ||
        !store.WriteText(keys.localhost, kAdapterNameValue,
                         FieldText(doc.m_szAdapterName[index]).c_str()))
        return false;

    const int count = static_cast<int>(table.GetSize());
    if (!store.WriteDword(keys.connections, kNumberValue, static_cast<std::uint32_t>(count)))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!SaveEntry(store, keys.connections, i, table[i]))
            return false;
    }
    return true;
}

bool LoadProfileFrom(CKorValueStore& store, CKorConfigData& doc, int index)
{
    ProfileKeys keys;
    if (!MakeProfileKeys(index, keys))
        return false;

    std::uint32_t value = 0;
    if (!store.ReadDword(keys.localhost, kLocalVeltValue, value))
        return false;
    doc.m_wLocalVelt[index] = static_cast<std::uint16_t>(value);

    if (!store.ReadDword(keys.localhost, kAdapterValue, value))
        return false;
    doc.m_wAdapter[index] = static_cast<std::uint16_t>(value);

    doc.m_dwIpFixed[index] = store.ReadDword(keys.localhost, kIpFixedValue, value) ? value : 0;

    std::string text;
    if (store.ReadText(keys.localhost, kAdapterNameValue, text))
        CopyFieldText(doc.m_szAdapterName[index], kAdapterNameSize, text.data(), text.size());
    else
        doc.m_szAdapterName[index][0] = '\0';

    if (!store.ReadDword(keys.connections, kNumberValue, value))
        return false;
    CAddressAssocArray& table = doc.m_Connections[index];
    table.RemoveAll();

    const int count = RemoteHostsToLoad(value);
    for (int i = 0; i < count; ++i) {
        _ADDRESSASSOC entry{};
        if (!LoadEntry(store, keys.connections, i, entry))
            return false;
        table.Add(entry);
    }
    return true;
}

bool SaveTestOptionsTo(CKorValueStore& store, const CKorConfigData& doc)
{
    for (const TestOption& option : kTestOptions) {
        if (!store.WriteDword(option.section, option.entry, doc.*option.member))
            return false;
    }
    return true;
}

bool LoadTestOptionsFrom(CKorValueStore& store, CKorConfigData& doc)
{
    for (const TestOption& option : kTestOptions) {
        std::uint32_t value =
            store.ReadIntOrDefault(option.section, option.entry, kMissingTestOption);
        if (value == kMissingTestOption)
            return false;
        doc.*option.member = static_cast<std::uint16_t>(value);
    }
    return true;
}

void PickCurrentProfile(const CKorConfigData& doc, std::uint16_t& count, int& current)
{
    count = 0;
    current = -1;
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        if (doc.m_bPresent[slot] == 0)
            continue;
        ++count;
        if (current < 0)
            current = slot;
    }
}
