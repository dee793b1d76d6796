// Names and encodings of the configuration's registry layout.
#include "cnfkor/config/kor_reg_layout.h"

#include "cnfkor/config/address_assoc.h"

#include <cstdio>
#include <cstring>

namespace
{

// snprintf that reports a cut or failed result as failure, leaving an empty buffer.
template <class... Args>
bool FormatChecked(char* buf, std::size_t size, const char* format, Args... args)
{
    if (buf == nullptr || size == 0)
        return false;
    int written = std::snprintf(buf, size, format, args...);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

bool Fail(char* buf, std::size_t size)
{
    if (buf != nullptr && size > 0)
        buf[0] = '\0';
    return false;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// One "%i" conversion at *p: advances *p past the number and sets *value on success. As the
// C conversion does, an input like "0x" or "-" that only starts a number is a failure.
bool ScanInteger(const char** p, std::uint32_t* value)
{
    const char* s = *p;
    while (IsBlank(*s))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        ++s;
    }
    unsigned base = 10;
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
    } else if (s[0] == '0') {
        base = 8;
    }
    const char* digits = s;
    std::uint32_t result = 0; // wraps modulo 2^32: only the low 8 bits are kept anyway
    while (DigitValue(*s) < static_cast<int>(base)) {
        result = result * base + static_cast<std::uint32_t>(DigitValue(*s));
        ++s;
    }
    if (s == digits)
        return false;
    *value = negative ? 0u - result : result;
    *p = s;
    return true;
}

} // namespace

bool FormatProfileKeyName(char* buf, std::size_t size, const char* prefix, int profileNumber)
{
    if (prefix == nullptr || profileNumber < 1 || profileNumber > 9)
        return Fail(buf, size);
    return FormatChecked(buf, size, "%s%1i", prefix, profileNumber);
}

bool FormatEntryValueName(char* buf, std::size_t size, const char* prefix, int index)
{
    if (prefix == nullptr || index < 0 || index >= kMaxRemoteHosts)
        return Fail(buf, size);
    return FormatChecked(buf, size, "%s%02i", prefix, index);
}

bool ParseHostIpText(const char* text, std::uint32_t* ip)
{
    if (text == nullptr || ip == nullptr)
        return false;
    const char* p = text;
    std::uint32_t result = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (*p != '.')
                return false;
            ++p;
        }
        std::uint32_t number = 0;
        if (!ScanInteger(&p, &number))
            return false;
        result = (result << 8) | (number & 0xFFu);
    }
    *ip = result;
    return true;
}

bool FormatHostIpText(char* buf, std::size_t size, std::uint32_t ip)
{
    return FormatChecked(buf, size, "%i.%i.%i.%i", static_cast<int>((ip >> 24) & 0xFFu),
                         static_cast<int>((ip >> 16) & 0xFFu), static_cast<int>((ip >> 8) & 0xFFu),
                         static_cast<int>(ip & 0xFFu));
}

std::uint32_t DwordFromValueBytes(const unsigned char* bytes, std::size_t count)
{
    if (bytes == nullptr)
        return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count && i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return value;
}

int RemoteHostsToLoad(std::uint32_t number)
{
    if (number == 0 || number > 0x7FFFFFFFu)
        return 0;
    return number > static_cast<std::uint32_t>(kMaxRemoteHosts) ? kMaxRemoteHosts
                                                                : static_cast<int>(number);
}

int BasePortFromFirstPort(bool usable, std::uint32_t firstPort)
{
    constexpr std::uint32_t highestFirstPort =
        65535u - kBasePortOffset - kHighestInstancePortOffset;
    if (!usable || firstPort > highestFirstPort)
        return kDefaultBasePort;
    return static_cast<int>(firstPort) + kBasePortOffset;
}

bool CopyFieldText(char* dst, std::size_t dstSize, const char* src, std::size_t srcLen)
{
    if (dst == nullptr || dstSize == 0)
        return false;
    std::size_t length = 0;
    if (src != nullptr) {
        const void* zero = std::memchr(src, '\0', srcLen);
        length = zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - src)
                                 : srcLen;
    }
    bool fits = length < dstSize;
    if (!fits)
        length = dstSize - 1;
    if (length > 0)
        std::memcpy(dst, src, length);
    dst[length] = '\0';
    return fits;
}
