// The monitor's side of the shared block against a live driver-service stand-in.
#include "driver_instance.h"

#include <cstring>

using kortest::DriverInstance;

TEST(MonitorBlock, AttachFailsWithoutBlock)
{
    CDriverBlock block;
    ASSERT_FALSE(IsInstanceRunning(7));
    EXPECT_FALSE(block.AttachSharedBlock(8));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, block.LastError());
    EXPECT_EQ(nullptr, block.Block());
    EXPECT_FALSE(block.PostDriverCommand(kDrvCommandCloseAllIp));
}

TEST(MonitorBlock, SeesTheServiceFieldsAndEntryLists)
{
    KOR_REQUIRE_SIM();
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(2, kortest::kScenario));
    CDriverBlock block;
    ASSERT_TRUE(block.AttachSharedBlock(2));
    const DRV_STATE_BLOCK& b = *block.Block();
    EXPECT_EQ(2, b.instance);
    EXPECT_EQ(3u, b.velt_net);
    EXPECT_EQ(12u, b.velt_station);
    EXPECT_EQ(2u, b.handles_opened);
    EXPECT_STREQ("station-host", b.host_name);
    const std::uint8_t ip[4] = {10, 1, 2, 3};
    EXPECT_EQ(0, std::memcmp(ip, b.local_ip, 4));

    // The first snapshot is taken by the attach: 3 configured, 2 added, other slots free.
    const DRV_ENTRY_COPIES& c = block.Copies();
    ASSERT_EQ(3u, c.cfg_count);
    EXPECT_STREQ("gamma", c.cfg[2].name);
    EXPECT_EQ(21u, c.added[0].id);
    EXPECT_EQ(2u, c.added[1].id);
    EXPECT_EQ(0u, c.added[2].id);
    // An id in both lists is found in the added list.
    const DRV_CONN_ENTRY* e = block.FindEntryById(2);
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ("epsilon", e->name);
    EXPECT_EQ(nullptr, block.FindEntryById(99));

    // Counters keep moving while the service runs.
    std::uint32_t first = LoadShared(b.velt_send_total);
    EXPECT_TRUE(kortest::WaitUntil([&] { return LoadShared(b.velt_send_total) != first; }, 5000));
}

TEST(MonitorBlock, CloseAllIpCommandIsAnswered)
{
    KOR_REQUIRE_SIM();
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(3, kortest::kScenario));
    CDriverBlock block;
    ASSERT_TRUE(block.AttachSharedBlock(3));
    ASSERT_TRUE(block.PostDriverCommand(kDrvCommandCloseAllIp));
    EXPECT_EQ(kDrvCommandCloseAllIp, block.Block()->command);
    // Two heads were connected (alpha, delta): the service reports two closed.
    EXPECT_TRUE(kortest::WaitUntil(
        [&] { return LoadShared(block.Block()->command_result) != kDrvCommandPending; }, 10000));
    EXPECT_EQ(2, LoadShared(block.Block()->command_result));
    block.SnapshotEntries();
    EXPECT_EQ(0u, block.Copies().cfg[0].connected);
    EXPECT_EQ(0u, block.Copies().added[0].connected);
}

TEST(MonitorBlock, CountsBeyondTheirLimitsAreCut)
{
    KOR_REQUIRE_SIM();
    // cfg_entry_count (316) = 500, added_entry_count (1380) = 100, added_slot_bound (1384) = 300
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(4, std::string(kortest::kScenario) +
                                 "raw 316 500\nraw 1380 100\nraw 1384 300\n"));
    CDriverBlock block;
    ASSERT_TRUE(block.AttachSharedBlock(4));
    EXPECT_FALSE(block.SnapshotEntries());
    EXPECT_EQ(kDrvMaxEntries, block.Copies().cfg_count);
    // Nothing is left of the 128 entries for the added list; a search never leaves the copies.
    EXPECT_EQ(0u, block.Copies().added[0].id);
    EXPECT_EQ(nullptr, block.FindEntryById(0xDEADBEEF));
    const DRV_CONN_ENTRY* e = block.FindEntryById(2);
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ("gamma", e->name);
}
