// The monitor's own log against a real file: name from the block, exclusive open, line
// format, wrap at the size limit, and the Tune page's open of the same file.
#include "kordrv/monitor_log.h"

#include "kordrv/core/kordrv_log.h"
#include "shared/drv_block_ops.h"
#include "win_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace
{
using kordrv::CMonitorLog;

// The log holds its file for itself: close it before reading.
std::string ReadAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class MonitorLogFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::InitializeCriticalSection(&m_lock);
        m_block.reset(new DRV_STATE_BLOCK());
        m_block->instance = 4;
        char dir[MAX_PATH];
        ::GetTempPathA(sizeof(dir), dir);
        m_path = std::string(dir) + "kordrv_log_test.txt";
        ::DeleteFileA(m_path.c_str());
        WriteTextField(m_block->log_file_name, m_path.c_str());
    }
    void TearDown() override
    {
        m_log.Close();
        ::DeleteFileA(m_path.c_str());
        ::DeleteCriticalSection(&m_lock);
    }

    CRITICAL_SECTION m_lock;
    std::unique_ptr<DRV_STATE_BLOCK> m_block;
    std::string m_path;
    CMonitorLog m_log;
};

TEST_F(MonitorLogFile, DefaultNameBecomesTheInstancesWithoutOpening)
{
    struct {
        const char* field;
        const char* expected;
    } const cases[] = {
        {"KORLOG01.TXT", "KORLOG04.TXT"}, {"DRV.LOG", "DRV.LOG"}, {"korlog01.txt", "korlog01.txt"}};
    for (const auto& c : cases) {
        WriteTextField(m_block->log_file_name, c.field);
        CMonitorLog log;
        EXPECT_TRUE(log.OpenMonitorLog(m_block.get(), &m_lock, false)) << c.field;
        EXPECT_FALSE(log.IsOpen());
        EXPECT_STREQ(c.expected, m_block->log_file_name);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA("KORLOG04.TXT"));
}

TEST_F(MonitorLogFile, StartsWithOneLineAndKeepsThePosition)
{
    m_block->log_size_limit = 100000;
    ASSERT_TRUE(m_log.OpenMonitorLog(m_block.get(), &m_lock, true));
    const kordrv::FormatArg args[] = {kordrv::ArgI(1)};
    m_log.WriteLogLine(kordrv::kLogTrayResultFormat, args);
    m_log.Close();
    const std::string text = ReadAll(m_path);
    // "MM/DD/YY-HH:MM:SS KOR Driver : LOG STARTED" CR LF, then the tray line.
    ASSERT_GE(text.size(), 18u + 24u + 2u);
    EXPECT_EQ('/', text[2]);
    EXPECT_EQ('-', text[8]);
    EXPECT_EQ(':', text[11]);
    EXPECT_EQ("KOR Driver : LOG STARTED\r\n", text.substr(18, 26));
    EXPECT_NE(std::string::npos, text.find(" Shell_NotifyIcon ret 1\r\n"));
    EXPECT_EQ(text.size(), m_block->log_position);
}

TEST_F(MonitorLogFile, OpenIsExclusive)
{
    ASSERT_TRUE(m_log.OpenMonitorLog(m_block.get(), &m_lock, true));
    kordrv::LogOpenResult result = kordrv::LogOpenResult::Opened;
    EXPECT_EQ(nullptr, kordrv::OpenLogFileExclusive(m_path.c_str(), &result));
    EXPECT_EQ(kordrv::LogOpenResult::AccessDenied, result);
    // A second monitor log on the same file fails as well.
    CMonitorLog second;
    EXPECT_FALSE(second.OpenMonitorLog(m_block.get(), &m_lock, true));
}

TEST_F(MonitorLogFile, BadNameIsAnOtherFailure)
{
    kordrv::LogOpenResult result = kordrv::LogOpenResult::Opened;
    EXPECT_EQ(nullptr, kordrv::OpenLogFileExclusive("Z:\\no\\such\\folder\\x.txt", &result));
    EXPECT_EQ(kordrv::LogOpenResult::OtherFailure, result);
    WriteTextField(m_block->log_file_name, "Z:\\no\\such\\folder\\x.txt");
    EXPECT_FALSE(m_log.OpenMonitorLog(m_block.get(), &m_lock, true));
    EXPECT_FALSE(m_log.IsOpen());
}

TEST_F(MonitorLogFile, WrapsAtTheLimitWithoutShortening)
{
    // Each line is 18 + 24 characters and CR LF: 44 bytes. A limit of 100 takes two lines.
    m_block->log_size_limit = 100;
    ASSERT_TRUE(m_log.OpenMonitorLog(m_block.get(), &m_lock, true));
    EXPECT_EQ(44u, m_block->log_position);
    m_log.WriteLogLine(kordrv::kLogStopped);
    EXPECT_EQ(88u, m_block->log_position);
    m_log.WriteLogLine("third line is not written");
    EXPECT_EQ(0u, m_block->log_position);
    m_log.WriteLogLine("XXXXXXXXXXXXXXXXXXXXXXXX");
    EXPECT_EQ(44u, m_block->log_position);
    m_log.Close();
    const std::string text = ReadAll(m_path);
    ASSERT_EQ(88u, text.size()); // not shortened
    EXPECT_EQ("XXXXXXXXXXXXXXXXXXXXXXXX\r\n", text.substr(18, 26));
    EXPECT_EQ("KOR Driver : LOG STOPPED\r\n", text.substr(44 + 18, 26));
    EXPECT_EQ(std::string::npos, text.find("third"));
}

TEST_F(MonitorLogFile, LongMessageIsCutAtTheLine)
{
    m_block->log_size_limit = 0; // no limit of its own
    ASSERT_TRUE(m_log.OpenMonitorLog(m_block.get(), &m_lock, true));
    const std::string longText(400, 'y');
    const kordrv::FormatArg args[] = {kordrv::ArgS(longText.c_str())};
    m_log.WriteLogLine(kordrv::kLogErrorFormat, args);
    m_log.Close();
    const std::string text = ReadAll(m_path);
    const size_t second = text.find("\r\n") + 2;
    const size_t end = text.find("\r\n", second);
    ASSERT_NE(std::string::npos, end);
    EXPECT_EQ(kordrv::kLogLineMaxChars, end - second);
    EXPECT_EQ(text.size(), m_block->log_position);
}
} // namespace
