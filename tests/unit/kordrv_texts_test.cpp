// Application title, tray tip, start-up errors, page values and the About page's lines.
#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_texts.h"

#include "kordrv_test_util.h"

#include "shared/drv_block_ops.h"
#include "shared/drv_names.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kordrv;
using kordrv_test::GuardedBuffer;

namespace
{

const char kTitleTemplate[] = "KOR Driver - KOR0x";

const AboutTexts kEnglish = {
    "%sVersion %u.%u (IE%02u - Build %u)",
    "WINDOWS Sockets V%u.%u (V%u.%u detected)",
    "WINDOWS %s V%u.%u (Build %u)",
    "Extended Info : %s",
    "None",
    "Prerelease ",
    "Debug ",
    "Release ",
};

TEST(KorDrvTexts, AppTitleCarriesTheInstanceDigit)
{
    char title[64];
    ASSERT_TRUE(FormatAppTitle(title, sizeof(title), kTitleTemplate, 2));
    EXPECT_STREQ(title, "KOR Driver - KOR02");

    // The title is what the tool and a second monitor look for: same text as the shared name.
    for (int instance = 0; instance <= 9; ++instance) {
        char expected[64];
        ASSERT_TRUE(FormatMonitorTitle(expected, sizeof(expected), instance));
        ASSERT_TRUE(FormatAppTitle(title, sizeof(title), kTitleTemplate, instance));
        EXPECT_STREQ(title, expected);
    }

    // Another language's template keeps its own words.
    ASSERT_TRUE(FormatAppTitle(title, sizeof(title), "Pilote KOR - KOR0x", 7));
    EXPECT_STREQ(title, "Pilote KOR - KOR07");
}

TEST(KorDrvTexts, AppTitleWithoutAValidInstance)
{
    char title[64];
    EXPECT_FALSE(FormatAppTitle(title, sizeof(title), kTitleTemplate, 10));
    EXPECT_STREQ(title, "KOR Driver - KOR0?");
    EXPECT_FALSE(FormatAppTitle(title, sizeof(title), kTitleTemplate, -48)); // '0' - 48 = NUL
    EXPECT_STREQ(title, "KOR Driver - KOR0?");
    EXPECT_FALSE(FormatAppTitle(title, sizeof(title), "", 1));
    EXPECT_STREQ(title, "");
    EXPECT_FALSE(FormatAppTitle(title, sizeof(title), nullptr, 1));
    EXPECT_STREQ(title, "");
}

TEST(KorDrvTexts, AppTitleInSmallBuffers)
{
    const std::string full = "KOR Driver - KOR05";
    for (std::size_t size = 0; size <= full.size() + 1; ++size) {
        SCOPED_TRACE(size);
        GuardedBuffer buf(size);
        const bool ok = FormatAppTitle(buf.Data(), size, kTitleTemplate, 5);
        EXPECT_TRUE(buf.Intact());
        EXPECT_EQ(ok, size > full.size());
        if (size > 0) {
            EXPECT_EQ(buf.Text(), ok ? full : ""); // never a cut title
        }
    }
}

TEST(KorDrvTexts, TrayTip)
{
    char tip[kTrayTipSize];
    ASSERT_TRUE(FormatTrayTip(tip, sizeof(tip), 3));
    EXPECT_STREQ(tip, "[3] Orvanta KOR Driver");
    ASSERT_TRUE(FormatTrayTip(tip, sizeof(tip), 0));
    EXPECT_STREQ(tip, "[0] Orvanta KOR Driver");

    const std::string full = "[9] Orvanta KOR Driver";
    for (std::size_t size = 0; size <= full.size() + 1; ++size) {
        GuardedBuffer buf(size);
        EXPECT_EQ(FormatTrayTip(buf.Data(), size, 9), size > full.size());
        EXPECT_TRUE(buf.Intact());
        if (size > 0) {
            EXPECT_EQ(buf.Text(), full.substr(0, size - 1));
        }
    }
}

TEST(KorDrvTexts, StartupErrorsThatStartTheConfigurationTool)
{
    // Through the status table: invalid configuration, no remote connections and adapter not
    // found send the user to the configuration tool; no other status does.
    for (std::uint32_t status = 0; status <= 40; ++status) {
        const unsigned id = DriverStatusMessageId(status);
        const bool expected = status == 11 || status == 12 || status == 15;
        EXPECT_EQ(StartupErrorLaunchesConfigTool(id), expected) << "status " << status;
    }
    EXPECT_FALSE(StartupErrorLaunchesConfigTool(0));
    EXPECT_EQ(DriverStatusMessageId(2), static_cast<unsigned>(IDS_COMMAND_LINE_ERROR));
    EXPECT_EQ(DriverStatusMessageId(3), static_cast<unsigned>(IDS_LOG_FILE_ERROR));
}

std::unique_ptr<DRV_STATE_BLOCK> NewBlock()
{
    return std::unique_ptr<DRV_STATE_BLOCK>(new DRV_STATE_BLOCK());
}

TEST(KorDrvTexts, IpPageCountersComeFromTheirOwnFields)
{
    auto block = NewBlock();
    block->ip_connections = 11;
    block->ip_connected = 12;
    block->ip_send_total = 13;
    block->ip_recv_total = 14;
    block->ip_send_errors = 15;
    block->ip_recv_errors = 0xFFFFFFFFu;
    block->velt_send_total = 99; // not an IP counter
    const IpPageCounters c = ReadIpPageCounters(*block);
    EXPECT_EQ(c.connections, 11u);
    EXPECT_EQ(c.connected, 12u);
    EXPECT_EQ(c.sendTotal, 13u);
    EXPECT_EQ(c.recvTotal, 14u);
    EXPECT_EQ(c.sendErrors, 15u);
    EXPECT_EQ(c.recvErrors, 0xFFFFFFFFu);
}

TEST(KorDrvTexts, VeltPageCounters)
{
    auto block = NewBlock();
    block->handles_opened = 3;
    block->sockets_attached = 65535;
    block->cfg_entry_count = 4;
    block->added_entry_count = 3;
    block->cfg_connected = 2;
    block->added_connected = 1;
    block->velt_send_total = 21;
    block->velt_recv_total = 22;
    block->velt_send_errors = 23;
    block->velt_recv_errors = 24;
    block->ip_send_total = 99; // not a VELT counter
    const VeltPageCounters c = ReadVeltPageCounters(*block);
    EXPECT_EQ(c.handlesOpened, 3u);
    EXPECT_EQ(c.socketsAttached, 65535u);
    EXPECT_EQ(c.connections, 7u);
    EXPECT_EQ(c.connected, 3u);
    EXPECT_EQ(c.sendTotal, 21u);
    EXPECT_EQ(c.recvTotal, 22u);
    EXPECT_EQ(c.sendErrors, 23u);
    EXPECT_EQ(c.recvErrors, 24u);

    block->cfg_connected = 0xFFFFFFF0u;
    block->added_connected = 0x20u;
    EXPECT_EQ(ReadVeltPageCounters(*block).connected, 0xFFFFFFFFu); // no wrap to 0x10
}

TEST(KorDrvTexts, VeltConnectionsCountAsManyStationsAsTheListCanHold)
{
    const struct {
        std::uint32_t cfg;
        std::uint32_t added;
        std::uint32_t count;
    } cases[] = {
        {4, 3, 7},
        {0, 0, 0},
        {128, 0, 128},
        {64, 64, 128},
        {200, 5, 128},
        {100, 64, 128},
        {10, 70, 74},
        {0, 65, 64},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 128},
        {1, 0xFFFFFFFFu, 65},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VeltConnectionCount(c.cfg, c.added), c.count) << c.cfg << " + " << c.added;
        // Same cut as the entry snapshot.
        auto block = NewBlock();
        block->cfg_entry_count = c.cfg;
        block->added_entry_count = c.added;
        std::unique_ptr<DRV_ENTRY_COPIES> copies(new DRV_ENTRY_COPIES());
        for (std::uint32_t i = 0; i < kDrvMaxEntries; ++i)
            block->entries[i].id = i + 1;
        SnapshotEntries(*block, copies.get());
        std::uint32_t added = 0;
        for (const DRV_CONN_ENTRY& slot : copies->added)
            added += slot.id != 0 ? 1 : 0;
        EXPECT_EQ(copies->cfg_count + added, c.count);
    }
    EXPECT_EQ(SaturatedSum(1, 2), 3u);
    EXPECT_EQ(SaturatedSum(0xFFFFFFFFu, 1), 0xFFFFFFFFu);
    EXPECT_EQ(SaturatedSum(0x80000000u, 0x7FFFFFFFu), 0xFFFFFFFFu);
}

TEST(KorDrvTexts, VeltAddress)
{
    char buf[32];
    ASSERT_TRUE(FormatVeltAddress(buf, sizeof(buf), "%u.%u", 2, 17));
    EXPECT_STREQ(buf, "2.17");
    ASSERT_TRUE(FormatVeltAddress(buf, sizeof(buf), "%u.%u", 65535, 0));
    EXPECT_STREQ(buf, "65535.0");
    GuardedBuffer small(4);
    EXPECT_FALSE(FormatVeltAddress(small.Data(), small.Size(), "%u.%u", 127, 255));
    EXPECT_EQ(small.Text(), "127");
    EXPECT_TRUE(small.Intact());
}

TEST(KorDrvTexts, VersionLine)
{
    const struct {
        const char* what;
        std::uint32_t ms;
        std::uint32_t ls;
        std::uint32_t flags;
        const char* line;
    } cases[] = {
        {"release 3.2.12.12", 0x00030002u, 0x000C000Cu, 0, "Release Version 3.2 (IE12 - Build 12)"},
        {"release, one-digit release", 0x00010000u, 0x00050007u, 0,
         "Release Version 1.0 (IE05 - Build 7)"},
        {"prerelease", 0x00030002u, 0x000C000Cu, 0x2, "Prerelease Version 3.2 (IE12 - Build 12)"},
        {"release debug", 0x00030002u, 0x000C000Cu, 0x1,
         "Release Debug Version 3.2 (IE12 - Build 12)"},
        {"prerelease debug", 0x00030002u, 0x000C000Cu, 0x3,
         "Prerelease Debug Version 3.2 (IE12 - Build 12)"},
        {"no version resource", 0, 0, 0, "Release Version 0.0 (IE00 - Build 0)"},
        {"largest", 0xFFFFFFFFu, 0xFFFFFFFFu, 0,
         "Release Version 65535.65535 (IE65535 - Build 65535)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char line[kAboutLineSize];
        ASSERT_TRUE(
            FormatVersionLine(line, sizeof(line), kEnglish, MakeVersionInfo(c.ms, c.ls, c.flags)));
        EXPECT_STREQ(line, c.line);
    }
}

TEST(KorDrvTexts, SystemLine)
{
    const struct {
        const char* what;
        std::uint32_t platform;
        std::uint32_t major;
        std::uint32_t minor;
        std::uint32_t build;
        const char* line;
    } cases[] = {
        {"NT 6.1", kPlatformNt, 6, 1, 7601, "WINDOWS NT V6.1 (Build 7601)"},
        {"NT build beyond 16 bits", kPlatformNt, 10, 0, 0x00012345u,
         "WINDOWS NT V10.0 (Build 74565)"},
        {"95", kPlatformWindows9x, 4, 0, 0x040003B6u, "WINDOWS 95 V4.0 (Build 950)"},
        {"95 up to 979", kPlatformWindows9x, 4, 0, 0x040003D3u, "WINDOWS 95 V4.0 (Build 979)"},
        {"98 from 980", kPlatformWindows9x, 4, 10, 0x040A03D4u, "WINDOWS 98 V4.10 (Build 980)"},
        {"98", kPlatformWindows9x, 4, 10, 0x040A07CEu, "WINDOWS 98 V4.10 (Build 1998)"},
        {"other platform", kPlatformWin32s, 1, 30, 0x00010002u, "WINDOWS ?? V1.30 (Build 2)"},
        {"unknown platform id", 7, 0, 0, 5, "WINDOWS ?? V0.0 (Build 5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char line[kAboutLineSize];
        ASSERT_TRUE(
            FormatSystemLine(line, sizeof(line), kEnglish, c.platform, c.major, c.minor, c.build));
        EXPECT_STREQ(line, c.line);
    }
}

TEST(KorDrvTexts, ExtendedLine)
{
    char line[kAboutLineSize];
    const char sp1[128] = "Service Pack 1";
    ASSERT_TRUE(FormatExtendedLine(line, sizeof(line), kEnglish, sp1, sizeof(sp1)));
    EXPECT_STREQ(line, "Extended Info : Service Pack 1");

    const char empty[128] = "";
    ASSERT_TRUE(FormatExtendedLine(line, sizeof(line), kEnglish, empty, sizeof(empty)));
    EXPECT_STREQ(line, "Extended Info : None");
    ASSERT_TRUE(FormatExtendedLine(line, sizeof(line), kEnglish, nullptr, 0));
    EXPECT_STREQ(line, "Extended Info : None");

    // The system's field need not be terminated: read no further than its size.
    std::unique_ptr<char[]> field(new char[8]);
    std::memcpy(field.get(), "SP123456", 8);
    ASSERT_TRUE(FormatExtendedLine(line, sizeof(line), kEnglish, field.get(), 8));
    EXPECT_STREQ(line, "Extended Info : SP123456");
}

TEST(KorDrvTexts, SocketsLine)
{
    char line[kAboutLineSize];
    ASSERT_TRUE(FormatSocketsLine(line, sizeof(line), kEnglish, 0x0202, 0x0202));
    EXPECT_STREQ(line, "WINDOWS Sockets V2.2 (V2.2 detected)");
    ASSERT_TRUE(FormatSocketsLine(line, sizeof(line), kEnglish, 0x0201, 0x0102));
    EXPECT_STREQ(line, "WINDOWS Sockets V2.1 (V1.2 detected)");
    ASSERT_TRUE(FormatSocketsLine(line, sizeof(line), kEnglish, 0x0101, 0xFFFF));
    EXPECT_STREQ(line, "WINDOWS Sockets V1.1 (V255.255 detected)");
}

TEST(KorDrvTexts, AboutLinesWithAnotherLanguageAndSmallBuffers)
{
    const AboutTexts french = {
        "%sversion %u.%u (IE%02u - compilation %u)",
        "Sockets WINDOWS V%u.%u (V%u.%u d\xC3\xA9tect\xC3\xA9\x65)",
        "WINDOWS %s V%u.%u (compilation %u)",
        "Informations : %s",
        "Aucune",
        "Pr\xC3\xA9version ",
        "D\xC3\xA9\x62ogage ",
        "Finale ",
    };
    char line[kAboutLineSize];
    ASSERT_TRUE(
        FormatVersionLine(line, sizeof(line), french, MakeVersionInfo(0x30002, 0xC000C, 3)));
    EXPECT_STREQ(line, "Pr\xC3\xA9version D\xC3\xA9\x62ogage version 3.2 (IE12 - compilation 12)");
    ASSERT_TRUE(FormatExtendedLine(line, sizeof(line), french, "", 1));
    EXPECT_STREQ(line, "Informations : Aucune");

    const std::string full = "WINDOWS NT V6.1 (Build 7601)";
    for (std::size_t size = 0; size <= full.size() + 1; ++size) {
        GuardedBuffer buf(size);
        EXPECT_EQ(FormatSystemLine(buf.Data(), size, kEnglish, kPlatformNt, 6, 1, 7601),
                  size > full.size());
        EXPECT_TRUE(buf.Intact());
        if (size > 0) {
            EXPECT_EQ(buf.Text(), full.substr(0, size - 1));
        }
    }
}

TEST(KorDrvTexts, AStringTableTextWithTheWrongConversionsStaysSafe)
{
    // A translation that asks for more, or other, values than the line has.
    const AboutTexts broken = {
        "%s %s %s %s %s %s %s %n %p",
        "%s%s%s%s%s%s",
        "%u %d %s %s %s %s",
        "%u",
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    GuardedBuffer buf(kAboutLineSize);
    FormatVersionLine(buf.Data(), buf.Size(), broken, MakeVersionInfo(0x30002, 0xC000C, 3));
    EXPECT_EQ(buf.Text(), " 3 2 12 12   %n %p");
    FormatSocketsLine(buf.Data(), buf.Size(), broken, 0x0202, 0x0101);
    EXPECT_EQ(buf.Text(), "2211");
    FormatSystemLine(buf.Data(), buf.Size(), broken, kPlatformNt, 6, 1, 7601);
    EXPECT_EQ(buf.Text(), "NT 6 1 7601  ");
    FormatExtendedLine(buf.Data(), buf.Size(), broken, "", 1);
    EXPECT_EQ(buf.Text(), "");
    EXPECT_TRUE(buf.Intact());
}

} // namespace
