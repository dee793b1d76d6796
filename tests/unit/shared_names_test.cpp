// Object names, window title and the driver-state notification.
#include "shared/drv_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace
{

constexpr char kCanary = static_cast<char>(0xA5);
constexpr std::size_t kBufSize = 64;

using NameFn = bool (*)(char*, std::size_t, std::int64_t);

bool Mapping(char* b, std::size_t s, std::int64_t v)
{
    return FormatMappingName(b, s, static_cast<int>(v));
}
bool Exchange(char* b, std::size_t s, std::int64_t v)
{
    return FormatExchangeEventName(b, s, static_cast<int>(v));
}
bool StopRequest(char* b, std::size_t s, std::int64_t v)
{
    return FormatStopRequestEventName(b, s, static_cast<std::uint32_t>(v));
}
bool StopAck(char* b, std::size_t s, std::int64_t v)
{
    return FormatStopAckEventName(b, s, static_cast<int>(v));
}
bool Title(char* b, std::size_t s, std::int64_t v)
{
    return FormatMonitorTitle(b, s, static_cast<int>(v));
}

struct NameCase {
    const char* what;
    NameFn fn;
    std::int64_t number;
    const char* expected; // nullptr: the number is refused
};

const NameCase kNameCases[] = {
    {"mapping 1", Mapping, 1, "Global\\KORData01"},
    {"mapping 9", Mapping, 9, "Global\\KORData09"},
    {"mapping 0", Mapping, 0, "Global\\KORData00"},
    {"mapping 10", Mapping, 10, "Global\\KORData0A"},
    {"mapping 255", Mapping, 255, "Global\\KORDataFF"},
    {"mapping 256", Mapping, 256, nullptr},
    {"mapping -1", Mapping, -1, nullptr},
    {"exchange 1", Exchange, 1, "Global\\KOREVENTEXCHANGE01"},
    {"exchange 0x1A", Exchange, 0x1A, "Global\\KOREVENTEXCHANGE1A"},
    {"exchange -56", Exchange, -56, nullptr},
    {"stop request pid 1234", StopRequest, 1234, "Global\\KorIhm1234"},
    {"stop request pid 0", StopRequest, 0, "Global\\KorIhm0"},
    {"stop request pid max", StopRequest, 4294967295LL, "Global\\KorIhm4294967295"},
    {"stop ack 1", StopAck, 1, "Global\\KOR_EVENTIN_01"},
    {"stop ack 9", StopAck, 9, "Global\\KOR_EVENTIN_09"},
    {"stop ack 10", StopAck, 10, nullptr},
    {"stop ack -1", StopAck, -1, nullptr},
    {"title 2", Title, 2, "KOR Driver - KOR02"},
    {"title 0", Title, 0, "KOR Driver - KOR00"},
    {"title 10", Title, 10, nullptr},
};

// Bytes from `from` to the end of the buffer still hold the canary.
bool CanaryIntact(const char* buf, std::size_t from)
{
    for (std::size_t i = from; i < kBufSize; ++i) {
        if (buf[i] != kCanary)
            return false;
    }
    return true;
}

TEST(SharedNames, FormatsNamesAndRefusesNumbersOutOfRange)
{
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(c.what);
        char buf[kBufSize];
        std::memset(buf, kCanary, sizeof(buf));
        const bool ok = c.fn(buf, sizeof(buf), c.number);
        if (c.expected) {
            ASSERT_TRUE(ok);
            EXPECT_STREQ(buf, c.expected);
            EXPECT_TRUE(CanaryIntact(buf, std::strlen(c.expected) + 1));
        } else {
            EXPECT_FALSE(ok);
            EXPECT_STREQ(buf, "");
            EXPECT_TRUE(CanaryIntact(buf, 1));
        }
    }
}

// Every name in a buffer of exactly its length + 1 fits; one byte less fails, leaves an empty
// string, and writes nothing past the size given.
TEST(SharedNames, BufferSizeEdgesNeverOverrun)
{
    for (const NameCase& c : kNameCases) {
        if (!c.expected)
            continue;
        SCOPED_TRACE(c.what);
        const std::size_t need = std::strlen(c.expected) + 1;
        char buf[kBufSize];

        std::memset(buf, kCanary, sizeof(buf));
        ASSERT_TRUE(c.fn(buf, need, c.number));
        EXPECT_STREQ(buf, c.expected);
        EXPECT_TRUE(CanaryIntact(buf, need));

        for (std::size_t size : {need - 1, std::size_t{1}}) {
            std::memset(buf, kCanary, sizeof(buf));
            EXPECT_FALSE(c.fn(buf, size, c.number)) << "size " << size;
            EXPECT_EQ(buf[0], '\0') << "size " << size;
            EXPECT_TRUE(CanaryIntact(buf, size)) << "size " << size;
        }

        std::memset(buf, kCanary, sizeof(buf));
        EXPECT_FALSE(c.fn(buf, 0, c.number));
        EXPECT_TRUE(CanaryIntact(buf, 0));
        EXPECT_FALSE(c.fn(nullptr, need, c.number));
    }
}

TEST(SharedNames, DriverStateNotification)
{
    struct {
        int instance;
        std::uint32_t wParam;
    } const cases[] = {{1, 0x0001FFFFu}, {9, 0x0009FFFFu}, {0, 0x0000FFFFu}};
    for (const auto& c : cases) {
        EXPECT_EQ(MakeDrvNotifyWParam(c.instance), c.wParam) << c.instance;
        int instance = -1;
        ASSERT_TRUE(ParseDrvNotifyWParam(c.wParam, &instance)) << c.instance;
        EXPECT_EQ(instance, c.instance);
    }
    // Other command ids are not notifications, and leave the instance alone.
    for (std::uint32_t wParam : {0x0001FFFEu, 0x00010000u, 0xFFFF0001u}) {
        int instance = -1;
        EXPECT_FALSE(ParseDrvNotifyWParam(wParam, &instance)) << std::hex << wParam;
        EXPECT_EQ(instance, -1);
    }
}

} // namespace
