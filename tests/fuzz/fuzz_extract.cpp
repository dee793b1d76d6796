// Fuzz target: reading the address section of arbitrary datagrams. Input: one byte choosing
// how the length is given (the whole input, shorter, or a raw signed value no larger than the
// input), then the datagram. The bytes given lie in a heap buffer of exactly that size, so
// any read past the given length is caught. Checked: the result is a payload length or -130/-131,
// the same with and without record and payload pointer; the payload lies inside the given length
// and ends exactly at it; the record's length and prefix bytes are never written.
#include "access/access_services.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{

constexpr unsigned char kCanary = 0xCD;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 32767 + 1)
        return 0;
    const size_t n = size - 1;
    const uint8_t* bytes = data + 1;

    const unsigned char mode = data[0];
    int len = static_cast<int>(n);
    if (mode >= 0xC0 && n >= 2)
        len = static_cast<short>(bytes[0] | (bytes[1] << 8)); // raw value, may be negative
    else if (mode >= 0x80)
        len = static_cast<int>(n) - (mode & 0x3F);
    if (len > static_cast<int>(n))
        len = static_cast<int>(n);

    // Exactly the bytes given, on the heap: a read past the given length is caught.
    const size_t given = len > 0 ? static_cast<size_t>(len) : 0;
    auto dtgr = std::make_unique<unsigned char[]>(given);
    if (given > 0)
        std::memcpy(dtgr.get(), bytes, given);

    CAccessServices services;
    alignas(8) unsigned char raw[sizeof(DTGR_ADR) + 16];
    std::memset(raw, kCanary, sizeof raw);
    auto* adr = reinterpret_cast<DTGR_ADR*>(raw);
    adr->length = sizeof(DTGR_ADR);

    const unsigned char* payload = nullptr;
    const short rc = services.extract(dtgr.get(), static_cast<short>(len), adr, &payload);
    const short rc_bare = services.extract(dtgr.get(), static_cast<short>(len), nullptr, nullptr);
    check(rc == rc_bare);
    check(rc >= 0 || rc == -130 || rc == -131);
    check(adr->length == static_cast<short>(sizeof(DTGR_ADR)));
    for (size_t i = offsetof(DTGR_ADR, phys_type); i < sizeof raw; ++i)
        check(raw[i] == kCanary);
    if (rc >= 0) {
        check(len >= 5 && rc <= len - 5);
        check(payload != nullptr && payload >= dtgr.get() + 5);
        check(payload + rc == dtgr.get() + len);
        // Address fields read back from the nibbles and bits are within their widths.
        check(adr->type <= 15 && adr->hdr_bit1 <= 1 && adr->hdr_bits2_3 <= 3);
    } else {
        check(payload == nullptr);
    }

    // A record too small to be written is refused and left as it was.
    adr->length = 16;
    std::memset(raw + 2, kCanary, sizeof raw - 2);
    check(services.extract(dtgr.get(), static_cast<short>(len), adr, &payload) == -11);
    for (size_t i = 2; i < sizeof raw; ++i)
        check(raw[i] == kCanary);
    return 0;
}
