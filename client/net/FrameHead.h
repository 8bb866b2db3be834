#pragma once
#include <cstdint>

// The 6-byte header in front of every message on the server connection.
#pragma pack(push, 1)
struct FRAME_HEAD
{
    uint8_t marker1;   // 0xFF
    uint8_t reserved1; // not interpreted
    uint16_t length;   // payload bytes, the header not counted
    uint8_t marker2;   // 0xFF
    uint8_t reserved2; // not interpreted
};
#pragma pack(pop)
static_assert(sizeof(FRAME_HEAD) == 6, "FRAME_HEAD is 6 bytes on the wire");

enum : uint32_t {
    FRAME_MARKER = 0xFF,
    FRAME_HEAD_SIZE = 6,
    FRAME_MAX_PAYLOAD = 65530, // 65536 less the header
    FRAME_KIND_HEAD = 2,       // the only framing kind: FRAME_HEAD
};
