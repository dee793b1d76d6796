// Fuzz target: arbitrary record -> build -> extract. Input: two bytes of buffer length (low
// byte first; bit 15 makes it negative), the record's bytes 2 to 146, then the payload.
// Checked: build writes only inside the buffer it is given (an exact heap buffer), fails only
// with -120 and only when the result cannot fit or the prefix is longer than the record can
// hold; the prefix and payload are laid out as given; extract of the result finds the payload
// and gives back the header bits, networks, stations, gates and the extension bytes that the
// gates use.
#include "access/access_services.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Extension bytes that travel for a gate: 5 (rack, module, channel: exact only while rack and
// module fit in four bits), 8 (selector, connection, reference), 9 (two bytes of ext_lfip).
void check_ext(unsigned char gate, const unsigned char in[3], const unsigned char out[3])
{
    if (gate == 5 && in[0] <= 15 && in[1] <= 15)
        check(std::memcmp(in, out, 3) == 0);
    else if (gate == 5)
        check(out[2] == in[2]);
    else if (gate == 8)
        check(std::memcmp(in, out, 3) == 0);
    else if (gate == 9)
        check(out[0] == in[0] && out[1] == in[1] && out[2] == 0);
    else
        check(out[0] == 0 && out[1] == 0 && out[2] == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kRecordBytes = sizeof(DTGR_ADR) - 2;
    if (size < 2 || size > 2 + kRecordBytes + 2000)
        return 0;
    int buffer_len = data[0] | ((data[1] & 0x7F) << 8);
    if ((data[1] & 0x80) != 0)
        buffer_len = -buffer_len;
    if (buffer_len > 3000)
        buffer_len = 3000;

    DTGR_ADR in;
    std::memset(&in, 0, sizeof in);
    const size_t record_bytes = size - 2 < kRecordBytes ? size - 2 : kRecordBytes;
    std::memcpy(reinterpret_cast<unsigned char*>(&in) + 2, data + 2, record_bytes);
    in.length = sizeof in;

    const size_t payload_len = size - 2 - record_bytes;
    auto payload = std::make_unique<unsigned char[]>(payload_len);
    if (payload_len > 0)
        std::memcpy(payload.get(), data + 2 + kRecordBytes, payload_len);

    const size_t room = buffer_len > 0 ? static_cast<size_t>(buffer_len) : 0;
    auto buffer = std::make_unique<unsigned char[]>(room);
    CAccessServices services;
    const short total = services.build(buffer.get(), static_cast<short>(buffer_len), &in,
                                       payload.get(), static_cast<short>(payload_len));

    const bool prefix = (in.type & 0xF0) == 0x10;
    if (total < 0) {
        check(total == -120);
        // Room for the largest prefix, the longest section and the payload always suffices.
        const bool fits =
            static_cast<size_t>(buffer_len > 0 ? buffer_len : 0) >= 3 + 128 + 21 + payload_len;
        check(!fits || (prefix && in.phys_len > 128));
        return 0;
    }
    check(total <= buffer_len);
    const size_t head = static_cast<size_t>(total) - payload_len;
    check(head >= 5 && head <= (prefix ? 3u + in.phys_len : 0u) + 21u);
    if (payload_len > 0)
        check(std::memcmp(buffer.get() + head, payload.get(), payload_len) == 0);
    if (prefix) {
        check(buffer[0] == 0x10 && buffer[1] == in.phys_type && buffer[2] == in.phys_len);
        check(std::memcmp(buffer.get() + 3, in.phys_adr, in.phys_len) == 0);
    } else if (buffer[0] == 0x10) {
        // A first byte of 0x10 without a prefix (format 1, no flags) reads as a prefix marker:
        // the wire form cannot tell them apart.
        return 0;
    }

    DTGR_ADR out;
    std::memset(&out, 0xCD, sizeof out);
    out.length = sizeof out;
    const unsigned char* found = nullptr;
    check(services.extract(buffer.get(), total, &out, &found) == static_cast<short>(payload_len));
    check(found == buffer.get() + head);
    check(out.type == (in.type & 0x0F));
    check(out.hdr_bit1 == (in.hdr_bit1 & 1) && out.hdr_bits2_3 == (in.hdr_bits2_3 & 3));
    check(out.srce_net == in.srce_net && out.srce_sta == in.srce_sta &&
          out.srce_gate == in.srce_gate);
    check(out.dest_net == in.dest_net && out.dest_sta == in.dest_sta &&
          out.dest_gate == in.dest_gate);
    check_ext(in.srce_gate, in.srce_ext, out.srce_ext);
    check_ext(in.dest_gate, in.dest_ext, out.dest_ext);
    check(out.phys_type == 0xCD && out.phys_len == 0xCD);
    return 0;
}
