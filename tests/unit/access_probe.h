// Test helpers for the address services: the protected members made reachable, and records
// whose bytes past their declared length hold a canary.
#pragma once

#include "access/access_services.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

class AccessProbe : public CAccessServices
{
public:
    using CAccessServices::Chan_is_nok;
    using CAccessServices::Conn_is_nok;
    using CAccessServices::Dest_sta_is_nok;
    using CAccessServices::Gate_is_nok;
    using CAccessServices::Init_802_3_adr;
    using CAccessServices::Init_DNS_adr;
    using CAccessServices::Init_IP_adr;
    using CAccessServices::Mod_is_nok;
    using CAccessServices::Net_is_nok;
    using CAccessServices::Rack_is_nok;
    using CAccessServices::Ref_is_nok;
    using CAccessServices::Sel_is_nok;
    using CAccessServices::SetNextToken;
    using CAccessServices::Srce_sta_is_nok;
    using CAccessServices::Strg_DecimalToInt;
    using CAccessServices::Strg_HexaToInt;
    using CAccessServices::Word_HiOrderByte;
    using CAccessServices::Word_LoOrderByte;
    using CAccessServices::Write_chan;
    using CAccessServices::Write_conn;
    using CAccessServices::Write_ext_lfip;
    using CAccessServices::Write_mod;
    using CAccessServices::Write_rack;
    using CAccessServices::Write_ref;
    using CAccessServices::Write_sel;
};

using WriteOp = short (CAccessServices::*)(DTGR_SRCE_DEST, DTGR_ADR*, short) const;

constexpr unsigned char kCanary = 0xCD;

// A DTGR_ADR that declares `length` bytes, inside room for the whole record and 16 bytes
// more. Every byte but `length` itself starts as the canary.
class CanaryRecord
{
public:
    static constexpr size_t kRoom = sizeof(DTGR_ADR) + 16;

    explicit CanaryRecord(short length)
    {
        adr_ = new (raw_) DTGR_ADR;
        std::memset(raw_, kCanary, sizeof raw_);
        adr_->length = length;
    }
    CanaryRecord(const CanaryRecord&) = delete;
    CanaryRecord& operator=(const CanaryRecord&) = delete;

    DTGR_ADR* get() { return adr_; }
    DTGR_ADR* operator->() { return adr_; }
    const unsigned char* bytes() const { return raw_; }
    std::vector<unsigned char> image() const { return {raw_, raw_ + kRoom}; }

    // True when no byte at or past the declared length (past `length` itself for a length
    // below 2) has changed.
    bool canary_intact() const
    {
        const size_t from = adr_->length < 2 ? 2 : static_cast<size_t>(adr_->length);
        for (size_t i = from; i < kRoom; ++i)
            if (raw_[i] != kCanary)
                return false;
        return true;
    }

private:
    alignas(8) unsigned char raw_[kRoom];
    DTGR_ADR* adr_;
};

// Byte position and value that a call is expected to write.
using ByteChanges = std::vector<std::pair<int, int>>;

inline std::vector<unsigned char> with_changes(std::vector<unsigned char> image,
                                               const ByteChanges& changes)
{
    for (const auto& change : changes)
        image[static_cast<size_t>(change.first)] = static_cast<unsigned char>(change.second);
    return image;
}
