#include "AudioPacket.h"

#include "WireReader.h"
#include "WireWriter.h"

namespace RavoEngine {

bool AudioPacket::ReadHeader(const uint8_t* packet, size_t length, uint8_t* format,
                             uint32_t* sequence)
{
    if (!packet || length <= HEADER_SIZE)
        return false;
    WireReader reader(packet, length);
    uint8_t first = 0;
    uint32_t seq = 0;
    if (!reader.U8(first) || !reader.U32(seq))
        return false;
    if (format)
        *format = first;
    if (sequence)
        *sequence = seq;
    return true;
}

bool AudioPacket::WriteHeader(uint8_t* packet, size_t capacity, uint8_t format, uint32_t sequence)
{
    if (!packet)
        return false;
    WireWriter writer(packet, capacity);
    return writer.U8(format) && writer.U32(sequence);
}

} // namespace RavoEngine
