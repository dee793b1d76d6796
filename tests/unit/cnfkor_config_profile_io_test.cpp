// Moving profiles and test options between the model and a store: against a store in memory,
// which records the order of the writes and can refuse one of them.
#include "cnfkor/config/kor_profile_io.h"

#include "cnfkor/config/kor_reg_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace
{

// A store in memory: keys of values that are either numbers or texts. A number read from a
// text value (or the reverse) fails; the registry's own handling of types is tested under Wine.
class MemoryStore : public CKorValueStore
{
public:
    struct Value {
        bool isText;
        std::uint32_t number;
        std::string text;
    };
    std::map<std::string, std::map<std::string, Value>> keys;
    std::vector<std::string> writes; // "section\entry" of each successful write, in order
    int writeAttempts = 0;
    int failWriteAt = -1; // the attempt (0-based) that fails

    bool ReadDword(const char* section, const char* entry, std::uint32_t& value) override
    {
        const Value* v = Find(section, entry);
        if (v == nullptr || v->isText)
            return false;
        value = v->number;
        return true;
    }
    bool ReadText(const char* section, const char* entry, std::string& text) override
    {
        keys[section];
        const Value* v = Find(section, entry);
        if (v == nullptr || !v->isText)
            return false;
        text = v->text;
        return true;
    }
    std::uint32_t ReadIntOrDefault(const char* section, const char* entry,
                                   std::uint32_t def) override
    {
        keys[section];
        std::uint32_t value = 0;
        return ReadDword(section, entry, value) ? value : def;
    }
    bool WriteDword(const char* section, const char* entry, std::uint32_t value) override
    {
        return Write(section, entry, Value{false, value, std::string()});
    }
    bool WriteText(const char* section, const char* entry, const char* value) override
    {
        return Write(section, entry, Value{true, 0, value});
    }

    void SetNumber(const std::string& section, const std::string& entry, std::uint32_t value)
    {
        keys[section][entry] = Value{false, value, std::string()};
    }
    void SetText(const std::string& section, const std::string& entry, const std::string& text)
    {
        keys[section][entry] = Value{true, 0, text};
    }
    void Erase(const std::string& section, const std::string& entry) { keys[section].erase(entry); }
    const Value* Find(const std::string& section, const std::string& entry) const
    {
        auto key = keys.find(section);
        if (key == keys.end())
            return nullptr;
        auto value = key->second.find(entry);
        return value == key->second.end() ? nullptr : &value->second;
    }

private:
    bool Write(const char* section, const char* entry, const Value& value)
    {
        if (writeAttempts++ == failWriteAt)
            return false;
        keys[section][entry] = value;
        writes.push_back(std::string(section) + "\\" + entry);
        return true;
    }
};

_ADDRESSASSOC Host(const char* id, int useDns, int dynamic, std::uint16_t velt, std::uint32_t ip)
{
    _ADDRESSASSOC h{};
    std::strncpy(h.Id, id, kHostIdMaxChars);
    h.UseDNS = useDns;
    h.Dynamic = dynamic;
    h.Velt = velt;
    h.Ip = ip;
    return h;
}

// Slot 3 (profile 4): three remote hosts, one of them reached by name.
void FillProfile(CKorConfigData& doc, int slot = 3)
{
    doc.m_wLocalVelt[slot] = 0x0C01; // 1.12
    doc.m_wAdapter[slot] = 2;
    doc.m_dwIpFixed[slot] = 0x12345678;
    std::strcpy(doc.m_szAdapterName[slot], "Fast Ethernet Adapter #2");
    doc.m_Connections[slot].RemoveAll();
    doc.m_Connections[slot].Add(Host("HOST1", 0, 1, 0x0705, 0xC0A8010A));
    doc.m_Connections[slot].Add(Host("far.example.org", 1, 0, 0xFF02, 0));
    doc.m_Connections[slot].Add(
        Host(std::string(kHostIdMaxChars, 'x').c_str(), 0, 1, 0, 0x7F000001));
}

void ExpectSameHost(const _ADDRESSASSOC& a, const _ADDRESSASSOC& b, int i)
{
    EXPECT_STREQ(a.Id, b.Id) << "entry " << i;
    EXPECT_EQ(a.UseDNS, b.UseDNS) << "entry " << i;
    EXPECT_EQ(a.Dynamic, b.Dynamic) << "entry " << i;
    EXPECT_EQ(a.Velt, b.Velt) << "entry " << i;
    EXPECT_EQ(a.Ip, b.Ip) << "entry " << i;
}

// A document whose slot 3 holds marker values, to see what a load changed.
void FillMarkers(CKorConfigData& doc)
{
    doc.m_wLocalVelt[3] = 0xAAAA;
    doc.m_wAdapter[3] = 0xBBBB;
    doc.m_dwIpFixed[3] = 0xCCCCCCCC;
    std::strcpy(doc.m_szAdapterName[3], "old adapter");
    doc.m_Connections[3].RemoveAll();
    doc.m_Connections[3].Add(Host("OLD", 0, 0, 1, 1));
}

TEST(CnfKorProfileIo, SavedProfileReadsBackAndIsStoredAsLaidOut)
{
    CKorConfigData saved;
    FillProfile(saved);
    MemoryStore store;
    ASSERT_TRUE(SaveProfileTo(store, saved, 3));

    CKorConfigData loaded;
    ASSERT_TRUE(LoadProfileFrom(store, loaded, 3));
    EXPECT_EQ(0x0C01, loaded.m_wLocalVelt[3]);
    EXPECT_EQ(2, loaded.m_wAdapter[3]);
    EXPECT_EQ(0x12345678u, loaded.m_dwIpFixed[3]);
    EXPECT_STREQ("Fast Ethernet Adapter #2", loaded.m_szAdapterName[3]);
    ASSERT_EQ(3, loaded.m_Connections[3].GetSize());
    for (int i = 0; i < 3; ++i)
        ExpectSameHost(saved.m_Connections[3][i], loaded.m_Connections[3][i], i);
    // Other slots untouched.
    EXPECT_EQ(0, loaded.m_Connections[2].GetSize());
    EXPECT_STREQ("", loaded.m_szAdapterName[4]);

    // The stored form: keys of profile 4, NoDyn inverted, dotted IP texts, DNS entry 0.0.0.0.
    struct Expect {
        const char* section;
        const char* entry;
        bool isText;
        std::uint32_t number;
        const char* text;
    };
    const Expect expected[] = {
        {"Localhost4", "Velt", false, 0x0C01, nullptr},
        {"Localhost4", "AdapterName", true, 0, "Fast Ethernet Adapter #2"},
        {"Connections4", "Number", false, 3, nullptr},
        {"Connections4", "NoDyn00", false, 0, nullptr},
        {"Connections4", "NoDyn01", false, 1, nullptr},
        {"Connections4", "UseDNS01", false, 1, nullptr},
        {"Connections4", "Velt01", false, 0xFF02, nullptr},
        {"Connections4", "Ip00", true, 0, "192.168.1.10"},
        {"Connections4", "Ip01", true, 0, "0.0.0.0"},
        {"Connections4", "Id01", true, 0, "far.example.org"},
    };
    for (const Expect& e : expected) {
        const MemoryStore::Value* v = store.Find(e.section, e.entry);
        ASSERT_NE(nullptr, v) << e.section << '\\' << e.entry;
        EXPECT_EQ(e.isText, v->isText) << e.entry;
        if (e.isText) {
            EXPECT_EQ(e.text, v->text) << e.entry;
        } else {
            EXPECT_EQ(e.number, v->number) << e.entry;
        }
    }
    EXPECT_EQ(2u, store.keys.size()); // nothing but the profile's two keys
}

// Every value of a two-entry profile, in the order they are written.
const std::vector<std::string> kTwoEntryWrites = {
    "Localhost2\\Velt",        "Localhost2\\Adapter",    "Localhost2\\IpFixed",
    "Localhost2\\AdapterName", "Connections2\\Number",   "Connections2\\Id00",
    "Connections2\\NoDyn00",   "Connections2\\UseDNS00", "Connections2\\Velt00",
    "Connections2\\Ip00",      "Connections2\\Id01",     "Connections2\\NoDyn01",
    "Connections2\\UseDNS01",  "Connections2\\Velt01",   "Connections2\\Ip01",
};

TEST(CnfKorProfileIo, WritesInLayoutOrderAndStopsAtTheFirstFailedWrite)
{
    CKorConfigData doc;
    doc.m_Connections[1].Add(Host("A", 0, 1, 1, 1));
    doc.m_Connections[1].Add(Host("B", 1, 0, 2, 0));
    {
        MemoryStore store;
        ASSERT_TRUE(SaveProfileTo(store, doc, 1));
        EXPECT_EQ(kTwoEntryWrites, store.writes);
    }
    for (int fail = 0; fail < static_cast<int>(kTwoEntryWrites.size()); ++fail) {
        MemoryStore store;
        store.failWriteAt = fail;
        EXPECT_FALSE(SaveProfileTo(store, doc, 1)) << "failing write " << fail;
        EXPECT_EQ(fail + 1, store.writeAttempts) << "nothing tried after write " << fail;
        EXPECT_EQ(std::vector<std::string>(kTwoEntryWrites.begin(), kTwoEntryWrites.begin() + fail),
                  store.writes);
    }
}

TEST(CnfKorProfileIo, RefusesBadSlotsAndOversizedTablesWithoutWriting)
{
    CKorConfigData doc;
    for (int i = 0; i < kMaxRemoteHosts; ++i)
        doc.m_Connections[0].Add(Host("H", 0, 1, static_cast<std::uint16_t>(i), 0x0A000000u + i));
    doc.m_Connections[1].Copy(doc.m_Connections[0]);
    doc.m_Connections[1].Add(Host("H65", 0, 1, 99, 99));

    struct Case {
        int slot;
        bool ok;
    };
    const Case cases[] = {{0, true}, {1, false}, {-1, false}, {kProfileSlots, false}};
    for (const Case& c : cases) {
        MemoryStore store;
        EXPECT_EQ(c.ok, SaveProfileTo(store, doc, c.slot)) << c.slot;
        if (!c.ok) {
            EXPECT_TRUE(store.writes.empty()) << c.slot;
        }
        CKorConfigData loaded;
        if (c.ok) {
            ASSERT_TRUE(LoadProfileFrom(store, loaded, c.slot));
            EXPECT_EQ(kMaxRemoteHosts, loaded.m_Connections[c.slot].GetSize());
            EXPECT_EQ(0x0A00003Fu, loaded.m_Connections[c.slot][63].Ip);
        }
    }
    MemoryStore empty;
    CKorConfigData loaded;
    EXPECT_FALSE(LoadProfileFrom(empty, loaded, -1));
    EXPECT_FALSE(LoadProfileFrom(empty, loaded, kProfileSlots));
    EXPECT_TRUE(empty.keys.empty());
}

TEST(CnfKorProfileIo, LoadOutcomesOfMissingAndOddValues)
{
    struct Case {
        const char* what;
        std::function<void(MemoryStore&)> change;
        bool ok;
        bool veltRead, adapterRead;
        int entries; // -1: the table still holds the marker entry
    };
    const Case cases[] = {
        {"as saved", [](MemoryStore&) {}, true, true, true, 3},
        {"no Localhost Velt", [](MemoryStore& s) { s.Erase("Localhost4", "Velt"); }, false, false,
         false, -1},
        {"no Adapter", [](MemoryStore& s) { s.Erase("Localhost4", "Adapter"); }, false, true, false,
         -1},
        {"no Number", [](MemoryStore& s) { s.Erase("Connections4", "Number"); }, false, true, true,
         -1},
        {"no Id01", [](MemoryStore& s) { s.Erase("Connections4", "Id01"); }, false, true, true, 1},
        {"no UseDNS02", [](MemoryStore& s) { s.Erase("Connections4", "UseDNS02"); }, false, true,
         true, 2},
        {"no Velt00", [](MemoryStore& s) { s.Erase("Connections4", "Velt00"); }, false, true, true,
         0},
        {"no Ip01", [](MemoryStore& s) { s.Erase("Connections4", "Ip01"); }, false, true, true, 1},
        {"Ip02 of three numbers",
         [](MemoryStore& s) { s.SetText("Connections4", "Ip02", "10.0.1"); }, false, true, true, 2},
        {"Ip00 not numeric", [](MemoryStore& s) { s.SetText("Connections4", "Ip00", "host.name"); },
         false, true, true, 0},
        {"no NoDyn01", [](MemoryStore& s) { s.Erase("Connections4", "NoDyn01"); }, true, true, true,
         3},
        {"Number 2", [](MemoryStore& s) { s.SetNumber("Connections4", "Number", 2); }, true, true,
         true, 2},
        {"Number 0", [](MemoryStore& s) { s.SetNumber("Connections4", "Number", 0); }, true, true,
         true, 0},
        {"Number -1", [](MemoryStore& s) { s.SetNumber("Connections4", "Number", 0xFFFFFFFF); },
         true, true, true, 0},
        {"Number 1000, three entries",
         [](MemoryStore& s) { s.SetNumber("Connections4", "Number", 1000); }, false, true, true, 3},
    };
    for (const Case& c : cases) {
        CKorConfigData saved;
        FillProfile(saved);
        MemoryStore store;
        ASSERT_TRUE(SaveProfileTo(store, saved, 3));
        c.change(store);

        CKorConfigData doc;
        FillMarkers(doc);
        EXPECT_EQ(c.ok, LoadProfileFrom(store, doc, 3)) << c.what;
        EXPECT_EQ(c.veltRead ? 0x0C01 : 0xAAAA, doc.m_wLocalVelt[3]) << c.what;
        EXPECT_EQ(c.adapterRead ? 2 : 0xBBBB, doc.m_wAdapter[3]) << c.what;
        if (c.entries < 0) {
            ASSERT_EQ(1, doc.m_Connections[3].GetSize()) << c.what;
            EXPECT_STREQ("OLD", doc.m_Connections[3][0].Id) << c.what;
        } else {
            ASSERT_EQ(c.entries, doc.m_Connections[3].GetSize()) << c.what;
            for (int i = 0; i < c.entries; ++i)
                EXPECT_STREQ(saved.m_Connections[3][i].Id, doc.m_Connections[3][i].Id) << c.what;
        }
    }
}

TEST(CnfKorProfileIo, OptionalLocalhostValues)
{
    CKorConfigData saved;
    FillProfile(saved);
    MemoryStore store;
    ASSERT_TRUE(SaveProfileTo(store, saved, 3));
    store.Erase("Localhost4", "IpFixed");
    store.Erase("Localhost4", "AdapterName");
    CKorConfigData doc;
    FillMarkers(doc);
    ASSERT_TRUE(LoadProfileFrom(store, doc, 3));
    EXPECT_EQ(0u, doc.m_dwIpFixed[3]);
    EXPECT_STREQ("", doc.m_szAdapterName[3]);
}

TEST(CnfKorProfileIo, AutomaticDetectionIsStoredInverted)
{
    // Stored NoDyn (absent when null) -> loaded Dynamic.
    struct Load {
        const std::uint32_t* noDyn;
        int dynamic;
    };
    const std::uint32_t zero = 0, one = 1, two = 2, minusOne = 0xFFFFFFFF;
    const Load loads[] = {{nullptr, 1}, {&zero, 1}, {&one, 0}, {&two, 1}, {&minusOne, 1}};
    for (const Load& l : loads) {
        CKorConfigData saved;
        FillProfile(saved);
        MemoryStore store;
        ASSERT_TRUE(SaveProfileTo(store, saved, 3));
        if (l.noDyn)
            store.SetNumber("Connections4", "NoDyn00", *l.noDyn);
        else
            store.Erase("Connections4", "NoDyn00");
        CKorConfigData doc;
        ASSERT_TRUE(LoadProfileFrom(store, doc, 3));
        EXPECT_EQ(l.dynamic, doc.m_Connections[3][0].Dynamic) << (l.noDyn ? *l.noDyn : 999);
    }
    // Model Dynamic -> stored NoDyn: only exactly 1 counts as enabled.
    const int dynamics[] = {1, 0, 2, -1};
    const std::uint32_t noDyns[] = {0, 1, 1, 1};
    for (int i = 0; i < 4; ++i) {
        CKorConfigData doc;
        doc.m_Connections[0].Add(Host("H", 0, dynamics[i], 1, 1));
        MemoryStore store;
        ASSERT_TRUE(SaveProfileTo(store, doc, 0));
        EXPECT_EQ(noDyns[i], store.Find("Connections1", "NoDyn00")->number) << dynamics[i];
    }
}

TEST(CnfKorProfileIo, NumberAboveTheTableLimitReadsTheFirstSixtyFour)
{
    CKorConfigData full;
    for (int i = 0; i < kMaxRemoteHosts; ++i)
        full.m_Connections[0].Add(Host(("H" + std::to_string(i)).c_str(), 0, 1,
                                       static_cast<std::uint16_t>(i), 0x0A000000u + i));
    MemoryStore store;
    ASSERT_TRUE(SaveProfileTo(store, full, 0));
    // Values of entries beyond 64 exist too: they are not read.
    store.SetText("Connections1", "Id64", "H64");
    store.SetNumber("Connections1", "UseDNS64", 0);
    store.SetNumber("Connections1", "Velt64", 64);
    store.SetText("Connections1", "Ip64", "10.0.0.64");
    const std::uint32_t numbers[] = {65, 1000, 0x7FFFFFFF};
    for (std::uint32_t number : numbers) {
        store.SetNumber("Connections1", "Number", number);
        CKorConfigData doc;
        EXPECT_TRUE(LoadProfileFrom(store, doc, 0)) << number;
        ASSERT_EQ(kMaxRemoteHosts, doc.m_Connections[0].GetSize()) << number;
        EXPECT_STREQ("H63", doc.m_Connections[0][63].Id);
    }
}

TEST(CnfKorProfileIo, OverlongTextsAreCutToTheirFields)
{
    MemoryStore store;
    CKorConfigData saved;
    FillProfile(saved, 0);
    ASSERT_TRUE(SaveProfileTo(store, saved, 0));
    store.SetText("Localhost1", "AdapterName", std::string(300, 'A'));
    store.SetText("Connections1", "Id00", std::string(200, 'I'));

    CKorConfigData doc;
    std::strcpy(doc.m_szAdapterName[1], "neighbour");
    ASSERT_TRUE(LoadProfileFrom(store, doc, 0));
    EXPECT_EQ(std::string(kAdapterNameSize - 1, 'A'), doc.m_szAdapterName[0]);
    EXPECT_STREQ("neighbour", doc.m_szAdapterName[1]);
    const _ADDRESSASSOC& host = doc.m_Connections[0][0];
    EXPECT_EQ(std::string(kHostIdMaxChars, 'I'), host.Id);
    EXPECT_EQ(0, host.UseDNS); // the field after Id holds its own value
    EXPECT_EQ(0x0705, host.Velt);
}

TEST(CnfKorProfileIo, UnterminatedFieldsAreSavedCut)
{
    CKorConfigData doc;
    std::memset(doc.m_szAdapterName[2], 'A', kAdapterNameSize);
    std::memset(doc.m_szAdapterName[3], 'B', kAdapterNameSize); // right after, no zero either
    _ADDRESSASSOC host = Host("", 0, 1, 1, 1);
    std::memset(host.Id, 'I', sizeof host.Id);
    doc.m_Connections[2].Add(host);
    MemoryStore store;
    ASSERT_TRUE(SaveProfileTo(store, doc, 2));
    EXPECT_EQ(std::string(kAdapterNameSize - 1, 'A'),
              store.Find("Localhost3", "AdapterName")->text);
    EXPECT_EQ(std::string(kHostIdMaxChars, 'I'), store.Find("Connections3", "Id00")->text);
}

const char* const kOptionNames[6] = {"Mirror\\Count", "Mirror\\Size", "Mirror\\Timeout",
                                     "Ping\\Count",   "Ping\\Size",   "Ping\\Timeout"};

std::vector<std::uint16_t> Options(const CKorConfigData& d)
{
    return {d.m_wMirrorCount, d.m_wMirrorSize, d.m_wMirrorTimeout,
            d.m_wPingCount,   d.m_wPingSize,   d.m_wPingTimeout};
}

TEST(CnfKorTestOptions, SavedInOrderAndReadBack)
{
    CKorConfigData doc;
    doc.m_wMirrorCount = 10;
    doc.m_wMirrorSize = 1024;
    doc.m_wMirrorTimeout = 1;
    doc.m_wPingCount = 3;
    doc.m_wPingSize = 64;
    doc.m_wPingTimeout = 9;
    MemoryStore store;
    ASSERT_TRUE(SaveTestOptionsTo(store, doc));
    EXPECT_EQ(std::vector<std::string>(kOptionNames, kOptionNames + 6), store.writes);
    CKorConfigData loaded;
    ASSERT_TRUE(LoadTestOptionsFrom(store, loaded));
    EXPECT_EQ(Options(doc), Options(loaded));

    for (int fail = 0; fail < 6; ++fail) {
        MemoryStore failing;
        failing.failWriteAt = fail;
        EXPECT_FALSE(SaveTestOptionsTo(failing, doc));
        EXPECT_EQ(static_cast<std::size_t>(fail), failing.writes.size());
        EXPECT_EQ(fail + 1, failing.writeAttempts);
    }
}

TEST(CnfKorTestOptions, AMissingOrMarkerValueEndsTheLoad)
{
    const std::vector<std::uint16_t> stored = {5, 500, 5, 6, 600, 6};
    const std::vector<std::uint16_t> before = {1, 1, 1, 1, 1, 1};
    for (int bad = 0; bad < 6; ++bad) {
        for (int marker = 0; marker < 2; ++marker) {
            MemoryStore store;
            for (int i = 0; i < 6; ++i) {
                std::string name = kOptionNames[i];
                std::string section = name.substr(0, name.find('\\'));
                std::string entry = name.substr(name.find('\\') + 1);
                if (i != bad)
                    store.SetNumber(section, entry, stored[i]);
                else if (marker)
                    store.SetNumber(section, entry, kMissingTestOption);
            }
            CKorConfigData doc;
            doc.m_wMirrorCount = doc.m_wMirrorSize = doc.m_wMirrorTimeout = 1;
            doc.m_wPingCount = doc.m_wPingSize = doc.m_wPingTimeout = 1;
            EXPECT_FALSE(LoadTestOptionsFrom(store, doc)) << bad;
            std::vector<std::uint16_t> expected(stored.begin(), stored.begin() + bad);
            expected.insert(expected.end(), before.begin() + bad, before.end());
            EXPECT_EQ(expected, Options(doc)) << "missing option " << bad << " marker " << marker;
        }
    }
    // Only the low 16 bits of a stored value are kept.
    MemoryStore store;
    for (const char* name : kOptionNames) {
        std::string n = name;
        store.SetNumber(n.substr(0, n.find('\\')), n.substr(n.find('\\') + 1), 0x10080);
    }
    CKorConfigData doc;
    ASSERT_TRUE(LoadTestOptionsFrom(store, doc));
    EXPECT_EQ(std::vector<std::uint16_t>(6, 0x80), Options(doc));
}

TEST(CnfKorTestOptions, DefaultsAreOneTwentyEightTwoAndTwo)
{
    CKorConfigData doc;
    EXPECT_EQ((std::vector<std::uint16_t>{2, 128, 2, 2, 128, 2}), Options(doc));
    doc.m_wMirrorCount = doc.m_wMirrorSize = doc.m_wMirrorTimeout = 7;
    doc.m_wPingCount = doc.m_wPingSize = doc.m_wPingTimeout = 7;
    doc.SetDefaultTestOptions();
    EXPECT_EQ((std::vector<std::uint16_t>{2, 128, 2, 2, 128, 2}), Options(doc));
}

TEST(CnfKorProfiles, CountAndCurrentFromPresentSlots)
{
    struct Case {
        std::vector<int> present;
        std::uint16_t count;
        int current;
    };
    const Case cases[] = {
        {{}, 0, -1},
        {{1, 4}, 2, 1}, // profiles 2 and 5
        {{8}, 1, 8},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 9, 0},
    };
    for (const Case& c : cases) {
        CKorConfigData doc;
        for (int slot : c.present)
            doc.m_bPresent[slot] = 1;
        std::uint16_t count = 77;
        int current = 77;
        PickCurrentProfile(doc, count, current);
        EXPECT_EQ(c.count, count);
        EXPECT_EQ(c.current, current);
    }
}

} // namespace
