// The monitor's own log file: its name, the line format and the wrap at the size limit the
// block publishes. The file itself (exclusive open, flush, rewind, position) is the caller's;
// the date and time come in as values, so a line is the same whenever it is built.
//
// A line is "MM/DD/YY-HH:MM:SS message", at most 128 characters without its line end; the
// file is written in text mode, so each line ends with CR LF.
#pragma once

#include "kordrv/core/kordrv_format.h"

#include <cstddef>
#include <cstdint>

namespace kordrv
{

constexpr std::size_t kLogLineMaxChars = 128;
constexpr std::size_t kLogLineSize = kLogLineMaxChars + 1; // a buffer that takes any line
constexpr std::size_t kLogLineEndBytes = 2;                // CR LF in text mode
constexpr std::size_t kLogPrefixChars = 18;                // "MM/DD/YY-HH:MM:SS "

// Name the service publishes by default; the monitor replaces it by its instance's own name.
constexpr char kDefaultLogFileName[] = "KORLOG01.TXT";

// Messages the monitor writes.
constexpr char kLogStarted[] = "KOR Driver : LOG STARTED";
constexpr char kLogStopped[] = "KOR Driver : LOG STOPPED";
constexpr char kLogTrayResultFormat[] = "Shell_NotifyIcon ret %d";
constexpr char kLogErrorFormat[] = "Error: %s";

// Local date and time of a line, as the clock gives them (year in full, month 1..12).
struct LogTime {
    unsigned year;
    unsigned month;
    unsigned day;
    unsigned hour;
    unsigned minute;
    unsigned second;
};

// Builds one line into buf: the date and time prefix, then `format` with `args` (see
// TextWriter::Format). A line longer than 128 characters is cut there, and never runs past
// size - 1 characters. Each date and time field is written as two digits (its value modulo
// 100), so the prefix always has 18 characters. Returns the length of the line.
std::size_t FormatLogLine(char* buf, std::size_t size, const LogTime& time, const char* format,
                          const FormatArg* args, std::size_t argCount);

// Same with a message that is taken as it stands ("%" has no meaning in it).
std::size_t FormatLogLine(char* buf, std::size_t size, const LogTime& time, const char* message);

// What the writer does with a line of `lineLength` characters at the current position:
// write it, or go back to the start of the file and drop it (the file is not shortened, later
// lines overwrite the old ones). The line goes back to the start when the file would grow past
// the limit with it, its line end included.
//
// A limit of 0 reads as no limit of its own: the file then grows until its size no longer fits
// the 32-bit position field, the most that `log_position` can describe.
enum class LogWrite { Write, Rewind };
LogWrite DecideLogWrite(std::uint32_t position, std::size_t lineLength, std::uint32_t limit);

// The limit the writer and the Tune page's fill level work with: `log_size_limit`, or the
// largest 32-bit size for 0.
std::uint32_t EffectiveLogLimit(std::uint32_t limit);

// File position after one such step: 0 after a rewind, else the position after the line and
// its line end.
std::uint32_t LogPositionAfter(std::uint32_t position, std::size_t lineLength, std::uint32_t limit);

// The instance's log name: a field holding exactly "KORLOG01.TXT" becomes "KORLOG0<n>.TXT"
// for instance n; any other name stays. Instances outside 0..9 leave the field as it is (the
// name has one digit for the instance). The field's own terminator is not trusted. Returns
// true when the default name was replaced (for instance 1 by the same text).
bool ApplyInstanceLogName(char* field, std::size_t fieldSize, int instance);

template <std::size_t N> bool ApplyInstanceLogName(char (&field)[N], int instance)
{
    return ApplyInstanceLogName(field, N, instance);
}

} // namespace kordrv
