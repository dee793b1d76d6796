// Bounded formatting of string-table texts: conversions, untrusted formats, buffer limits.
#include "kordrv/core/kordrv_format.h"

#include "kordrv_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kordrv;
using kordrv_test::GuardedBuffer;

namespace
{

struct FormatCase {
    const char* what;
    const char* format;
    std::vector<FormatArg> args;
    const char* expected;
};

const char kUnterminated[4] = {'A', 'B', 'C', 'D'}; // a field without terminator

std::vector<FormatCase> FormatCases()
{
    return {
        {"velt address", "%u.%u", {ArgU(2), ArgU(17)}, "2.17"},
        {"version line",
         "%sVersion %u.%u (IE%02u - Build %u)",
         {ArgS("Release "), ArgU(3), ArgU(2), ArgU(12), ArgU(12)},
         "Release Version 3.2 (IE12 - Build 12)"},
        {"two digits at least", "IE%02u", {ArgU(5)}, "IE05"},
        {"two digits, wider value", "IE%02u", {ArgU(123)}, "IE123"},
        {"negative %d", "%d", {ArgI(-5)}, "-5"},
        {"%u of a negative int", "%u", {ArgI(-1)}, "4294967295"},
        {"%d of a large unsigned", "%d", {ArgU(0xFFFFFFFEu)}, "-2"},
        {"largest negative", "%d", {ArgI(-2147483647 - 1)}, "-2147483648"},
        {"widths", "[%5d|%-5d|%05d]", {ArgI(42), ArgI(42), ArgI(-42)}, "[   42|42   |-0042]"},
        {"plus and space", "%+d %+d % d", {ArgI(5), ArgI(-5), ArgI(5)}, "+5 -5  5"},
        {"hex", "%x %X %04x", {ArgU(255), ArgU(0xABCu), ArgU(10)}, "ff ABC 000a"},
        {"precision of a number", "%.3u", {ArgU(7)}, "007"},
        {"char", "%c%c", {ArgU('O'), ArgU('K')}, "OK"},
        {"percent", "100%% of %u", {ArgU(9)}, "100% of 9"},
        {"length letters are read",
         "%lu %ld %I64u %hu %llu",
         {ArgU(1), ArgI(-2), ArgU(3), ArgU(4), ArgU(5)},
         "1 -2 3 4 5"},
        {"string precision", "%.3s|", {ArgS("abcdef")}, "abc|"},
        {"string width", "[%6s][%-6s]", {ArgS("ab"), ArgS("ab")}, "[    ab][ab    ]"},
        {"field without terminator",
         "<%s>",
         {ArgS(kUnterminated, sizeof(kUnterminated))},
         "<ABCD>"},
        {"null text", "<%s>", {ArgS(nullptr)}, "<>"},
        {"number given for %s", "<%s>", {ArgI(-42)}, "<-42>"},
        {"text given for %u", "<%u>", {ArgS("x")}, "<x>"},
        {"missing arguments print nothing", "%u-%u-%s.", {ArgU(1)}, "1--."},
        {"extra arguments are ignored", "%u", {ArgU(1), ArgU(2)}, "1"},
        {"unknown conversion stays", "%y %u", {ArgU(3)}, "%y 3"},
        {"lone percent at the end", "50%", {}, "50%"},
        {"star width is not supported", "%*d", {ArgI(3)}, "%*d"},
    };
}

TEST(KorDrvFormat, ConvertsAsPrintfWouldForTheSupportedConversions)
{
    for (const FormatCase& c : FormatCases()) {
        SCOPED_TRACE(c.what);
        char buf[256];
        const bool fitted = FormatText(buf, sizeof(buf), c.format, c.args.data(), c.args.size());
        EXPECT_TRUE(fitted);
        EXPECT_STREQ(buf, c.expected);
    }
}

TEST(KorDrvFormat, WidthIsCappedSoATranslatedTextCannotAskForHugePadding)
{
    char buf[256];
    const FormatArg args[] = {ArgU(1)};
    ASSERT_TRUE(FormatText(buf, sizeof(buf), "%1000u|", args));
    EXPECT_EQ(std::string(buf), std::string(63, ' ') + "1|");
}

TEST(KorDrvFormat, NullFormatGivesEmptyText)
{
    char buf[8] = "junk";
    EXPECT_TRUE(FormatText(buf, sizeof(buf), nullptr, nullptr, 0));
    EXPECT_STREQ(buf, "");
}

TEST(KorDrvFormat, EveryBufferSizeStaysInsideAndTerminated)
{
    const char* format = "%sVersion %u.%u (IE%02u - Build %u)";
    const FormatArg args[] = {ArgS("Prerelease Debug "), ArgU(65535), ArgU(65535), ArgU(7),
                              ArgU(4294967295u)};
    char full[256];
    ASSERT_TRUE(FormatText(full, sizeof(full), format, args));
    const std::string expected = full;
    ASSERT_EQ(expected, "Prerelease Debug Version 65535.65535 (IE07 - Build 4294967295)");

    for (std::size_t size = 0; size <= expected.size() + 2; ++size) {
        SCOPED_TRACE(size);
        GuardedBuffer buf(size);
        const bool fitted = FormatText(buf.Data(), size, format, args);
        EXPECT_TRUE(buf.Intact());
        EXPECT_EQ(fitted, size > expected.size());
        if (size > 0) {
            ASSERT_TRUE(buf.Terminated());
            EXPECT_EQ(buf.Text(), expected.substr(0, size - 1));
        }
    }
}

TEST(KorDrvFormat, WriterLimitCutsBelowTheBufferSize)
{
    char buf[64];
    TextWriter out(buf, sizeof(buf), 5);
    out.Text("abcdefgh");
    EXPECT_STREQ(buf, "abcde");
    EXPECT_EQ(out.Length(), 5u);
    EXPECT_TRUE(out.Cut());
}

TEST(KorDrvFormat, CountersAndAddresses)
{
    const struct {
        std::uint8_t ip[4];
        const char* text;
    } ips[] = {
        {{10, 1, 1, 5}, "10.1.1.5"},
        {{0, 0, 0, 0}, "0.0.0.0"},
        {{255, 255, 255, 255}, "255.255.255.255"},
        {{192, 168, 1, 10}, "192.168.1.10"},
    };
    for (const auto& c : ips) {
        GuardedBuffer buf(kDottedIpSize);
        EXPECT_TRUE(FormatDottedIp(buf.Data(), buf.Size(), c.ip));
        EXPECT_EQ(buf.Text(), c.text);
        EXPECT_TRUE(buf.Intact());
    }

    char small[8];
    const std::uint8_t wide[4] = {255, 255, 255, 255};
    EXPECT_FALSE(FormatDottedIp(small, sizeof(small), wide));
    EXPECT_STREQ(small, "255.255");

    char counter[11];
    EXPECT_TRUE(FormatUnsigned(counter, sizeof(counter), 4294967295u));
    EXPECT_STREQ(counter, "4294967295");
    EXPECT_TRUE(FormatUnsigned(counter, sizeof(counter), 0));
    EXPECT_STREQ(counter, "0");
    EXPECT_FALSE(FormatUnsigned(counter, 3, 1234));
    EXPECT_STREQ(counter, "12");
}

} // namespace
