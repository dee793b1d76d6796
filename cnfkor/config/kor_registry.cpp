// The registry store of the configuration.
#include "cnfkor/config/kor_registry.h"

#include "cnfkor/config/kor_profile_io.h"
#include "cnfkor/config/kor_reg_layout.h"

#include <cstring>
#include <vector>

namespace
{

bool IsKeyName(LPCSTR name)
{
    return name != nullptr && name[0] != '\0' && std::strchr(name, '\\') == nullptr;
}

// Reads a value as a 32-bit number without looking at its type: at most 4 bytes are read
// into a zeroed buffer, so a shorter value is zero-extended and a longer one fails.
bool ReadDwordValue(HKEY key, LPCSTR entry, DWORD& value)
{
    unsigned char bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, entry, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return false;
    value = DwordFromValueBytes(bytes, size < sizeof bytes ? size : sizeof bytes);
    return true;
}

// Reads a value as text: its size first, then the data into a buffer one byte longer so the
// text is terminated even when the stored data is not.
bool ReadTextValue(HKEY key, LPCSTR entry, std::string& text, DWORD* type)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, entry, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(key, entry, nullptr, type, reinterpret_cast<BYTE*>(buffer.data()),
                         &read) != ERROR_SUCCESS)
        return false; // also when the value grew in between (ERROR_MORE_DATA)
    if (read > size)
        read = size;
    text.assign(buffer.data(), strnlen(buffer.data(), read));
    return true;
}

// The store seen by the profile algorithms, through the routines of the registry class.
class RegistryValueStore : public CKorValueStore
{
public:
    explicit RegistryValueStore(CKorRegistry& registry) : m_registry(registry) {}

    bool ReadDword(const char* section, const char* entry, std::uint32_t& value) override
    {
        DWORD read = 0;
        if (!m_registry.QueryDword(section, entry, read))
            return false;
        value = read;
        return true;
    }
    bool ReadText(const char* section, const char* entry, std::string& text) override
    {
        return m_registry.QueryString(section, entry, text) != FALSE;
    }
    std::uint32_t ReadIntOrDefault(const char* section, const char* entry,
                                   std::uint32_t def) override
    {
        return m_registry.GetProfileInt(section, entry, static_cast<int>(def));
    }
    bool WriteDword(const char* section, const char* entry, std::uint32_t value) override
    {
        return m_registry.WriteProfileInt(section, entry, static_cast<int>(value)) != FALSE;
    }
    bool WriteText(const char* section, const char* entry, const char* value) override
    {
        return m_registry.WriteProfileString(section, entry, value) != FALSE;
    }

private:
    CKorRegistry& m_registry;
};

// Creates (create) or opens `name` below `parent` with the application key access.
HKEY OpenChild(HKEY parent, LPCSTR name, bool create)
{
    HKEY key = nullptr;
    LONG rc;
    if (create) {
        DWORD disposition = 0;
        rc = RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kAppKeyAccess,
                             nullptr, &key, &disposition);
    } else {
        rc = RegOpenKeyExA(parent, name, 0, kAppKeyAccess, &key);
    }
    return rc == ERROR_SUCCESS ? key : nullptr;
}

bool ProfileKeyNames(int index, char (&localhost)[kRegNameSize], char (&connections)[kRegNameSize])
{
    return index >= 0 && index < kProfileSlots &&
           FormatProfileKeyName(localhost, kRegNameSize, kLocalhostKeyPrefix, index + 1) &&
           FormatProfileKeyName(connections, kRegNameSize, kConnectionsKeyPrefix, index + 1);
}

} // namespace

CKorRegistry::CKorRegistry()
    : m_company(kDefaultRegistryCompany), m_appTitle(kDefaultAppTitle),
      m_familyKey(kDefaultDriverFamilyKey)
{
}

BOOL CKorRegistry::SetRegistryNames(LPCSTR company, LPCSTR appTitle)
{
    if (!IsKeyName(company) || !IsKeyName(appTitle))
        return FALSE;
    m_company = company;
    m_appTitle = appTitle;
    return TRUE;
}

BOOL CKorRegistry::SetDriverFamilyKey(LPCSTR path)
{
    if (path == nullptr || path[0] == '\0')
        return FALSE;
    m_familyKey = path;
    return TRUE;
}

HKEY CKorRegistry::OpenAppKeyChain(bool create)
{
    HKEY software = OpenChild(HKEY_LOCAL_MACHINE, "Software", false);
    if (software == nullptr)
        return nullptr;
    HKEY company = OpenChild(software, m_company.c_str(), create);
    RegCloseKey(software);
    if (company == nullptr)
        return nullptr;
    HKEY app = OpenChild(company, m_appTitle.c_str(), create);
    RegCloseKey(company);
    return app;
}

HKEY CKorRegistry::GetAppRegistryKey()
{
    return OpenAppKeyChain(true);
}

HKEY CKorRegistry::GetSectionKey(LPCSTR section)
{
    if (section == nullptr)
        return nullptr;
    HKEY app = GetAppRegistryKey();
    if (app == nullptr)
        return nullptr;
    HKEY key = OpenChild(app, section, true);
    RegCloseKey(app);
    return key;
}

UINT CKorRegistry::GetProfileInt(LPCSTR section, LPCSTR entry, int nDefault)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD value = 0;
    bool read = ReadDwordValue(key, entry, value);
    RegCloseKey(key);
    return read ? static_cast<UINT>(value) : static_cast<UINT>(nDefault);
}

BOOL CKorRegistry::WriteProfileInt(LPCSTR section, LPCSTR entry, int nValue)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr)
        return FALSE;
    DWORD value = static_cast<DWORD>(nValue);
    LONG rc = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL CKorRegistry::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (section == nullptr)
        return FALSE;
    if (entry == nullptr) {
        HKEY app = GetAppRegistryKey();
        if (app == nullptr)
            return FALSE;
        LONG rc = RegDeleteKeyExA(app, section, KEY_WOW64_64KEY, 0);
        RegCloseKey(app);
        return rc == ERROR_SUCCESS;
    }
    HKEY key = GetSectionKey(section);
    if (key == nullptr)
        return FALSE;
    LONG rc;
    if (value == nullptr) {
        rc = RegDeleteValueA(key, entry);
    } else {
        std::size_t length = std::strlen(value);
        rc = length < 0xFFFFFFFFu
                 ? RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                  static_cast<DWORD>(length + 1))
                 : ERROR_INVALID_PARAMETER;
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string CKorRegistry::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR lpszDefault)
{
    std::string result = lpszDefault != nullptr ? lpszDefault : "";
    HKEY key = GetSectionKey(section);
    if (key == nullptr)
        return result;
    std::string text;
    DWORD type = REG_NONE;
    if (ReadTextValue(key, entry, text, &type) && type == REG_SZ)
        result = text;
    RegCloseKey(key);
    return result;
}

HKEY CKorRegistry::OpenAppKey()
{
    return OpenAppKeyChain(true);
}

HKEY CKorRegistry::OpenSectionKey(LPCSTR section)
{
    if (section == nullptr)
        return nullptr;
    HKEY app = OpenAppKeyChain(false);
    if (app == nullptr)
        return nullptr;
    HKEY key = OpenChild(app, section, false);
    RegCloseKey(app);
    return key;
}

BOOL CKorRegistry::QueryDword(LPCSTR section, LPCSTR entry, DWORD& value)
{
    HKEY key = OpenSectionKey(section);
    if (key == nullptr)
        return FALSE;
    bool read = ReadDwordValue(key, entry, value);
    RegCloseKey(key);
    return read;
}

BOOL CKorRegistry::QueryString(LPCSTR section, LPCSTR entry, std::string& text)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr)
        return FALSE;
    std::string read;
    bool ok = ReadTextValue(key, entry, read, nullptr);
    RegCloseKey(key);
    if (ok)
        text.swap(read);
    return ok;
}

BOOL CKorRegistry::SaveProfile(const CKorConfigData& doc, int index)
{
    RegistryValueStore store(*this);
    return SaveProfileTo(store, doc, index);
}

BOOL CKorRegistry::LoadProfile(CKorConfigData& doc, int index)
{
    RegistryValueStore store(*this);
    return LoadProfileFrom(store, doc, index);
}

BOOL CKorRegistry::DeleteProfileKeys(int index)
{
    char localhost[kRegNameSize];
    char connections[kRegNameSize];
    if (!ProfileKeyNames(index, localhost, connections))
        return FALSE;
    HKEY app = OpenAppKey();
    if (app == nullptr)
        return FALSE;
    bool deleted = RegDeleteKeyExA(app, localhost, KEY_WOW64_64KEY, 0) == ERROR_SUCCESS &&
                   RegDeleteKeyExA(app, connections, KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
    RegCloseKey(app);
    return deleted;
}

BOOL CKorRegistry::SaveTestOptions(const CKorConfigData& doc)
{
    RegistryValueStore store(*this);
    return SaveTestOptionsTo(store, doc);
}

BOOL CKorRegistry::LoadTestOptions(CKorConfigData& doc)
{
    RegistryValueStore store(*this);
    return LoadTestOptionsFrom(store, doc);
}

int CKorRegistry::ReadBasePort()
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, m_familyKey.c_str(), &key) != ERROR_SUCCESS)
        return BasePortFromFirstPort(false, 0);
    unsigned char bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    DWORD type = REG_NONE;
    LONG rc = RegQueryValueExA(key, kFirstPortValue, nullptr, &type, bytes, &size);
    RegCloseKey(key);
    bool usable = rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof bytes;
    return BasePortFromFirstPort(usable, DwordFromValueBytes(bytes, sizeof bytes));
}
