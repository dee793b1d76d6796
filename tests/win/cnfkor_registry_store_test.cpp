// The registry store against Wine's real registry: profiles, the remote-host tables, the test
// options, profile deletion and the loading of all slots.
#include "cnfkor_registry_util.h"

#include "cnfkor/config/kor_globals.h"
#include "cnfkor/config/kor_model.h"

#include <cstring>
#include <string>

using namespace korregtest;

namespace
{

_ADDRESSASSOC Host(const char* id, int useDns, int dynamic, WORD velt, DWORD ip)
{
    _ADDRESSASSOC h{};
    std::strncpy(h.Id, id, kHostIdMaxChars);
    h.UseDNS = useDns;
    h.Dynamic = dynamic;
    h.Velt = velt;
    h.Ip = ip;
    return h;
}

// Writes an entry's values straight into the registry, as another program might have.
void StoreEntry(const std::string& path, int i, const char* id, DWORD useDns, DWORD velt,
                const char* ip)
{
    char n[8];
    std::snprintf(n, sizeof n, "%02i", i);
    ASSERT_TRUE(SetText(path, std::string("Id") + n, id));
    ASSERT_TRUE(SetDword(path, std::string("UseDNS") + n, useDns));
    ASSERT_TRUE(SetDword(path, std::string("Velt") + n, velt));
    ASSERT_TRUE(SetText(path, std::string("Ip") + n, ip));
}

class KorRegistryStore : public RegistryTest
{
};

TEST_F(KorRegistryStore, SavedProfileLandsInTheLayoutAndLoadsBack)
{
    CKorConfigData doc;
    doc.m_wLocalVelt[4] = 0x0C01;
    doc.m_wAdapter[4] = 3;
    doc.m_dwIpFixed[4] = 0xA5A5A5A5;
    std::strcpy(doc.m_szAdapterName[4], "Realtek PCIe GbE Family Controller");
    doc.m_Connections[4].Add(Host("HOST1", 0, 1, 0x0705, 0xC0A8010A));
    doc.m_Connections[4].Add(Host("far.example.org", 1, 0, 0xFF02, 0));
    ASSERT_TRUE(registry.SaveProfile(doc, 4));

    struct Dword {
        const char* key;
        const char* name;
        DWORD value;
    };
    const Dword dwords[] = {
        {"Localhost5", "Velt", 0x0C01},        {"Localhost5", "Adapter", 3},
        {"Localhost5", "IpFixed", 0xA5A5A5A5}, {"Connections5", "Number", 2},
        {"Connections5", "NoDyn00", 0},        {"Connections5", "UseDNS00", 0},
        {"Connections5", "Velt00", 0x0705},    {"Connections5", "NoDyn01", 1},
        {"Connections5", "UseDNS01", 1},       {"Connections5", "Velt01", 0xFF02},
    };
    for (const Dword& d : dwords) {
        DWORD value = 0xDEADBEEF;
        EXPECT_TRUE(GetDword(Path(d.key), d.name, value)) << d.key << '\\' << d.name;
        EXPECT_EQ(d.value, value) << d.key << '\\' << d.name;
    }
    struct Text {
        const char* key;
        const char* name;
        const char* text;
    };
    const Text texts[] = {
        {"Localhost5", "AdapterName", "Realtek PCIe GbE Family Controller"},
        {"Connections5", "Id00", "HOST1"},
        {"Connections5", "Ip00", "192.168.1.10"},
        {"Connections5", "Id01", "far.example.org"},
        {"Connections5", "Ip01", "0.0.0.0"},
    };
    for (const Text& t : texts) {
        std::string text;
        EXPECT_TRUE(GetText(Path(t.key), t.name, text)) << t.key << '\\' << t.name;
        EXPECT_EQ(t.text, text) << t.key << '\\' << t.name;
    }

    CKorConfigData loaded;
    ASSERT_TRUE(registry.LoadProfile(loaded, 4));
    EXPECT_EQ(0x0C01, loaded.m_wLocalVelt[4]);
    EXPECT_EQ(3, loaded.m_wAdapter[4]);
    EXPECT_EQ(0xA5A5A5A5u, loaded.m_dwIpFixed[4]);
    EXPECT_STREQ("Realtek PCIe GbE Family Controller", loaded.m_szAdapterName[4]);
    ASSERT_EQ(2, loaded.m_Connections[4].GetSize());
    const _ADDRESSASSOC& b = loaded.m_Connections[4][1];
    EXPECT_STREQ("far.example.org", b.Id);
    EXPECT_EQ(1, b.UseDNS);
    EXPECT_EQ(0, b.Dynamic);
    EXPECT_EQ(0xFF02, b.Velt);
    EXPECT_EQ(0u, b.Ip);
    EXPECT_EQ(0xC0A8010Au, loaded.m_Connections[4][0].Ip);
    EXPECT_EQ(1, loaded.m_Connections[4][0].Dynamic);
}

TEST_F(KorRegistryStore, MissingLocalhostLoadsAbsentAndCreatesNothing)
{
    CKorConfigData doc;
    // No application key at all.
    EXPECT_FALSE(registry.LoadProfile(doc, 0));
    EXPECT_FALSE(KeyExists(CompanyPath(), kView64));
    EXPECT_FALSE(KeyExists(CompanyPath(), kView32));
    // Application key present, profile 1 absent; profile 2 present.
    ASSERT_TRUE(registry.SaveTestOptions(doc));
    doc.m_wLocalVelt[1] = 7;
    ASSERT_TRUE(registry.SaveProfile(doc, 1));
    doc.m_wLocalVelt[0] = 0x1234;
    EXPECT_FALSE(registry.LoadProfile(doc, 0));
    EXPECT_EQ(0x1234, doc.m_wLocalVelt[0]);
    EXPECT_FALSE(KeyExists(Path("Localhost1"), kView64));
    EXPECT_FALSE(KeyExists(Path("Connections1"), kView64));
    EXPECT_TRUE(registry.LoadProfile(doc, 1));
    EXPECT_EQ(7, doc.m_wLocalVelt[1]);
}

TEST_F(KorRegistryStore, MissingNumberFailsTheProfile)
{
    ASSERT_TRUE(SetDword(Path("Localhost1"), "Velt", 0x0201));
    ASSERT_TRUE(SetDword(Path("Localhost1"), "Adapter", 1));
    CKorConfigData doc;
    doc.m_Connections[0].Add(Host("KEPT", 0, 1, 1, 1));
    EXPECT_FALSE(registry.LoadProfile(doc, 0)); // no Connections1 key
    EXPECT_FALSE(KeyExists(Path("Connections1"), kView64));
    ASSERT_TRUE(SetDword(Path("Connections1"), "Other", 1));
    EXPECT_FALSE(registry.LoadProfile(doc, 0)); // the key without Number
    EXPECT_EQ(0x0201, doc.m_wLocalVelt[0]);
    ASSERT_EQ(1, doc.m_Connections[0].GetSize()); // the table is emptied only after Number
    ASSERT_TRUE(SetDword(Path("Connections1"), "Number", 0));
    EXPECT_TRUE(registry.LoadProfile(doc, 0));
    EXPECT_EQ(0, doc.m_Connections[0].GetSize());
}

TEST_F(KorRegistryStore, EntryValuesStoredByAnotherProgram)
{
    struct Case {
        const char* ip;  // Ip00 text
        bool storeNoDyn; // NoDyn00 present
        DWORD noDyn;     // its value
        bool ok;
        DWORD expectedIp;
        int expectedDynamic;
    };
    const Case cases[] = {
        {"10.0.0.1", false, 0, true, 0x0A000001, 1}, // no NoDyn: automatic detection
        {"010.0.0.1", true, 1, true, 0x08000001, 0}, // octal first octet
        {"0x7f.0.0.1", true, 0, true, 0x7F000001, 1},
        {"10.0.1", true, 0, false, 0, 0}, // three numbers fail the profile
        {"host.example", true, 0, false, 0, 0},
        {"", true, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string conn = Path("Connections2");
        ASSERT_TRUE(SetDword(Path("Localhost2"), "Velt", 1));
        ASSERT_TRUE(SetDword(Path("Localhost2"), "Adapter", 0));
        ASSERT_TRUE(SetDword(conn, "Number", 1));
        StoreEntry(conn, 0, "HOST", 0, 0x0203, c.ip);
        if (c.storeNoDyn) {
            ASSERT_TRUE(SetDword(conn, "NoDyn00", c.noDyn));
        } else {
            DeleteValue(conn, "NoDyn00");
        }
        CKorConfigData doc;
        EXPECT_EQ(c.ok, registry.LoadProfile(doc, 1) != FALSE) << c.ip;
        if (c.ok) {
            ASSERT_EQ(1, doc.m_Connections[1].GetSize()) << c.ip;
            EXPECT_EQ(c.expectedIp, doc.m_Connections[1][0].Ip) << c.ip;
            EXPECT_EQ(c.expectedDynamic, doc.m_Connections[1][0].Dynamic) << c.ip;
            EXPECT_EQ(0x0203, doc.m_Connections[1][0].Velt);
        } else {
            EXPECT_EQ(0, doc.m_Connections[1].GetSize()) << c.ip;
        }
    }
}

TEST_F(KorRegistryStore, ShorterTableSavedOverALongerOneLeavesTheRestUnread)
{
    CKorConfigData doc;
    for (int i = 0; i < 5; ++i)
        doc.m_Connections[0].Add(
            Host(("H" + std::to_string(i)).c_str(), 0, 1, static_cast<WORD>(i), 0x0A000001u + i));
    ASSERT_TRUE(registry.SaveProfile(doc, 0));
    doc.m_Connections[0].SetSize(3);
    ASSERT_TRUE(registry.SaveProfile(doc, 0));

    DWORD number = 0;
    ASSERT_TRUE(GetDword(Path("Connections1"), "Number", number));
    EXPECT_EQ(3u, number);
    const char* const left[] = {"Id03", "NoDyn03", "UseDNS03", "Velt03", "Ip03",
                                "Id04", "NoDyn04", "UseDNS04", "Velt04", "Ip04"};
    for (const char* name : left)
        EXPECT_TRUE(ValueExists(Path("Connections1"), name)) << name;

    CKorConfigData loaded;
    ASSERT_TRUE(registry.LoadProfile(loaded, 0));
    ASSERT_EQ(3, loaded.m_Connections[0].GetSize());
    EXPECT_STREQ("H2", loaded.m_Connections[0][2].Id);
}

TEST_F(KorRegistryStore, TestOptionsAllOrNothing)
{
    const char* const names[6][2] = {{"Mirror", "Count"}, {"Mirror", "Size"}, {"Mirror", "Timeout"},
                                     {"Ping", "Count"},   {"Ping", "Size"},   {"Ping", "Timeout"}};
    const DWORD stored[6] = {5, 512, 4, 7, 256, 9};
    enum Change { None, Missing, Marker };
    struct Case {
        int which; // option changed, -1 none
        Change change;
        bool mirrorOnly; // the Ping key not written at all
        bool loaded;
    };
    const Case cases[] = {
        {-1, None, false, true},   {0, Missing, false, false}, {5, Missing, false, false},
        {2, Marker, false, false}, {3, Marker, false, false},  {-1, None, true, false},
    };
    for (const Case& c : cases) {
        DeleteTree(AppPath(), kView64);
        for (int i = 0; i < 6; ++i) {
            if (c.mirrorOnly && i >= 3)
                continue;
            if (i == c.which && c.change == Missing)
                continue;
            DWORD value = i == c.which && c.change == Marker ? 0xFFFFAAAA : stored[i];
            ASSERT_TRUE(SetDword(Path(names[i][0]), names[i][1], value));
        }
        CKorConfigData doc;
        doc.m_wMirrorCount = doc.m_wMirrorSize = doc.m_wMirrorTimeout = 77;
        doc.m_wPingCount = doc.m_wPingSize = doc.m_wPingTimeout = 77;
        EXPECT_EQ(c.loaded, LoadTestOptionsOrDefaults(doc, registry)) << c.which;
        const WORD got[6] = {doc.m_wMirrorCount, doc.m_wMirrorSize, doc.m_wMirrorTimeout,
                             doc.m_wPingCount,   doc.m_wPingSize,   doc.m_wPingTimeout};
        const WORD defaults[6] = {2, 128, 2, 2, 128, 2};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(c.loaded ? stored[i] : defaults[i], got[i]) << c.which << ' ' << i;
    }
}

TEST_F(KorRegistryStore, TestOptionsWrittenAsDwordsAndEmptyRegistryGivesDefaults)
{
    CKorConfigData doc;
    EXPECT_FALSE(registry.LoadTestOptions(doc));
    // The read went through the section key: it created the Mirror key.
    EXPECT_TRUE(KeyExists(Path("Mirror"), kView64));

    doc.m_wMirrorCount = 10;
    doc.m_wMirrorSize = 1024;
    doc.m_wMirrorTimeout = 1;
    doc.m_wPingCount = 1;
    doc.m_wPingSize = 1;
    doc.m_wPingTimeout = 10;
    ASSERT_TRUE(registry.SaveTestOptions(doc));
    DWORD value = 0;
    ASSERT_TRUE(GetDword(Path("Mirror"), "Size", value));
    EXPECT_EQ(1024u, value);
    ASSERT_TRUE(GetDword(Path("Ping"), "Timeout", value));
    EXPECT_EQ(10u, value);
    CKorConfigData loaded;
    ASSERT_TRUE(registry.LoadTestOptions(loaded));
    EXPECT_EQ(1024, loaded.m_wMirrorSize);
    EXPECT_EQ(10, loaded.m_wPingTimeout);
    EXPECT_EQ(10, loaded.m_wMirrorCount);
}

TEST_F(KorRegistryStore, DeleteProfileKeys)
{
    struct Case {
        bool localhost, connections, localhostChild;
        BOOL ok;
        bool localhostLeft, connectionsLeft;
    };
    const Case cases[] = {
        {true, true, false, TRUE, false, false},
        {false, true, false, FALSE, false, true}, // Localhost already gone: Connections stays
        {true, false, false, FALSE, false, false},
        {true, true, true, FALSE, true, true}, // a key with a subkey is not deleted
    };
    for (const Case& c : cases) {
        DeleteTree(AppPath(), kView64);
        if (c.localhost) {
            ASSERT_TRUE(SetDword(Path("Localhost6"), "Velt", 1));
        }
        if (c.localhostChild) {
            ASSERT_TRUE(SetDword(Path("Localhost6\\Child"), "X", 1));
        }
        if (c.connections) {
            ASSERT_TRUE(SetDword(Path("Connections6"), "Number", 0));
        }
        ASSERT_TRUE(SetDword(Path("Localhost5"), "Velt", 1)); // a neighbour, never touched
        EXPECT_EQ(c.ok, registry.DeleteProfileKeys(5));
        EXPECT_EQ(c.localhostLeft, KeyExists(Path("Localhost6"), kView64));
        EXPECT_EQ(c.connectionsLeft, KeyExists(Path("Connections6"), kView64));
        EXPECT_TRUE(KeyExists(Path("Localhost5"), kView64));
    }
    EXPECT_FALSE(registry.DeleteProfileKeys(-1));
    EXPECT_FALSE(registry.DeleteProfileKeys(9));
}

TEST_F(KorRegistryStore, LoadAllProfilesPicksTheLowestPresentSlot)
{
    CKorConfigData doc;
    doc.m_wLocalVelt[1] = 0x0102;
    doc.m_wLocalVelt[4] = 0x0105;
    ASSERT_TRUE(registry.SaveProfile(doc, 1));
    ASSERT_TRUE(registry.SaveProfile(doc, 4));
    // Slot 6 fails to load (no Connections7): absent, but what it read stays.
    ASSERT_TRUE(SetDword(Path("Localhost7"), "Velt", 0x0107));
    ASSERT_TRUE(SetDword(Path("Localhost7"), "Adapter", 1));
    ASSERT_TRUE(SetDword(FamilyKey(), "FirstPort", 30000, kView32));

    CKorConfigData loaded;
    for (int slot = 0; slot < kProfileSlots; ++slot)
        loaded.m_bPresent[slot] = 1;
    g_nCurrentProfile = 77;
    g_nProfileCount = 77;
    LoadAllProfiles(loaded, registry);
    EXPECT_EQ(2, g_nProfileCount);
    EXPECT_EQ(1, g_nCurrentProfile);
    EXPECT_EQ(30080, g_nBasePort);
    for (int slot = 0; slot < kProfileSlots; ++slot)
        EXPECT_EQ(slot == 1 || slot == 4 ? 1 : 0, loaded.m_bPresent[slot]) << slot;
    EXPECT_EQ(0x0105, loaded.m_wLocalVelt[4]);
    EXPECT_EQ(0x0107, loaded.m_wLocalVelt[6]);
}

TEST_F(KorRegistryStore, EmptyRegistryGivesNoProfileAndDefaultOptions)
{
    CKorConfigData doc;
    doc.m_wMirrorSize = doc.m_wPingCount = 9;
    g_nCurrentProfile = 0;
    g_nProfileCount = 5;
    g_nBasePort = 1;
    EXPECT_FALSE(LoadTestOptionsOrDefaults(doc, registry));
    LoadAllProfiles(doc, registry);
    EXPECT_EQ(-1, g_nCurrentProfile);
    EXPECT_EQ(0, g_nProfileCount);
    EXPECT_EQ(27720, g_nBasePort);
    for (int slot = 0; slot < kProfileSlots; ++slot)
        EXPECT_EQ(0, doc.m_bPresent[slot]);
    EXPECT_EQ(128, doc.m_wMirrorSize);
    EXPECT_EQ(2, doc.m_wMirrorTimeout);
    EXPECT_EQ(2, doc.m_wMirrorCount);
    EXPECT_EQ(128, doc.m_wPingSize);
    EXPECT_EQ(2, doc.m_wPingTimeout);
    EXPECT_EQ(2, doc.m_wPingCount);
    // Loading the nine slots created no profile key.
    for (const char* key : {"Localhost1", "Connections1", "Localhost9", "Connections9"})
        EXPECT_FALSE(KeyExists(Path(key), kView64)) << key;
}

TEST_F(KorRegistryStore, ProfileSettingFunctions)
{
    // WriteProfileString writes text with its zero; GetProfileString reads REG_SZ only.
    ASSERT_TRUE(registry.WriteProfileString("Settings", "Name", "value one"));
    std::string text;
    ASSERT_TRUE(GetText(Path("Settings"), "Name", text));
    EXPECT_EQ("value one", text);
    EXPECT_EQ("value one", registry.GetProfileString("Settings", "Name", "dflt"));
    ASSERT_TRUE(registry.WriteProfileInt("Settings", "Number", -2));
    DWORD value = 0;
    ASSERT_TRUE(GetDword(Path("Settings"), "Number", value));
    EXPECT_EQ(0xFFFFFFFEu, value);
    EXPECT_EQ(0xFFFFFFFEu, registry.GetProfileInt("Settings", "Number", 5));
    EXPECT_EQ("dflt", registry.GetProfileString("Settings", "Number", "dflt"));
    EXPECT_EQ("", registry.GetProfileString("Settings", "Missing"));
    EXPECT_EQ(5u, registry.GetProfileInt("Settings", "Missing", 5));

    // Value null: the value goes. Entry null: the whole section goes.
    ASSERT_TRUE(registry.WriteProfileString("Settings", "Name", nullptr));
    EXPECT_FALSE(ValueExists(Path("Settings"), "Name"));
    EXPECT_TRUE(ValueExists(Path("Settings"), "Number"));
    EXPECT_FALSE(registry.WriteProfileString("Settings", "Name", nullptr)); // already gone
    ASSERT_TRUE(registry.WriteProfileString("Settings", nullptr, nullptr));
    EXPECT_FALSE(KeyExists(Path("Settings"), kView64));
    EXPECT_FALSE(registry.WriteProfileString("Settings", nullptr, nullptr));

    // OpenSectionKey never creates; QueryString (through the section key) does.
    EXPECT_EQ(nullptr, registry.OpenSectionKey("Absent"));
    DWORD number = 0x5A5A5A5A;
    EXPECT_FALSE(registry.QueryDword("Absent", "X", number));
    EXPECT_EQ(0x5A5A5A5Au, number);
    EXPECT_FALSE(KeyExists(Path("Absent"), kView64));
    std::string out = "unchanged";
    EXPECT_FALSE(registry.QueryString("Absent", "X", out));
    EXPECT_EQ("unchanged", out);
    EXPECT_TRUE(KeyExists(Path("Absent"), kView64));
    HKEY key = registry.OpenSectionKey("Absent");
    EXPECT_NE(nullptr, key);
    if (key)
        RegCloseKey(key);
}

TEST_F(KorRegistryStore, RefusedNames)
{
    EXPECT_FALSE(registry.SetRegistryNames(nullptr, "CNFKOR"));
    EXPECT_FALSE(registry.SetRegistryNames("", "CNFKOR"));
    EXPECT_FALSE(registry.SetRegistryNames("Orvanta", ""));
    EXPECT_FALSE(registry.SetRegistryNames("Software\\Other", "CNFKOR"));
    EXPECT_FALSE(registry.SetDriverFamilyKey(""));
    // The names in force are still the test's own.
    CKorConfigData doc;
    ASSERT_TRUE(registry.SaveTestOptions(doc));
    EXPECT_TRUE(ValueExists(Path("Mirror"), "Count"));

    CKorRegistry fresh;
    EXPECT_EQ("Orvanta", fresh.GetRegistryCompany());
    EXPECT_EQ("CNFKOR", fresh.GetAppTitle());
    EXPECT_EQ("Software\\Orvanta\\Corvia", fresh.GetDriverFamilyKey());
}

} // namespace
