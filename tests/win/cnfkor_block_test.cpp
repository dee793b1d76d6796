// The configuration tool's side of the shared block and the stop-request protocol: a 64-bit
// driver-service stand-in writes, this 32-bit program reads, as the tool does.
#include "driver_instance.h"

#include <iphlpapi.h>

#include <cstring>
#include <vector>

using kortest::DriverInstance;

TEST(ToolBlock, ThirtyTwoBitReaderSeesTheSixtyFourBitWriter)
{
    KOR_REQUIRE_SIM();
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(5, kortest::kScenario));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Global\\KORData05");
    ASSERT_NE(nullptr, mapping);
    auto* b = static_cast<const DRV_STATE_BLOCK*>(
        MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(DRV_STATE_BLOCK)));
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(5, b->instance);
    EXPECT_EQ(kDrvStatusRunning, b->status);
    EXPECT_EQ(12u, b->velt_station);
    EXPECT_EQ(2u, b->handles_opened);
    EXPECT_STREQ("station-host", b->host_name);
    EXPECT_EQ(3u, b->cfg_entry_count);
    EXPECT_EQ(2u, b->added_entry_count);
    EXPECT_STREQ("beta", b->entries[1].name);
    EXPECT_EQ(6u, b->entries[1].station);
    EXPECT_EQ(21u, b->entries[3].link);
    const std::uint8_t ip[4] = {192, 168, 2, 20};
    EXPECT_EQ(0, std::memcmp(ip, b->entries[4].ip, 4));
    std::uint32_t first = LoadShared(b->ip_send_total);
    EXPECT_TRUE(kortest::WaitUntil([&] { return LoadShared(b->ip_send_total) != first; }, 5000));
    UnmapViewOfFile(b);
    CloseHandle(mapping);
}

TEST(ToolBlock, RunningAndHandlesOpened)
{
    KOR_REQUIRE_SIM();
    // A 64-bit Wine prefix: the tool is a 32-bit program on a 64-bit system.
    EXPECT_TRUE(IsWow64System());
    std::uint16_t handles = 0xBEEF;
    EXPECT_FALSE(IsInstanceRunning(5));
    EXPECT_EQ(0, ReadInstanceHandlesOpened(5, &handles));
    EXPECT_EQ(0xBEEF, handles);

    DriverInstance drv;
    ASSERT_TRUE(drv.Start(6, kortest::kScenario));
    EXPECT_TRUE(IsInstanceRunning(5));
    EXPECT_FALSE(IsInstanceRunning(4));
    EXPECT_EQ(1, ReadInstanceHandlesOpened(5, &handles));
    EXPECT_EQ(2, handles); // read at 312, where a 64-bit service puts it

    // Out-of-range profile indexes name no block.
    EXPECT_FALSE(IsInstanceRunning(-2));
    EXPECT_EQ(0, ReadInstanceHandlesOpened(300, &handles));
}

TEST(StopRequest, SetInOneProcessWakesTheWaiterInAnother)
{
    std::string peer = kortest::EnvPath("KOR_PEER64");
    if (peer.empty())
        GTEST_SKIP() << "KOR_PEER64 not set: no 64-bit peer program";
    kortest::ChildProcess waiter;
    ASSERT_TRUE(waiter.Start(peer, "wait-stop 15000"));
    // The event exists once the waiter made it; setting it before the wait starts is kept.
    EXPECT_TRUE(kortest::WaitUntil([&] { return SignalStopRequest(waiter.Pid()); }, 10000));
    EXPECT_EQ(0u, waiter.Wait(10000));
    // Nobody waits under this process's id.
    EXPECT_FALSE(SignalStopRequest(GetCurrentProcessId()));
}

TEST(StopRequest, AcknowledgeNeedsTheServiceEvent)
{
    KOR_REQUIRE_SIM();
    EXPECT_FALSE(SignalStopAck(7));
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(7, kortest::kScenario));
    EXPECT_TRUE(SignalStopAck(7));
}

TEST(ToolBlock, ListenerTableNamesTheInstanceProcess)
{
    KOR_REQUIRE_SIM();
    // Instance 8 listens on base + 40 + 4; with no FirstPort in this prefix the base is 27720.
    DriverInstance drv;
    ASSERT_TRUE(drv.Start(8, kortest::kScenario, ""));
    auto ownerOfPort = [](u_short port) -> DWORD {
        DWORD size = 0;
        GetExtendedTcpTable(nullptr, &size, TRUE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER, 0);
        std::vector<char> buf(size + 1024);
        size = static_cast<DWORD>(buf.size());
        if (GetExtendedTcpTable(buf.data(), &size, TRUE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER,
                                0) != NO_ERROR)
            return 0;
        auto* table = reinterpret_cast<MIB_TCPTABLE_OWNER_PID*>(buf.data());
        for (DWORD i = 0; i < table->dwNumEntries; ++i)
            if (ntohs(static_cast<u_short>(table->table[i].dwLocalPort)) == port)
                return table->table[i].dwOwningPid;
        return 0;
    };
    DWORD owner = 0;
    EXPECT_TRUE(kortest::WaitUntil([&] { return (owner = ownerOfPort(27764)) != 0; }, 5000));
    EXPECT_EQ(drv.Pid(), owner);
}
