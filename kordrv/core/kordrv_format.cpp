#include "kordrv/core/kordrv_format.h"

namespace kordrv
{

namespace
{

constexpr std::size_t kMaxFieldWidth = 64;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a run of digits as a width or precision, saturated at kMaxFieldWidth.
std::size_t ReadFieldNumber(const char*& p)
{
    std::size_t value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + static_cast<std::size_t>(*p - '0');
        if (value > kMaxFieldWidth)
            value = kMaxFieldWidth;
        ++p;
    }
    return value;
}

// Skips the length letters printf accepts; every argument here is 32-bit anyway.
void SkipLength(const char*& p)
{
    for (;;) {
        const char c = *p;
        if (c == 'h' || c == 'l' || c == 'L' || c == 'j' || c == 'z' || c == 't' || c == 'q') {
            ++p;
        } else if (c == 'I') {
            ++p;
            if ((p[0] == '3' && p[1] == '2') || (p[0] == '6' && p[1] == '4'))
                p += 2;
        } else {
            return;
        }
    }
}

} // namespace

TextWriter::TextWriter(char* buf, std::size_t size, std::size_t maxChars)
    : m_buf(buf), m_cap(buf && size > 0 ? size - 1 : 0)
{
    if (maxChars < m_cap)
        m_cap = maxChars;
    if (buf && size > 0)
        buf[0] = '\0';
}

void TextWriter::Char(char c)
{
    if (m_len < m_cap) {
        m_buf[m_len++] = c;
        m_buf[m_len] = '\0';
    } else {
        m_cut = true;
    }
}

void TextWriter::Text(const char* text)
{
    Text(text, static_cast<std::size_t>(-1));
}

void TextWriter::Text(const char* text, std::size_t limit)
{
    if (!text)
        return;
    for (std::size_t i = 0; i < limit && text[i] != '\0'; ++i)
        Char(text[i]);
}

void TextWriter::Repeat(char c, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        Char(c);
}

void TextWriter::Unsigned(std::uint32_t value)
{
    char digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        Char(digits[--count]);
}

void TextWriter::DottedIp(const std::uint8_t ip[4])
{
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            Char('.');
        Unsigned(ip ? ip[i] : 0u);
    }
}

void TextWriter::TextArg(const FormatArg& arg, bool leftAlign, std::size_t width, bool hasPrecision,
                         std::size_t precision)
{
    // A number given for %s is shown in decimal.
    char numberText[12];
    const char* text = arg.text;
    std::size_t limit = arg.textLimit;
    if (arg.kind != FormatArg::Text) {
        TextWriter number(numberText, sizeof(numberText));
        if (arg.kind == FormatArg::Signed && static_cast<std::int32_t>(arg.u) < 0) {
            number.Char('-');
            number.Unsigned(0u - arg.u);
        } else {
            number.Unsigned(arg.u);
        }
        text = numberText;
        limit = sizeof(numberText);
    }
    if (hasPrecision && precision < limit)
        limit = precision;
    std::size_t len = 0;
    if (text) {
        while (len < limit && text[len] != '\0')
            ++len;
    }
    const std::size_t pad = width > len ? width - len : 0;
    if (!leftAlign)
        Repeat(' ', pad);
    Text(text, len);
    if (leftAlign)
        Repeat(' ', pad);
}

void TextWriter::Number(const FormatArg& arg, char conversion, bool leftAlign, bool zeroPad,
                        char sign, std::size_t width, bool hasPrecision, std::size_t precision)
{
    if (arg.kind == FormatArg::Text) {
        TextArg(arg, leftAlign, width, false, 0);
        return;
    }
    if (conversion == 'c') {
        const char c = static_cast<char>(arg.u & 0xFFu);
        if (!leftAlign && width > 1)
            Repeat(' ', width - 1);
        if (c != '\0') // a NUL would end the text early
            Char(c);
        if (leftAlign && width > 1)
            Repeat(' ', width - 1);
        return;
    }

    std::uint32_t magnitude = arg.u;
    char signChar = '\0';
    if (conversion == 'd' || conversion == 'i') {
        if (static_cast<std::int32_t>(arg.u) < 0) {
            magnitude = 0u - arg.u;
            signChar = '-';
        } else if (sign != '\0') {
            signChar = sign;
        }
    }
    const unsigned base = (conversion == 'x' || conversion == 'X') ? 16u : 10u;
    const char* digitSet = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[32];
    std::size_t count = 0;
    while (magnitude != 0) {
        digits[count++] = digitSet[magnitude % base];
        magnitude /= base;
    }
    // printf: at least `precision` digits; without a precision at least one.
    const std::size_t minDigits = hasPrecision ? precision : 1;
    const std::size_t zeros = minDigits > count ? minDigits - count : 0;
    const std::size_t body = (signChar != '\0' ? 1 : 0) + zeros + count;
    const std::size_t pad = width > body ? width - body : 0;

    if (!leftAlign && !(zeroPad && !hasPrecision))
        Repeat(' ', pad);
    if (signChar != '\0')
        Char(signChar);
    if (!leftAlign && zeroPad && !hasPrecision)
        Repeat('0', pad);
    Repeat('0', zeros);
    while (count > 0)
        Char(digits[--count]);
    if (leftAlign)
        Repeat(' ', pad);
}

void TextWriter::Format(const char* format, const FormatArg* args, std::size_t argCount)
{
    if (!format)
        return;
    std::size_t next = 0;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            Char(*p++);
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            Char('%');
            ++p;
            continue;
        }
        bool leftAlign = false;
        bool zeroPad = false;
        char sign = '\0';
        for (;; ++p) {
            if (*p == '-')
                leftAlign = true;
            else if (*p == '0')
                zeroPad = true;
            else if (*p == '+')
                sign = '+';
            else if (*p == ' ')
                sign = sign == '+' ? '+' : ' ';
            else if (*p != '#')
                break;
        }
        const std::size_t width = ReadFieldNumber(p);
        bool hasPrecision = false;
        std::size_t precision = 0;
        if (*p == '.') {
            ++p;
            hasPrecision = true;
            precision = ReadFieldNumber(p);
        }
        SkipLength(p);
        const char conversion = *p;
        const bool known = conversion == 'd' || conversion == 'i' || conversion == 'u' ||
                           conversion == 'x' || conversion == 'X' || conversion == 'c' ||
                           conversion == 's';
        if (!known) {
            // Copy the unknown conversion as it stands (up to and with its letter).
            if (conversion != '\0')
                ++p;
            Text(start, static_cast<std::size_t>(p - start));
            continue;
        }
        ++p;
        if (next >= argCount || !args)
            continue; // no argument left: nothing is printed
        const FormatArg& arg = args[next++];
        if (conversion == 's')
            TextArg(arg, leftAlign, width, hasPrecision, precision);
        else
            Number(arg, conversion, leftAlign, zeroPad, sign, width, hasPrecision, precision);
    }
}

bool FormatText(char* buf, std::size_t size, const char* format, const FormatArg* args,
                std::size_t argCount)
{
    TextWriter out(buf, size);
    out.Format(format, args, argCount);
    return buf && size > 0 && !out.Cut();
}

bool FormatUnsigned(char* buf, std::size_t size, std::uint32_t value)
{
    TextWriter out(buf, size);
    out.Unsigned(value);
    return buf && size > 0 && !out.Cut();
}

bool FormatDottedIp(char* buf, std::size_t size, const std::uint8_t ip[4])
{
    TextWriter out(buf, size);
    out.DottedIp(ip);
    return buf && size > 0 && !out.Cut();
}

} // namespace kordrv
