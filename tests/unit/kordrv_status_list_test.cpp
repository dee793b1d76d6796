// Lines of the connection status dialog, from the monitor's entry copies.
#include "kordrv/core/kordrv_log.h"
#include "kordrv/core/kordrv_status_list.h"

#include "kordrv_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace kordrv;
using kordrv_test::GuardedBuffer;

namespace
{

struct EntryData {
    std::uint32_t id;
    std::uint32_t link;
    std::uint32_t connected;
    std::uint8_t net;
    std::uint8_t station;
    const char* name;
    std::uint8_t ip[4];
};

// A block holding the configured entries, then the added ones, as the service lays them out.
class BlockFixture
{
public:
    BlockFixture() : m_block(new DRV_STATE_BLOCK()), m_copies(new DRV_ENTRY_COPIES()) {}

    void Set(const std::vector<EntryData>& configured, const std::vector<EntryData>& added)
    {
        std::memset(m_block.get(), 0, sizeof(DRV_STATE_BLOCK));
        std::uint32_t i = 0;
        for (const EntryData& e : configured)
            Put(i++, e);
        for (const EntryData& e : added)
            Put(i++, e);
        m_block->cfg_entry_count = static_cast<std::uint32_t>(configured.size());
        m_block->added_entry_count = static_cast<std::uint32_t>(added.size());
        m_block->added_slot_bound = static_cast<std::uint32_t>(added.size());
        SnapshotEntries(*m_block, m_copies.get());
    }

    DRV_STATE_BLOCK& Block() { return *m_block; }
    DRV_ENTRY_COPIES& Copies() { return *m_copies; }

    // The list as the dialog fills it: configured positions, then added slots (the bound
    // re-read for every slot); the number of lines without head is counted for the log.
    std::vector<std::string> Fill(StatusMode mode, int* headsMissing = nullptr)
    {
        std::vector<std::string> lines;
        int missing = 0;
        char line[kStatusLineSize];
        for (std::uint32_t i = 0; i < m_copies->cfg_count; ++i) {
            const StatusLine r = FormatConfiguredStatusLine(*m_copies, i, mode, line, sizeof(line));
            if (r != StatusLine::NotListed)
                lines.push_back(line);
            missing += r == StatusLine::HeadMissing ? 1 : 0;
        }
        for (std::uint32_t s = 0; s < m_block->added_slot_bound; ++s) {
            const StatusLine r = FormatAddedStatusLine(*m_copies, s, m_block->added_slot_bound,
                                                       mode, line, sizeof(line));
            if (r != StatusLine::NotListed)
                lines.push_back(line);
            missing += r == StatusLine::HeadMissing ? 1 : 0;
        }
        if (headsMissing)
            *headsMissing = missing;
        return lines;
    }

private:
    void Put(std::uint32_t index, const EntryData& e)
    {
        DRV_CONN_ENTRY& entry = m_block->entries[index];
        entry.id = e.id;
        entry.link = e.link;
        entry.connected = e.connected;
        entry.net = e.net;
        entry.station = e.station;
        std::strncpy(entry.name, e.name, sizeof(entry.name));
        std::memcpy(entry.ip, e.ip, 4);
    }

    std::unique_ptr<DRV_STATE_BLOCK> m_block;
    std::unique_ptr<DRV_ENTRY_COPIES> m_copies;
};

using Lines = std::vector<std::string>;

TEST(KorDrvStatusList, ConfiguredEntriesSharingOneConnection)
{
    // Three configured entries, all linked to entry 0, which is its own head, connected.
    BlockFixture f;
    f.Set({{0, 0, 1, 0, 5, "alpha", {10, 1, 1, 5}},
           {1, 0, 0, 0, 6, "beta", {10, 9, 9, 9}},
           {2, 0, 0, 1, 255, "gamma", {0, 0, 0, 0}}},
          {});
    EXPECT_EQ(f.Fill(StatusMode::Ip), Lines({"CONNECTED\talpha @IP:10.1.1.5"}));
    EXPECT_EQ(f.Fill(StatusMode::Velt),
              Lines({"CONNECTED\talpha (0.5) @IP:10.1.1.5", "CONNECTED\tbeta (0.6) @IP:10.1.1.5",
                     "CONNECTED\tgamma (1.255) @IP:10.1.1.5"}));
}

TEST(KorDrvStatusList, EachHeadShowsItsOwnState)
{
    BlockFixture f;
    f.Set({{0, 0, 0, 2, 1, "down", {192, 168, 0, 1}},
           {1, 1, 7, 2, 2, "up", {192, 168, 0, 2}},
           {2, 0, 1, 2, 3, "via down", {1, 1, 1, 1}}},
          {});
    EXPECT_EQ(f.Fill(StatusMode::Ip),
              Lines({"DISCONNECTED\tdown @IP:192.168.0.1", "CONNECTED\tup @IP:192.168.0.2"}));
    EXPECT_EQ(f.Fill(StatusMode::Velt), Lines({"DISCONNECTED\tdown (2.1) @IP:192.168.0.1",
                                               "CONNECTED\tup (2.2) @IP:192.168.0.2",
                                               "DISCONNECTED\tvia down (2.3) @IP:192.168.0.1"}));
}

TEST(KorDrvStatusList, AddedEntriesFindTheirHeadByIdentifier)
{
    // Configured heads have their position as identifier and link.
    BlockFixture f;
    f.Set({{0, 0, 0, 0, 9, "cfg zero", {10, 0, 0, 9}}, {1, 1, 1, 0, 1, "cfg head", {10, 0, 0, 1}}},
          {{200, 200, 0, 0, 2, "added head", {10, 0, 0, 2}},
           {201, 200, 0, 0, 3, "rides added", {0, 0, 0, 0}},
           {202, 1, 0, 0, 4, "rides cfg", {0, 0, 0, 0}}});
    EXPECT_EQ(f.Fill(StatusMode::Ip),
              Lines({"DISCONNECTED\tcfg zero @IP:10.0.0.9", "CONNECTED\tcfg head @IP:10.0.0.1",
                     "DISCONNECTED\tadded head @IP:10.0.0.2"}));
    EXPECT_EQ(f.Fill(StatusMode::Velt), Lines({"DISCONNECTED\tcfg zero (0.9) @IP:10.0.0.9",
                                               "CONNECTED\tcfg head (0.1) @IP:10.0.0.1",
                                               "DISCONNECTED\tadded head (0.2) @IP:10.0.0.2",
                                               "DISCONNECTED\trides added (0.3) @IP:10.0.0.2",
                                               "CONNECTED\trides cfg (0.4) @IP:10.0.0.1"}));
}

TEST(KorDrvStatusList, IdentifierInBothListsIsTakenFromTheAddedList)
{
    BlockFixture f;
    f.Set({{7, 0, 1, 0, 1, "cfg seven", {10, 0, 0, 7}}},
          {{7, 7, 0, 0, 2, "added seven", {10, 0, 0, 77}}, {8, 7, 0, 0, 3, "rider", {0, 0, 0, 0}}});
    const Lines velt = f.Fill(StatusMode::Velt);
    ASSERT_EQ(velt.size(), 3u);
    EXPECT_EQ(velt[2], "DISCONNECTED\trider (0.3) @IP:10.0.0.77");
}

TEST(KorDrvStatusList, RedirectionNotFound)
{
    BlockFixture f;
    f.Set({{0, 0, 1, 0, 1, "head", {10, 0, 0, 1}}},
          {{50, 999, 1, 3, 4, "lost", {10, 0, 0, 50}}, {51, 51, 1, 3, 5, "fine", {10, 0, 0, 51}}});
    int missing = 0;
    EXPECT_EQ(f.Fill(StatusMode::Velt, &missing),
              Lines({"CONNECTED\thead (0.1) @IP:10.0.0.1",
                     "Error: Redirection could not be foundlost (3.4) @IP:Error: Redirection "
                     "could not be found",
                     "CONNECTED\tfine (3.5) @IP:10.0.0.51"}));
    EXPECT_EQ(missing, 1);

    // In IP mode the entry is no head, so it is not listed and nothing is logged.
    EXPECT_EQ(f.Fill(StatusMode::Ip, &missing),
              Lines({"CONNECTED\thead @IP:10.0.0.1", "CONNECTED\tfine @IP:10.0.0.51"}));
    EXPECT_EQ(missing, 0);

    // The log line the dialog writes for it.
    char log[kLogLineSize];
    const FormatArg args[] = {ArgS(kRedirectionNotFound)};
    FormatLogLine(log, sizeof(log), LogTime{2024, 2, 29, 8, 5, 0}, kLogErrorFormat, args, 1);
    EXPECT_STREQ(log, "02/29/24-08:05:00 Error: Redirection could not be found");
}

TEST(KorDrvStatusList, ConfiguredLinkOutsideTheListIsAnErrorNotARead)
{
    // A configured link is a position; one beyond the configured copy has no head.
    BlockFixture f;
    f.Set({{0, 0, 1, 0, 1, "ok", {10, 0, 0, 1}}, {5, 5, 1, 0, 2, "bad link", {10, 0, 0, 2}}}, {});
    int missing = 0;
    EXPECT_EQ(f.Fill(StatusMode::Ip, &missing),
              Lines({"CONNECTED\tok @IP:10.0.0.1",
                     "Error: Redirection could not be foundbad link @IP:Error: Redirection could "
                     "not be found"}));
    EXPECT_EQ(missing, 1);
}

TEST(KorDrvStatusList, FreeAndOutOfRangeSlotsAreNeverListed)
{
    BlockFixture f;
    f.Set({}, {{0, 0, 1, 0, 1, "free", {10, 0, 0, 1}}, {9, 9, 1, 0, 2, "used", {10, 0, 0, 2}}});
    EXPECT_EQ(f.Fill(StatusMode::Velt), Lines({"CONNECTED\tused (0.2) @IP:10.0.0.2"}));

    char line[kStatusLineSize] = "junk";
    // A free slot, even one whose link would match.
    EXPECT_EQ(FormatAddedStatusLine(f.Copies(), 0, 2, StatusMode::Velt, line, sizeof(line)),
              StatusLine::NotListed);
    EXPECT_STREQ(line, "");
    // At or past the bound read from the block.
    EXPECT_EQ(FormatAddedStatusLine(f.Copies(), 1, 1, StatusMode::Velt, line, sizeof(line)),
              StatusLine::NotListed);
    // A bound beyond the 64 slots of the copy: slot 64 does not exist.
    EXPECT_EQ(
        FormatAddedStatusLine(f.Copies(), 64, 0xFFFFFFFFu, StatusMode::Velt, line, sizeof(line)),
        StatusLine::NotListed);
    EXPECT_EQ(
        FormatAddedStatusLine(f.Copies(), 1, 0xFFFFFFFFu, StatusMode::Velt, line, sizeof(line)),
        StatusLine::Listed);
    // A configured position past the copy.
    EXPECT_EQ(FormatConfiguredStatusLine(f.Copies(), 0, StatusMode::Velt, line, sizeof(line)),
              StatusLine::NotListed);
    EXPECT_EQ(FormatConfiguredStatusLine(f.Copies(), 500, StatusMode::Velt, line, sizeof(line)),
              StatusLine::NotListed);
}

TEST(KorDrvStatusList, BoundShrinkingWhileFillingStopsTheList)
{
    BlockFixture f;
    f.Set({}, {{1, 1, 1, 0, 1, "one", {10, 0, 0, 1}},
               {2, 2, 1, 0, 2, "two", {10, 0, 0, 2}},
               {3, 3, 1, 0, 3, "three", {10, 0, 0, 3}}});
    std::vector<std::string> lines;
    char line[kStatusLineSize];
    for (std::uint32_t s = 0; s < f.Block().added_slot_bound; ++s) {
        if (FormatAddedStatusLine(f.Copies(), s, f.Block().added_slot_bound, StatusMode::Ip, line,
                                  sizeof(line)) != StatusLine::NotListed)
            lines.push_back(line);
        f.Block().added_slot_bound = 2; // the service shrinks the list meanwhile
    }
    EXPECT_EQ(lines, Lines({"CONNECTED\tone @IP:10.0.0.1", "CONNECTED\ttwo @IP:10.0.0.2"}));
}

TEST(KorDrvStatusList, UnterminatedNamesStopAtTheirField)
{
    BlockFixture f;
    f.Set({}, {{1, 999, 1, 255, 255, "", {0, 0, 0, 0}}});
    // The whole name field filled, no terminator; the ip bytes follow it in the entry.
    std::memset(f.Copies().added[0].name, 'N', sizeof(f.Copies().added[0].name));
    f.Copies().added[0].ip[0] = 'X';

    GuardedBuffer line(kStatusLineSize);
    EXPECT_EQ(FormatAddedStatusLine(f.Copies(), 0, 1, StatusMode::Velt, line.Data(), line.Size()),
              StatusLine::HeadMissing);
    const std::string expected = std::string(kRedirectionError) + std::string(138, 'N') +
                                 " (255.255) @IP:" + kRedirectionError;
    EXPECT_EQ(line.Text(), expected);
    EXPECT_LT(expected.size(), kStatusLineSize); // the longest line fits the usual buffer
    EXPECT_TRUE(line.Intact());
}

TEST(KorDrvStatusList, SmallBuffersAreNeverOverrun)
{
    BlockFixture f;
    f.Set({{0, 0, 0, 12, 34, "some-host.example", {172, 16, 254, 1}}}, {});
    char full[kStatusLineSize];
    ASSERT_EQ(FormatConfiguredStatusLine(f.Copies(), 0, StatusMode::Velt, full, sizeof(full)),
              StatusLine::Listed);
    const std::string expected = full;
    ASSERT_EQ(expected, "DISCONNECTED\tsome-host.example (12.34) @IP:172.16.254.1");
    for (std::size_t size = 0; size <= expected.size() + 1; ++size) {
        SCOPED_TRACE(size);
        GuardedBuffer buf(size);
        EXPECT_EQ(FormatConfiguredStatusLine(f.Copies(), 0, StatusMode::Velt, buf.Data(), size),
                  StatusLine::Listed);
        EXPECT_TRUE(buf.Intact());
        if (size > 0) {
            EXPECT_EQ(buf.Text(), expected.substr(0, size - 1));
        }
    }
}

TEST(KorDrvStatusList, Captions)
{
    EXPECT_STREQ(StatusCaption(StatusMode::Ip), "IP Connection Status");
    EXPECT_STREQ(StatusCaption(StatusMode::Velt), "VELT Connection Status");
}

} // namespace
