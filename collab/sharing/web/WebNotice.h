#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The records by which the participant who leads co-browsing or the
// presentation board tells the others what to show, several of them
// carried one after another in one relayed payload. Co-browsing records
// have kinds 0x20..0x24, the board's 0x10..0x14 (the base plus one of the
// WEB_* steps below).
enum : uint8_t { WEB_BASE_BOARD = 0x10, WEB_BASE_BROWSING = 0x20 };
enum : uint8_t {
    WEB_NAVIGATE = 0,
    WEB_OPEN = 1,
    WEB_CLOSE = 2,
    WEB_ACTIVATE = 3,
    WEB_CLOSE_ALL = 4
};

#pragma pack(push, 1)
// Open, close, activate: the kind and the tab it names. A navigation adds a
// u32 length and that many bytes of NAV_RECORD; "close every tab" is the
// kind byte alone.
struct WEB_NOTICE
{
    uint8_t kind;
    uint8_t reserved[3];
    uint32_t tabId;
};

// The head of one navigation; the address, target frame name, request
// headers and post data follow in this order, without terminators.
struct NAV_RECORD
{
    uint32_t flags;
    uint16_t bodyLength; // the sum of the four lengths below
    uint16_t addressLength;
    uint16_t frameLength;
    uint16_t headersLength;
    uint16_t postLength;
    uint8_t reserved[2];
};
#pragma pack(pop)
static_assert(sizeof(WEB_NOTICE) == 8, "WEB_NOTICE is 8 bytes");
static_assert(sizeof(NAV_RECORD) == 16, "NAV_RECORD is 16 bytes");

// One navigation, as the leader's browser reported it.
struct NAV_FIELDS
{
    uint32_t flags = 0;
    std::string address;
    std::string frame;
    std::string headers;
    std::vector<uint8_t> post;
};

// One record of a payload, pointing into it.
struct WEB_RECORD
{
    uint8_t step = 0; // WEB_*
    uint32_t tabId = 0;
    const uint8_t* nav = nullptr; // the NAV_RECORD bytes of a navigation
    size_t navLength = 0;
    size_t size = 0; // bytes the record takes in the payload
};

class CWebNotice
{
public:
    // The address, frame and headers a view keeps are shorter than this.
    enum : size_t { FIELD_SIZE = 260 };

    static std::vector<uint8_t> Tab(uint8_t base, uint8_t step, uint32_t tabId);
    static std::vector<uint8_t> CloseAll(uint8_t base);
    // A navigation record of at most maxPayload bytes. Post data that would
    // not fit (or would overflow the record's 16-bit lengths) is left out;
    // false when even the record without it does not fit.
    static bool Navigate(uint8_t base, uint32_t tabId, const NAV_FIELDS& nav, size_t maxPayload,
                         std::vector<uint8_t>& out);

    // The record at the start of data, for the kinds of base. False when
    // nothing is left, the kind is not one of base's, or the record is cut
    // short: the run ends there.
    static bool Next(const uint8_t* data, size_t length, uint8_t base, WEB_RECORD& out);
    // A navigation record's fields. False unless its four lengths add up to
    // its body length, the body fills the record exactly and the address,
    // frame and headers each fit a view's 260-byte fields.
    static bool ParseNav(const uint8_t* data, size_t length, NAV_FIELDS& out);
};
