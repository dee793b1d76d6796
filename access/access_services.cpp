// Address services: text readers, record writers and the wire form of the address section.
#include "access/access_services.h"

#include <cstring>

namespace
{

// Bytes through dest_ext: every operation that writes the VELT part needs them.
constexpr short kVeltPartSize = 17;
// Bytes through the end of phys_adr for each kind of physical prefix.
constexpr short kIpPrefixSize = 23;
constexpr short kMacPrefixSize = 25;
constexpr short kDnsPrefixSize = 147;
constexpr int kMaxDnsName = 128;

// The address section (A0 to the end of the second list) is at most this long.
constexpr int kMaxSection = 21;
// Prefix marker, flag of `type` and last-entry bit of a list tag.
constexpr unsigned char kPrefixMarker = 0x10;
constexpr unsigned char kLastEntry = 0x08;

constexpr short kBuildFailed = -120;
constexpr short kBadSecondList = -130;
constexpr short kBadFirstList = -131;

enum class Field { net, sta, gate, ext1, ext2, ext3 };

bool valid_half(DTGR_SRCE_DEST half)
{
    return half == SRCE || half == DEST;
}

unsigned char& field_of(DTGR_ADR& adr, DTGR_SRCE_DEST half, Field field)
{
    const bool dest = half == DEST;
    switch (field) {
    case Field::net:
        return dest ? adr.dest_net : adr.srce_net;
    case Field::sta:
        return dest ? adr.dest_sta : adr.srce_sta;
    case Field::gate:
        return dest ? adr.dest_gate : adr.srce_gate;
    case Field::ext1:
        return dest ? adr.dest_ext[0] : adr.srce_ext[0];
    case Field::ext2:
        return dest ? adr.dest_ext[1] : adr.srce_ext[1];
    case Field::ext3:
        break;
    }
    return dest ? adr.dest_ext[2] : adr.srce_ext[2];
}

// Common body of the Write_ operations whose range check comes before the half.
short store_checked(DTGR_ADR* adr, DTGR_SRCE_DEST half, short value, int nok, Field field)
{
    if (adr == nullptr)
        return -2;
    if (adr->length < kVeltPartSize)
        return -11;
    if (nok)
        return -3;
    if (!valid_half(half))
        return -1;
    field_of(*adr, half, field) = static_cast<unsigned char>(value);
    return 0;
}

bool starts_with(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Cursor just past the next "." of `text`, or null when none follows.
const char* past_next_dot(const char* text)
{
    if (text == nullptr)
        return nullptr;
    const char* dot = std::strchr(text, '.');
    return dot != nullptr ? dot + 1 : nullptr;
}

// Sets the prefix flag and points the destination at station 254 of network 0.
void mark_prefix(DTGR_ADR& adr)
{
    adr.type = static_cast<unsigned char>(adr.type | kPrefixMarker);
    adr.dest_net = 0;
    adr.dest_sta = 254;
}

// One entry of an extension list as build lays it out.
struct ListWriter {
    unsigned char* bytes;
    int pos;
    int last_tag = -1;

    void add(unsigned char tag, unsigned char d0, unsigned char d1 = 0, unsigned char d2 = 0)
    {
        last_tag = pos;
        bytes[pos++] = tag;
        const unsigned char data[3] = {d0, d1, d2};
        for (int i = 0; i < (tag & 7); ++i)
            bytes[pos++] = data[i];
    }
    void close_list()
    {
        if (last_tag >= 0)
            bytes[last_tag] = static_cast<unsigned char>(bytes[last_tag] | kLastEntry);
        last_tag = -1;
    }
};

void add_gate8(ListWriter& list, unsigned char tag_short, const unsigned char ext[3])
{
    // Short form when selector and reference share one byte.
    if (ext[0] <= 15 && ext[2] <= 15)
        list.add(tag_short, static_cast<unsigned char>((ext[0] << 4) | ext[2]), ext[1]);
    else
        list.add(static_cast<unsigned char>(tag_short + 1), ext[0], ext[1], ext[2]);
}

} // namespace

CAccessServices::~CAccessServices() = default;

// ---------------------------------------------------------------------------------------------
// Range checks

int CAccessServices::Net_is_nok(short value) const
{
    return static_cast<unsigned short>(value) > 127;
}

int CAccessServices::Srce_sta_is_nok(short value) const
{
    return !((value >= 0 && value <= 63) || value == 254);
}

int CAccessServices::Dest_sta_is_nok(short value) const
{
    return !((value >= 0 && value <= 63) || value == 254 || value == 255);
}

int CAccessServices::Gate_is_nok(short value) const
{
    return static_cast<unsigned short>(value) > 255;
}

int CAccessServices::Rack_is_nok(short value) const
{
    return !((value >= 0 && value <= 15) || value == 255);
}

int CAccessServices::Mod_is_nok(short value) const
{
    return value < 0;
}

int CAccessServices::Chan_is_nok(short value) const
{
    return Gate_is_nok(value);
}

int CAccessServices::Sel_is_nok(short value) const
{
    return Gate_is_nok(value);
}

int CAccessServices::Conn_is_nok(short value) const
{
    return Gate_is_nok(value);
}

int CAccessServices::Ref_is_nok(short value) const
{
    return Gate_is_nok(value);
}

// ---------------------------------------------------------------------------------------------
// Token readers

STRG_RC CAccessServices::Strg_DecimalToInt(const char** cursor, short* value) const
{
    if (cursor == nullptr || *cursor == nullptr || **cursor == '\0')
        return STRG_END;
    const char* p = *cursor;
    unsigned short acc = 0; // wraps in 16 bits: 65535 reads as -1
    int digits = 0;
    for (; *p != '\0' && *p != '.'; ++p) {
        if (*p < '0' || *p > '9' || ++digits > 5)
            return STRG_BAD;
        acc = static_cast<unsigned short>(acc * 10u + static_cast<unsigned>(*p - '0'));
    }
    if (value != nullptr)
        *value = static_cast<short>(acc);
    *cursor = *p == '.' ? p + 1 : nullptr;
    return STRG_OK;
}

STRG_RC CAccessServices::Strg_HexaToInt(const char** cursor, unsigned short* value) const
{
    if (cursor == nullptr || *cursor == nullptr || **cursor == '\0')
        return STRG_END;
    const char* p = *cursor;
    unsigned acc = 0;
    int digits = 0;
    for (; *p != '\0' && *p != '.'; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (*p >= 'A' && *p <= 'F')
            digit = static_cast<unsigned>(*p - 'A' + 10);
        else if (*p >= 'a' && *p <= 'f')
            digit = static_cast<unsigned>(*p - 'a' + 10);
        else
            return STRG_BAD;
        if (++digits > 4)
            return STRG_BAD;
        acc = acc * 16u + digit;
    }
    if (value != nullptr)
        *value = static_cast<unsigned short>(acc);
    *cursor = *p == '.' ? p + 1 : nullptr;
    return STRG_OK;
}

short CAccessServices::SetNextToken(unsigned char* out, const char* text, short& value,
                                    short& count) const
{
    if (out == nullptr || count < 0)
        return -90;
    const char* cursor = text;
    short token = 0;
    switch (Strg_DecimalToInt(&cursor, &token)) {
    case STRG_BAD:
        return -90;
    case STRG_END:
        return count;
    case STRG_OK:
        break;
    }
    value = token;
    out[count] = Word_LoOrderByte(static_cast<unsigned short>(token));
    ++count;
    return 0;
}

unsigned char CAccessServices::Word_HiOrderByte(unsigned short value) const
{
    return static_cast<unsigned char>(value >> 8);
}

unsigned char CAccessServices::Word_LoOrderByte(unsigned short value) const
{
    return static_cast<unsigned char>(value & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// Record writers

short CAccessServices::Write_net(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Net_is_nok(value), Field::net);
}

short CAccessServices::Write_sta(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    if (adr == nullptr)
        return -2;
    if (adr->length < kVeltPartSize)
        return -11;
    if (!valid_half(half))
        return -1;
    if (half == SRCE ? Srce_sta_is_nok(value) : Dest_sta_is_nok(value))
        return -3;
    field_of(*adr, half, Field::sta) = static_cast<unsigned char>(value);
    return 0;
}

short CAccessServices::Write_gate(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Gate_is_nok(value), Field::gate);
}

short CAccessServices::Write_rack(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Rack_is_nok(value), Field::ext1);
}

short CAccessServices::Write_mod(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Mod_is_nok(value), Field::ext2);
}

short CAccessServices::Write_chan(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Chan_is_nok(value), Field::ext3);
}

short CAccessServices::Write_sel(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Sel_is_nok(value), Field::ext1);
}

short CAccessServices::Write_conn(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Conn_is_nok(value), Field::ext2);
}

short CAccessServices::Write_ref(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    return store_checked(adr, half, value, Ref_is_nok(value), Field::ext3);
}

short CAccessServices::Write_ext_lfip(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const
{
    if (adr == nullptr)
        return -2;
    if (adr->length < kVeltPartSize)
        return -11;
    if (!valid_half(half))
        return -1;
    const auto word = static_cast<unsigned short>(value);
    field_of(*adr, half, Field::ext1) = Word_LoOrderByte(word);
    field_of(*adr, half, Field::ext2) = Word_HiOrderByte(word);
    return 0;
}

short CAccessServices::Init_def_adr(DTGR_ADR* adr) const
{
    if (adr == nullptr)
        return -2;
    if (adr->length < kVeltPartSize)
        return -11;
    adr->type = 15;
    adr->hdr_bit1 = 0;
    adr->hdr_bits2_3 = 0;
    adr->srce_net = 0;
    adr->dest_net = 0;
    adr->srce_sta = 254;
    adr->dest_sta = 254;
    adr->srce_gate = 0;
    adr->dest_gate = 0;
    std::memset(adr->srce_ext, 0, sizeof adr->srce_ext);
    std::memset(adr->dest_ext, 0, sizeof adr->dest_ext);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Physical prefix readers

short CAccessServices::Init_IP_adr(DTGR_ADR* adr, const char* text, const char** rest) const
{
    if (adr == nullptr || adr->length < kIpPrefixSize)
        return -11;
    if (text != nullptr && *text == '\'')
        return Init_DNS_adr(adr, text + 1, rest);
    mark_prefix(*adr);
    adr->phys_type = 1;
    adr->phys_len = 4;
    const char* cursor = text;
    for (int i = 0; i < 4; ++i) {
        short value = 0;
        if (Strg_DecimalToInt(&cursor, &value) != STRG_OK ||
            static_cast<unsigned short>(value) > 255)
            return -90;
        adr->phys_adr[i] = static_cast<unsigned char>(value);
    }
    if (rest != nullptr)
        *rest = cursor;
    return 0;
}

short CAccessServices::Init_802_3_adr(DTGR_ADR* adr, const char* text, const char** rest) const
{
    if (adr == nullptr || adr->length < kMacPrefixSize)
        return -11;
    mark_prefix(*adr);
    adr->phys_type = 0;
    adr->phys_len = 6;
    const char* cursor = text;
    for (int i = 0; i < 6; ++i) {
        unsigned short value = 0;
        if (Strg_HexaToInt(&cursor, &value) != STRG_OK || value > 255)
            return -90;
        adr->phys_adr[i] = static_cast<unsigned char>(value);
    }
    if (rest != nullptr)
        *rest = cursor;
    return 0;
}

short CAccessServices::Init_DNS_adr(DTGR_ADR* adr, const char* text, const char** rest) const
{
    // A negative length reserves nothing: it is not read as a large unsigned count.
    if (adr == nullptr || adr->length < kDnsPrefixSize)
        return -11;
    mark_prefix(*adr);
    adr->phys_type = 2;
    if (text == nullptr)
        return -90;
    int n = 0;
    for (; text[n] != '\''; ++n) {
        if (text[n] == '\0' || n == kMaxDnsName)
            return -90;
        adr->phys_adr[n] = static_cast<unsigned char>(text[n]);
    }
    adr->phys_len = static_cast<unsigned char>(n);
    // The rest starts after the closing quote and the separator that follows it.
    const char* after = text + n + 1;
    if (*after != '\0')
        ++after;
    if (rest != nullptr)
        *rest = after;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Address texts

short CAccessServices::init_xxx_adr(int compact, DTGR_SRCE_DEST half, DTGR_ADR* adr,
                                    const char* text) const
{
    if (adr == nullptr)
        return -2;
    if (adr->length < kVeltPartSize)
        return -11;
    if (text == nullptr)
        return -3;
    if (static_cast<const void*>(adr) == static_cast<const void*>(text))
        return -10;
    if (!valid_half(half))
        return -1;

    const char* cursor = text;
    if (half == DEST) {
        short rc = 0;
        if (starts_with(text, "802_3."))
            rc = Init_802_3_adr(adr, text + 6, &cursor);
        else if (starts_with(text, "IP."))
            rc = Init_IP_adr(adr, text + 3, &cursor);
        if (rc < 0)
            return -2;
    }

    // Reads one decimal token and stores it with `write`. Gives kNoMoreTokens when the text
    // has run out (the parse then ends successfully), `bad_token` for a bad token, else the
    // writer's result: 0 to go on or a negative code.
    using Writer = short (CAccessServices::*)(DTGR_SRCE_DEST, DTGR_ADR*, short) const;
    constexpr short kNoMoreTokens = 1;
    short value = 0;
    auto level = [&](short bad_token, Writer write) -> short {
        switch (Strg_DecimalToInt(&cursor, &value)) {
        case STRG_END:
            return kNoMoreTokens;
        case STRG_BAD:
            return bad_token;
        case STRG_OK:
            break;
        }
        return (this->*write)(half, adr, value);
    };
    short rc;
    if ((rc = level(-90, &CAccessServices::Write_net)) != 0 ||
        (rc = level(-91, &CAccessServices::Write_sta)) != 0 ||
        (rc = level(-92, &CAccessServices::Write_gate)) != 0)
        return rc == kNoMoreTokens ? 0 : rc;

    const short gate = value;
    if (gate == 5 && compact == 0) {
        if ((rc = level(-100, &CAccessServices::Write_rack)) != 0 ||
            (rc = level(-101, &CAccessServices::Write_mod)) != 0 ||
            (rc = level(-102, &CAccessServices::Write_chan)) != 0)
            return rc == kNoMoreTokens ? 0 : rc;
    } else if (gate == 5) {
        // One token holds rack and module; 254 and 255 stand for a rack on another layer.
        switch (Strg_DecimalToInt(&cursor, &value)) {
        case STRG_END:
            return 0;
        case STRG_BAD:
            return -100;
        case STRG_OK:
            break;
        }
        if (value == 254 || value == 255) {
            // The length and the half were checked on entry.
            field_of(*adr, half, Field::ext1) = 255;
            rc = Write_mod(half, adr, value);
        } else {
            rc = Write_rack(half, adr, static_cast<short>(value >> 4));
            if (rc == 0)
                rc = Write_mod(half, adr, static_cast<short>(value % 16));
        }
        if (rc != 0)
            return rc;
        if ((rc = level(-102, &CAccessServices::Write_chan)) != 0)
            return rc == kNoMoreTokens ? 0 : rc;
    } else if (gate == 8) {
        if ((rc = level(-110, &CAccessServices::Write_sel)) != 0 ||
            (rc = level(-111, &CAccessServices::Write_conn)) != 0 ||
            (rc = level(-112, &CAccessServices::Write_ref)) != 0)
            return rc == kNoMoreTokens ? 0 : rc;
    } else if (gate == 9) {
        if ((rc = level(-113, &CAccessServices::Write_ext_lfip)) != 0)
            return rc == kNoMoreTokens ? 0 : rc;
    }
    return 0;
}

short CAccessServices::Init_srce_adr(DTGR_ADR* adr, const _LOCAL_INFO_NET* info) const
{
    if (adr == nullptr)
        return -1;
    if (adr->length < kVeltPartSize)
        return -11;
    if (info == nullptr)
        return -2;
    if (static_cast<const void*>(adr) == static_cast<const void*>(info))
        return -10;

    // The text field need not hold its terminator: read at most its size.
    char text[sizeof info->adr_text + 1];
    std::memcpy(text, info->adr_text, sizeof info->adr_text);
    text[sizeof info->adr_text] = '\0';
    if (text[0] != '\0') {
        const short rc = init_xxx_adr(0, SRCE, adr, text);
        return rc < 0 ? rc : 0;
    }
    short rc = Write_net(SRCE, adr, info->local_net);
    if (rc == 0)
        rc = Write_sta(SRCE, adr, info->local_sta);
    if (rc == 0)
        rc = Write_gate(SRCE, adr, info->local_gate);
    return rc;
}

short CAccessServices::Init_comp_adr(unsigned char* out, const char* text) const
{
    // Reads the values one after another: after each token the cursor moves past its ".".
    const char* cursor = text;
    short value = 0;
    short count = 0;
    while (count < 5) {
        const short before = count;
        const short rc = SetNextToken(out, cursor, value, count);
        if (rc < 0)
            return rc;
        if (count == before)
            return count; // the text has run out (SetNextToken returned the count)
        if (count == 3 && value != 5)
            return -92;
        cursor = past_next_dot(cursor);
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Wire form

short CAccessServices::build(unsigned char* buffer, short buffer_len, const DTGR_ADR* adr,
                             const unsigned char* payload, short payload_len) const
{
    if (payload_len < 0 || buffer == nullptr || adr == nullptr ||
        (payload == nullptr && payload_len > 0))
        return kBuildFailed;

    // The head (prefix and address section) is laid out here first, so that a result that
    // does not fit leaves the caller's buffer untouched.
    unsigned char head[3 + kMaxDnsName + kMaxSection];
    int pos = 0;
    if ((adr->type & 0xF0) == kPrefixMarker) {
        if (adr->phys_len > kMaxDnsName)
            return kBuildFailed;
        head[pos++] = kPrefixMarker;
        head[pos++] = adr->phys_type;
        head[pos++] = adr->phys_len;
        std::memcpy(head + pos, adr->phys_adr, adr->phys_len);
        pos += adr->phys_len;
    }
    const int a0 = pos;
    auto nibbles = [](unsigned char net, unsigned char gate) {
        return static_cast<unsigned char>((net < 16 ? net << 4 : 0) | (gate < 16 ? gate : 0));
    };
    head[a0 + 0] = static_cast<unsigned char>(
        ((adr->type & 0x0F) << 4) | ((adr->hdr_bits2_3 & 3) << 2) | ((adr->hdr_bit1 & 1) << 1));
    head[a0 + 1] = adr->srce_sta;
    head[a0 + 2] = nibbles(adr->srce_net, adr->srce_gate);
    head[a0 + 3] = adr->dest_sta;
    head[a0 + 4] = nibbles(adr->dest_net, adr->dest_gate);

    ListWriter list{head, a0 + 5};
    if (adr->srce_gate > 15)
        list.add(0x01, adr->srce_gate);
    if (adr->dest_gate > 15)
        list.add(0x11, adr->dest_gate);
    if (adr->srce_net > 15)
        list.add(0x21, adr->srce_net);
    if (adr->dest_net > 15)
        list.add(0x31, adr->dest_net);
    if (adr->srce_gate == 5)
        list.add(0x42, static_cast<unsigned char>((adr->srce_ext[0] << 4) | adr->srce_ext[1]),
                 adr->srce_ext[2]);
    if (adr->dest_gate == 5)
        list.add(0x52, static_cast<unsigned char>((adr->dest_ext[0] << 4) | adr->dest_ext[1]),
                 adr->dest_ext[2]);
    if (list.pos > a0 + 5)
        head[a0] = static_cast<unsigned char>(head[a0] | 1);
    list.close_list();

    if (adr->srce_gate == 8)
        add_gate8(list, 0x62, adr->srce_ext);
    if (adr->dest_gate == 8)
        add_gate8(list, 0x72, adr->dest_ext);
    if (adr->srce_gate == 9)
        list.add(0x82, adr->srce_ext[0], adr->srce_ext[1]);
    if (adr->dest_gate == 9)
        list.add(0x92, adr->dest_ext[0], adr->dest_ext[1]);
    list.close_list();

    const int head_len = list.pos;
    if (head_len + payload_len > buffer_len)
        return kBuildFailed;
    std::memcpy(buffer, head, static_cast<size_t>(head_len));
    if (payload_len > 0)
        std::memmove(buffer + head_len, payload, static_cast<size_t>(payload_len));
    return static_cast<short>(head_len + payload_len);
}

short CAccessServices::extract(const unsigned char* dtgr, short dtgr_len, DTGR_ADR* adr,
                               const unsigned char** payload) const
{
    if (adr != nullptr && adr->length < kVeltPartSize)
        return -11;
    if (dtgr == nullptr || dtgr_len < 5)
        return kBadFirstList;
    const int len = dtgr_len;

    int a0 = 0;
    if (dtgr[0] == kPrefixMarker)
        a0 = 3 + dtgr[2];
    if (a0 + 5 > len)
        return kBadFirstList;
    const unsigned char* s = dtgr + a0; // the address section
    unsigned char srce_gate = s[2] & 0x0F;
    unsigned char dest_gate = s[4] & 0x0F;
    if (adr != nullptr) {
        adr->type = static_cast<unsigned char>(s[0] >> 4);
        adr->hdr_bit1 = (s[0] >> 1) & 1;
        adr->hdr_bits2_3 = (s[0] >> 2) & 3;
        adr->srce_sta = s[1];
        adr->dest_sta = s[3];
        adr->srce_net = static_cast<unsigned char>(s[2] >> 4);
        adr->dest_net = static_cast<unsigned char>(s[4] >> 4);
        std::memset(adr->srce_ext, 0, sizeof adr->srce_ext);
        std::memset(adr->dest_ext, 0, sizeof adr->dest_ext);
    }

    // Walks one list from `pos`: each entry is checked to lie within the section's 21 bytes
    // and the datagram before its data are read; the entry with the last-entry bit ends it.
    int pos = 5;
    auto walk = [&](bool second, short bad) -> short {
        for (;;) {
            if (a0 + pos >= len)
                return bad;
            const unsigned char tag = s[pos];
            const unsigned char kind = tag & 0xF7;
            const bool allowed = second ? (kind == 0x62 || kind == 0x63 || kind == 0x72 ||
                                           kind == 0x73 || kind == 0x82 || kind == 0x92)
                                        : (kind == 0x01 || kind == 0x11 || kind == 0x21 ||
                                           kind == 0x31 || kind == 0x42 || kind == 0x52);
            if (!allowed)
                return bad;
            const int next = pos + (tag & 7) + 1;
            if (next > kMaxSection || a0 + next > len)
                return bad;
            const unsigned char* d = s + pos + 1;
            unsigned char* ext = nullptr;
            if (adr != nullptr)
                ext = (kind & 0x10) != 0 ? adr->dest_ext : adr->srce_ext;
            switch (kind) {
            case 0x01:
                srce_gate = d[0];
                break;
            case 0x11:
                dest_gate = d[0];
                break;
            case 0x21:
                if (adr != nullptr)
                    adr->srce_net = d[0];
                break;
            case 0x31:
                if (adr != nullptr)
                    adr->dest_net = d[0];
                break;
            case 0x42:
            case 0x52:
                if (ext != nullptr) {
                    ext[0] = static_cast<unsigned char>(d[0] >> 4);
                    ext[1] = d[0] & 0x0F;
                    ext[2] = d[1];
                }
                break;
            case 0x62:
            case 0x72:
                if (ext != nullptr) {
                    ext[0] = static_cast<unsigned char>(d[0] >> 4);
                    ext[1] = d[1];
                    ext[2] = d[0] & 0x0F;
                }
                break;
            case 0x63:
            case 0x73:
                if (ext != nullptr)
                    std::memcpy(ext, d, 3);
                break;
            default: // 0x82, 0x92
                if (ext != nullptr) {
                    ext[0] = d[0];
                    ext[1] = d[1];
                }
                break;
            }
            pos = next;
            if (tag & kLastEntry)
                return 0;
        }
    };

    if ((s[0] & 1) != 0) {
        const short rc = walk(false, kBadFirstList);
        if (rc != 0)
            return rc;
    }
    if (srce_gate == 8 || srce_gate == 9 || dest_gate == 8 || dest_gate == 9) {
        const short rc = walk(true, kBadSecondList);
        if (rc != 0)
            return rc;
    }

    if (adr != nullptr) {
        adr->srce_gate = srce_gate;
        adr->dest_gate = dest_gate;
    }
    if (payload != nullptr)
        *payload = s + pos;
    return static_cast<short>(len - (a0 + pos));
}
