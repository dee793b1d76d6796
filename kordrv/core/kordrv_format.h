// Bounded text building for the monitor: a writer over a caller's buffer, and a formatter for
// the printf-style texts of the string table.
//
// The formats come from resources (English or French), not from the code, so they are not
// trusted: the formatter takes typed arguments, never reads an argument that was not given, and
// never writes past the buffer. Every function here leaves a terminated string in the buffer
// when its size is not 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kordrv
{

// One argument of a string-table format. Numbers are 32-bit, as the monitor's values are.
struct FormatArg {
    enum Kind { Unsigned, Signed, Text } kind;
    std::uint32_t u;       // Unsigned, and the bits of Signed
    const char* text;      // Text; null reads as empty
    std::size_t textLimit; // Text: read at most this many characters (fields without NUL)
};

inline FormatArg ArgU(std::uint32_t value)
{
    return FormatArg{FormatArg::Unsigned, value, nullptr, 0};
}
inline FormatArg ArgI(std::int32_t value)
{
    return FormatArg{FormatArg::Signed, static_cast<std::uint32_t>(value), nullptr, 0};
}
inline FormatArg ArgS(const char* text, std::size_t limit = static_cast<std::size_t>(-1))
{
    return FormatArg{FormatArg::Text, 0, text, limit};
}

// Appends to a caller's buffer, at most `maxChars` characters and never more than size - 1.
// The text is terminated after every append. What does not fit is dropped and remembered.
class TextWriter
{
public:
    TextWriter(char* buf, std::size_t size, std::size_t maxChars = static_cast<std::size_t>(-1));

    void Char(char c);
    void Text(const char* text); // null appends nothing
    // At most `limit` characters of `text`, stopping at its NUL: for fixed-size fields.
    void Text(const char* text, std::size_t limit);
    void Unsigned(std::uint32_t value);
    // Dotted decimal of 4 bytes in network order (first octet first).
    void DottedIp(const std::uint8_t ip[4]);

    // Appends `format` with its conversions replaced by `args`, in order:
    //   %d %i %u %x %X %c %s with the flags "-0+ #", a width and a precision (both in digits;
    //   "*" is not supported), and any of the length letters h l ll L j z t q I I32 I64 (read
    //   and ignored: every number is 32-bit); "%%" is one "%".
    // A numeric conversion of a Signed argument prints it as printf would print an int (so
    // %u of -1 gives 4294967295), of a Text argument prints the text; %s of a number prints it
    // in decimal. A conversion without an argument left prints nothing; a conversion the
    // formatter does not know is copied as it stands. Widths and precisions above 64 count as
    // 64.
    void Format(const char* format, const FormatArg* args, std::size_t argCount);

    std::size_t Length() const { return m_len; }
    bool Cut() const { return m_cut; }

private:
    void Repeat(char c, std::size_t count);
    void Number(const FormatArg& arg, char conversion, bool leftAlign, bool zeroPad, char sign,
                std::size_t width, bool hasPrecision, std::size_t precision);
    void TextArg(const FormatArg& arg, bool leftAlign, std::size_t width, bool hasPrecision,
                 std::size_t precision);

    char* m_buf;
    std::size_t m_cap; // characters that may be written, terminator not counted
    std::size_t m_len = 0;
    bool m_cut = false;
};

// Formats into the buffer (see TextWriter::Format). True when the whole text fitted.
bool FormatText(char* buf, std::size_t size, const char* format, const FormatArg* args,
                std::size_t argCount);

template <std::size_t N>
bool FormatText(char* buf, std::size_t size, const char* format, const FormatArg (&args)[N])
{
    return FormatText(buf, size, format, args, N);
}

// "%u" of a counter. True when it fitted.
bool FormatUnsigned(char* buf, std::size_t size, std::uint32_t value);

// Dotted decimal of an IPv4 address held as 4 bytes in network order. True when it fitted
// (16 bytes always do).
bool FormatDottedIp(char* buf, std::size_t size, const std::uint8_t ip[4]);
constexpr std::size_t kDottedIpSize = 16; // "255.255.255.255" and its terminator

} // namespace kordrv
