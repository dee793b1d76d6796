// The registry store given values it did not write: other types and sizes than the layout's,
// texts longer than their fields, entry counts beyond the table, unreadable addresses.
// Whatever is stored, a load never writes past a field and never fails by a crash.
#include "cnfkor_registry_util.h"

#include <cstring>
#include <memory>
#include <string>

using namespace korregtest;

namespace
{

class KorRegistryBadInput : public RegistryTest
{
protected:
    // A valid profile of `entries` remote hosts in slot 0 (profile 1).
    void StoreProfile(int entries)
    {
        CKorConfigData doc;
        for (int i = 0; i < entries; ++i) {
            _ADDRESSASSOC h{};
            std::snprintf(h.Id, sizeof h.Id, "H%d", i);
            h.Dynamic = 1;
            h.Velt = static_cast<WORD>(i);
            h.Ip = 0x0A000000u + static_cast<DWORD>(i);
            doc.m_Connections[0].Add(h);
        }
        ASSERT_TRUE(registry.SaveProfile(doc, 0));
    }
};

TEST_F(KorRegistryBadInput, NumbersAreReadFromAnyTypeOfAtMostFourBytes)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        bool ok;
        DWORD value;
    };
    const Case cases[] = {
        {"DWORD", REG_DWORD, std::string("\x78\x56\x34\x12", 4), true, 0x12345678},
        {"text \"12\" (3 bytes)", REG_SZ, std::string("12", 3), true, 0x00003231},
        {"binary of 1 byte", REG_BINARY, std::string("\x05", 1), true, 5},
        {"binary of 2 bytes", REG_BINARY, std::string("\x01\x0C", 2), true, 0x0C01},
        {"DWORD of 2 bytes", REG_DWORD, std::string("\xAB\xCD", 2), true, 0xCDAB},
        {"empty binary", REG_BINARY, std::string(), true, 0},
        {"text \"27640\" (6 bytes)", REG_SZ, std::string("27640", 6), false, 0},
        {"QWORD", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), false, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRaw(Path("Values"), "V", c.type, c.bytes.data(),
                           static_cast<DWORD>(c.bytes.size())));
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(c.ok, registry.QueryDword("Values", "V", value) != FALSE) << c.what;
        EXPECT_EQ(c.ok ? c.value : 0xDEADBEEF, value) << c.what;
        EXPECT_EQ(c.ok ? c.value : 0xFEEDu, registry.GetProfileInt("Values", "V", 0xFEED))
            << c.what;
    }
}

TEST_F(KorRegistryBadInput, NumericProfileValuesOfOtherTypes)
{
    StoreProfile(1);
    // A local address stored as a short text reads as its bytes; a longer text is unreadable,
    // and without it the profile does not load.
    ASSERT_TRUE(SetText(Path("Localhost1"), "Velt", "5"));
    CKorConfigData doc;
    EXPECT_TRUE(registry.LoadProfile(doc, 0));
    EXPECT_EQ(0x0035, doc.m_wLocalVelt[0]);
    ASSERT_TRUE(SetText(Path("Localhost1"), "Velt", "1.12"));
    EXPECT_FALSE(registry.LoadProfile(doc, 0));
    // Number stored as the text "3": its bytes read as 51, more entries than stored.
    StoreProfile(3);
    ASSERT_TRUE(SetText(Path("Connections1"), "Number", "3"));
    EXPECT_FALSE(registry.LoadProfile(doc, 0));
    EXPECT_EQ(3, doc.m_Connections[0].GetSize());
}

TEST_F(KorRegistryBadInput, TextsAreReadFromAnyTypeUpToTheFirstZero)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"text", REG_SZ, std::string("abc", 4), "abc"},
        {"text without its zero", REG_SZ, std::string("abc", 3), "abc"},
        {"empty text", REG_SZ, std::string("", 1), ""},
        {"no bytes at all", REG_SZ, std::string(), ""},
        {"DWORD", REG_DWORD, std::string("ABC\0", 4), "ABC"},
        {"multi-text", REG_MULTI_SZ, std::string("one\0two\0\0", 9), "one"},
        {"binary", REG_BINARY, std::string("x\0y", 3), "x"},
        {"long text", REG_SZ, std::string(70000, 'L') + '\0', std::string(70000, 'L')},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRaw(Path("Values"), "T", c.type, c.bytes.data(),
                           static_cast<DWORD>(c.bytes.size())));
        std::string text = "unchanged";
        EXPECT_TRUE(registry.QueryString("Values", "T", text)) << c.what;
        EXPECT_EQ(c.text, text) << c.what;
    }
    std::string text = "unchanged";
    EXPECT_FALSE(registry.QueryString("Values", "Missing", text));
    EXPECT_EQ("unchanged", text);
}

TEST_F(KorRegistryBadInput, OverlongTextsAreCutToTheirFields)
{
    struct Case {
        const char* what;
        std::string adapterName;
        std::string id;
        std::string expectedName;
        std::string expectedId;
    };
    const Case cases[] = {
        {"fit exactly", std::string(259, 'a'), std::string(128, 'i'), std::string(259, 'a'),
         std::string(128, 'i')},
        {"one over", std::string(260, 'b'), std::string(129, 'j'), std::string(259, 'b'),
         std::string(128, 'j')},
        {"300 / 200", std::string(300, 'c'), std::string(200, 'k'), std::string(259, 'c'),
         std::string(128, 'k')},
        {"70000", std::string(70000, 'd'), std::string(70000, 'l'), std::string(259, 'd'),
         std::string(128, 'l')},
    };
    for (const Case& c : cases) {
        StoreProfile(2);
        ASSERT_TRUE(SetText(Path("Localhost1"), "AdapterName", c.adapterName));
        ASSERT_TRUE(SetText(Path("Connections1"), "Id00", c.id));

        // Canaries: guards around the document and the neighbouring slot's name.
        struct Guarded {
            char before[32];
            CKorConfigData doc;
            char after[32];
        };
        std::unique_ptr<Guarded> g(new Guarded);
        std::memset(g->before, 0x5A, sizeof g->before);
        std::memset(g->after, 0x5A, sizeof g->after);
        std::strcpy(g->doc.m_szAdapterName[1], "neighbour");
        EXPECT_TRUE(registry.LoadProfile(g->doc, 0)) << c.what;
        EXPECT_EQ(c.expectedName, g->doc.m_szAdapterName[0]) << c.what;
        EXPECT_STREQ("neighbour", g->doc.m_szAdapterName[1]) << c.what;
        ASSERT_EQ(2, g->doc.m_Connections[0].GetSize()) << c.what;
        const _ADDRESSASSOC& first = g->doc.m_Connections[0][0];
        EXPECT_EQ(c.expectedId, first.Id) << c.what;
        EXPECT_EQ(0, first.UseDNS) << c.what; // the fields after Id hold their own values
        EXPECT_EQ(1, first.Dynamic) << c.what;
        EXPECT_EQ(0x0A000000u, first.Ip) << c.what;
        EXPECT_STREQ("H1", g->doc.m_Connections[0][1].Id) << c.what;
        for (unsigned char b : g->before)
            ASSERT_EQ(0x5A, b) << c.what;
        for (unsigned char b : g->after)
            ASSERT_EQ(0x5A, b) << c.what;

        // Saved again, the cut texts are what is written.
        ASSERT_TRUE(registry.SaveProfile(g->doc, 0));
        std::string stored;
        ASSERT_TRUE(GetText(Path("Localhost1"), "AdapterName", stored));
        EXPECT_EQ(c.expectedName, stored) << c.what;
        DeleteTree(AppPath(), kView64);
    }
}

TEST_F(KorRegistryBadInput, EntryCountsOutsideTheTable)
{
    struct Case {
        const char* what;
        int stored;   // entries stored (with values for entry 64 when more than 64)
        DWORD number; // Number then stored
        bool ok;
        int loaded;
    };
    const Case cases[] = {
        {"1000 over 65 stored", 65, 1000, true, 64}, {"65 over 65 stored", 65, 65, true, 64},
        {"1000 over 3 stored", 3, 1000, false, 3},   {"-1", 3, 0xFFFFFFFF, true, 0},
        {"most negative", 3, 0x80000000, true, 0},   {"0", 3, 0, true, 0},
    };
    for (const Case& c : cases) {
        DeleteTree(AppPath(), kView64);
        StoreProfile(c.stored > 64 ? 64 : c.stored);
        if (c.stored > 64) {
            ASSERT_TRUE(SetText(Path("Connections1"), "Id64", "H64"));
            ASSERT_TRUE(SetDword(Path("Connections1"), "UseDNS64", 0));
            ASSERT_TRUE(SetDword(Path("Connections1"), "Velt64", 64));
            ASSERT_TRUE(SetText(Path("Connections1"), "Ip64", "10.0.0.64"));
        }
        ASSERT_TRUE(SetDword(Path("Connections1"), "Number", c.number));
        CKorConfigData doc;
        EXPECT_EQ(c.ok, registry.LoadProfile(doc, 0) != FALSE) << c.what;
        EXPECT_EQ(c.loaded, doc.m_Connections[0].GetSize()) << c.what;
    }
}

TEST_F(KorRegistryBadInput, UnreadableAddressesFailTheProfile)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
    };
    const Case cases[] = {
        {"host name", REG_SZ, std::string("host.example", 13)},
        {"three numbers", REG_SZ, std::string("10.0.1", 7)},
        {"DWORD", REG_DWORD, std::string("\x01\0\0\x0A", 4)},
        {"blank", REG_SZ, std::string("   ", 4)},
    };
    for (const Case& c : cases) {
        StoreProfile(2);
        ASSERT_TRUE(SetRaw(Path("Connections1"), "Ip01", c.type, c.bytes.data(),
                           static_cast<DWORD>(c.bytes.size())));
        CKorConfigData doc;
        EXPECT_FALSE(registry.LoadProfile(doc, 0)) << c.what;
        EXPECT_EQ(1, doc.m_Connections[0].GetSize()) << c.what; // entries read so far stay
    }
}

TEST_F(KorRegistryBadInput, OutOfRangeSlotsTouchNothing)
{
    CKorConfigData doc;
    const int slots[] = {-1, 9, 1000, -2147483647 - 1};
    for (int slot : slots) {
        EXPECT_FALSE(registry.SaveProfile(doc, slot)) << slot;
        EXPECT_FALSE(registry.LoadProfile(doc, slot)) << slot;
        EXPECT_FALSE(registry.DeleteProfileKeys(slot)) << slot;
    }
    EXPECT_FALSE(KeyExists(CompanyPath(), kView64));
}

} // namespace
