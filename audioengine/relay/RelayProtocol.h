#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "WireReader.h"
#include "WireWriter.h"

// The relay's wire protocol. Every field is little-endian.

// The 16 bytes that open every connection.
#pragma pack(push, 1)
struct RELAY_JOIN_HEAD
{
    uint32_t role;       // low byte: 0 source, 1 listener
    uint32_t conference; // conference id
    uint32_t value;      // kept with the connection, not interpreted
    uint32_t key;        // conference key
};
#pragma pack(pop)
static_assert(sizeof(RELAY_JOIN_HEAD) == 16, "RELAY_JOIN_HEAD is 16 bytes on the wire");

enum : uint32_t {
    RELAY_ROLE_SOURCE = 0,
    RELAY_ROLE_LISTENER = 1,

    RELAY_ANSWER_ACCEPTED = 2,
    RELAY_ANSWER_REFUSED = 3,

    RELAY_LENGTH_SIZE = 4,  // the u32 payload length in front of every message
    RELAY_HEADER_SIZE = 28, // the stored stream header
    RELAY_FORMAT_SIZE = 16, // format bytes of a format message
    RELAY_SHORT_TOTAL = 16, // newbuf, update, value marker, burst end, refresh
    RELAY_LONG_TOTAL = 32,  // stream header, format

    RELAY_KIND_CONTROL = 0, // newbuf, update
    RELAY_KIND_REFRESH = 3,
    RELAY_KIND_FORMAT = 4,
    RELAY_KIND_HEADER = 8,

    RELAY_VALUE_MARKER = 0x21FFFFFF,
    RELAY_BURST_END_MARKER = 0x20FFFFFF,
    RELAY_REFRESH_TAG = 0xF0F0,

    RELAY_BURST_SKIP_BYTES = 131072, // listeners queued beyond this miss a burst
    RELAY_RECEIVE_BUFFER = 32768,
};

// Limits that keep one peer from exhausting the server.
struct RELAY_LIMITS
{
    uint32_t maxPayload = 1u << 20;         // a longer message closes its connection
    uint32_t maxQueuedBytes = 4u << 20;     // a connection queued beyond this is dropped
    uint32_t maxConferences = 64;           // joins that need one more are refused
    uint32_t maxConnections = 256;          // connections beyond this are closed at once
    uint32_t maxPendingJoins = 64;          // connections still sending their join head
    size_t maxTotalQueuedBytes = 64u << 20; // all connections together; the one that
                                            // would pass it is dropped
    uint32_t joinTimeoutMs = 5000;          // for the 16-byte join head
    int sendBufferBytes = 0;                // SO_SNDBUF of accepted sockets; 0 keeps the system's
};

// Views on one whole message buffer (length field included) of total bytes.
namespace RelayMessage {

// The total size (length field included) of the message at the start of
// bytes, as its length field gives it; false while the field is incomplete.
inline bool TotalAt(const uint8_t* bytes, size_t available, uint64_t& total)
{
    WireReader r(bytes, available);
    uint32_t length = 0;
    if (!r.U32(length))
        return false;
    total = static_cast<uint64_t>(length) + RELAY_LENGTH_SIZE;
    return true;
}

inline bool KindAt(const uint8_t* buffer, uint32_t total, uint8_t& kind)
{
    WireReader r(buffer, total);
    return r.Seek(RELAY_LENGTH_SIZE) && r.U8(kind);
}

inline uint32_t U32At(const uint8_t* buffer, uint32_t total, size_t offset)
{
    WireReader r(buffer, total);
    uint32_t v = 0;
    r.Seek(offset) && r.U32(v);
    return v;
}

inline uint16_t U16At(const uint8_t* buffer, uint32_t total, size_t offset)
{
    WireReader r(buffer, total);
    uint16_t v = 0;
    r.Seek(offset) && r.U16(v);
    return v;
}

// True when the zero-terminated name stands at byte 5.
inline bool NameIs(const uint8_t* buffer, uint32_t total, const char* name)
{
    size_t n = strlen(name) + 1;
    WireReader r(buffer, total);
    char text[16] = {};
    if (n > sizeof text || !r.Seek(5) || !r.Bytes(text, n))
        return false;
    return memcmp(text, name, n) == 0;
}

inline bool IsControl(const uint8_t* buffer, uint32_t total, const char* name)
{
    uint8_t kind = 0xFF;
    return total == RELAY_SHORT_TOTAL && KindAt(buffer, total, kind) &&
           kind == RELAY_KIND_CONTROL && NameIs(buffer, total, name);
}

inline bool IsBurstEnd(const uint8_t* buffer, uint32_t total)
{
    if (total != RELAY_SHORT_TOTAL)
        return false;
    WireReader r(buffer, total);
    uint8_t zeros[8] = {};
    uint8_t bytes[8];
    uint32_t marker = 0;
    return r.Seek(4) && r.Bytes(bytes, 8) && r.U32(marker) && memcmp(bytes, zeros, 8) == 0 &&
           marker == RELAY_BURST_END_MARKER;
}

inline bool IsRefreshRequest(const uint8_t* buffer, uint32_t total, uint8_t& flag)
{
    uint8_t kind = 0xFF;
    if (total != RELAY_SHORT_TOTAL || !KindAt(buffer, total, kind) || kind != RELAY_KIND_REFRESH)
        return false;
    if (U16At(buffer, total, 6) != RELAY_REFRESH_TAG)
        return false;
    WireReader r(buffer, total);
    return r.Seek(5) && r.U8(flag);
}

// Writes the 16-byte refresh request the relay sends to a source.
inline bool BuildRefresh(uint8_t* out, size_t capacity, uint8_t flag, uint16_t a, uint16_t b)
{
    WireWriter w(out, capacity);
    return w.U32(RELAY_SHORT_TOTAL - RELAY_LENGTH_SIZE) && w.U8(RELAY_KIND_REFRESH) && w.U8(flag) &&
           w.U16(RELAY_REFRESH_TAG) && w.U16(0) && w.U16(0) && w.U16(a) && w.U16(b);
}

} // namespace RelayMessage
