// The monitor's command line: switches, values, validation, first error.
#include "kordrv/core/kordrv_cmdline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace kordrv;

namespace
{

// Runs the parser on the arguments after a program name.
bool Parse(std::vector<const char*> args, CommandLine* out, int* bad)
{
    args.insert(args.begin(), "KorDrv.exe");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), out, bad);
}

struct InstanceCase {
    const char* what;
    std::vector<const char*> args;
    int bad; // index in argv of the first bad argument, -1 when valid
    int instance;
    bool logRequested;
    const char* logName;
};

const InstanceCase kInstanceCases[] = {
    {"no switches", {}, -1, 0, false, ""},
    {"-I3", {"-I3"}, -1, 3, false, ""},
    {"/i3 is the same", {"/i3"}, -1, 3, false, ""},
    {"-i3 is the same", {"-i3"}, -1, 3, false, ""},
    {"-I0", {"-I0"}, -1, 0, false, ""},
    {"-I9", {"-I9"}, -1, 9, false, ""},
    {"-I1", {"-I1"}, -1, 1, false, ""},
    {"leading digits count", {"-I3x"}, -1, 3, false, ""},
    {"leading zero", {"-I03"}, -1, 3, false, ""},
    {"-I10", {"-I10"}, 1, 0, false, ""},
    {"-Ix", {"-Ix"}, 1, 0, false, ""},
    {"bare -I", {"-I"}, 1, 0, false, ""},
    {"only the text 0 gives 0", {"-I00"}, 1, 0, false, ""},
    {"a sign is no digit", {"-I+3"}, 1, 0, false, ""},
    {"-I-1", {"-I-1"}, 1, 0, false, ""},
    {"huge number", {"-I99999999999999999999"}, 1, 0, false, ""},
    {"last value wins", {"-I3", "-I5"}, -1, 5, false, ""},
    {"bare -L", {"-L"}, -1, 0, true, ""},
    {"-L with a name", {"-I2", "-Lmy.log"}, -1, 2, true, "my.log"},
    {"/l lower case", {"/lx.txt"}, -1, 0, true, "x.txt"},
    {"bare -L keeps an earlier name", {"-La.log", "-L"}, -1, 0, true, "a.log"},
    {"later name wins", {"-La.log", "-Lb.log"}, -1, 0, true, "b.log"},
    {"argument without prefix", {"I3"}, 1, 0, false, ""},
    {"empty argument", {""}, 1, 0, false, ""},
    {"dash alone", {"-"}, 1, 0, false, ""},
    {"slash alone", {"/"}, 1, 0, false, ""},
    {"letter outside the table", {"-Q"}, 1, 0, false, ""},
    {"digit as switch", {"-3"}, 1, 0, false, ""},
    {"stops at the first error", {"-I3", "-Q", "-Ix"}, 2, 0, false, ""},
    {"error after a valid log switch resets it", {"-L", "I3"}, 2, 0, false, ""},
    {"a null argument", {"-I3", nullptr}, 2, 0, false, ""},
};

TEST(KorDrvCommandLine, InstanceAndLogSwitches)
{
    for (const InstanceCase& c : kInstanceCases) {
        SCOPED_TRACE(c.what);
        CommandLine cl;
        int bad = 99;
        const bool ok = Parse(c.args, &cl, &bad);
        EXPECT_EQ(ok, c.bad < 0);
        EXPECT_EQ(bad, c.bad);
        EXPECT_EQ(cl.instance, c.instance);
        EXPECT_EQ(cl.logRequested, c.logRequested);
        EXPECT_STREQ(cl.logFileName, c.logName);
    }
}

struct BindCase {
    const char* what;
    std::vector<const char*> args;
    int bad;
    bool hasIp;
    std::uint8_t ip[4];
    std::uint32_t adapter;
};

const BindCase kBindCases[] = {
    {"-A0", {"-A0"}, -1, false, {0, 0, 0, 0}, 0},
    {"-A7", {"-A7"}, -1, false, {0, 0, 0, 0}, 7},
    {"-a12 lower case", {"-a12"}, -1, false, {0, 0, 0, 0}, 12},
    {"-Ax", {"-Ax"}, 1, false, {0, 0, 0, 0}, 0},
    {"bare -A", {"-A"}, 1, false, {0, 0, 0, 0}, 0},
    {"-A00 reads 0", {"-A00"}, 1, false, {0, 0, 0, 0}, 0},
    {"-A beyond 32 bits saturates", {"-A99999999999"}, -1, false, {0, 0, 0, 0}, 4294967295u},
    {"-@10.0.0.1", {"-@10.0.0.1"}, -1, true, {10, 0, 0, 1}, 0},
    {"/@ works too", {"/@192.168.1.10"}, -1, true, {192, 168, 1, 10}, 0},
    {"-@300.1.1.1", {"-@300.1.1.1"}, 1, false, {0, 0, 0, 0}, 0},
    {"-@255.255.255.255", {"-@255.255.255.255"}, 1, false, {0, 0, 0, 0}, 0},
    {"all ones in another form", {"-@0xFFFFFFFF"}, 1, false, {0, 0, 0, 0}, 0},
    {"bare -@", {"-@"}, 1, false, {0, 0, 0, 0}, 0},
    {"-@ with a name", {"-@host"}, 1, false, {0, 0, 0, 0}, 0},
    {"-@ resets the adapter", {"-A5", "-@10.0.0.1"}, -1, true, {10, 0, 0, 1}, 0},
    {"adapter after -@ stays", {"-@10.0.0.1", "-A5"}, -1, true, {10, 0, 0, 1}, 5},
    {"last address wins", {"-@10.0.0.1", "-@10.0.0.2"}, -1, true, {10, 0, 0, 2}, 0},
    {"short form", {"-@127.1"}, -1, true, {127, 0, 0, 1}, 0},
};

TEST(KorDrvCommandLine, AddressAndAdapterSwitches)
{
    for (const BindCase& c : kBindCases) {
        SCOPED_TRACE(c.what);
        CommandLine cl;
        int bad = 99;
        EXPECT_EQ(Parse(c.args, &cl, &bad), c.bad < 0);
        EXPECT_EQ(bad, c.bad);
        EXPECT_EQ(cl.hasBindIp, c.hasIp);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(cl.bindIp[i], c.ip[i]) << "octet " << i;
        EXPECT_EQ(cl.adapter, c.adapter);
    }
}

TEST(KorDrvCommandLine, KeptSwitches)
{
    CommandLine cl;
    ASSERT_TRUE(Parse({"-D", "-S", "/s", "-P12", "-T7x", "-Sanything"}, &cl, nullptr));
    EXPECT_TRUE(cl.debug);
    EXPECT_EQ(cl.sCount, 3u);
    EXPECT_EQ(cl.pValue, 12u);
    EXPECT_EQ(cl.tValue, 7u);

    ASSERT_TRUE(Parse({"-P5", "-Pabc", "-T"}, &cl, nullptr));
    EXPECT_EQ(cl.pValue, 0u); // the last value wins, and text reads 0
    EXPECT_EQ(cl.tValue, 0u);
    EXPECT_FALSE(cl.debug);
    EXPECT_EQ(cl.sCount, 0u);
}

TEST(KorDrvCommandLine, AnErrorLeavesNothingHalfParsed)
{
    CommandLine cl;
    int bad = 0;
    ASSERT_FALSE(Parse({"-I4", "-Lx.log", "-@10.0.0.1", "-D", "-S", "-P3", "-Q"}, &cl, &bad));
    EXPECT_EQ(bad, 7);
    EXPECT_EQ(cl.instance, 0);
    EXPECT_FALSE(cl.logRequested);
    EXPECT_STREQ(cl.logFileName, "");
    EXPECT_FALSE(cl.hasBindIp);
    EXPECT_FALSE(cl.debug);
    EXPECT_EQ(cl.sCount, 0u);
    EXPECT_EQ(cl.pValue, 0u);
}

TEST(KorDrvCommandLine, LongLogNameIsCutTo255Characters)
{
    const std::string name(400, 'n');
    const std::string arg = "-L" + name;
    CommandLine cl;
    ASSERT_TRUE(Parse({arg.c_str()}, &cl, nullptr));
    EXPECT_TRUE(cl.logRequested);
    EXPECT_EQ(std::string(cl.logFileName), name.substr(0, 255));

    const std::string exact = "-L" + std::string(255, 'e');
    ASSERT_TRUE(Parse({exact.c_str()}, &cl, nullptr));
    EXPECT_EQ(std::string(cl.logFileName), std::string(255, 'e'));
}

TEST(KorDrvCommandLine, NoArgumentsAtAll)
{
    CommandLine cl;
    int bad = 0;
    EXPECT_TRUE(ParseCommandLine(0, nullptr, &cl, &bad));
    EXPECT_EQ(bad, -1);
    EXPECT_EQ(cl.instance, 0);
    EXPECT_FALSE(ParseCommandLine(1, nullptr, nullptr, &bad));
}

TEST(KorDrvCommandLine, LeadingNumbers)
{
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"12ab", 12},
        {"x1", 0},
        {"+5", 0},
        {" 5", 0},
        {"007", 7},
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},
        {"123456789012345678901234567890", 4294967295u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingNumber(c.text), c.value) << c.text;
    EXPECT_EQ(ReadLeadingNumber(nullptr), 0u);
}

TEST(KorDrvCommandLine, Ipv4Conversion)
{
    const struct {
        const char* text;
        bool ok;
        std::uint32_t value;
    } cases[] = {
        {"10.0.0.1", true, 0x0A000001u},
        {"192.168.1.10", true, 0xC0A8010Au},
        {"0.0.0.0", true, 0},
        {"255.255.255.255", true, 0xFFFFFFFFu}, // converts, but is the failure value
        {"1.2.3", true, 0x01020003u},
        {"1.2.65535", true, 0x0102FFFFu},
        {"1.16777215", true, 0x01FFFFFFu},
        {"167772161", true, 0x0A000001u},
        {"0x0A.0.0.1", true, 0x0A000001u},
        {"012.0.0.1", true, 0x0A000001u},
        {"0XFF.0.0.0", true, 0xFF000000u},
        {"300.1.1.1", false, 0xFFFFFFFFu},
        {"1.2.3.256", false, 0xFFFFFFFFu},
        {"1.2.65536", false, 0xFFFFFFFFu},
        {"1.16777216", false, 0xFFFFFFFFu},
        {"4294967296", false, 0xFFFFFFFFu},
        {"1.2.3.4.5", false, 0xFFFFFFFFu},
        {"1..2.3", false, 0xFFFFFFFFu},
        {"1.2.3.", false, 0xFFFFFFFFu},
        {".1.2.3", false, 0xFFFFFFFFu},
        {"", false, 0xFFFFFFFFu},
        {"08.0.0.1", false, 0xFFFFFFFFu},
        {"0x.0.0.1", false, 0xFFFFFFFFu},
        {"1.2.3.4x", false, 0xFFFFFFFFu},
        {"1.2.3.4 ", false, 0xFFFFFFFFu},
        {"-1.2.3.4", false, 0xFFFFFFFFu},
        {"host.example", false, 0xFFFFFFFFu},
    };
    for (const auto& c : cases) {
        std::uint32_t value = 0x12345678u;
        EXPECT_EQ(ConvertIpv4Text(c.text, &value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    std::uint32_t value = 0;
    EXPECT_FALSE(ConvertIpv4Text(nullptr, &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

} // namespace
