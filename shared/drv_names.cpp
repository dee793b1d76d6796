#include "shared/drv_names.h"

namespace
{

// Appends to a caller buffer, never past its size; remembers whether anything was cut.
class BoundedName
{
public:
    BoundedName(char* buf, std::size_t size) : m_buf(buf), m_size(buf ? size : 0) {}

    void Text(const char* text)
    {
        while (*text != '\0')
            Char(*text++);
    }

    void Hex2(unsigned value)
    {
        static const char kDigits[] = "0123456789ABCDEF";
        Char(kDigits[(value >> 4) & 0xF]);
        Char(kDigits[value & 0xF]);
    }

    void Decimal(std::uint32_t value)
    {
        char digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0)
            Char(digits[--count]);
    }

    // Terminates the name; a cut name is replaced by an empty one.
    bool Finish(bool valid)
    {
        if (m_size == 0)
            return false;
        if (!valid || m_cut) {
            m_buf[0] = '\0';
            return false;
        }
        m_buf[m_len] = '\0';
        return true;
    }

private:
    void Char(char c)
    {
        if (m_len + 1 < m_size)
            m_buf[m_len++] = c;
        else
            m_cut = true;
    }

    char* m_buf;
    std::size_t m_size;
    std::size_t m_len = 0;
    bool m_cut = false;
};

bool HexName(char* buf, std::size_t size, const char* prefix, int instance)
{
    BoundedName name(buf, size);
    const bool valid = instance >= 0 && instance <= kDrvHexNameInstanceMax;
    if (valid) {
        name.Text(prefix);
        name.Hex2(static_cast<unsigned>(instance));
    }
    return name.Finish(valid);
}

bool DecimalInstanceName(char* buf, std::size_t size, const char* prefix, int instance)
{
    BoundedName name(buf, size);
    const bool valid = instance >= 0 && instance <= kDrvDecimalNameInstanceMax;
    if (valid) {
        name.Text(prefix);
        name.Decimal(static_cast<std::uint32_t>(instance));
    }
    return name.Finish(valid);
}

} // namespace

bool FormatMappingName(char* buf, std::size_t size, int instance)
{
    return HexName(buf, size, kDrvMappingNamePrefix, instance);
}

bool FormatExchangeEventName(char* buf, std::size_t size, int instance)
{
    return HexName(buf, size, kDrvExchangeEventPrefix, instance);
}

bool FormatStopRequestEventName(char* buf, std::size_t size, std::uint32_t processId)
{
    BoundedName name(buf, size);
    name.Text(kDrvStopRequestEventPrefix);
    name.Decimal(processId);
    return name.Finish(true);
}

bool FormatStopAckEventName(char* buf, std::size_t size, int instance)
{
    return DecimalInstanceName(buf, size, kDrvStopAckEventPrefix, instance);
}

bool FormatMonitorTitle(char* buf, std::size_t size, int instance)
{
    return DecimalInstanceName(buf, size, kDrvMonitorTitlePrefix, instance);
}

std::uint32_t MakeDrvNotifyWParam(int instance)
{
    return (static_cast<std::uint32_t>(instance) & 0xFFFFu) << 16 | kDrvNotifyCommandId;
}

bool ParseDrvNotifyWParam(std::uint32_t wParam, int* instance)
{
    if ((wParam & 0xFFFFu) != kDrvNotifyCommandId)
        return false;
    if (instance)
        *instance = static_cast<int>(wParam >> 16);
    return true;
}
