#pragma once
#include <cstddef>
#include <cstdint>

// Messages between the screen-sharing program and the server's application
// port (TCP). Each message is a SCREEN_RELAY_HEAD followed by its body:
//   hello   program -> server: room id, user id and role (sharer or viewer)
//   welcome server -> program: the hello was accepted
//   refused server -> program: no such user in that room (then closed)
//   picture sharer -> server -> every viewer of the room: SCREEN_PICTURE and
//           the coded pixels; the server puts the sharer's id in
//   input   viewer -> server -> the room's sharers: SCREEN_INPUT
enum : uint8_t {
    SCREEN_RELAY_HELLO = 1,
    SCREEN_RELAY_WELCOME = 2,
    SCREEN_RELAY_PICTURE = 3,
    SCREEN_RELAY_INPUT = 4,
    SCREEN_RELAY_REFUSED = 5,
};

enum : uint8_t { SCREEN_ROLE_SHARER = 1, SCREEN_ROLE_VIEWER = 2 };

#pragma pack(push, 1)
struct SCREEN_RELAY_HEAD
{
    uint32_t length; // of the body that follows
    uint8_t kind;
    uint8_t reserved[3];
};

struct SCREEN_HELLO
{
    uint32_t roomId;
    uint32_t userId;
    uint8_t role;
    uint8_t reserved[3];
};

struct SCREEN_PICTURE
{
    uint32_t senderId;
    uint16_t width;
    uint16_t height;
    uint8_t format; // SCREEN_FORMAT_*
    uint8_t reserved[3];
};

struct SCREEN_INPUT
{
    uint32_t message; // the window message (mouse button, move, key)
    int32_t x;        // picture coordinates
    int32_t y;
    uint32_t key; // the virtual key of a key message
};
#pragma pack(pop)
static_assert(sizeof(SCREEN_RELAY_HEAD) == 8, "SCREEN_RELAY_HEAD is 8 bytes");
static_assert(sizeof(SCREEN_HELLO) == 12, "SCREEN_HELLO is 12 bytes");
static_assert(sizeof(SCREEN_PICTURE) == 12, "SCREEN_PICTURE is 12 bytes");
static_assert(sizeof(SCREEN_INPUT) == 16, "SCREEN_INPUT is 16 bytes");

// Pixels of a picture: runs of (count 1..255, blue, green, red), or in the
// 8-bit form runs of (count, colour as 3-3-2 bits of red, green, blue).
enum : uint8_t { SCREEN_FORMAT_RUNS24 = 0, SCREEN_FORMAT_RUNS8 = 1 };

// The largest body the server takes; pictures are at most this wide and high.
const uint32_t SCREEN_RELAY_MAX_BODY = 8u * 1024 * 1024;
const uint16_t SCREEN_MAX_SIDE = 4096;
