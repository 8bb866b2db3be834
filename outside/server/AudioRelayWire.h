#pragma once
#include <cstddef>
#include <cstdint>

// Datagrams between an audio manager and the server's audio port. Each one
// starts with AUDIO_RELAY_HEAD; an audio datagram carries one coded audio
// packet after it.
//   join    client -> server: this endpoint speaks for (room, user)
//   joined  server -> client: the join was accepted
//   refused server -> client: no such user in that room
//   audio   client -> server: (room, sender) and the packet;
//           server -> client: (room, source user) and the packet
//   leave   client -> server: the endpoint is given up
enum : uint8_t {
    AUDIO_RELAY_JOIN = 1,
    AUDIO_RELAY_JOINED = 2,
    AUDIO_RELAY_AUDIO = 3,
    AUDIO_RELAY_LEAVE = 4,
    AUDIO_RELAY_REFUSED = 5,
};

#pragma pack(push, 1)
struct AUDIO_RELAY_HEAD
{
    uint8_t kind;
    uint8_t reserved[3];
    uint32_t roomId;
    uint32_t userId;
};
#pragma pack(pop)
static_assert(sizeof(AUDIO_RELAY_HEAD) == 12, "AUDIO_RELAY_HEAD is 12 bytes");

// The largest audio packet a datagram carries.
const size_t AUDIO_RELAY_MAX_PACKET = 1024;
const size_t AUDIO_RELAY_MAX_DATAGRAM = sizeof(AUDIO_RELAY_HEAD) + AUDIO_RELAY_MAX_PACKET;
