#pragma once
#include <cstddef>
#include <cstdint>

#include "AudioRelayWire.h"

// Builds and reads the datagrams of the audio port through the checked wire
// helpers.
class CAudioDatagram
{
public:
    // Writes head and packet into out; the datagram's length, or 0 when the
    // packet is too long or does not fit.
    static size_t Build(uint8_t kind, uint32_t roomId, uint32_t userId, const uint8_t* packet,
                        size_t packetLength, uint8_t* out, size_t capacity);
    // Reads a datagram: false for one shorter than its head, of an unknown
    // kind, with a packet on anything but audio, or an audio datagram
    // without packet or with one over the largest size.
    static bool Parse(const uint8_t* data, size_t length, AUDIO_RELAY_HEAD* head,
                      const uint8_t** packet, size_t* packetLength);
};
