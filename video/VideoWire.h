#pragma once
#include <cstdint>

// The video datagram layout. Multi-byte fields of the header and the first
// two words of the extension are big-endian; the fragment fields after them
// are little-endian. Both records are read and written field by field
// through WireReader / WireWriter.
#pragma pack(push, 1)
struct VIDEO_RTP_HEAD
{
    uint8_t flags;      // version (2) in bits 7-6, padding bit 5, extension bit 4, CSRC count
    uint8_t markerType; // marker bit 7, payload type bits 6-0
    uint16_t sequence;  // frame counter, big-endian
    uint32_t timestamp; // big-endian
    uint32_t ssrc;      // big-endian, 0 on send
};
struct VIDEO_FRAG_EXT
{
    uint16_t profile;     // frame counter again, big-endian
    uint16_t words;       // extension length in 32-bit words, big-endian: 2
    uint32_t frameLength; // little-endian
    uint16_t pieceCount;  // little-endian
    int16_t pieceIndex;   // little-endian
};
#pragma pack(pop)
static_assert(sizeof(VIDEO_RTP_HEAD) == 12, "video header is 12 bytes");
static_assert(sizeof(VIDEO_FRAG_EXT) == 12, "fragment extension is 12 bytes");

namespace VideoWire {
enum : uint32_t {
    PIECE_SIZE = 500,
    MAX_FRAME = 61440,
    MAX_PIECES = (MAX_FRAME + PIECE_SIZE - 1) / PIECE_SIZE,
    MAX_PACKET = sizeof(VIDEO_RTP_HEAD) + sizeof(VIDEO_FRAG_EXT) + PIECE_SIZE,
    DATAGRAM_BUFFER = 1500,
    PAYLOAD_TYPE = 110,
    TIMESTAMP_STEP = 30,
};

inline uint32_t PieceCount(uint32_t frameLength)
{
    return (frameLength + PIECE_SIZE - 1) / PIECE_SIZE;
}
// Bytes the piece at index carries in a frame of that length.
inline uint32_t PieceLength(uint32_t frameLength, uint32_t index)
{
    const uint32_t count = PieceCount(frameLength);
    if (index + 1 < count)
        return PIECE_SIZE;
    const uint32_t rest = frameLength % PIECE_SIZE;
    return rest ? rest : PIECE_SIZE;
}
} // namespace VideoWire
