#include "CAudioDatagram.h"

#include "WireReader.h"
#include "WireWriter.h"

size_t CAudioDatagram::Build(uint8_t kind, uint32_t roomId, uint32_t userId, const uint8_t* packet,
                             size_t packetLength, uint8_t* out, size_t capacity)
{
    if (packetLength > AUDIO_RELAY_MAX_PACKET || (packetLength && !packet))
        return 0;
    AUDIO_RELAY_HEAD head = {};
    head.kind = kind;
    head.roomId = roomId;
    head.userId = userId;
    WireWriter writer(out, capacity);
    writer.Record(head);
    writer.Bytes(packet, packetLength);
    return writer.Ok() ? writer.Offset() : 0;
}

bool CAudioDatagram::Parse(const uint8_t* data, size_t length, AUDIO_RELAY_HEAD* head,
                           const uint8_t** packet, size_t* packetLength)
{
    WireReader reader(data, length);
    AUDIO_RELAY_HEAD h;
    if (!reader.Record(h))
        return false;
    const size_t rest = reader.Remaining();
    switch (h.kind) {
    case AUDIO_RELAY_AUDIO:
        if (rest == 0 || rest > AUDIO_RELAY_MAX_PACKET)
            return false;
        break;
    case AUDIO_RELAY_JOIN:
    case AUDIO_RELAY_JOINED:
    case AUDIO_RELAY_LEAVE:
    case AUDIO_RELAY_REFUSED:
        if (rest != 0)
            return false;
        break;
    default:
        return false;
    }
    *head = h;
    *packet = rest ? reader.Current() : nullptr;
    *packetLength = rest;
    return true;
}
