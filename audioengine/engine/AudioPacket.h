#pragma once
#include <cstddef>
#include <cstdint>

namespace RavoEngine {

// The engine's audio packet: byte 0 holds the codec kind (low nibble) and the
// redundancy distance or FEC code (high nibble); bytes 1-4 the sequence
// number, little-endian; the payload follows from byte 5.
class AudioPacket
{
public:
    enum { HEADER_SIZE = 5 };

    // Reads byte 0 and the sequence number; false for a packet of 5 bytes or
    // less (no payload).
    static bool ReadHeader(const uint8_t* packet, size_t length, uint8_t* format,
                           uint32_t* sequence);
    // Writes byte 0 and the sequence number; false when capacity is below 5.
    static bool WriteHeader(uint8_t* packet, size_t capacity, uint8_t format, uint32_t sequence);

    static uint8_t Kind(uint8_t format) { return format & 0x0F; }
    static uint8_t HighNibble(uint8_t format) { return format >> 4; }
    // High nibble 1 to 6: a redundant copy of an earlier frame rides along.
    static bool IsRedundant(uint8_t format)
    {
        return HighNibble(format) >= 1 && HighNibble(format) <= 6;
    }
    // High nibble 7 or more: the payload is a run of FEC packets.
    static bool IsFec(uint8_t format) { return HighNibble(format) >= 7; }
};

} // namespace RavoEngine
