// Registry views: the configuration lives in the 64-bit view although the tool is a 32-bit
// program; the driver family's FirstPort is read in the tool's own (32-bit) view.
//
// Measured under Wine 8 in a 64-bit prefix: as on Windows, HKLM\Software is redirected to
// Software\Wow6432Node for a 32-bit program, so the two views really differ here.
#include "cnfkor_registry_util.h"

#include <string>

using namespace korregtest;

namespace
{

class KorRegistryViews : public RegistryTest
{
};

TEST_F(KorRegistryViews, ConfigurationIsWrittenAndReadInTheSixtyFourBitView)
{
    CKorConfigData doc;
    doc.m_wLocalVelt[0] = 0x0201;
    ASSERT_TRUE(registry.SaveProfile(doc, 0));
    ASSERT_TRUE(registry.SaveTestOptions(doc));

    DWORD velt = 0;
    EXPECT_TRUE(GetDword(Path("Localhost1"), "Velt", velt, kView64));
    EXPECT_EQ(0x0201u, velt);
    EXPECT_TRUE(ValueExists(Path("Mirror"), "Count", kView64));
    // Nothing in the 32-bit view, under its redirected name either.
    EXPECT_EQ(ERROR_SUCCESS, OpenResult(AppPath(), kView64));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenResult(CompanyPath(), kView32));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              OpenResult("Software\\Wow6432Node\\" + CompanyPath().substr(9), kView64));

    // A profile present only in the 32-bit view is not seen.
    DeleteTree(CompanyPath(), kView64);
    ASSERT_TRUE(SetDword(Path("Localhost1"), "Velt", 0x0201, kView32));
    ASSERT_TRUE(SetDword(Path("Localhost1"), "Adapter", 0, kView32));
    ASSERT_TRUE(SetDword(Path("Connections1"), "Number", 0, kView32));
    CKorConfigData loaded;
    EXPECT_FALSE(registry.LoadProfile(loaded, 0));
    EXPECT_FALSE(KeyExists(CompanyPath(), kView64));
}

TEST_F(KorRegistryViews, AppKeyIsOpenedWithTheSixtyFourBitMask)
{
    HKEY app = registry.GetAppRegistryKey();
    ASSERT_NE(nullptr, app);
    // A value written through the handle lands in the 64-bit view.
    DWORD one = 1;
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(app, "Probe", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4));
    RegCloseKey(app);
    EXPECT_TRUE(ValueExists(AppPath(), "Probe", kView64));
    EXPECT_FALSE(ValueExists(AppPath(), "Probe", kView32));

    HKEY section = registry.GetSectionKey("Localhost3");
    ASSERT_NE(nullptr, section);
    RegCloseKey(section);
    EXPECT_TRUE(KeyExists(Path("Localhost3"), kView64));
    EXPECT_FALSE(KeyExists(Path("Localhost3"), kView32));
}

TEST_F(KorRegistryViews, BasePortFromFirstPortOfEachTypeAndSize)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes; // stored as is
        int basePort;
    };
    const Case cases[] = {
        {"DWORD 27640", REG_DWORD, std::string("\xF8\x6B\0\0", 4), 27720},
        {"DWORD 1000", REG_DWORD, std::string("\xE8\x03\0\0", 4), 1080},
        {"DWORD 0", REG_DWORD, std::string(4, '\0'), 80},
        {"DWORD 65410 (ports past 65535)", REG_DWORD, std::string("\x82\xFF\0\0", 4), 27720},
        {"text 27640", REG_SZ, std::string("27640", 6), 27720},
        {"text of 3 bytes", REG_SZ, std::string("12", 3), 27720},
        {"binary 4 bytes", REG_BINARY, std::string("\xE8\x03\0\0", 4), 27720},
        {"DWORD of 2 bytes", REG_DWORD, std::string("\xE8\x03", 2), 27720},
        {"QWORD 1000", REG_QWORD, std::string("\xE8\x03\0\0\0\0\0\0", 8), 27720},
    };
    EXPECT_EQ(27720, registry.ReadBasePort()); // no key
    ASSERT_TRUE(SetDword(FamilyKey(), "Other", 1, kView32));
    EXPECT_EQ(27720, registry.ReadBasePort()); // key without the value
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRaw(FamilyKey(), "FirstPort", c.type, c.bytes.data(),
                           static_cast<DWORD>(c.bytes.size()), kView32));
        EXPECT_EQ(c.basePort, registry.ReadBasePort()) << c.what;
    }
}

TEST_F(KorRegistryViews, FirstPortIsReadInTheThirtyTwoBitView)
{
    ASSERT_TRUE(SetDword(FamilyKey(), "FirstPort", 30000, kView64));
    EXPECT_EQ(27720, registry.ReadBasePort()); // only in the 64-bit view: not seen
    ASSERT_TRUE(SetDword(FamilyKey(), "FirstPort", 27000, kView32));
    EXPECT_EQ(27080, registry.ReadBasePort());
}

// The real driver-family key: written for the test in the 32-bit view, then put back as it
// was (value, key and its parent removed when the test made them).
TEST_F(KorRegistryViews, DefaultFamilyKeyInTheThirtyTwoBitView)
{
    const std::string parent = "Software\\Orvanta";
    const std::string family = "Software\\Orvanta\\Corvia";
    const bool parentExisted = KeyExists(parent, kView32);
    const bool familyExisted = KeyExists(family, kView32);
    RawValue before;
    const bool valueExisted = GetRaw(family, "FirstPort", before, kView32);
    RawValue before64;
    const bool value64Existed = GetRaw(family, "FirstPort", before64, kView64);

    CKorRegistry defaults;
    ASSERT_TRUE(SetDword(family, "FirstPort", 26000, kView32));
    const int basePort = defaults.ReadBasePort();

    if (valueExisted) {
        EXPECT_TRUE(SetRaw(family, "FirstPort", before.type, before.data.data(),
                           static_cast<DWORD>(before.data.size()), kView32));
    } else {
        EXPECT_TRUE(DeleteValue(family, "FirstPort", kView32));
    }
    if (!familyExisted) {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyExA(HKEY_LOCAL_MACHINE, family.c_str(), kView32, 0));
    }
    if (!parentExisted) {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), kView32, 0));
    }

    EXPECT_EQ(26080, basePort);
    RawValue after;
    EXPECT_EQ(valueExisted, GetRaw(family, "FirstPort", after, kView32));
    if (valueExisted) {
        EXPECT_EQ(before.type, after.type);
        EXPECT_EQ(before.data, after.data);
    }
    EXPECT_EQ(familyExisted, KeyExists(family, kView32));
    EXPECT_EQ(parentExisted, KeyExists(parent, kView32));
    RawValue after64;
    EXPECT_EQ(value64Existed, GetRaw(family, "FirstPort", after64, kView64));
}

} // namespace
