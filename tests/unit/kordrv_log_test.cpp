// The monitor's log: line format, the 128-character line, the wrap at the size limit, the
// instance's file name.
#include "kordrv/core/kordrv_log.h"
#include "kordrv/core/kordrv_status_list.h"

#include "kordrv_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace kordrv;
using kordrv_test::GuardedBuffer;

namespace
{

const LogTime kJune15 = {2010, 6, 15, 14, 3, 7};

std::string Line(const LogTime& t, const char* format, std::vector<FormatArg> args = {})
{
    char buf[kLogLineSize];
    const std::size_t len = FormatLogLine(buf, sizeof(buf), t, format, args.data(), args.size());
    EXPECT_EQ(len, std::strlen(buf));
    return buf;
}

TEST(KorDrvLog, LineFormat)
{
    EXPECT_EQ(Line(kJune15, kLogStarted), "06/15/10-14:03:07 KOR Driver : LOG STARTED");
    EXPECT_EQ(Line({2000, 1, 2, 0, 0, 0}, kLogStopped),
              "01/02/00-00:00:00 KOR Driver : LOG STOPPED");
    EXPECT_EQ(Line({1999, 12, 31, 23, 59, 59}, "x"), "12/31/99-23:59:59 x");
    EXPECT_EQ(Line(kJune15, kLogTrayResultFormat, {ArgI(1)}),
              "06/15/10-14:03:07 Shell_NotifyIcon ret 1");
    EXPECT_EQ(Line(kJune15, kLogTrayResultFormat, {ArgI(0)}),
              "06/15/10-14:03:07 Shell_NotifyIcon ret 0");
    EXPECT_EQ(Line(kJune15, kLogErrorFormat, {ArgS(kRedirectionNotFound)}),
              "06/15/10-14:03:07 Error: Redirection could not be found");
}

TEST(KorDrvLog, PrefixAlwaysHasEighteenCharacters)
{
    // Out-of-range clock values cannot stretch the prefix.
    const std::string line = Line({12345, 123, 456, 789, 100, 61}, "m");
    EXPECT_EQ(line, "23/56/45-89:00:61 m");
    EXPECT_EQ(line.size(), kLogPrefixChars + 1);
}

TEST(KorDrvLog, PlainMessageIsTakenAsItStands)
{
    char buf[kLogLineSize];
    const std::size_t len = FormatLogLine(buf, sizeof(buf), kJune15, "100% %s %d");
    EXPECT_STREQ(buf, "06/15/10-14:03:07 100% %s %d");
    EXPECT_EQ(len, std::strlen(buf));
}

TEST(KorDrvLog, LongMessageIsCutAt128Characters)
{
    std::string message;
    for (int i = 0; i < 300; ++i)
        message += static_cast<char>('a' + i % 26);
    const std::string full = "06/15/10-14:03:07 " + message;

    // Buffers of every size around the line size: never written past, always terminated.
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{17}, std::size_t{19}, std::size_t{64},
          std::size_t{128}, kLogLineSize, std::size_t{130}, std::size_t{400}}) {
        SCOPED_TRACE(size);
        GuardedBuffer plain(size);
        const std::size_t len = FormatLogLine(plain.Data(), size, kJune15, message.c_str());
        EXPECT_TRUE(plain.Intact());
        const std::size_t expectLen = size == 0 ? 0 : std::min(size - 1, kLogLineMaxChars);
        EXPECT_EQ(len, expectLen);
        if (size > 0) {
            ASSERT_TRUE(plain.Terminated());
            EXPECT_EQ(plain.Text(), full.substr(0, expectLen));
        }

        GuardedBuffer formatted(size);
        const FormatArg args[] = {ArgS(message.c_str())};
        EXPECT_EQ(FormatLogLine(formatted.Data(), size, kJune15, kLogErrorFormat, args, 1),
                  size == 0 ? 0 : std::min(size - 1, kLogLineMaxChars));
        EXPECT_TRUE(formatted.Intact());
    }
}

struct WrapCase {
    const char* what;
    std::uint32_t position;
    std::size_t lineLength;
    std::uint32_t limit;
    LogWrite expected;
};

const WrapCase kWrapCases[] = {
    {"1000 / 990: does not fit", 990, 42, 1000, LogWrite::Rewind},
    {"empty file", 0, 42, 1000, LogWrite::Write},
    {"fills the limit exactly, line end included", 958, 40, 1000, LogWrite::Write},
    {"one byte over with its line end", 959, 40, 1000, LogWrite::Rewind},
    {"line longer than the limit", 0, 60, 50, LogWrite::Rewind},
    {"position already past the limit", 5000, 20, 1000, LogWrite::Rewind},
    {"limit 0: no limit of its own", 5000000, 60, 0, LogWrite::Write},
    {"limit 0: the position field is full", 0xFFFFFFF0u, 60, 0, LogWrite::Rewind},
    {"sum beyond 32 bits does not wrap", 0xFFFFFFF0u, 60, 0xFFFFFFFFu, LogWrite::Rewind},
    {"large position that fits", 4294967200u, 40, 0xFFFFFFFFu, LogWrite::Write},
};

TEST(KorDrvLog, WrapDecision)
{
    for (const WrapCase& c : kWrapCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecideLogWrite(c.position, c.lineLength, c.limit), c.expected);
        const std::uint32_t after = LogPositionAfter(c.position, c.lineLength, c.limit);
        if (c.expected == LogWrite::Rewind) {
            EXPECT_EQ(after, 0u);
        } else {
            EXPECT_EQ(after, c.position + c.lineLength + kLogLineEndBytes);
        }
    }
}

// A log file as the writer treats it: text mode (CR LF), rewound at the limit, never shortened.
class LogFileModel
{
public:
    explicit LogFileModel(std::uint32_t limit, std::uint32_t position = 0)
        : m_limit(limit), m_position(position), m_file(position, '.')
    {
    }

    // Returns true when the line was written.
    bool WriteLine(const std::string& line)
    {
        const std::uint32_t expected = LogPositionAfter(m_position, line.size(), m_limit);
        if (DecideLogWrite(m_position, line.size(), m_limit) == LogWrite::Rewind) {
            m_position = 0;
            EXPECT_EQ(expected, 0u);
            return false;
        }
        const std::string bytes = line + "\r\n";
        if (m_file.size() < m_position + bytes.size())
            m_file.resize(m_position + bytes.size());
        m_file.replace(m_position, bytes.size(), bytes);
        m_position += static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(m_position, expected);
        return true;
    }

    std::uint32_t Position() const { return m_position; }
    const std::string& File() const { return m_file; }

private:
    std::uint32_t m_limit;
    std::uint32_t m_position;
    std::string m_file;
};

TEST(KorDrvLog, WrapsToTheStartAndOverwritesOldLines)
{
    // 1000 / 990: the next line is dropped and the position becomes 0; the one after that is
    // written at the start of the file, over the old content.
    LogFileModel log(1000, 990);
    EXPECT_FALSE(log.WriteLine(Line(kJune15, kLogTrayResultFormat, {ArgI(1)})));
    EXPECT_EQ(log.Position(), 0u);

    const std::string next = Line(kJune15, kLogStopped);
    EXPECT_TRUE(log.WriteLine(next));
    EXPECT_EQ(log.Position(), next.size() + 2);
    EXPECT_EQ(log.File().substr(0, next.size() + 2), next + "\r\n");
    EXPECT_EQ(log.File().size(), 990u); // not shortened
}

TEST(KorDrvLog, FileNeverGrowsPastTheLimit)
{
    for (std::uint32_t limit : {100u, 250u, 1000u, 4096u}) {
        SCOPED_TRACE(limit);
        LogFileModel log(limit);
        int written = 0;
        int dropped = 0;
        for (int i = 0; i < 500; ++i) {
            const std::string line = Line(kJune15, "line %u", {ArgU(static_cast<unsigned>(i))});
            (log.WriteLine(line) ? written : dropped)++;
            ASSERT_LE(log.File().size(), limit);
        }
        EXPECT_GT(written, dropped); // it wraps, and keeps writing after each wrap
        EXPECT_GT(dropped, 0);
    }
}

TEST(KorDrvLog, LimitZeroKeepsWriting)
{
    LogFileModel log(0);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(log.WriteLine(Line(kJune15, kLogStarted)));
    EXPECT_EQ(log.Position(), 50u * (kLogPrefixChars + std::strlen(kLogStarted) + 2));
}

struct NameCase {
    const char* what;
    const char* before;
    int instance;
    bool changed;
    const char* after;
};

const NameCase kNameCases[] = {
    {"instance 4", "KORLOG01.TXT", 4, true, "KORLOG04.TXT"},
    {"instance 3", "KORLOG01.TXT", 3, true, "KORLOG03.TXT"},
    {"instance 9", "KORLOG01.TXT", 9, true, "KORLOG09.TXT"},
    {"instance 1", "KORLOG01.TXT", 1, true, "KORLOG01.TXT"},
    {"instance 0", "KORLOG01.TXT", 0, true, "KORLOG00.TXT"},
    {"another name stays", "DRV.LOG", 4, false, "DRV.LOG"},
    {"another instance's name stays", "KORLOG02.TXT", 4, false, "KORLOG02.TXT"},
    {"exact match only: case", "korlog01.txt", 4, false, "korlog01.txt"},
    {"exact match only: longer", "KORLOG01.TXT.bak", 4, false, "KORLOG01.TXT.bak"},
    {"exact match only: path", "C:\\KORLOG01.TXT", 4, false, "C:\\KORLOG01.TXT"},
    {"empty", "", 4, false, ""},
    {"instance 10 has no digit", "KORLOG01.TXT", 10, false, "KORLOG01.TXT"},
    {"negative instance", "KORLOG01.TXT", -1, false, "KORLOG01.TXT"},
};

TEST(KorDrvLog, InstanceLogName)
{
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(c.what);
        char field[256];
        std::memset(field, 'Z', sizeof(field));
        std::strcpy(field, c.before);
        EXPECT_EQ(ApplyInstanceLogName(field, c.instance), c.changed);
        EXPECT_STREQ(field, c.after);
    }
}

TEST(KorDrvLog, InstanceLogNameDoesNotTrustTheFieldTerminator)
{
    // A field exactly as long as the default name, without room for a terminator, on the heap
    // so that any read past it is caught.
    const std::size_t len = std::strlen(kDefaultLogFileName);
    std::unique_ptr<char[]> field(new char[len]);
    std::memcpy(field.get(), kDefaultLogFileName, len);
    EXPECT_FALSE(ApplyInstanceLogName(field.get(), len, 4));
    EXPECT_EQ(std::string(field.get(), len), "KORLOG01.TXT");

    // A terminator right after the name is enough.
    std::unique_ptr<char[]> fits(new char[len + 1]);
    std::memcpy(fits.get(), kDefaultLogFileName, len + 1);
    EXPECT_TRUE(ApplyInstanceLogName(fits.get(), len + 1, 4));
    EXPECT_STREQ(fits.get(), "KORLOG04.TXT");

    EXPECT_FALSE(ApplyInstanceLogName(nullptr, 256, 4));
}

} // namespace
