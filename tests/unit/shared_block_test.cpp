// Reading the shared state block: entry snapshot, head lookup, text fields, countdown, the
// tool's view, status messages, version record.
#include "shared/drv_block_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

// A block on the heap, exactly its size, so that the sanitizer sees any read past its end.
std::unique_ptr<DRV_STATE_BLOCK> NewBlock()
{
    return std::unique_ptr<DRV_STATE_BLOCK>(new DRV_STATE_BLOCK());
}

// Copies filled with garbage, as a previous snapshot of another block could have left them.
std::unique_ptr<DRV_ENTRY_COPIES> NewDirtyCopies()
{
    std::unique_ptr<DRV_ENTRY_COPIES> copies(new DRV_ENTRY_COPIES());
    std::memset(copies.get(), 0xEE, sizeof(*copies));
    return copies;
}

// --- SnapshotEntries ---------------------------------------------------------------------------

struct SnapshotCase {
    const char* what;
    std::uint32_t cfgCount;
    std::uint32_t addedCount;
    std::uint32_t expectCfg;
    std::uint32_t expectAdded;
};

const SnapshotCase kSnapshotCases[] = {
    {"empty", 0, 0, 0, 0},
    {"3 configured, 2 added", 3, 2, 3, 2},
    {"128 configured", 128, 0, 128, 0},
    {"64 + 64", 64, 64, 64, 64},
    {"127 + 1", 127, 1, 127, 1},
    {"added only, 64", 0, 64, 0, 64},
    {"added beyond its 64 slots", 0, 65, 0, 64},
    {"added beyond what is left of 128", 100, 64, 100, 28},
    {"configured beyond 128", 200, 5, 128, 0},
    {"both all bits set", 0xFFFFFFFFu, 0xFFFFFFFFu, 128, 0},
};

TEST(SharedBlock, SnapshotCopiesListsAndCutsCountsBeyondLimits)
{
    auto block = NewBlock();
    for (std::uint32_t i = 0; i < kDrvMaxEntries; ++i) {
        block->entries[i].id = 1000 + i;
        block->entries[i].link = i;
    }
    for (const SnapshotCase& c : kSnapshotCases) {
        SCOPED_TRACE(c.what);
        block->cfg_entry_count = c.cfgCount;
        block->added_entry_count = c.addedCount;
        auto copies = NewDirtyCopies();

        const bool within = SnapshotEntries(*block, copies.get());

        EXPECT_EQ(within, c.cfgCount == c.expectCfg && c.addedCount == c.expectAdded);
        ASSERT_EQ(copies->cfg_count, c.expectCfg);
        for (std::uint32_t i = 0; i < kDrvMaxEntries; ++i)
            EXPECT_EQ(copies->cfg[i].id, i < c.expectCfg ? 1000 + i : 0u) << "cfg " << i;
        for (std::uint32_t s = 0; s < kDrvMaxAddedSlots; ++s) {
            EXPECT_EQ(copies->added[s].id, s < c.expectAdded ? 1000 + c.expectCfg + s : 0u)
                << "added slot " << s;
        }
    }
}

TEST(SharedBlock, SnapshotCopiesWholeEntries)
{
    auto block = NewBlock();
    block->cfg_entry_count = 1;
    block->added_entry_count = 1;
    std::memset(&block->entries[0], 0x5A, sizeof(DRV_CONN_ENTRY));
    std::memset(&block->entries[1], 0x3C, sizeof(DRV_CONN_ENTRY));
    auto copies = NewDirtyCopies();

    ASSERT_TRUE(SnapshotEntries(*block, copies.get()));
    EXPECT_EQ(std::memcmp(&copies->cfg[0], &block->entries[0], sizeof(DRV_CONN_ENTRY)), 0);
    EXPECT_EQ(std::memcmp(&copies->added[0], &block->entries[1], sizeof(DRV_CONN_ENTRY)), 0);
}

// --- FindEntryById, FindConfiguredHead ---------------------------------------------------------

enum class Where { None, Added, Cfg };

struct FindCase {
    const char* what;
    std::uint32_t cfgCount; // as the copies hold it (a caller may hand in anything)
    std::uint32_t slotBound;
    std::uint32_t id;
    Where where;
    std::uint32_t index;
};

// Configured ids {4, 1, 2, 7, 0}; added slots: 0 -> 5, 1 free, 2 -> 7, 63 -> 9.
std::unique_ptr<DRV_ENTRY_COPIES> FindCopies(std::uint32_t cfgCount)
{
    std::unique_ptr<DRV_ENTRY_COPIES> copies(new DRV_ENTRY_COPIES());
    const std::uint32_t cfgIds[] = {4, 1, 2, 7, 0};
    for (std::uint32_t i = 0; i < 5; ++i)
        copies->cfg[i].id = cfgIds[i];
    copies->cfg_count = cfgCount;
    copies->added[0].id = 5;
    copies->added[1].link = 7; // free slot: id 0
    copies->added[2].id = 7;
    copies->added[63].id = 9;
    return copies;
}

const FindCase kFindCases[] = {
    {"in both lists: the added one", 5, 3, 7, Where::Added, 2},
    {"added slot beyond the bound: the configured one", 5, 2, 7, Where::Cfg, 3},
    {"configured only", 5, 64, 1, Where::Cfg, 1},
    {"added only, bound 0", 5, 0, 5, Where::None, 0},
    {"free added slots never match id 0", 5, 64, 0, Where::Cfg, 4},
    {"id 0 outside the configured count", 4, 64, 0, Where::None, 0},
    {"last slot inside bound 64", 5, 64, 9, Where::Added, 63},
    {"last slot, bound 63", 5, 63, 9, Where::None, 0},
    {"bound beyond 64 is cut", 5, 0xFFFFFFFFu, 9, Where::Added, 63},
    {"unknown id", 5, 64, 42, Where::None, 0},
    {"unknown id, bound beyond 64", 5, 0xFFFFFFFFu, 42, Where::None, 0},
    // A configured count beyond 128 must not walk into the added slots (or past the copies).
    {"configured count beyond 128", 0xFFFFFFFFu, 0, 9, Where::None, 0},
};

TEST(SharedBlock, FindEntryByIdLooksInAddedSlotsFirst)
{
    for (const FindCase& c : kFindCases) {
        SCOPED_TRACE(c.what);
        auto copies = FindCopies(c.cfgCount);
        const DRV_CONN_ENTRY* expected = nullptr;
        if (c.where == Where::Added)
            expected = &copies->added[c.index];
        else if (c.where == Where::Cfg)
            expected = &copies->cfg[c.index];
        EXPECT_EQ(FindEntryById(*copies, c.slotBound, c.id), expected);
    }
}

TEST(SharedBlock, ConfiguredHeadIsAtPositionLinkWhenThatIsAPosition)
{
    struct {
        std::uint32_t cfgCount;
        std::uint32_t link;
        bool found;
    } const cases[] = {
        {3, 0, true},  {3, 2, true},     {3, 3, false},     {3, 0xFFFFFFFFu, false},
        {0, 0, false}, {128, 127, true}, {500, 130, false}, // count beyond 128 is cut
    };
    for (const auto& c : cases) {
        std::unique_ptr<DRV_ENTRY_COPIES> copies(new DRV_ENTRY_COPIES());
        copies->cfg_count = c.cfgCount;
        DRV_CONN_ENTRY entry{};
        entry.link = c.link;
        EXPECT_EQ(FindConfiguredHead(*copies, entry), c.found ? &copies->cfg[c.link] : nullptr)
            << "count " << c.cfgCount << " link " << c.link;
    }
}

// --- Text fields -------------------------------------------------------------------------------

constexpr char kCanary = static_cast<char>(0xA5);

struct ReadTextCase {
    const char* what;
    const char* field; // fieldSize bytes, terminator or not
    std::size_t fieldSize;
    std::size_t outSize;
    const char* expected;
    bool whole;
};

const ReadTextCase kReadTextCases[] = {
    {"terminated", "abc\0zzzz", 8, 16, "abc", true},
    {"unterminated, room for all", "abcdefgh", 8, 9, "abcdefgh", true},
    {"unterminated, out too small", "abcdefgh", 8, 5, "abcd", false},
    {"terminated, exact room", "abc\0zzzz", 8, 4, "abc", true},
    {"terminated, one short", "abc\0zzzz", 8, 3, "ab", false},
    {"room for the terminator only", "abcdefgh", 8, 1, "", false},
    {"empty text", "\0bcdefgh", 8, 1, "", true},
    {"empty field", "", 0, 4, "", true},
};

TEST(SharedBlock, ReadTextFieldStaysInsideFieldAndOutput)
{
    for (const ReadTextCase& c : kReadTextCases) {
        SCOPED_TRACE(c.what);
        // The field alone on the heap: a read past its end is caught by the sanitizer.
        std::vector<char> field(c.field, c.field + c.fieldSize);
        char out[32];
        std::memset(out, kCanary, sizeof(out));

        EXPECT_EQ(ReadTextField(field.data(), field.size(), out, c.outSize), c.whole);
        EXPECT_STREQ(out, c.expected);
        for (std::size_t i = c.outSize; i < sizeof(out); ++i)
            ASSERT_EQ(out[i], kCanary) << "byte " << i;
    }
}

TEST(SharedBlock, UnterminatedEntryNameAndHostNameReadWhole)
{
    auto block = NewBlock();
    std::memset(block->host_name, 'h', sizeof(block->host_name));
    std::memset(block->local_ip, 'X', sizeof(block->local_ip)); // what an overread would take
    DRV_CONN_ENTRY& entry = block->entries[0];
    std::memset(entry.name, 'n', sizeof(entry.name));
    std::memset(entry.ip, 0xFF, sizeof(entry.ip));

    char host[sizeof(block->host_name) + 1];
    EXPECT_TRUE(ReadTextField(block->host_name, host));
    EXPECT_EQ(std::strlen(host), sizeof(block->host_name));

    char name[sizeof(entry.name) + 1];
    EXPECT_TRUE(ReadTextField(entry.name, name));
    EXPECT_EQ(std::string(name), std::string(sizeof(entry.name), 'n'));
}

TEST(SharedBlock, WriteTextFieldTerminatesAndClearsTheRest)
{
    struct {
        const char* text;
        const char* expected;
        bool whole;
    } const cases[] = {
        {"abc", "abc", true},
        {"abcdefg", "abcdefg", true},   // exactly fills the 8-byte field
        {"abcdefgh", "abcdefg", false}, // one too long
        {"", "", true},
        {nullptr, "", false},
    };
    for (const auto& c : cases) {
        char buf[12];
        std::memset(buf, kCanary, sizeof(buf));
        EXPECT_EQ(WriteTextField(buf, 8, c.text), c.whole) << c.expected;
        EXPECT_STREQ(buf, c.expected);
        for (std::size_t i = std::strlen(c.expected); i < 8; ++i)
            EXPECT_EQ(buf[i], '\0') << c.expected << " byte " << i;
        for (std::size_t i = 8; i < sizeof(buf); ++i)
            EXPECT_EQ(buf[i], kCanary) << c.expected << " byte " << i;
    }
}

// --- Refresh period and countdown --------------------------------------------------------------

TEST(SharedBlock, EffectiveRefreshPeriodKeptWithin100And1000)
{
    const std::uint32_t cases[][2] = {{0, 100},     {99, 100},    {100, 100},         {500, 500},
                                      {1000, 1000}, {1001, 1000}, {0xFFFFFFFFu, 1000}};
    for (const auto& c : cases)
        EXPECT_EQ(EffectiveRefreshPeriod(c[0]), c[1]) << c[0];
}

TEST(SharedBlock, CountdownStep)
{
    struct {
        std::int32_t countdown;
        std::uint32_t period;
        std::int32_t expected;
    } const cases[] = {
        {150, 100, 50},   {50, 100, 0},         {100, 100, 0},
        {0, 100, 0},      {150, 0, 50},         // a period below 100 counts as 100
        {1000, 300, 700}, {5000, 100000, 4000}, // a period beyond 1000 counts as 1000
        {-5, 100, 0},     {INT32_MIN, 100, 0},  {INT32_MAX, 0xFFFFFFFFu, INT32_MAX - 1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountdownStep(c.countdown, c.period), c.expected)
            << c.countdown << " - " << c.period;
    }
}

TEST(SharedBlock, RunCountdownRunsTheBlockDownToZero)
{
    auto block = NewBlock();
    block->refresh_period_ms = 0;
    block->countdown_ms = 150;
    EXPECT_EQ(RunCountdown(block.get()), 100u);
    EXPECT_EQ(block->countdown_ms, 50);
    EXPECT_EQ(RunCountdown(block.get()), 100u);
    EXPECT_EQ(block->countdown_ms, 0);
    block->refresh_period_ms = 700;
    EXPECT_EQ(RunCountdown(block.get()), 700u);
    EXPECT_EQ(block->countdown_ms, 0);
}

// --- The tool's view ---------------------------------------------------------------------------

TEST(SharedBlock, ToolReadsHandlesOpenedWhereTheSystemPutsIt)
{
    struct {
        bool system64;
        std::size_t viewSize;
        bool ok;
        std::uint16_t expected;
    } const cases[] = {
        {true, 1400, true, 0x0102}, {false, 1392, true, 0x0005}, {true, 314, true, 0x0102},
        {true, 313, false, 0xBEEF}, {false, 309, false, 0xBEEF}, {false, 0, false, 0xBEEF},
    };
    std::vector<unsigned char> head(1400, 0);
    head[308] = 0x05; // 32-bit system: field at 308, little-endian
    head[312] = 0x02; // 64-bit system: field at 312
    head[313] = 0x01;
    for (const auto& c : cases) {
        // The view alone on the heap, exactly as long as mapped.
        std::vector<unsigned char> view(head.begin(), head.begin() + c.viewSize);
        std::uint16_t value = 0xBEEF;
        EXPECT_EQ(ReadHandlesOpened(view.data(), view.size(), c.system64, &value), c.ok)
            << c.system64 << " " << c.viewSize;
        EXPECT_EQ(value, c.expected) << c.system64 << " " << c.viewSize;
    }
}

// --- Status and version ------------------------------------------------------------------------

TEST(SharedBlock, StatusMessageIds)
{
    const std::uint32_t cases[][2] = {
        {0, 0},    {1, 0},    {2, 104},  {3, 114},  {4, 101},  {10, 101}, {11, 105},
        {12, 113}, {13, 108}, {14, 110}, {15, 109}, {16, 123}, {17, 107}, {0xFFFFFFFFu, 107},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DriverStatusMessageId(c[0]), c[1]) << "status " << c[0];
}

TEST(SharedBlock, VersionInfoFromFileVersion)
{
    struct {
        std::uint32_t ms, ls, flags;
        DRV_VERSION_INFO expected;
    } const cases[] = {
        {0x00030002u, 0x000C000Cu, 0x0u, {3, 2, 12, 12, 0, 0}},
        {0x00010000u, 0x00000007u, 0x1u, {1, 0, 0, 7, 1, 0}},
        {0xFFFF0001u, 0x0002FFFFu, 0x2u, {0xFFFF, 1, 2, 0xFFFF, 0, 1}},
        {0x00000000u, 0x00000000u, 0x3Fu, {0, 0, 0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        const DRV_VERSION_INFO v = MakeVersionInfo(c.ms, c.ls, c.flags);
        SCOPED_TRACE(testing::Message() << std::hex << c.ms << " " << c.ls << " " << c.flags);
        EXPECT_EQ(v.major, c.expected.major);
        EXPECT_EQ(v.minor, c.expected.minor);
        EXPECT_EQ(v.release, c.expected.release);
        EXPECT_EQ(v.build, c.expected.build);
        EXPECT_EQ(v.is_debug, c.expected.is_debug);
        EXPECT_EQ(v.is_prerelease, c.expected.is_prerelease);
    }
}

} // namespace
