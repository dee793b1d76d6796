// CKorRegistry: the registry store of the configuration.
//
// Note: <windows.h> maps GetProfileInt, GetProfileString and WriteProfileString to their
// ANSI names; this header includes it itself, so every file that sees the class sees the
// same member names.
//
// Everything lives below the application key HKLM\Software\<company>\<application title>
// ("Software\Orvanta\CNFKOR" by default), always in the 64-bit view of the registry: every
// open or create of the application key chain and of the keys below it asks for
// kAppKeyAccess (KEY_READ | KEY_WRITE | KEY_WOW64_64KEY). The chain is walked again on every
// access and each routine closes what it opened before it returns, so the store keeps no open
// handle. The one value outside it, the driver family's FirstPort, is read in the tool's own
// (32-bit) view.
//
// The application class inherits this layer (class CCnfKorApp : public CWinApp, public
// CKorRegistry) and sets the names from its string table at start-up. Failures are returned
// (null handle, FALSE, the caller's default); nothing here shows a message.
#pragma once

#include <winsock2.h> // before <windows.h>, so that sockets can still be included after this
#include <windows.h>

#include "cnfkor/config/kor_config_data.h"

#include <string>

// Access to the application key chain: read and write, in the 64-bit view.
constexpr REGSAM kAppKeyAccess = KEY_READ | KEY_WRITE | KEY_WOW64_64KEY;
static_assert(kAppKeyAccess == 0x2011F, "application key access mask");

// Defaults of the names; the program sets them from strings 2005 and 57344.
constexpr char kDefaultRegistryCompany[] = "Orvanta";
constexpr char kDefaultAppTitle[] = "CNFKOR";
// Key of the driver family below HKLM, read in the tool's own view.
constexpr char kDefaultDriverFamilyKey[] = "Software\\Orvanta\\Corvia";

class CKorRegistry
{
public:
    CKorRegistry();

    // Names the application key: HKLM\Software\<company>\<appTitle>. Ignored (FALSE) when
    // either name is null or empty, or holds a backslash.
    BOOL SetRegistryNames(LPCSTR company, LPCSTR appTitle);
    // Path below HKLM of the key holding FirstPort. Ignored (FALSE) when null or empty.
    BOOL SetDriverFamilyKey(LPCSTR path);
    const std::string& GetRegistryCompany() const { return m_company; }
    const std::string& GetAppTitle() const { return m_appTitle; }
    const std::string& GetDriverFamilyKey() const { return m_familyKey; }

    // --- Profile settings of the application, below the application key ---

    // Opens "Software", creates or opens <company> and <appTitle> below it (non-volatile);
    // the intermediate handles are closed at once. Returns the application key or null; the
    // caller closes it.
    HKEY GetAppRegistryKey();
    // Creates or opens `section` below the application key. Returns it or null; the caller
    // closes it.
    HKEY GetSectionKey(LPCSTR section);
    // The 4-byte value `entry` of `section` (see QueryDword for its type and size), or
    // nDefault when the key cannot be opened or the value not read. Creates the section.
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int nDefault);
    // Writes nValue as REG_DWORD, creating the section when missing.
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int nValue);
    // With entry null: deletes the key `section` (it must have no subkeys). With value null:
    // deletes the value `entry`. Otherwise writes value as REG_SZ with its terminating zero.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    // The REG_SZ value `entry` of `section` up to its first zero, or lpszDefault (empty when
    // null) when it cannot be read or is of another type. Creates the section.
    std::string GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR lpszDefault = nullptr);

    // --- Routines of the store ---

    // The application key (same chain as GetAppRegistryKey), or null; the caller closes it.
    HKEY OpenAppKey();
    // Opens the existing key `section` below the application key; creates nothing, not even
    // the application key. Returns it or null; the caller closes it.
    HKEY OpenSectionKey(LPCSTR section);
    // Reads `entry` of the existing key `section` as a 32-bit number, whatever its type: a
    // value of 4 bytes or fewer is taken little-endian and zero-extended, a longer one fails.
    // `value` is written only on success. Creates nothing.
    BOOL QueryDword(LPCSTR section, LPCSTR entry, DWORD& value);
    // Reads `entry` of `section` as text, whatever its type: asks for the size, reads that
    // many bytes, and the text ends at the first zero (or at the end of the data). Creates the
    // section when missing. `text` is written only on success.
    BOOL QueryString(LPCSTR section, LPCSTR entry, std::string& text);

    // Writes profile `index` (0..8) from the document (order and rules: SaveProfileTo in
    // kor_profile_io.h).
    BOOL SaveProfile(const CKorConfigData& doc, int index);
    // Reads profile `index` (0..8) into the document (rules: LoadProfileFrom).
    BOOL LoadProfile(CKorConfigData& doc, int index);
    // Deletes Localhost<n> and, only when that succeeded, Connections<n> of profile
    // `index`. TRUE only when both were deleted.
    BOOL DeleteProfileKeys(int index);
    // Writes the six test options (SaveTestOptionsTo).
    BOOL SaveTestOptions(const CKorConfigData& doc);
    // Reads the six test options (LoadTestOptionsFrom); creates empty Mirror and Ping keys
    // when they are missing.
    BOOL LoadTestOptions(CKorConfigData& doc);
    // FirstPort + 80 from the driver family's key, opened with RegOpenKeyA in the tool's own
    // registry view; 27720 when the key or value is missing, the value is not a REG_DWORD of
    // exactly 4 bytes, or the instance ports would not be TCP ports.
    int ReadBasePort();

private:
    HKEY OpenAppKeyChain(bool create);

    std::string m_company;
    std::string m_appTitle;
    std::string m_familyKey;
};
