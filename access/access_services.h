// Address services: VELT datagram addresses in text, record and wire form.
//
// CAccessServices keeps no state: every operation works on the record and buffers it is
// given, so one instance serves any number of records and threads. Failures are returned as
// signed 16-bit negative codes (a caller tests the sign):
//
//    -1  half other than SRCE/DEST; null record in Init_srce_adr
//    -2  null record; null _LOCAL_INFO_NET in Init_srce_adr; bad physical prefix in
//        init_xxx_adr
//    -3  value out of range in a Write_ operation; null address text in init_xxx_adr
//   -10  record and text (or record and _LOCAL_INFO_NET) are the same object
//   -11  the record's `length` is too small for what is to be written
//   -90, -91, -92     bad network, station, gate token (-90 also: bad physical prefix token,
//                     SetNextToken); -92 also: Init_comp_adr's third value is not 5
//   -100, -101, -102  bad rack (or compact rack/module), module, channel token (gate 5)
//   -110, -111, -112  bad selector, connection, reference token (gate 8)
//   -113              bad ext_lfip token (gate 9)
//   -120  build: negative payload length, bad argument, or the result does not fit
//   -130, -131        extract: bad or overlong (over 21 bytes, or past the datagram's end)
//                     second list (-130) or first list, fixed bytes or prefix (-131)
#pragma once

#include "access/access_export.h"

#include <cstddef>

static_assert(sizeof(short) == 2, "the address services use 16-bit short values");

// Which half of the address an operation writes.
enum DTGR_SRCE_DEST : int { SRCE = 0, DEST = 1 };

// Result of the token readers.
enum STRG_RC : int {
    STRG_OK = 0,   // a token was read
    STRG_END = -1, // no token: null cursor or cursor at the terminating zero
    STRG_BAD = -2  // bad character or too many digits
};

#pragma pack(push, 1)

// Datagram address record. Its byte positions are part of the interface: `length` says how
// many bytes the caller reserved, and no operation writes a byte at or beyond it.
struct DTGR_ADR {
    short length;                // 0-1: bytes reserved by the caller
    unsigned char type;          // 2: low nibble address format; 0x10 = physical prefix present
    unsigned char hdr_bit1;      // 3: 0 or 1
    unsigned char hdr_bits2_3;   // 4: 0-3
    unsigned char srce_net;      // 5: 0-127
    unsigned char srce_sta;      // 6: 0-63 or 254
    unsigned char srce_gate;     // 7: 0-255
    unsigned char dest_net;      // 8: 0-127
    unsigned char dest_sta;      // 9: 0-63, 254 or 255
    unsigned char dest_gate;     // 10: 0-255
    unsigned char srce_ext[3];   // 11-13: by source gate: 5 rack/module/channel,
                                 //        8 selector/connection/reference, 9 ext_lfip low/high
    unsigned char dest_ext[3];   // 14-16: the same by destination gate
    unsigned char phys_type;     // 17: 0 IEEE 802.3 MAC, 1 IPv4, 2 DNS host name
    unsigned char phys_len;      // 18: 6, 4, or the name length (0-128)
    unsigned char phys_adr[128]; // 19-146: MAC bytes, IPv4 bytes in written order, or name
};

// What the local node tells Init_srce_adr. Only the station, network, gate and the address
// text are read here; the other bytes belong to the producer.
struct _LOCAL_INFO_NET {
    unsigned char reserved0[2];
    unsigned char local_sta; // 2
    unsigned char local_net; // 3
    unsigned char reserved4[3];
    unsigned char local_gate; // 7
    unsigned char reserved8[8];
    char adr_text[64]; // 16-79: zero-terminated; a text filling the field is read as it is
};

#pragma pack(pop)

static_assert(offsetof(DTGR_ADR, length) == 0, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, type) == 2, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, hdr_bit1) == 3, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, hdr_bits2_3) == 4, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, srce_net) == 5, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, srce_sta) == 6, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, srce_gate) == 7, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, dest_net) == 8, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, dest_sta) == 9, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, dest_gate) == 10, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, srce_ext) == 11, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, dest_ext) == 14, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, phys_type) == 17, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, phys_len) == 18, "DTGR_ADR layout");
static_assert(offsetof(DTGR_ADR, phys_adr) == 19, "DTGR_ADR layout");
static_assert(sizeof(DTGR_ADR) == 147, "DTGR_ADR layout");

static_assert(offsetof(_LOCAL_INFO_NET, local_sta) == 2, "_LOCAL_INFO_NET layout");
static_assert(offsetof(_LOCAL_INFO_NET, local_net) == 3, "_LOCAL_INFO_NET layout");
static_assert(offsetof(_LOCAL_INFO_NET, local_gate) == 7, "_LOCAL_INFO_NET layout");
static_assert(offsetof(_LOCAL_INFO_NET, adr_text) == 16, "_LOCAL_INFO_NET layout");
static_assert(sizeof(_LOCAL_INFO_NET) == 80, "_LOCAL_INFO_NET layout");

class KOR_ACCESS_API CAccessServices
{
public:
    CAccessServices() = default;
    CAccessServices(const CAccessServices&) {}                           // nothing to copy
    CAccessServices& operator=(const CAccessServices&) { return *this; } // nothing to copy
    virtual ~CAccessServices();

    // Writes the physical prefix (when `type` announces one), the address section and the
    // payload into `buffer`. Returns the bytes written, or -120: negative payload length,
    // null buffer/record (or null payload with a positive length), a prefix longer than
    // phys_adr, or a result longer than `buffer_len`. On -120 the buffer is left untouched.
    short build(unsigned char* buffer, short buffer_len, const DTGR_ADR* adr,
                const unsigned char* payload, short payload_len) const;

    // Reads the address section of a datagram of `dtgr_len` bytes into `adr` (may be null)
    // and points `payload` (may be null) at the first payload byte. Returns the payload
    // length, -131 or -130 (bad section, or one that runs past `dtgr_len`), or -11 when a
    // record is given whose `length` is below 17. Never reads past `dtgr_len`.
    short extract(const unsigned char* dtgr, short dtgr_len, DTGR_ADR* adr,
                  const unsigned char** payload) const;

    // Parses an address text ("net.sta.gate[.ext...]", for DEST optionally led by
    // "IP.a.b.c.d.", "IP.'name'." or "802_3.h.h.h.h.h.h.") into one half of `adr`.
    // Missing tokens end the parse with 0, keeping what was stored.
    short init_xxx_adr(int compact, DTGR_SRCE_DEST half, DTGR_ADR* adr, const char* text) const;

    // Resets the VELT part: type 15, header bits 0, networks 0, stations 254, gates 0,
    // extension bytes 0. The physical prefix fields are left as they are.
    short Init_def_adr(DTGR_ADR* adr) const;

    // Fills the source half from the local node: from its address text when that is not
    // empty, else from its network, station and gate.
    short Init_srce_adr(DTGR_ADR* adr, const _LOCAL_INFO_NET* info) const;

    // Stores the low bytes of up to five dotted decimal values of `text` into `out` (which
    // must have room for five). Returns the count stored, -92 when the third value is not 5,
    // -90 on a bad token or a null `out`.
    short Init_comp_adr(unsigned char* out, const char* text) const;

    // Store one checked value into the chosen half; 0 or -2, -11, -3, -1.
    short Write_net(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_sta(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_gate(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;

protected:
    short Write_rack(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_mod(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_chan(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_sel(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_conn(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_ref(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;
    short Write_ext_lfip(DTGR_SRCE_DEST half, DTGR_ADR* adr, short value) const;

    // Physical prefix readers: set the prefix flag in `type`, address station 254 of network
    // 0, fill phys_type/phys_len/phys_adr from `text` and leave in `rest` (may be null) the
    // cursor after the prefix. 0, -11 (record too small or null) or -90 (bad token).
    short Init_IP_adr(DTGR_ADR* adr, const char* text, const char** rest) const;
    short Init_DNS_adr(DTGR_ADR* adr, const char* text, const char** rest) const;
    short Init_802_3_adr(DTGR_ADR* adr, const char* text, const char** rest) const;

    // Range checks: nonzero when the value is not acceptable.
    int Net_is_nok(short value) const;
    int Srce_sta_is_nok(short value) const;
    int Dest_sta_is_nok(short value) const;
    int Gate_is_nok(short value) const;
    int Rack_is_nok(short value) const;
    int Mod_is_nok(short value) const;
    int Chan_is_nok(short value) const;
    int Sel_is_nok(short value) const;
    int Conn_is_nok(short value) const;
    int Ref_is_nok(short value) const;

    // Token readers: read up to the next "." or the end, move the cursor past the "." (or set
    // it to null at the end). Decimal: at most five digits, 16-bit wrapping value; hexadecimal:
    // at most four digits. On STRG_END and STRG_BAD the cursor and value are left unchanged.
    STRG_RC Strg_DecimalToInt(const char** cursor, short* value) const;
    STRG_RC Strg_HexaToInt(const char** cursor, unsigned short* value) const;

    // Reads the first decimal token of `text` (the text is not advanced) and stores its low
    // byte at out[count]. 0 and count + 1 on a token; count unchanged when there is none; -90
    // on a bad token, a null `out` or a negative count.
    short SetNextToken(unsigned char* out, const char* text, short& value, short& count) const;

    unsigned char Word_HiOrderByte(unsigned short value) const;
    unsigned char Word_LoOrderByte(unsigned short value) const;
};
