// Address services: range checks, token readers, record writers, local node and compact
// address.
#include "tests/unit/access_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <type_traits>

// The class carries no state: a vtable pointer only, for its virtual destructor.
static_assert(std::has_virtual_destructor<CAccessServices>::value, "virtual destructor");
static_assert(sizeof(CAccessServices) == sizeof(void*), "no data members");
static_assert(std::is_copy_constructible<CAccessServices>::value &&
                  std::is_copy_assignable<CAccessServices>::value,
              "copyable");

namespace
{

using NokCheck = int (CAccessServices::*)(short) const;

TEST(AccessRangeChecks, AcceptExactlyTheirValues)
{
    const short probes[] = {-32768, -1,  0,   15,  16,  63,  64,   127,
                            128,    253, 254, 255, 256, 300, 32767};
    struct Case {
        const char* name;
        NokCheck check;
        std::vector<short> accepted; // among the probes
    };
    const std::vector<short> byte = {0, 15, 16, 63, 64, 127, 128, 253, 254, 255};
    const Case cases[] = {
        {"Net", &AccessProbe::Net_is_nok, {0, 15, 16, 63, 64, 127}},
        {"Srce_sta", &AccessProbe::Srce_sta_is_nok, {0, 15, 16, 63, 254}},
        {"Dest_sta", &AccessProbe::Dest_sta_is_nok, {0, 15, 16, 63, 254, 255}},
        {"Gate", &AccessProbe::Gate_is_nok, byte},
        {"Chan", &AccessProbe::Chan_is_nok, byte},
        {"Sel", &AccessProbe::Sel_is_nok, byte},
        {"Conn", &AccessProbe::Conn_is_nok, byte},
        {"Ref", &AccessProbe::Ref_is_nok, byte},
        {"Rack", &AccessProbe::Rack_is_nok, {0, 15, 255}},
        {"Mod",
         &AccessProbe::Mod_is_nok,
         {0, 15, 16, 63, 64, 127, 128, 253, 254, 255, 256, 300, 32767}},
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        for (short v : probes) {
            const bool accepted =
                std::find(c.accepted.begin(), c.accepted.end(), v) != c.accepted.end();
            EXPECT_EQ((probe.*c.check)(v) == 0, accepted) << c.name << "_is_nok(" << v << ")";
        }
    }
}

TEST(AccessTokens, DecimalReader)
{
    struct Case {
        const char* text; // nullptr: null cursor
        STRG_RC rc;
        short value;     // stored value (777 = left unchanged)
        int cursor_move; // characters the cursor advanced; -1: cursor became null
    };
    const Case cases[] = {
        {nullptr, STRG_END, 777, 0},    {"", STRG_END, 777, 0},       {"0", STRG_OK, 0, -1},
        {"12.3", STRG_OK, 12, 3},       {".5", STRG_OK, 0, 1},        // empty token
        {"00012", STRG_OK, 12, -1},                                   // five digits
        {"32767", STRG_OK, 32767, -1},  {"65535", STRG_OK, -1, -1},   // 16-bit wrap
        {"99999", STRG_OK, -31073, -1}, {"123456", STRG_BAD, 777, 0}, // six digits
        {"12a.4", STRG_BAD, 777, 0},    {"-1", STRG_BAD, 777, 0},     {" 1", STRG_BAD, 777, 0},
        {"1 ", STRG_BAD, 777, 0},       {"F", STRG_BAD, 777, 0},
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        const char* cursor = c.text;
        short value = 777;
        EXPECT_EQ(probe.Strg_DecimalToInt(&cursor, &value), c.rc) << (c.text ? c.text : "null");
        EXPECT_EQ(value, c.value) << (c.text ? c.text : "null");
        if (c.cursor_move < 0)
            EXPECT_EQ(cursor, nullptr) << c.text;
        else
            EXPECT_EQ(cursor, c.text ? c.text + c.cursor_move : nullptr) << c.text;
    }
    const char** no_cursor = nullptr;
    short value = 0;
    EXPECT_EQ(probe.Strg_DecimalToInt(no_cursor, &value), STRG_END);
}

TEST(AccessTokens, HexadecimalReader)
{
    struct Case {
        const char* text;
        STRG_RC rc;
        unsigned short value; // 777 = left unchanged
        int cursor_move;      // -1: cursor became null
    };
    const Case cases[] = {
        {nullptr, STRG_END, 777, 0},   {"", STRG_END, 777, 0},
        {"FF", STRG_OK, 0xFF, -1},     {"00ff.1", STRG_OK, 0xFF, 5},
        {"fFfF", STRG_OK, 0xFFFF, -1}, {"A.B", STRG_OK, 0xA, 2},
        {".", STRG_OK, 0, 1},          {"09", STRG_OK, 9, -1},
        {"12345", STRG_BAD, 777, 0}, // five digits
        {"G", STRG_BAD, 777, 0},       {"0x1", STRG_BAD, 777, 0},
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        const char* cursor = c.text;
        unsigned short value = 777;
        EXPECT_EQ(probe.Strg_HexaToInt(&cursor, &value), c.rc) << (c.text ? c.text : "null");
        EXPECT_EQ(value, c.value) << (c.text ? c.text : "null");
        if (c.cursor_move < 0)
            EXPECT_EQ(cursor, nullptr) << c.text;
        else
            EXPECT_EQ(cursor, c.text ? c.text + c.cursor_move : nullptr) << c.text;
    }
}

TEST(AccessTokens, WordBytes)
{
    const struct {
        unsigned short word;
        unsigned char hi, lo;
    } cases[] = {
        {0x1234, 0x12, 0x34}, {0xFFFF, 0xFF, 0xFF}, {0x00FF, 0x00, 0xFF}, {0xFF00, 0xFF, 0x00}};
    AccessProbe probe;
    for (const auto& c : cases) {
        EXPECT_EQ(probe.Word_HiOrderByte(c.word), c.hi) << c.word;
        EXPECT_EQ(probe.Word_LoOrderByte(c.word), c.lo) << c.word;
    }
}

TEST(AccessWrite, StoresCheckedValueInItsHalfOnly)
{
    struct Case {
        const char* name;
        WriteOp op;
        int half;
        short length;
        short value;
        short rc;
        ByteChanges changes;
    };
    const auto net = &CAccessServices::Write_net;
    const auto sta = &CAccessServices::Write_sta;
    const auto gate = &CAccessServices::Write_gate;
    const auto rack = &AccessProbe::Write_rack;
    const auto mod = &AccessProbe::Write_mod;
    const auto chan = &AccessProbe::Write_chan;
    const auto sel = &AccessProbe::Write_sel;
    const auto conn = &AccessProbe::Write_conn;
    const auto ref = &AccessProbe::Write_ref;
    const auto lfip = &AccessProbe::Write_ext_lfip;
    const Case cases[] = {
        // Each field of each half, at the smallest length that allows writing.
        {"net src 127", net, SRCE, 17, 127, 0, {{5, 127}}},
        {"net dst 0", net, DEST, 17, 0, 0, {{8, 0}}},
        {"net 128", net, SRCE, 17, 128, -3, {}},
        {"net -1", net, DEST, 17, -1, -3, {}},
        {"sta src 63", sta, SRCE, 17, 63, 0, {{6, 63}}},
        {"sta src 254", sta, SRCE, 17, 254, 0, {{6, 254}}},
        {"sta dst 254", sta, DEST, 17, 254, 0, {{9, 254}}},
        {"sta dst 255", sta, DEST, 17, 255, 0, {{9, 255}}},
        {"sta src 255", sta, SRCE, 17, 255, -3, {}},
        {"sta dst 64", sta, DEST, 17, 64, -3, {}},
        {"gate src 255", gate, SRCE, 17, 255, 0, {{7, 255}}},
        {"gate dst 8", gate, DEST, 17, 8, 0, {{10, 8}}},
        {"gate 256", gate, DEST, 17, 256, -3, {}},
        {"rack src 15", rack, SRCE, 17, 15, 0, {{11, 15}}},
        {"rack dst 255", rack, DEST, 17, 255, 0, {{14, 255}}},
        {"rack 16", rack, SRCE, 17, 16, -3, {}},
        {"mod src 300", mod, SRCE, 17, 300, 0, {{12, 44}}},
        {"mod dst 255", mod, DEST, 17, 255, 0, {{15, 255}}},
        {"mod -1", mod, SRCE, 17, -1, -3, {}},
        {"chan src 200", chan, SRCE, 17, 200, 0, {{13, 200}}},
        {"chan dst 0", chan, DEST, 17, 0, 0, {{16, 0}}},
        {"chan 256", chan, DEST, 17, 256, -3, {}},
        {"sel src 3", sel, SRCE, 17, 3, 0, {{11, 3}}},
        {"sel dst 255", sel, DEST, 17, 255, 0, {{14, 255}}},
        {"sel -1", sel, DEST, 17, -1, -3, {}},
        {"conn src 7", conn, SRCE, 17, 7, 0, {{12, 7}}},
        {"conn dst 1", conn, DEST, 17, 1, 0, {{15, 1}}},
        {"conn 1000", conn, SRCE, 17, 1000, -3, {}},
        {"ref src 20", ref, SRCE, 17, 20, 0, {{13, 20}}},
        {"ref dst 2", ref, DEST, 17, 2, 0, {{16, 2}}},
        {"ref 256", ref, SRCE, 17, 256, -3, {}},
        {"lfip src", lfip, SRCE, 17, 0x1234, 0, {{11, 0x34}, {12, 0x12}}},
        {"lfip dst -1", lfip, DEST, 17, -1, 0, {{14, 0xFF}, {15, 0xFF}}},
        // Order of checks: length, then value, then half; Write_sta: half before value;
        // Write_ext_lfip: no value check.
        {"net short+bad", net, 9, 16, 999, -11, {}},
        {"net bad value+half", net, 9, 17, 999, -3, {}},
        {"net bad half", net, 2, 17, 1, -1, {}},
        {"net half -1", net, -1, 147, 1, -1, {}},
        {"rack bad value+half", rack, 7, 17, 16, -3, {}},
        {"ref bad value+half", ref, 7, 17, 256, -3, {}},
        {"sta short+bad", sta, 9, 16, 999, -11, {}},
        {"sta bad half+value", sta, 2, 17, 999, -1, {}},
        {"lfip short", lfip, SRCE, 16, 1, -11, {}},
        {"lfip bad half", lfip, 2, 17, 1, -1, {}},
        {"gate negative length", gate, SRCE, -1, 1, -11, {}},
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        CanaryRecord rec(c.length);
        const auto expected = with_changes(rec.image(), c.changes);
        EXPECT_EQ((probe.*c.op)(static_cast<DTGR_SRCE_DEST>(c.half), rec.get(), c.value), c.rc)
            << c.name;
        EXPECT_EQ(rec.image(), expected) << c.name;
        EXPECT_TRUE(rec.canary_intact()) << c.name;
    }
}

TEST(AccessWrite, NullRecordComesFirst)
{
    const WriteOp ops[] = {&CAccessServices::Write_net,  &CAccessServices::Write_sta,
                           &CAccessServices::Write_gate, &AccessProbe::Write_rack,
                           &AccessProbe::Write_mod,      &AccessProbe::Write_chan,
                           &AccessProbe::Write_sel,      &AccessProbe::Write_conn,
                           &AccessProbe::Write_ref,      &AccessProbe::Write_ext_lfip};
    AccessProbe probe;
    for (const auto op : ops)
        EXPECT_EQ((probe.*op)(static_cast<DTGR_SRCE_DEST>(5), nullptr, -1), -2);
}

TEST(AccessInitDef, ResetsVeltPartAndKeepsPrefix)
{
    CAccessServices services;
    EXPECT_EQ(services.Init_def_adr(nullptr), -2);

    CanaryRecord short_rec(16);
    const auto untouched = short_rec.image();
    EXPECT_EQ(services.Init_def_adr(short_rec.get()), -11);
    EXPECT_EQ(short_rec.image(), untouched);

    CanaryRecord rec(17);
    const auto expected = with_changes(rec.image(), {{2, 15},
                                                     {3, 0},
                                                     {4, 0},
                                                     {5, 0},
                                                     {6, 254},
                                                     {7, 0},
                                                     {8, 0},
                                                     {9, 254},
                                                     {10, 0},
                                                     {11, 0},
                                                     {12, 0},
                                                     {13, 0},
                                                     {14, 0},
                                                     {15, 0},
                                                     {16, 0}});
    EXPECT_EQ(services.Init_def_adr(rec.get()), 0);
    EXPECT_EQ(rec.image(), expected); // prefix fields (17 on) keep their bytes
}

TEST(AccessSetNextToken, StoresLowByteAtCount)
{
    struct Case {
        const char* text;
        short count;
        short rc;
        short count_after;
        short value_after; // 555 = unchanged
        ByteChanges out;   // bytes of the 8-byte output that change
    };
    const Case cases[] = {
        {"7.9", 2, 0, 3, 7, {{2, 7}}}, {"300", 0, 0, 1, 300, {{0, 44}}},
        {".4", 1, 0, 2, 0, {{1, 0}}},  {"", 3, 3, 3, 555, {}},
        {nullptr, 4, 4, 4, 555, {}},   {"x", 1, -90, 1, 555, {}},
        {"1", -1, -90, -1, 555, {}}, // would write before the output
    };
    AccessProbe probe;
    for (const auto& c : cases) {
        std::vector<unsigned char> out(8, kCanary);
        const auto expected = with_changes(out, c.out);
        short value = 555;
        short count = c.count;
        EXPECT_EQ(probe.SetNextToken(out.data(), c.text, value, count), c.rc) << c.text;
        EXPECT_EQ(count, c.count_after) << c.text;
        EXPECT_EQ(value, c.value_after) << c.text;
        EXPECT_EQ(out, expected) << c.text;
    }
    short value = 0, count = 0;
    EXPECT_EQ(probe.SetNextToken(nullptr, "1", value, count), -90);
    EXPECT_EQ(count, 0);
}

TEST(AccessCompAdr, StoresAtMostFiveBytes)
{
    struct Case {
        const char* text;
        short rc;
        std::vector<unsigned char> stored;
    };
    const Case cases[] = {
        {"1.2.5.35.4", 5, {1, 2, 5, 35, 4}},
        {"1.2.5.35.4.9.9", 5, {1, 2, 5, 35, 4}}, // later values are not read
        {"1.2.5.35", 4, {1, 2, 5, 35}},
        {"1.2", 2, {1, 2}},
        {"", 0, {}},
        {nullptr, 0, {}},
        {"1..5..", 4, {1, 0, 5, 0}},
        {"300.2.5.1.1", 5, {44, 2, 5, 1, 1}},
        {"1.2.4.1.1", -92, {1, 2, 4}},
        {"1.2.261.1.1", -92, {1, 2, 5}}, // the value, not its low byte, must be 5
        {"1.x.5", -90, {1}},
        {"1.2.5.1.123456", -90, {1, 2, 5, 1}},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        std::vector<unsigned char> out(16, kCanary);
        std::vector<unsigned char> expected(16, kCanary);
        std::copy(c.stored.begin(), c.stored.end(), expected.begin());
        EXPECT_EQ(services.Init_comp_adr(out.data(), c.text), c.rc) << c.text;
        EXPECT_EQ(out, expected) << c.text;
    }
    EXPECT_EQ(services.Init_comp_adr(nullptr, "1.2.5"), -90);
}

TEST(AccessInitSrce, FromTextOrFromLocalNode)
{
    struct Case {
        const char* name;
        short length;
        bool null_info;
        std::string text;
        unsigned char sta, net, gate;
        short rc;
        ByteChanges changes;
    };
    const Case cases[] = {
        {"short, null info", 16, true, "", 0, 0, 0, -11, {}},
        {"null info", 17, true, "", 0, 0, 0, -2, {}},
        {"from node", 17, false, "", 12, 3, 7, 0, {{5, 3}, {6, 12}, {7, 7}}},
        {"node station 254", 17, false, "", 254, 0, 255, 0, {{5, 0}, {6, 254}, {7, 255}}},
        {"node station 255", 17, false, "", 255, 3, 1, -3, {{5, 3}}},
        {"node network 128", 17, false, "", 1, 128, 1, -3, {}},
        {"from text",
         17,
         false,
         "3.12.5.1.2.0",
         1,
         1,
         1,
         0,
         {{5, 3}, {6, 12}, {7, 5}, {11, 1}, {12, 2}, {13, 0}}},
        {"text wins over node", 17, false, "4.5", 9, 9, 9, 0, {{5, 4}, {6, 5}}},
        {"text with prefix", 147, false, "IP.1.2.3.4", 1, 1, 1, -90, {}},
        {"text too large", 17, false, "1.64", 1, 1, 1, -3, {{5, 1}}},
        {"text fills field",
         17,
         false,
         "1.2.8.1.2.3." + std::string(52, 'x'),
         0,
         0,
         0,
         0,
         {{5, 1}, {6, 2}, {7, 8}, {11, 1}, {12, 2}, {13, 3}}},
    };
    CAccessServices services;
    for (const auto& c : cases) {
        CanaryRecord rec(c.length);
        auto* info = new _LOCAL_INFO_NET; // on the heap: a read past its end is caught
        std::memset(info, 0x5A, sizeof *info);
        info->local_sta = c.sta;
        info->local_net = c.net;
        info->local_gate = c.gate;
        std::memset(info->adr_text, 0, sizeof info->adr_text);
        std::memcpy(info->adr_text, c.text.data(), std::min(c.text.size(), sizeof info->adr_text));
        const auto expected = with_changes(rec.image(), c.changes);
        EXPECT_EQ(services.Init_srce_adr(rec.get(), c.null_info ? nullptr : info), c.rc) << c.name;
        EXPECT_EQ(rec.image(), expected) << c.name;
        delete info;
    }

    // Null record wins over everything; record and node the same object.
    EXPECT_EQ(services.Init_srce_adr(nullptr, nullptr), -1);
    union {
        DTGR_ADR adr;
        _LOCAL_INFO_NET info;
    } both;
    std::memset(&both, 0, sizeof both);
    both.adr.length = 147;
    EXPECT_EQ(services.Init_srce_adr(&both.adr, &both.info), -10);
}

} // namespace
