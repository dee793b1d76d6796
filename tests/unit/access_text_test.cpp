// Address services: address texts (init_xxx_adr) and the physical prefix readers.
#include "tests/unit/access_probe.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// The record starts all canary (0xCD), so the prefix flag turns `type` into 0xDD.
constexpr int kTypeWithPrefix = 0xCD | 0x10;

ByteChanges bytes_from(int pos, const std::string& s)
{
    ByteChanges changes;
    for (size_t i = 0; i < s.size(); ++i)
        changes.push_back({pos + static_cast<int>(i), static_cast<unsigned char>(s[i])});
    return changes;
}

ByteChanges operator+(ByteChanges a, const ByteChanges& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const ByteChanges kIp10007 = {
    {2, kTypeWithPrefix}, {8, 0}, {9, 254}, {17, 1}, {18, 4}, {19, 10}, {20, 0}, {21, 0}, {22, 7}};

TEST(AccessAddressText, ParsesEachLevelWithItsCode)
{
    struct Case {
        int compact;
        int half;
        short length;
        std::string text;
        short rc;
        ByteChanges changes; // every byte of the record that must change
    };
    const Case cases[] = {
        {0, DEST, 17, "", 0, {}},
        {0, SRCE, 17, "1..3", 0, {{5, 1}, {6, 0}, {7, 3}}},
        {0, SRCE, 17, "1.2.", 0, {{5, 1}, {6, 2}}},
        {0, DEST, 17, "1.2.x", -92, {{8, 1}, {9, 2}}},
        {0, SRCE, 17, "123456", -90, {}},
        {0, SRCE, 17, "128.1.1", -3, {}},
        {0, SRCE, 17, "1.x", -91, {{5, 1}}},
        {0, SRCE, 17, "1.64.1", -3, {{5, 1}}},
        {0, SRCE, 17, "1.255.1", -3, {{5, 1}}},
        {0, DEST, 17, "1.255.1", 0, {{8, 1}, {9, 255}, {10, 1}}},
        {0, SRCE, 17, "1.2.256", -3, {{5, 1}, {6, 2}}},
        {0, SRCE, 17, "1.2.4.9.9.x", 0, {{5, 1}, {6, 2}, {7, 4}}}, // other gates read no more
        // Gate 5, one token per value.
        {0,
         SRCE,
         17,
         "1.2.5.15.300.255",
         0,
         {{5, 1}, {6, 2}, {7, 5}, {11, 15}, {12, 44}, {13, 255}}},
        {0, DEST, 17, "1.2.5.255.3", 0, {{8, 1}, {9, 2}, {10, 5}, {14, 255}, {15, 3}}},
        {0, SRCE, 17, "1.2.5.16.1.1", -3, {{5, 1}, {6, 2}, {7, 5}}},
        {0, SRCE, 17, "1.2.5.x", -100, {{5, 1}, {6, 2}, {7, 5}}},
        {0, SRCE, 17, "1.2.5.1.x", -101, {{5, 1}, {6, 2}, {7, 5}, {11, 1}}},
        {0, SRCE, 17, "1.2.5.1.2.x", -102, {{5, 1}, {6, 2}, {7, 5}, {11, 1}, {12, 2}}},
        {0, SRCE, 17, "1.2.5.35.4", -3, {{5, 1}, {6, 2}, {7, 5}}}, // rack 35 needs compact
        // Gate 5, compact: rack and module in one token.
        {1, SRCE, 17, "1.2.5.35.4", 0, {{5, 1}, {6, 2}, {7, 5}, {11, 2}, {12, 3}, {13, 4}}},
        {1, DEST, 17, "1.2.5.255.4", 0, {{8, 1}, {9, 2}, {10, 5}, {14, 255}, {15, 255}, {16, 4}}},
        {1, SRCE, 17, "1.2.5.254", 0, {{5, 1}, {6, 2}, {7, 5}, {11, 255}, {12, 254}}},
        {1, SRCE, 17, "1.2.5.4080.7", 0, {{5, 1}, {6, 2}, {7, 5}, {11, 255}, {12, 0}, {13, 7}}},
        {1, SRCE, 17, "1.2.5.300.4", -3, {{5, 1}, {6, 2}, {7, 5}}},
        {1, SRCE, 17, "1.2.5.65535.4", -3, {{5, 1}, {6, 2}, {7, 5}}},
        {1, SRCE, 17, "1.2.5.x", -100, {{5, 1}, {6, 2}, {7, 5}}},
        {1, SRCE, 17, "1.2.5.35.x", -102, {{5, 1}, {6, 2}, {7, 5}, {11, 2}, {12, 3}}},
        // Gate 8 and gate 9.
        {0, SRCE, 17, "1.2.8.3.7.20", 0, {{5, 1}, {6, 2}, {7, 8}, {11, 3}, {12, 7}, {13, 20}}},
        {0, SRCE, 17, "1.2.8.x", -110, {{5, 1}, {6, 2}, {7, 8}}},
        {0, SRCE, 17, "1.2.8.1.x", -111, {{5, 1}, {6, 2}, {7, 8}, {11, 1}}},
        {0, SRCE, 17, "1.2.8.1.2.x", -112, {{5, 1}, {6, 2}, {7, 8}, {11, 1}, {12, 2}}},
        {0, SRCE, 17, "1.2.8.256", -3, {{5, 1}, {6, 2}, {7, 8}}},
        {0, DEST, 17, "1.2.9.4660", 0, {{8, 1}, {9, 2}, {10, 9}, {14, 0x34}, {15, 0x12}}},
        {0, DEST, 17, "1.2.9.65535", 0, {{8, 1}, {9, 2}, {10, 9}, {14, 0xFF}, {15, 0xFF}}},
        {0, DEST, 17, "1.2.9.x", -113, {{8, 1}, {9, 2}, {10, 9}}},
        // Physical prefixes: destination half only, each at its smallest record.
        {0, DEST, 23, "IP.10.0.0.7", 0, kIp10007},
        {0, DEST, 23, "IP.10.0.0.7.2.4.0", 0, kIp10007 + ByteChanges{{8, 2}, {9, 4}, {10, 0}}},
        {0, SRCE, 23, "IP.10.0.0.7", -90, {}},
        {0, DEST, 22, "IP.10.0.0.7", -2, {}},
        {0, DEST, 17, "IP.10.0.0.7", -2, {}},
        {0,
         DEST,
         23,
         "IP.10.0.256.7",
         -2,
         {{2, kTypeWithPrefix}, {8, 0}, {9, 254}, {17, 1}, {18, 4}, {19, 10}, {20, 0}}},
        {0,
         DEST,
         23,
         "IP.10.0.0",
         -2,
         {{2, kTypeWithPrefix}, {8, 0}, {9, 254}, {17, 1}, {18, 4}, {19, 10}, {20, 0}, {21, 0}}},
        {0, DEST, 23, "IP.10.0.0.7.2.x", -91, kIp10007 + ByteChanges{{8, 2}}},
        {0, DEST, 23, "ip.10.0.0.7", -90, {}},
        {0, DEST, 147, "IP.'station7'.1.3.0", 0,
         ByteChanges{{2, kTypeWithPrefix}, {17, 2}, {18, 8}, {8, 1}, {9, 3}, {10, 0}} +
             bytes_from(19, "station7")},
        {0, DEST, 146, "IP.'station7'.1.3.0", -2, {}},
        {0, DEST, 147, "IP.''", 0, {{2, kTypeWithPrefix}, {8, 0}, {9, 254}, {17, 2}, {18, 0}}},
        {0,
         DEST,
         25,
         "802_3.0.80.F4.1.2.3",
         0,
         {{2, kTypeWithPrefix},
          {8, 0},
          {9, 254},
          {17, 0},
          {18, 6},
          {19, 0x00},
          {20, 0x80},
          {21, 0xF4},
          {22, 0x01},
          {23, 0x02},
          {24, 0x03}}},
        {0,
         DEST,
         25,
         "802_3.00ff.a.b.c.d.e.7.8.9",
         0,
         {{2, kTypeWithPrefix},
          {17, 0},
          {18, 6},
          {19, 0xFF},
          {20, 0xA},
          {21, 0xB},
          {22, 0xC},
          {23, 0xD},
          {24, 0xE},
          {8, 7},
          {9, 8},
          {10, 9}}},
        {0, DEST, 24, "802_3.0.80.F4.1.2.3", -2, {}},
        {0,
         DEST,
         25,
         "802_3.0.80.F4.1.2.100",
         -2,
         {{2, kTypeWithPrefix},
          {8, 0},
          {9, 254},
          {17, 0},
          {18, 6},
          {19, 0x00},
          {20, 0x80},
          {21, 0xF4},
          {22, 0x01},
          {23, 0x02}}},
        {0, SRCE, 25, "802_3.0.80.F4.1.2.3", -90, {}},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        const std::string label = c.text + (c.half == SRCE ? " src" : " dst") +
                                  (c.compact ? " compact" : "") + " len " +
                                  std::to_string(c.length);
        CanaryRecord rec(c.length);
        const auto expected = with_changes(rec.image(), c.changes);
        EXPECT_EQ(services.init_xxx_adr(c.compact, static_cast<DTGR_SRCE_DEST>(c.half), rec.get(),
                                        c.text.c_str()),
                  c.rc)
            << label;
        EXPECT_EQ(rec.image(), expected) << label;
        EXPECT_TRUE(rec.canary_intact()) << label;
    }
}

TEST(AccessAddressText, OrderOfArgumentChecks)
{
    struct Case {
        const char* name;
        bool null_record;
        short length;
        bool null_text;
        bool text_is_record;
        int half;
        short rc;
    };
    const Case cases[] = {
        {"null record first", true, 147, true, false, 7, -2},
        {"then length", false, 16, true, false, 7, -11},
        {"negative length", false, -147, false, false, SRCE, -11},
        {"then null text", false, 17, true, false, 7, -3},
        {"then same object", false, 147, false, true, 7, -10},
        {"then half", false, 17, false, false, 2, -1},
        {"half -1", false, 17, false, false, -1, -1},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        CanaryRecord rec(c.length);
        const auto untouched = rec.image();
        DTGR_ADR* adr = c.null_record ? nullptr : rec.get();
        const char* text = c.null_text ? nullptr : "1.2.3";
        if (c.text_is_record)
            text = reinterpret_cast<const char*>(rec.get());
        EXPECT_EQ(services.init_xxx_adr(0, static_cast<DTGR_SRCE_DEST>(c.half), adr, text), c.rc)
            << c.name;
        EXPECT_EQ(rec.image(), untouched) << c.name;
    }
}

TEST(AccessPrefixReaders, FillPrefixAndLeaveCursorAfterIt)
{
    using Reader = short (CAccessServices::*)(DTGR_ADR*, const char*, const char**) const;
    const Reader ip = &AccessProbe::Init_IP_adr;
    const Reader dns = &AccessProbe::Init_DNS_adr;
    const Reader mac = &AccessProbe::Init_802_3_adr;
    const std::string name128(128, 'n');
    struct Case {
        const char* name;
        Reader reader;
        short length;
        std::string text;
        short rc;
        int rest; // offset of the rest in the text; -1: null; -2: not set
        ByteChanges changes;
    };
    const ByteChanges mark = {{2, kTypeWithPrefix}, {8, 0}, {9, 254}};
    const Case cases[] = {
        {"ip", ip, 23, "10.0.0.7", 0, -1, kIp10007},
        {"ip then velt", ip, 23, "10.0.0.7.1", 0, 9, kIp10007},
        {"ip empty octets", ip, 23, "...0", 0, -1,
         mark + ByteChanges{{17, 1}, {18, 4}, {19, 0}, {20, 0}, {21, 0}, {22, 0}}},
        {"ip 65535", ip, 23, "1.2.3.65535", -90, -2,
         mark + ByteChanges{{17, 1}, {18, 4}, {19, 1}, {20, 2}, {21, 3}}},
        {"ip short", ip, 22, "10.0.0.7", -11, -2, {}},
        {"ip empty text", ip, 23, "", -90, -2, mark + ByteChanges{{17, 1}, {18, 4}}},
        {"ip quote", ip, 147, "'ab'", 0, 4,
         mark + ByteChanges{{17, 2}, {18, 2}, {19, 'a'}, {20, 'b'}}},
        {"ip quote short", ip, 146, "'ab'", -11, -2, {}},
        {"dns", dns, 147, "ab'.1", 0, 4,
         mark + ByteChanges{{17, 2}, {18, 2}, {19, 'a'}, {20, 'b'}}},
        {"dns any separator", dns, 147, "ab'x1", 0, 4,
         mark + ByteChanges{{17, 2}, {18, 2}, {19, 'a'}, {20, 'b'}}},
        {"dns quote last", dns, 147, "ab'", 0, 3,
         mark + ByteChanges{{17, 2}, {18, 2}, {19, 'a'}, {20, 'b'}}},
        {"dns 128", dns, 147, name128 + "'", 0, 129,
         mark + ByteChanges{{17, 2}, {18, 128}} + bytes_from(19, name128)},
        {"dns 129", dns, 147, name128 + "n'", -90, -2,
         mark + ByteChanges{{17, 2}} + bytes_from(19, name128)},
        {"dns unclosed", dns, 147, "ab", -90, -2,
         mark + ByteChanges{{17, 2}, {19, 'a'}, {20, 'b'}}},
        {"dns short", dns, 146, "ab'", -11, -2, {}},
        {"dns negative length", dns, -1, "ab'", -11, -2, {}},
        {"mac", mac, 25, "1.2.3.4.5.FF", 0, -1,
         mark +
             ByteChanges{
                 {17, 0}, {18, 6}, {19, 1}, {20, 2}, {21, 3}, {22, 4}, {23, 5}, {24, 0xFF}}},
        {"mac then velt", mac, 25, "1.2.3.4.5.6.7", 0, 12,
         mark +
             ByteChanges{{17, 0}, {18, 6}, {19, 1}, {20, 2}, {21, 3}, {22, 4}, {23, 5}, {24, 6}}},
        {"mac five", mac, 25, "1.2.3.4.5", -90, -2,
         mark + ByteChanges{{17, 0}, {18, 6}, {19, 1}, {20, 2}, {21, 3}, {22, 4}, {23, 5}}},
        {"mac five digits", mac, 25, "00001.2.3.4.5.6", -90, -2,
         mark + ByteChanges{{17, 0}, {18, 6}}},
        {"mac short", mac, 24, "1.2.3.4.5.6", -11, -2, {}},
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        CanaryRecord rec(c.length);
        const auto expected = with_changes(rec.image(), c.changes);
        const char* rest = reinterpret_cast<const char*>(&probe); // sentinel: not set
        EXPECT_EQ((probe.*c.reader)(rec.get(), c.text.c_str(), &rest), c.rc) << c.name;
        EXPECT_EQ(rec.image(), expected) << c.name;
        EXPECT_TRUE(rec.canary_intact()) << c.name;
        if (c.rest == -1)
            EXPECT_EQ(rest, nullptr) << c.name;
        else if (c.rest >= 0)
            EXPECT_EQ(rest, c.text.c_str() + c.rest) << c.name;
        else
            EXPECT_EQ(rest, reinterpret_cast<const char*>(&probe)) << c.name;
    }
    EXPECT_EQ(probe.Init_IP_adr(nullptr, "1.2.3.4", nullptr), -11);
}

} // namespace
