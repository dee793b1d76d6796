// Arithmetic and decisions of the Tune page: refresh-period slider, log fill level, the log
// button, and the wait for the answer to a connection reset.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kordrv
{

// --- Refresh period slider ---------------------------------------------------------------------

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 1000;
constexpr int kSliderTick = 100;

// Period stored when the thumb is released at `thumbPosition`: the nearest multiple of 100
// (50 and more go up), within 0..1000.
std::uint32_t RoundRefreshPeriod(int thumbPosition);

// Slider position showing a `refresh_period_ms` read from the block: the value, within
// 0..1000.
int SliderPositionForPeriod(std::uint32_t refreshPeriodMs);

// --- Log fill level ----------------------------------------------------------------------------

// Progress bar position 0..100 for the log at `position` bytes of `limit`: whole percent,
// truncated; a log that is not empty shows at least 1; a position past the limit shows 100.
// A limit of 0 counts as the largest 32-bit size, as for the log writer (no limit of its own):
// an empty log shows 0, any other 1 until it reaches 1 % of 4 GB.
unsigned LogProgressPercent(std::uint32_t position, std::uint32_t limit);

// --- Log button --------------------------------------------------------------------------------

// How opening the log file for writing (created or truncated, for this process alone) went.
enum class LogOpenResult { Opened, AccessDenied, OtherFailure };

struct LogButtonOutcome {
    bool logSwitch;     // new `log_switch`: non-zero when true
    bool resetPosition; // `log_position` := 0
    unsigned captionId; // IDS_START_LOG or IDS_STOP_LOG
    bool showOpenError; // show IDS_LOG_FILE_ERROR
};

// The button pressed while `log_switch` is `switchOn`. When it is on, logging stops (the open
// result is not looked at: the caller opens nothing). When it is off, the caller has tried to
// open `log_file_name` and closed it again: success or a file held elsewhere turn logging on;
// any other failure keeps it off and shows the open error.
LogButtonOutcome PressLogButton(bool switchOn, LogOpenResult openResult);

// Caption of the log button when the page opens: "Stop Log" while the monitor's own log is open.
unsigned LogButtonCaptionId(bool monitorLogOpen);

// --- Reset of all IP connections ---------------------------------------------------------------

constexpr std::uint32_t kResetFirstWaitMs = 500; // before the first poll of `command_result`
constexpr std::uint32_t kResetPollMs = 100;      // between polls
constexpr std::uint32_t kResetMaxWaitMs = 20000; // polls stop once more than this was waited

constexpr char kResetQuestion[] =
    "This will close all active IP connections.\nDo you wish to continue ?";
constexpr char kResetResultFormat[] = "Number of active connections closed : %u.";

// After a poll that read `result` and a total of `waitedMs` waited in the poll loop (the first
// 500 ms not counted): true when the wait is over.
bool ResetWaitDone(std::int32_t result, std::uint32_t waitedMs);

// The result box: `format` (kResetResultFormat) with `command_result` as an unsigned number, so
// the pending value -1 left by a time-out reads 4294967295. True when the text fitted.
bool FormatResetResult(char* buf, std::size_t size, const char* format, std::int32_t result);

} // namespace kordrv
