#include "kordrv/core/kordrv_log.h"

#include <cstring>

namespace kordrv
{

namespace
{

void TwoDigits(TextWriter& out, unsigned value)
{
    value %= 100;
    out.Char(static_cast<char>('0' + value / 10));
    out.Char(static_cast<char>('0' + value % 10));
}

void Prefix(TextWriter& out, const LogTime& t)
{
    TwoDigits(out, t.month);
    out.Char('/');
    TwoDigits(out, t.day);
    out.Char('/');
    TwoDigits(out, t.year);
    out.Char('-');
    TwoDigits(out, t.hour);
    out.Char(':');
    TwoDigits(out, t.minute);
    out.Char(':');
    TwoDigits(out, t.second);
    out.Char(' ');
}

} // namespace

std::size_t FormatLogLine(char* buf, std::size_t size, const LogTime& time, const char* format,
                          const FormatArg* args, std::size_t argCount)
{
    TextWriter out(buf, size, kLogLineMaxChars);
    Prefix(out, time);
    out.Format(format, args, argCount);
    return out.Length();
}

std::size_t FormatLogLine(char* buf, std::size_t size, const LogTime& time, const char* message)
{
    TextWriter out(buf, size, kLogLineMaxChars);
    Prefix(out, time);
    out.Text(message);
    return out.Length();
}

std::uint32_t EffectiveLogLimit(std::uint32_t limit)
{
    return limit == 0 ? 0xFFFFFFFFu : limit;
}

LogWrite DecideLogWrite(std::uint32_t position, std::size_t lineLength, std::uint32_t limit)
{
    // 64-bit sum: a position near the top of its range must not wrap to a small size.
    const std::uint64_t end = static_cast<std::uint64_t>(position) +
                              static_cast<std::uint64_t>(lineLength) + kLogLineEndBytes;
    return end > EffectiveLogLimit(limit) ? LogWrite::Rewind : LogWrite::Write;
}

std::uint32_t LogPositionAfter(std::uint32_t position, std::size_t lineLength, std::uint32_t limit)
{
    if (DecideLogWrite(position, lineLength, limit) == LogWrite::Rewind)
        return 0;
    return static_cast<std::uint32_t>(position + lineLength + kLogLineEndBytes);
}

bool ApplyInstanceLogName(char* field, std::size_t fieldSize, int instance)
{
    constexpr std::size_t kNameLen = sizeof(kDefaultLogFileName) - 1;
    if (!field || fieldSize <= kNameLen || instance < 0 || instance > 9)
        return false;
    // Exactly the default name, terminated inside the field.
    if (std::memcmp(field, kDefaultLogFileName, kNameLen) != 0 || field[kNameLen] != '\0')
        return false;
    // "KORLOG0" + digit + ".TXT": same length, only the digit changes.
    field[7] = static_cast<char>('0' + instance);
    return true;
}

} // namespace kordrv
