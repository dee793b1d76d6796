#include "kordrv/core/kordrv_cmdline.h"

#include "kordrv/core/kordrv_format.h"

#include <cstring>

namespace kordrv
{

namespace
{

constexpr std::uint32_t kNoAddress = 0xFFFFFFFFu;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Value of one part of an address text, advancing p past it. False when the part is empty,
// has a digit outside its base, or does not fit 32 bits.
bool ReadAddressPart(const char*& p, std::uint32_t* value)
{
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    std::uint64_t v = 0;
    int digits = 0;
    for (;; ++p, ++digits) {
        unsigned d;
        const char c = *p;
        if (IsDigit(c))
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (d >= base)
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFu)
            return false;
    }
    if (digits == 0)
        return false;
    *value = static_cast<std::uint32_t>(v);
    return true;
}

bool ParseInstance(const char* value, int* instance)
{
    if (std::strcmp(value, "0") == 0) {
        *instance = 0;
        return true;
    }
    const std::uint32_t n = ReadLeadingNumber(value);
    if (n < 1 || n > 9)
        return false;
    *instance = static_cast<int>(n);
    return true;
}

bool ParseAdapter(const char* value, std::uint32_t* adapter)
{
    if (std::strcmp(value, "0") == 0) {
        *adapter = 0;
        return true;
    }
    const std::uint32_t n = ReadLeadingNumber(value);
    if (n == 0)
        return false;
    *adapter = n;
    return true;
}

bool ParseBindIp(const char* value, CommandLine* out)
{
    std::uint32_t address = kNoAddress;
    if (!ConvertIpv4Text(value, &address) || address == kNoAddress)
        return false;
    out->hasBindIp = true;
    out->bindIp[0] = static_cast<std::uint8_t>(address >> 24);
    out->bindIp[1] = static_cast<std::uint8_t>(address >> 16);
    out->bindIp[2] = static_cast<std::uint8_t>(address >> 8);
    out->bindIp[3] = static_cast<std::uint8_t>(address);
    out->adapter = 0;
    return true;
}

// One argument; false when it is in error.
bool ParseArgument(const char* arg, CommandLine* out)
{
    if (!arg || (arg[0] != '/' && arg[0] != '-'))
        return false;
    const char letter = UpperAscii(arg[1]);
    const char* value = arg[1] != '\0' ? arg + 2 : arg + 1;
    switch (letter) {
    case '@':
        return ParseBindIp(value, out);
    case 'A':
        return ParseAdapter(value, &out->adapter);
    case 'D':
        out->debug = true;
        return true;
    case 'I':
        return ParseInstance(value, &out->instance);
    case 'L':
        out->logRequested = true;
        if (value[0] != '\0') {
            TextWriter name(out->logFileName, sizeof(out->logFileName));
            name.Text(value);
        }
        return true;
    case 'P':
        out->pValue = ReadLeadingNumber(value);
        return true;
    case 'S':
        if (out->sCount != 0xFFFFFFFFu)
            ++out->sCount;
        return true;
    case 'T':
        out->tValue = ReadLeadingNumber(value);
        return true;
    default:
        return false;
    }
}

} // namespace

std::uint32_t ReadLeadingNumber(const char* text)
{
    std::uint64_t value = 0;
    for (const char* p = text; p && IsDigit(*p); ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFu)
            return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

bool ConvertIpv4Text(const char* text, std::uint32_t* address)
{
    if (address)
        *address = kNoAddress;
    if (!text || !address)
        return false;
    std::uint32_t parts[4];
    int count = 0;
    const char* p = text;
    for (;;) {
        if (!ReadAddressPart(p, &parts[count]))
            return false;
        ++count;
        if (*p == '\0')
            break;
        if (*p != '.' || count == 4)
            return false;
        ++p;
    }
    // Every part but the last is one byte; the last fills the bytes left.
    for (int i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFFu)
            return false;
    }
    const std::uint32_t lastMax = count == 1 ? 0xFFFFFFFFu : (0xFFFFFFFFu >> (8 * (count - 1)));
    if (parts[count - 1] > lastMax)
        return false;
    std::uint32_t result = parts[count - 1];
    for (int i = 0; i + 1 < count; ++i)
        result |= parts[i] << (24 - 8 * i);
    *address = result;
    return true;
}

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out, int* badArgument)
{
    if (badArgument)
        *badArgument = -1;
    if (!out)
        return false;
    *out = CommandLine();
    for (int i = 1; i < argc && argv; ++i) {
        if (!ParseArgument(argv[i], out)) {
            *out = CommandLine();
            if (badArgument)
                *badArgument = i;
            return false;
        }
    }
    return true;
}

} // namespace kordrv
