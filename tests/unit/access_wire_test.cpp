// Address services: wire form of the address section (build and extract).
#include "tests/unit/access_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

namespace
{

using Bytes = std::vector<unsigned char>;
using RecordSetup = void (*)(DTGR_ADR&);

const Bytes kPayload = {0xFA, 0x00, 0x00, 0x01};

// Source network 0 station 1 gate 1, destination network 0 station 5 gate 4, type 15.
DTGR_ADR base_record(RecordSetup setup)
{
    DTGR_ADR adr;
    std::memset(&adr, 0, sizeof adr);
    adr.length = sizeof adr;
    adr.type = 15;
    adr.srce_sta = 1;
    adr.srce_gate = 1;
    adr.dest_sta = 5;
    adr.dest_gate = 4;
    if (setup != nullptr)
        setup(adr);
    return adr;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(AccessBuild, WritesTheExactBytes)
{
    struct Case {
        const char* name;
        RecordSetup setup;
        Bytes payload;
        Bytes expected;
    };
    const Case cases[] = {
        {"example", nullptr, kPayload, {0xF0, 0x01, 0x01, 0x05, 0x04, 0xFA, 0x00, 0x00, 0x01}},
        {"no payload", nullptr, {}, {0xF0, 0x01, 0x01, 0x05, 0x04}},
        {"dest net 20", [](DTGR_ADR& a) { a.dest_net = 20; }, kPayload,
         Bytes{0xF1, 0x01, 0x01, 0x05, 0x04, 0x39, 0x14} + kPayload},
        {"nets and gates 15",
         [](DTGR_ADR& a) { a.srce_net = a.srce_gate = a.dest_net = a.dest_gate = 15; },
         {},
         {0xF0, 0x01, 0xFF, 0x05, 0xFF}},
        {"nets and gates 16",
         [](DTGR_ADR& a) { a.srce_net = a.srce_gate = a.dest_net = a.dest_gate = 16; },
         {},
         {0xF1, 0x01, 0x00, 0x05, 0x00, 0x01, 0x10, 0x11, 0x10, 0x21, 0x10, 0x39, 0x10}},
        {"first list order",
         [](DTGR_ADR& a) {
             a.srce_gate = 200;
             a.dest_gate = 17;
             a.srce_net = 100;
             a.dest_net = 127;
         },
         {},
         {0xF1, 0x01, 0x00, 0x05, 0x00, 0x01, 0xC8, 0x11, 0x11, 0x21, 0x64, 0x39, 0x7F}},
        {"both gates 5",
         [](DTGR_ADR& a) {
             a.srce_gate = a.dest_gate = 5;
             a.srce_ext[0] = 2, a.srce_ext[1] = 3, a.srce_ext[2] = 4;
             a.dest_ext[0] = 1, a.dest_ext[1] = 15, a.dest_ext[2] = 200;
         },
         kPayload,
         Bytes{0xF1, 0x01, 0x05, 0x05, 0x05, 0x42, 0x23, 0x04, 0x5A, 0x1F, 0xC8} + kPayload},
        {"gate 5 module above 15",
         [](DTGR_ADR& a) {
             a.srce_gate = 5;
             a.srce_ext[0] = 1, a.srce_ext[1] = 0x25, a.srce_ext[2] = 9;
         },
         {},
         {0xF1, 0x01, 0x05, 0x05, 0x04, 0x4A, 0x35, 0x09}},
        {"gate 5 rack 255",
         [](DTGR_ADR& a) {
             a.dest_gate = 5;
             a.dest_ext[0] = 255, a.dest_ext[1] = 255, a.dest_ext[2] = 4;
         },
         {},
         {0xF1, 0x01, 0x01, 0x05, 0x05, 0x5A, 0xFF, 0x04}},
        {"srce gate 8 long",
         [](DTGR_ADR& a) {
             a.srce_gate = 8;
             a.srce_ext[0] = 3, a.srce_ext[1] = 7, a.srce_ext[2] = 20;
         },
         kPayload, Bytes{0xF0, 0x01, 0x08, 0x05, 0x04, 0x6B, 0x03, 0x07, 0x14} + kPayload},
        {"srce gate 8 short",
         [](DTGR_ADR& a) {
             a.srce_gate = 8;
             a.srce_ext[0] = 3, a.srce_ext[1] = 7, a.srce_ext[2] = 2;
         },
         {},
         {0xF0, 0x01, 0x08, 0x05, 0x04, 0x6A, 0x32, 0x07}},
        {"dest gate 9",
         [](DTGR_ADR& a) {
             a.dest_gate = 9;
             a.dest_ext[0] = 0x34, a.dest_ext[1] = 0x12, a.dest_ext[2] = 0x77;
         },
         {},
         {0xF0, 0x01, 0x01, 0x05, 0x09, 0x9A, 0x34, 0x12}},
        {"second list order",
         [](DTGR_ADR& a) {
             a.srce_gate = 9;
             a.srce_ext[0] = 1, a.srce_ext[1] = 2;
             a.dest_gate = 8;
             a.dest_ext[0] = 1, a.dest_ext[1] = 5, a.dest_ext[2] = 2;
         },
         {},
         {0xF0, 0x01, 0x09, 0x05, 0x08, 0x72, 0x12, 0x05, 0x8A, 0x01, 0x02}},
        {"longest section",
         [](DTGR_ADR& a) {
             a.srce_net = a.dest_net = 16;
             a.srce_gate = a.dest_gate = 8;
             a.srce_ext[0] = 16, a.srce_ext[1] = 1, a.srce_ext[2] = 2;
             a.dest_ext[0] = 1, a.dest_ext[1] = 2, a.dest_ext[2] = 16;
         },
         {},
         {0xF1, 0x01, 0x08, 0x05, 0x08, 0x21, 0x10, 0x39, 0x10, 0x63, 0x10, 0x01, 0x02, 0x7B, 0x01,
          0x02, 0x10}},
        {"header bits",
         [](DTGR_ADR& a) {
             a.type = 0x0A;
             a.hdr_bit1 = 1;
             a.hdr_bits2_3 = 3;
         },
         {},
         {0xAE, 0x01, 0x01, 0x05, 0x04}},
        {"header values keep to their bits",
         [](DTGR_ADR& a) {
             a.type = 0xEA; // high nibble: no prefix, not sent
             a.hdr_bit1 = 0xFE;
             a.hdr_bits2_3 = 0xFC;
         },
         {},
         {0xA0, 0x01, 0x01, 0x05, 0x04}},
        {"dns prefix",
         [](DTGR_ADR& a) {
             a.type = 0x1F;
             a.phys_type = 2, a.phys_len = 2, a.phys_adr[0] = 'a', a.phys_adr[1] = 'b';
         },
         kPayload, Bytes{0x10, 0x02, 0x02, 0x61, 0x62, 0xF0, 0x01, 0x01, 0x05, 0x04} + kPayload},
        {"ip prefix",
         [](DTGR_ADR& a) {
             a.type = 0x1F;
             a.phys_type = 1, a.phys_len = 4;
             a.phys_adr[0] = 10, a.phys_adr[1] = 0, a.phys_adr[2] = 0, a.phys_adr[3] = 7;
         },
         {},
         {0x10, 0x01, 0x04, 0x0A, 0x00, 0x00, 0x07, 0xF0, 0x01, 0x01, 0x05, 0x04}},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        const DTGR_ADR adr = base_record(c.setup);
        Bytes buffer(64, kCanary);
        const short rc = services.build(buffer.data(), static_cast<short>(buffer.size()), &adr,
                                        c.payload.data(), static_cast<short>(c.payload.size()));
        ASSERT_EQ(rc, static_cast<short>(c.expected.size())) << c.name;
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + rc), c.expected) << c.name;
        EXPECT_EQ(Bytes(buffer.begin() + rc, buffer.end()), Bytes(buffer.size() - rc, kCanary))
            << c.name;
    }
}

TEST(AccessBuild, RefusesWhatDoesNotFitAndWritesNothing)
{
    struct Case {
        const char* name;
        RecordSetup setup;
        int buffer_len;
        int payload_len;
        bool null_buffer, null_record, null_payload;
        short rc;
    };
    const Case cases[] = {
        {"exact fit", nullptr, 9, 4, false, false, false, 9},
        {"one byte short", nullptr, 8, 4, false, false, false, -120},
        {"negative payload length", nullptr, 64, -1, false, false, false, -120},
        {"negative buffer length", nullptr, -1, 0, false, false, false, -120},
        {"buffer of 4", nullptr, 4, 0, false, false, false, -120},
        {"null buffer", nullptr, 64, 4, true, false, false, -120},
        {"null record", nullptr, 64, 4, false, true, false, -120},
        {"null payload", nullptr, 64, 4, false, false, true, -120},
        {"null empty payload", nullptr, 64, 0, false, false, true, 5},
        {"total above 32767", nullptr, 32767, 32767, false, false, false, -120},
        {"largest total", nullptr, 32767, 32762, false, false, false, 32767},
        {"prefix of 128",
         [](DTGR_ADR& a) {
             a.type = 0x1F;
             a.phys_type = 2, a.phys_len = 128;
         },
         140, 4, false, false, false, 140},
        {"prefix of 128 one short",
         [](DTGR_ADR& a) {
             a.type = 0x1F;
             a.phys_type = 2, a.phys_len = 128;
         },
         139, 4, false, false, false, -120},
        {"prefix longer than the record holds",
         [](DTGR_ADR& a) {
             a.type = 0x1F;
             a.phys_type = 2, a.phys_len = 129;
         },
         1000, 4, false, false, false, -120},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        const DTGR_ADR adr = base_record(c.setup);
        const size_t room = static_cast<size_t>(c.buffer_len > 0 ? c.buffer_len : 0) + 16;
        Bytes buffer(room, kCanary);
        const Bytes payload(static_cast<size_t>(c.payload_len > 0 ? c.payload_len : 0), 0x42);
        const short rc = services.build(
            c.null_buffer ? nullptr : buffer.data(), static_cast<short>(c.buffer_len),
            c.null_record ? nullptr : &adr, c.null_payload ? nullptr : payload.data(),
            static_cast<short>(c.payload_len));
        EXPECT_EQ(rc, c.rc) << c.name;
        const size_t written = rc > 0 ? static_cast<size_t>(rc) : 0;
        EXPECT_EQ(Bytes(buffer.begin() + static_cast<std::ptrdiff_t>(written), buffer.end()),
                  Bytes(room - written, kCanary))
            << c.name;
    }
}

// Expected bytes 2 to 16 of the record: type, hdr_bit1, hdr_bits2_3, srce net/sta/gate,
// dest net/sta/gate, srce_ext, dest_ext.
using Fields = Bytes;
const Fields kExampleFields = {0x0F, 0, 0, 0, 1, 1, 0, 5, 4, 0, 0, 0, 0, 0, 0};

TEST(AccessExtract, ReadsTheSectionAndLocatesThePayload)
{
    constexpr int kWhole = 100000; // pass the datagram's own size
    struct Case {
        const char* name;
        Bytes dtgr;
        int len;
        short rc;
        Fields fields; // checked on success
        int payload_at;
    };
    const Bytes example = {0xF0, 0x01, 0x01, 0x05, 0x04, 0xFA, 0x00, 0x00, 0x01};
    const Bytes twos(14, 0); // filler after a section
    const Case cases[] = {
        {"example", example, kWhole, 4, kExampleFields, 5},
        {"given length rules", example, 7, 2, kExampleFields, 5},
        {"prefix skipped", Bytes{0x10, 0x02, 0x02, 0x61, 0x62} + example, kWhole, 4, kExampleFields,
         10},
        {"header bits",
         {0xAE, 0x01, 0x01, 0x05, 0x04},
         kWhole,
         0,
         {0x0A, 1, 3, 0, 1, 1, 0, 5, 4, 0, 0, 0, 0, 0, 0},
         5},
        {"first list",
         {0xF1, 0x01, 0x00, 0x05, 0x00, 0x01, 0xC8, 0x11, 0x11, 0x21, 0x64, 0x39, 0x7F, 0xAA},
         kWhole,
         1,
         {0x0F, 0, 0, 100, 1, 200, 127, 5, 17, 0, 0, 0, 0, 0, 0},
         13},
        {"nibbles",
         {0x20, 0x3F, 0x9C, 0xFF, 0x7E},
         kWhole,
         0,
         {0x02, 0, 0, 9, 0x3F, 12, 7, 0xFF, 14, 0, 0, 0, 0, 0, 0},
         5},
        {"gate 5 entries",
         {0xF1, 0x01, 0x05, 0x05, 0x05, 0x42, 0x23, 0x04, 0x5A, 0x1F, 0xC8},
         kWhole,
         0,
         {0x0F, 0, 0, 0, 1, 5, 0, 5, 5, 2, 3, 4, 1, 15, 200},
         11},
        {"gate 8 long",
         {0xF0, 0x01, 0x08, 0x05, 0x04, 0x6B, 0x03, 0x07, 0x14},
         kWhole,
         0,
         {0x0F, 0, 0, 0, 1, 8, 0, 5, 4, 3, 7, 20, 0, 0, 0},
         9},
        {"gate 8 short",
         {0xF0, 0x01, 0x01, 0x05, 0x08, 0x7A, 0x32, 0x07},
         kWhole,
         0,
         {0x0F, 0, 0, 0, 1, 1, 0, 5, 8, 0, 0, 0, 3, 7, 2},
         8},
        {"gate 9 from the first list",
         {0xF1, 0x01, 0x00, 0x05, 0x04, 0x09, 0x09, 0x8A, 0x34, 0x12},
         kWhole,
         0,
         {0x0F, 0, 0, 0, 1, 9, 0, 5, 4, 0x34, 0x12, 0, 0, 0, 0},
         10},
        {"first list ends at 21",
         Bytes{0xF1, 0x01, 0x00, 0x05, 0x00} +
             Bytes{0x01, 1, 0x01, 2, 0x01, 3, 0x01, 4, 0x01, 5, 0x01, 6, 0x01, 7, 0x09, 0x10, 0xAA},
         kWhole,
         1,
         {0x0F, 0, 0, 0, 1, 16, 0, 5, 0, 0, 0, 0, 0, 0, 0},
         21},
        {"first list runs to 22",
         Bytes{0xF1, 0x01, 0x00, 0x05, 0x00} +
             Bytes{0x01, 1, 0x01, 2, 0x01, 3, 0x01, 4, 0x01, 5, 0x01, 6, 0x01, 7, 0x4A, 0, 0} +
             twos,
         kWhole,
         -131,
         {},
         0},
        {"first list without last entry",
         Bytes{0xF1, 0x01, 0x00, 0x05, 0x00} + Bytes(20, 0x01),
         kWhole,
         -131,
         {},
         0},
        {"first list tag 0x62",
         {0xF1, 0x01, 0x01, 0x05, 0x04, 0x6A, 0x32, 0x07},
         kWhole,
         -131,
         {},
         0},
        {"first list tag 0x00", {0xF1, 0x01, 0x01, 0x05, 0x04, 0x08, 0x00}, kWhole, -131, {}, 0},
        {"second list tag 0x42",
         {0xF0, 0x01, 0x08, 0x05, 0x04, 0x4A, 0x23, 0x04},
         kWhole,
         -130,
         {},
         0},
        {"second list ends at 21",
         Bytes{0xF0, 0x01, 0x08, 0x05, 0x08, 0x63, 1,    2,  3,  0x73, 4,
               5,    6,    0x63, 7,    8,    9,    0x7B, 10, 11, 12},
         kWhole,
         0,
         {0x0F, 0, 0, 0, 1, 8, 0, 5, 8, 7, 8, 9, 10, 11, 12},
         21},
        {"second list runs past 21",
         Bytes{0xF0, 0x01, 0x08, 0x05, 0x08, 0x63, 1,  2,  3,  0x73, 4, 5,
               6,    0x63, 7,    8,    9,    0x73, 10, 11, 12, 0x6A, 1, 2} +
             twos,
         kWhole,
         -130,
         {},
         0},
        // Datagrams shorter than their address section.
        {"empty", {}, kWhole, -131, {}, 0},
        {"four bytes", {0xF0, 0x01, 0x01, 0x05}, kWhole, -131, {}, 0},
        {"negative length", example, -1, -131, {}, 0},
        {"length -32768", example, -32768, -131, {}, 0},
        {"prefix past the end",
         {0x10, 0x00, 0x05, 0xF0, 0x01, 0x01, 0x05, 0x04},
         kWhole,
         -131,
         {},
         0},
        {"fixed bytes past the end",
         {0x10, 0x02, 0x02, 0x61, 0x62, 0xF0, 0x01, 0x01, 0x05},
         kWhole,
         -131,
         {},
         0},
        {"first list missing", {0xF1, 0x01, 0x01, 0x05, 0x04}, kWhole, -131, {}, 0},
        {"first list entry past the end",
         {0xF1, 0x01, 0x01, 0x05, 0x04, 0x4A, 0x23},
         kWhole,
         -131,
         {},
         0},
        {"second list missing", {0xF0, 0x01, 0x08, 0x05, 0x04}, kWhole, -130, {}, 0},
        {"second list entry past the end",
         {0xF0, 0x01, 0x08, 0x05, 0x04, 0x6B, 0x03, 0x07},
         kWhole,
         -130,
         {},
         0},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        // The datagram sits in a buffer of exactly its size, so a read past it is caught.
        const auto dtgr =
            std::make_unique<unsigned char[]>(c.dtgr.size() + (c.dtgr.empty() ? 1 : 0));
        std::copy(c.dtgr.begin(), c.dtgr.end(), dtgr.get());
        const short len =
            static_cast<short>(c.len == kWhole ? static_cast<int>(c.dtgr.size()) : c.len);

        CanaryRecord rec(147);
        const auto before = rec.image();
        const unsigned char* payload = nullptr;
        const short rc = services.extract(dtgr.get(), len, rec.get(), &payload);
        EXPECT_EQ(rc, c.rc) << c.name;
        EXPECT_EQ(services.extract(dtgr.get(), len, nullptr, nullptr), c.rc) << c.name;
        if (rc != c.rc || rc < 0)
            continue;
        EXPECT_EQ(payload, dtgr.get() + c.payload_at) << c.name;
        auto expected = before;
        std::copy(c.fields.begin(), c.fields.end(), expected.begin() + 2);
        EXPECT_EQ(rec.image(), expected) << c.name; // length and prefix fields untouched
    }
}

TEST(AccessExtract, RecordTooSmallIsNotWritten)
{
    const Bytes dtgr = {0xF0, 0x01, 0x01, 0x05, 0x04};
    CAccessServices services;
    for (short length : {-1, 0, 16}) {
        CanaryRecord rec(length);
        const auto before = rec.image();
        EXPECT_EQ(services.extract(dtgr.data(), 5, rec.get(), nullptr), -11) << length;
        EXPECT_EQ(rec.image(), before) << length;
    }
    EXPECT_EQ(services.extract(nullptr, 5, nullptr, nullptr), -131);
}

TEST(AccessWire, BuildThenExtractKeepsTheAddress)
{
    struct Case {
        const char* name;
        RecordSetup setup;
    };
    const Case cases[] = {
        {"example", nullptr},
        {"header bits",
         [](DTGR_ADR& a) {
             a.type = 0x03;
             a.hdr_bit1 = 1;
             a.hdr_bits2_3 = 2;
         }},
        {"large values",
         [](DTGR_ADR& a) {
             a.srce_net = 127, a.srce_sta = 254, a.srce_gate = 255;
             a.dest_net = 16, a.dest_sta = 255, a.dest_gate = 16;
         }},
        {"gate 5 both",
         [](DTGR_ADR& a) {
             a.srce_gate = a.dest_gate = 5;
             a.srce_ext[0] = 15, a.srce_ext[1] = 15, a.srce_ext[2] = 255;
             a.dest_ext[0] = 0, a.dest_ext[1] = 9, a.dest_ext[2] = 1;
         }},
        {"gate 8 short and long",
         [](DTGR_ADR& a) {
             a.srce_gate = 8, a.dest_gate = 8, a.dest_net = 99;
             a.srce_ext[0] = 15, a.srce_ext[1] = 200, a.srce_ext[2] = 0;
             a.dest_ext[0] = 0, a.dest_ext[1] = 1, a.dest_ext[2] = 16;
         }},
        {"gate 9 both",
         [](DTGR_ADR& a) {
             a.srce_gate = a.dest_gate = 9, a.srce_net = 40;
             a.srce_ext[0] = 0x34, a.srce_ext[1] = 0x12;
             a.dest_ext[0] = 0xFF, a.dest_ext[1] = 0xFF;
         }},
        {"unused ext bytes",
         [](DTGR_ADR& a) {
             a.srce_gate = 3, a.dest_gate = 200;
             a.srce_ext[0] = a.srce_ext[1] = a.srce_ext[2] = 7;
             a.dest_ext[0] = a.dest_ext[1] = a.dest_ext[2] = 7;
         }},
        {"mac prefix",
         [](DTGR_ADR& a) {
             a.type = 0x1F, a.phys_type = 0, a.phys_len = 6, a.dest_gate = 8;
             a.dest_ext[0] = 1, a.dest_ext[1] = 2, a.dest_ext[2] = 3;
         }},
        {"dns prefix of 128",
         [](DTGR_ADR& a) { a.type = 0x1A, a.phys_type = 2, a.phys_len = 128, a.srce_net = 20; }},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        const DTGR_ADR in = base_record(c.setup);
        Bytes buffer(300, 0);
        const short total = services.build(buffer.data(), static_cast<short>(buffer.size()), &in,
                                           kPayload.data(), static_cast<short>(kPayload.size()));
        ASSERT_GT(total, 0) << c.name;

        CanaryRecord out(147);
        const unsigned char* payload = nullptr;
        ASSERT_EQ(services.extract(buffer.data(), total, out.get(), &payload),
                  static_cast<short>(kPayload.size()))
            << c.name;
        EXPECT_EQ(payload, buffer.data() + total - kPayload.size()) << c.name;
        const DTGR_ADR& o = *out.get();
        EXPECT_EQ(o.type, in.type & 0x0F) << c.name; // the prefix flag comes back clear
        EXPECT_EQ(o.hdr_bit1, in.hdr_bit1) << c.name;
        EXPECT_EQ(o.hdr_bits2_3, in.hdr_bits2_3) << c.name;
        EXPECT_EQ(o.srce_net, in.srce_net) << c.name;
        EXPECT_EQ(o.srce_sta, in.srce_sta) << c.name;
        EXPECT_EQ(o.srce_gate, in.srce_gate) << c.name;
        EXPECT_EQ(o.dest_net, in.dest_net) << c.name;
        EXPECT_EQ(o.dest_sta, in.dest_sta) << c.name;
        EXPECT_EQ(o.dest_gate, in.dest_gate) << c.name;
        // Extension bytes come back for the gates that use them, as zero otherwise.
        const auto used = [](unsigned char gate) {
            return gate == 5 || gate == 8 ? 3 : gate == 9 ? 2 : 0;
        };
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(o.srce_ext[i], i < used(in.srce_gate) ? in.srce_ext[i] : 0) << c.name << i;
            EXPECT_EQ(o.dest_ext[i], i < used(in.dest_gate) ? in.dest_ext[i] : 0) << c.name << i;
        }
        EXPECT_EQ(o.phys_type, kCanary) << c.name;
    }
}

TEST(AccessWire, RackOfAnotherLayerComesBackAs15)
{
    // Only four bits of the rack travel: 255 (a rack on another layer) reads back as 15.
    const DTGR_ADR in = base_record([](DTGR_ADR& a) {
        a.srce_gate = 5;
        a.srce_ext[0] = 255, a.srce_ext[1] = 255, a.srce_ext[2] = 3;
    });
    CAccessServices services;
    unsigned char buffer[32];
    const short total = services.build(buffer, sizeof buffer, &in, nullptr, 0);
    ASSERT_EQ(total, 8);
    CanaryRecord out(17);
    ASSERT_EQ(services.extract(buffer, total, out.get(), nullptr), 0);
    EXPECT_EQ(out->srce_ext[0], 15);
    EXPECT_EQ(out->srce_ext[1], 15);
    EXPECT_EQ(out->srce_ext[2], 3);
}

TEST(AccessWire, MirrorRequestPath)
{
    // Local 0.1 gate 1 to remote 0.5 gate 0 with four data bytes, and the echo coming back.
    CAccessServices services;
    DTGR_ADR adr;
    adr.length = sizeof adr;
    ASSERT_EQ(services.Init_def_adr(&adr), 0);
    ASSERT_EQ(services.Write_sta(SRCE, &adr, 1), 0);
    ASSERT_EQ(services.Write_net(SRCE, &adr, 0), 0);
    ASSERT_EQ(services.Write_gate(SRCE, &adr, 1), 0);
    ASSERT_EQ(services.Write_sta(DEST, &adr, 5), 0);
    ASSERT_EQ(services.Write_net(DEST, &adr, 0), 0);
    ASSERT_EQ(services.Write_gate(DEST, &adr, 0), 0);
    const Bytes request = {0xFA, 0x00, 0x00, 0x01, 0x02, 0x03};
    unsigned char buffer[1177];
    const short total = services.build(buffer, sizeof buffer, &adr, request.data(),
                                       static_cast<short>(request.size()));
    ASSERT_EQ(total, 11);
    EXPECT_EQ(Bytes(buffer, buffer + total),
              (Bytes{0xF0, 0x01, 0x01, 0x05, 0x00, 0xFA, 0x00, 0x00, 0x01, 0x02, 0x03}));

    const Bytes reply = {0xF0, 0x05, 0x00, 0x01, 0x01, 0xFB, 0x00, 0x01, 0x02, 0x03};
    const unsigned char* payload = nullptr;
    EXPECT_EQ(services.extract(reply.data(), static_cast<short>(reply.size()), &adr, &payload), 5);
    EXPECT_EQ(payload, reply.data() + 5);
}

} // namespace
