// Registry layout rules of the configuration: value and key names, the dotted IP text, stored
// numbers of any size, the entry count to read, the base port, bounded text fields.
#include "cnfkor/config/kor_reg_layout.h"

#include "cnfkor/config/address_assoc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace
{

TEST(CnfKorIpText, ScansLikeFourIntegerConversions)
{
    struct Case {
        const char* text;
        bool ok;
        std::uint32_t ip;
    };
    const Case cases[] = {
        {"10.0.0.1", true, 0x0A000001},
        {"192.168.1.10", true, 0xC0A8010A},
        {"0.0.0.0", true, 0},
        {"255.255.255.255", true, 0xFFFFFFFF},
        {"010.0.0.1", true, 0x08000001},     // leading 0: octal
        {"0777.0.0.1", true, 0xFF000001},    // 511, low 8 bits
        {"0x0A.0X1f.0.1", true, 0x0A1F0001}, // hexadecimal
        {"256.0.0.1", true, 0x00000001},     // truncated to 8 bits
        {"-1.0.0.2", true, 0xFF000002},      // a sign is admitted
        {"+7.0.0.1", true, 0x07000001},
        {"4294967297.1.1.1", true, 0x01010101}, // wraps past 32 bits, then 8 bits
        {" 10.\t0. 0.\n1", true, 0x0A000001},   // blanks before each number are skipped
        {"1.2.3.4.5", true, 0x01020304},        // text after the fourth number is ignored
        {"1.2.3.4 trailing", true, 0x01020304},
        {"10.0.1", false, 0},    // three numbers
        {"10 .0.0.1", false, 0}, // a blank before a dot does not match it
        {"08.0.0.1", false, 0},  // "0" then "8" where a dot must be
        {"0x.0.0.1", false, 0},  // "0x" without a digit
        {"-.0.0.1", false, 0},
        {"1..2.3", false, 0},
        {"1.2.3.", false, 0},
        {"a.b.c.d", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        std::uint32_t ip = 0xDEADBEEF;
        EXPECT_EQ(c.ok, ParseHostIpText(c.text, &ip)) << '"' << c.text << '"';
        EXPECT_EQ(c.ok ? c.ip : 0xDEADBEEFu, ip) << '"' << c.text << '"';
    }
    std::uint32_t ip = 7;
    EXPECT_FALSE(ParseHostIpText(nullptr, &ip));
    EXPECT_EQ(7u, ip);
}

TEST(CnfKorIpText, FormatsFirstOctetFirstAndReadsBack)
{
    struct Case {
        std::uint32_t ip;
        const char* text;
    };
    const Case cases[] = {
        {0x0A000001, "10.0.0.1"},        {0xC0A8010A, "192.168.1.10"}, {0, "0.0.0.0"},
        {0xFFFFFFFF, "255.255.255.255"}, {0x7F000102, "127.0.1.2"},
    };
    for (const Case& c : cases) {
        char buf[kIpTextSize];
        ASSERT_TRUE(FormatHostIpText(buf, sizeof buf, c.ip));
        EXPECT_STREQ(c.text, buf);
        std::uint32_t back = 0;
        ASSERT_TRUE(ParseHostIpText(buf, &back));
        EXPECT_EQ(c.ip, back);
    }
    // One byte short: refused, nothing written past the buffer, left empty.
    char small[kIpTextSize + 1];
    std::memset(small, '#', sizeof small);
    EXPECT_FALSE(FormatHostIpText(small, kIpTextSize - 1, 0xFFFFFFFF));
    EXPECT_EQ('\0', small[0]);
    EXPECT_EQ('#', small[kIpTextSize - 1]);
}

TEST(CnfKorRegNames, ProfileKeysAndEntryValues)
{
    struct Case {
        const char* prefix;
        int number;
        bool profileKey;      // FormatProfileKeyName, else FormatEntryValueName
        const char* expected; // null: refused
    };
    const Case cases[] = {
        {kLocalhostKeyPrefix, 1, true, "Localhost1"},
        {kConnectionsKeyPrefix, 9, true, "Connections9"},
        {kLocalhostKeyPrefix, 0, true, nullptr},
        {kLocalhostKeyPrefix, 10, true, nullptr},
        {kEntryIdPrefix, 0, false, "Id00"},
        {kEntryNoDynPrefix, 5, false, "NoDyn05"},
        {kEntryUseDnsPrefix, 10, false, "UseDNS10"},
        {kEntryVeltPrefix, 42, false, "Velt42"},
        {kEntryIpPrefix, kMaxRemoteHosts - 1, false, "Ip63"},
        {kEntryIpPrefix, kMaxRemoteHosts, false, nullptr},
        {kEntryIdPrefix, -1, false, nullptr},
    };
    for (const Case& c : cases) {
        char buf[kRegNameSize];
        std::memset(buf, '#', sizeof buf);
        bool ok = c.profileKey ? FormatProfileKeyName(buf, sizeof buf, c.prefix, c.number)
                               : FormatEntryValueName(buf, sizeof buf, c.prefix, c.number);
        EXPECT_EQ(c.expected != nullptr, ok) << c.prefix << c.number;
        EXPECT_STREQ(c.expected ? c.expected : "", buf) << c.prefix << c.number;
    }
    // A buffer too small for the name: refused, and nothing beyond its size touched.
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_FALSE(FormatProfileKeyName(buf, 5, kConnectionsKeyPrefix, 1));
    EXPECT_EQ('\0', buf[0]);
    EXPECT_EQ('#', buf[5]);
}

TEST(CnfKorStoredNumber, ShortValuesAreZeroExtendedLongOnesCutToFourBytes)
{
    const unsigned char dword[] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB, 0xCC, 0xDD};
    const unsigned char text[] = {'1', '2', '\0'};
    EXPECT_EQ(0x12345678u, DwordFromValueBytes(dword, 4));
    EXPECT_EQ(0x12345678u, DwordFromValueBytes(dword, 8));
    EXPECT_EQ(0x00345678u, DwordFromValueBytes(dword, 3));
    EXPECT_EQ(0x00000078u, DwordFromValueBytes(dword, 1));
    EXPECT_EQ(0u, DwordFromValueBytes(dword, 0));
    EXPECT_EQ(0x00003231u, DwordFromValueBytes(text, 3));
    EXPECT_EQ(0u, DwordFromValueBytes(nullptr, 4));
}

TEST(CnfKorStoredNumber, RemoteHostsToLoadFromNumber)
{
    struct Case {
        std::uint32_t number;
        int toLoad;
    };
    const Case cases[] = {
        {0, 0},          {1, 1},     {3, 3},           {63, 63},        {64, 64},
        {65, 64},        {1000, 64}, {0x7FFFFFFF, 64}, {0xFFFFFFFF, 0}, // -1
        {0x80000000, 0},                                                // the most negative
        {0xFFFFFC18, 0},                                                // -1000
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.toLoad, RemoteHostsToLoad(c.number)) << c.number;
}

TEST(CnfKorBasePort, FirstPortPlusEightyWhenUsable)
{
    struct Case {
        bool usable;
        std::uint32_t firstPort;
        int basePort;
    };
    const Case cases[] = {
        {true, 27640, 27720},
        {true, 1000, 1080},
        {true, 0, 80},
        {false, 1000, kDefaultBasePort}, // missing, wrong type or size
        {true, 65409, 65489},            // instance 9 at 65535: still a port
        {true, 65410, kDefaultBasePort}, // instance 9 would be 65536
        {true, 0xFFFFFFF0, kDefaultBasePort},
        {true, 0x80000000, kDefaultBasePort},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.basePort, BasePortFromFirstPort(c.usable, c.firstPort))
            << c.usable << ' ' << c.firstPort;
}

TEST(CnfKorFieldText, CutToTheFieldAndAlwaysTerminated)
{
    struct Case {
        std::string src;
        std::size_t srcLen; // bytes offered
        std::string expected;
        bool fits;
    };
    const std::string name300(300, 'N');
    const Case cases[] = {
        {"eth0", 4, "eth0", true},
        {std::string(259, 'a'), 259, std::string(259, 'a'), true},
        {std::string(260, 'b'), 260, std::string(259, 'b'), false},
        {name300, 300, std::string(259, 'N'), false},
        {std::string("ab\0cd", 5), 5, "ab", true}, // ends at the first zero
        {"abcdef", 3, "abc", true},                // no zero within srcLen
        {"", 0, "", true},
    };
    for (const Case& c : cases) {
        struct {
            char field[260];
            char canary[8];
        } box;
        std::memset(&box, '#', sizeof box);
        EXPECT_EQ(c.fits, CopyFieldText(box.field, sizeof box.field, c.src.data(), c.srcLen));
        EXPECT_EQ(c.expected, std::string(box.field)) << c.srcLen;
        EXPECT_EQ(std::string(8, '#'), std::string(box.canary, 8));
    }
    char one[1] = {'x'};
    EXPECT_FALSE(CopyFieldText(one, 1, "abc", 3));
    EXPECT_EQ('\0', one[0]);
    EXPECT_FALSE(CopyFieldText(nullptr, 0, "abc", 3));
}

} // namespace
