// Fuzz target: address texts. Input: one byte of flags (bit 0 compact, bit 1 half, bit 2 an
// invalid half), one byte choosing the record's declared length, then the text.
// Checked: nothing is written at or past the declared length, nothing outside the chosen
// half and its prefix, every stored network and station is in range, every result is one
// of the documented codes. The same text also feeds Init_comp_adr (five-byte output on the
// heap, so a sixth byte is caught) and Init_srce_adr.
#include "access/access_services.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace
{

constexpr unsigned char kCanary = 0xCD;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool is_text_code(short rc)
{
    switch (rc) {
    case 0:
    case -1:
    case -2:
    case -3:
    case -10:
    case -11:
    case -90:
    case -91:
    case -92:
    case -100:
    case -101:
    case -102:
    case -110:
    case -111:
    case -112:
    case -113:
        return true;
    default:
        return false;
    }
}

struct Record {
    alignas(8) unsigned char raw[sizeof(DTGR_ADR) + 16];
    DTGR_ADR* adr;

    explicit Record(short length)
    {
        std::memset(raw, kCanary, sizeof raw);
        adr = reinterpret_cast<DTGR_ADR*>(raw);
        adr->length = length;
    }
    bool untouched(size_t from, size_t to) const
    {
        for (size_t i = from; i < to && i < sizeof raw; ++i)
            if (raw[i] != kCanary)
                return false;
        return true;
    }
};

bool net_ok(unsigned char v)
{
    return v == kCanary || v <= 127;
}

bool srce_sta_ok(unsigned char v)
{
    return v == kCanary || v <= 63 || v == 254;
}

bool dest_sta_ok(unsigned char v)
{
    return v == kCanary || v <= 63 || v >= 254;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static const short kLengths[] = {-1, 0, 16, 17, 18, 22, 23, 24, 25, 146, 147, 200, -32768};
    const int compact = data[0] & 1;
    const int half = (data[0] & 4) != 0 ? 2 + (data[0] >> 3) : (data[0] >> 1) & 1;
    const short length = kLengths[data[1] % (sizeof kLengths / sizeof kLengths[0])];
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    CAccessServices services;
    Record rec(length);
    const short rc =
        services.init_xxx_adr(compact, static_cast<DTGR_SRCE_DEST>(half), rec.adr, text.c_str());
    check(is_text_code(rc));
    const size_t declared = length < 2 ? 2 : static_cast<size_t>(length);
    check(rec.untouched(declared, sizeof rec.raw));
    check(rec.adr->length == length);
    if (half == SRCE) {
        check(rec.untouched(offsetof(DTGR_ADR, dest_net), offsetof(DTGR_ADR, dest_gate) + 1));
        check(rec.untouched(offsetof(DTGR_ADR, dest_ext), sizeof rec.raw));
        check(rec.untouched(offsetof(DTGR_ADR, type), offsetof(DTGR_ADR, srce_net)));
    } else if (half == DEST) {
        check(rec.untouched(offsetof(DTGR_ADR, srce_net), offsetof(DTGR_ADR, srce_gate) + 1));
        check(rec.untouched(offsetof(DTGR_ADR, hdr_bit1), offsetof(DTGR_ADR, srce_net)));
        check(rec.untouched(offsetof(DTGR_ADR, srce_ext), offsetof(DTGR_ADR, dest_ext)));
    } else {
        check(rec.untouched(2, sizeof rec.raw));
    }
    if (length >= 17) {
        check(net_ok(rec.adr->srce_net) && net_ok(rec.adr->dest_net));
        check(srce_sta_ok(rec.adr->srce_sta) && dest_sta_ok(rec.adr->dest_sta));
        if (rec.adr->phys_len != kCanary && (rec.adr->type & 0x10) != 0)
            check(rec.adr->phys_len <= 128);
    }

    // Compact address: at most five bytes, into a buffer of exactly five.
    auto out = std::make_unique<unsigned char[]>(5);
    const short comp = services.Init_comp_adr(out.get(), text.c_str());
    check(comp == -90 || comp == -92 || (comp >= 0 && comp <= 5));

    // Local node: the text as the node's address text, the flags as its station/net/gate.
    auto info = std::make_unique<_LOCAL_INFO_NET>();
    std::memset(info.get(), 0, sizeof *info);
    info->local_sta = data[0];
    info->local_net = data[1];
    info->local_gate = static_cast<unsigned char>(data[0] ^ data[1]);
    std::memcpy(info->adr_text, text.data(), text.size() < 64 ? text.size() : 64);
    Record src(length);
    const short rc_srce = services.Init_srce_adr(src.adr, info.get());
    check(is_text_code(rc_srce) && rc_srce != -1 && rc_srce != -2 && rc_srce != -10);
    check(src.untouched(declared, sizeof src.raw));
    check(src.untouched(offsetof(DTGR_ADR, dest_net), offsetof(DTGR_ADR, dest_gate) + 1));
    check(src.untouched(offsetof(DTGR_ADR, dest_ext), sizeof src.raw));
    return 0;
}
