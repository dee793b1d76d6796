// Helpers of the registry store tests: direct registry access in a chosen view (to set up
// what the store reads and to check what it wrote), and a fixture that points the store at a
// key of its own and removes it afterwards.
#pragma once

#include "cnfkor/config/kor_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace korregtest
{

constexpr REGSAM kView64 = KEY_WOW64_64KEY;
constexpr REGSAM kView32 = KEY_WOW64_32KEY;

// A value as it lies in the registry.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The result of opening a key for reading: ERROR_SUCCESS or the registry's error code.
inline LONG OpenResult(const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(key);
    return rc;
}

inline bool KeyExists(const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

inline bool SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                   DWORD size, REGSAM view = kView64)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline bool SetDword(const std::string& path, const std::string& name, DWORD value,
                     REGSAM view = kView64)
{
    return SetRaw(path, name, REG_DWORD, &value, sizeof value, view);
}

// A REG_SZ value with its terminating zero.
inline bool SetText(const std::string& path, const std::string& name, const std::string& text,
                    REGSAM view = kView64)
{
    return SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), view);
}

inline bool GetRaw(const std::string& path, const std::string& name, RawValue& value,
                   REGSAM view = kView64)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        value.data.assign(size, 0);
        rc = RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                              value.data.empty() ? nullptr : value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline bool ValueExists(const std::string& path, const std::string& name, REGSAM view = kView64)
{
    RawValue v;
    return GetRaw(path, name, v, view);
}

// A DWORD value: true only when it is a REG_DWORD of 4 bytes.
inline bool GetDword(const std::string& path, const std::string& name, DWORD& value,
                     REGSAM view = kView64)
{
    RawValue v;
    if (!GetRaw(path, name, v, view) || v.type != REG_DWORD || v.data.size() != 4)
        return false;
    value = static_cast<DWORD>(v.data[0]) | static_cast<DWORD>(v.data[1]) << 8 |
            static_cast<DWORD>(v.data[2]) << 16 | static_cast<DWORD>(v.data[3]) << 24;
    return true;
}

// A REG_SZ value: its bytes must end with exactly one terminating zero.
inline bool GetText(const std::string& path, const std::string& name, std::string& text,
                    REGSAM view = kView64)
{
    RawValue v;
    if (!GetRaw(path, name, v, view) || v.type != REG_SZ || v.data.empty() || v.data.back() != 0)
        return false;
    text.assign(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1);
    return text.find('\0') == std::string::npos;
}

inline bool DeleteValue(const std::string& path, const std::string& name, REGSAM view = kView64)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_WRITE | view, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Deletes a key and everything below it, every open in the given view.
inline void DeleteTree(const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children)
        DeleteTree(path + "\\" + child, view);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
}

// The store pointed at HKLM\Software\KorTest<pid>_<n>\CNFKOR and a driver-family key of its
// own, HKLM\Software\KorTest<pid>_<n>Family\Corvia; both trees are removed, in both views,
// after each test.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int serial = 0;
        char company[64];
        std::snprintf(company, sizeof company, "KorTest%lu_%d",
                      static_cast<unsigned long>(GetCurrentProcessId()), ++serial);
        m_company = company;
        ASSERT_FALSE(KeyExists(CompanyPath(), kView64)) << "left over: " << CompanyPath();
        ASSERT_TRUE(registry.SetRegistryNames(m_company.c_str(), "CNFKOR"));
        ASSERT_TRUE(registry.SetDriverFamilyKey(FamilyKey().c_str()));
    }

    void TearDown() override
    {
        const REGSAM views[] = {kView64, kView32};
        for (REGSAM view : views) {
            DeleteTree(CompanyPath(), view);
            DeleteTree(FamilyRoot(), view);
            EXPECT_FALSE(KeyExists(CompanyPath(), view)) << CompanyPath();
            EXPECT_FALSE(KeyExists(FamilyRoot(), view)) << FamilyRoot();
        }
    }

    std::string CompanyPath() const { return "Software\\" + m_company; }
    std::string AppPath() const { return CompanyPath() + "\\CNFKOR"; }
    std::string Path(const std::string& section) const { return AppPath() + "\\" + section; }
    std::string FamilyRoot() const { return "Software\\" + m_company + "Family"; }
    std::string FamilyKey() const { return FamilyRoot() + "\\Corvia"; }

    CKorRegistry registry;

private:
    std::string m_company;
};

} // namespace korregtest
