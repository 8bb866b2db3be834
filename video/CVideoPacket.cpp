#include "CVideoPacket.h"

#include <cstring>
#include <new>

#include "WireReader.h"
#include "WireWriter.h"

namespace {

// Big-endian words of a record: the value whose bytes, as they lie in
// memory, are the word most significant byte first, and back.
uint16_t Big16(uint16_t v)
{
    const uint8_t b[2] = {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    uint16_t wire;
    memcpy(&wire, b, sizeof wire);
    return wire;
}

uint32_t Big32(uint32_t v)
{
    const uint8_t b[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    uint32_t wire;
    memcpy(&wire, b, sizeof wire);
    return wire;
}

uint16_t FromBig16(uint16_t wire)
{
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&wire);
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

uint32_t FromBig32(uint32_t wire)
{
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&wire);
    return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
           static_cast<uint32_t>(b[2]) << 8 | b[3];
}

// The head and the fragment extension of a piece, as they go out.
#pragma pack(push, 1)
struct PieceHead
{
    VIDEO_RTP_HEAD head;
    VIDEO_FRAG_EXT fragment;
};
#pragma pack(pop)
static_assert(sizeof(PieceHead) == 24, "a piece's head is 24 bytes");

// The extension's first two words: its profile and its length in words.
#pragma pack(push, 1)
struct ExtensionStart
{
    uint16_t profile;
    uint16_t words;
};
#pragma pack(pop)
static_assert(sizeof(ExtensionStart) == 4, "an extension starts with two words");

// The fragment fields after them, little-endian.
#pragma pack(push, 1)
struct FragmentFields
{
    uint32_t frameLength;
    uint16_t pieceCount;
    int16_t pieceIndex;
};
#pragma pack(pop)
static_assert(sizeof(FragmentFields) == 8, "the fragment fields are 8 bytes");

} // namespace

size_t CVideoPacket::Build(uint8_t* out, size_t capacity, const Header& header,
                           const uint8_t* frame, uint32_t frameLength, uint32_t index)
{
    using namespace VideoWire;
    if (!frame || frameLength < 1 || frameLength > MAX_FRAME || index >= PieceCount(frameLength))
        return 0;
    const bool extended = frameLength > PIECE_SIZE;
    const uint32_t piece = PieceLength(frameLength, index);
    PieceHead p;
    p.head.flags = extended ? 0x90 : 0x80;
    p.head.markerType =
        static_cast<uint8_t>((header.marker ? 0x80 : 0) | (header.payloadType & 0x7F));
    p.head.sequence = Big16(header.sequence);
    p.head.timestamp = Big32(header.timestamp);
    p.head.ssrc = 0;
    p.fragment.profile = Big16(header.sequence);
    p.fragment.words = Big16(2);
    p.fragment.frameLength = frameLength;
    p.fragment.pieceCount = static_cast<uint16_t>(PieceCount(frameLength));
    p.fragment.pieceIndex = static_cast<int16_t>(index);
    WireWriter w(out, capacity);
    if (extended)
        w.Record(p);
    else
        w.Record(p.head);
    w.Bytes(frame + index * PIECE_SIZE, piece);
    return w.Ok() ? w.Offset() : 0;
}

bool CVideoPacket::ParseInPlace(const uint8_t* data, size_t length, uint32_t sourceAddress,
                                uint16_t sourcePort, View& f)
{
    f = View();
    WireReader r(data, length);
    // The fixed head in one checked read; its words are big-endian.
    VIDEO_RTP_HEAD head;
    if (!data || !r.Record(head) || (head.flags & 0xC0) != 0x80)
        return false;
    const uint8_t flags = head.flags;
    const uint8_t markerType = head.markerType;
    const uint16_t sequence = FromBig16(head.sequence);
    const uint32_t timestamp = FromBig32(head.timestamp);
    const uint32_t ssrc = FromBig32(head.ssrc);
    if (!r.Skip(4u * (flags & 0x0F)))
        return false;

    f.sequence = sequence;
    f.timestamp = timestamp;
    f.ssrc = ssrc;
    f.payloadType = markerType & 0x7F;
    f.marker = markerType >> 7;
    f.extension = (flags & 0x10) ? 1 : 0;
    f.sourceAddress = sourceAddress;
    f.sourcePort = sourcePort;

    if (f.extension) {
        ExtensionStart start;
        if (!r.Record(start))
            return false;
        const uint16_t words = FromBig16(start.words);
        const size_t extensionStart = r.Offset();
        if (words != 0) {
            FragmentFields fragment;
            if (!r.Record(fragment))
                return false;
            f.hasFragment = 1;
            f.frameLength = fragment.frameLength;
            f.pieceCount = fragment.pieceCount;
            f.pieceIndex = fragment.pieceIndex;
        }
        if (!r.Seek(extensionStart) || !r.Skip(4u * words))
            return false;
    }
    size_t payloadEnd = length;
    if (flags & 0x20) {
        const uint8_t padding = data[length - 1];
        if (padding > payloadEnd - r.Offset())
            return false;
        payloadEnd -= padding;
    }
    if (payloadEnd < r.Offset())
        return false;
    f.data = data;
    f.length = length;
    f.payloadOffset = r.Offset();
    f.payloadLength = payloadEnd - r.Offset();
    return true;
}

std::unique_ptr<CVideoFrame> CVideoPacket::Parse(const uint8_t* data, size_t length,
                                                 uint32_t sourceAddress, uint16_t sourcePort)
{
    View view;
    if (!ParseInPlace(data, length, sourceAddress, sourcePort, view))
        return nullptr;
    std::unique_ptr<CVideoFrame> f(new (std::nothrow) CVideoFrame);
    if (!f)
        return nullptr;
    static_cast<VideoFrameFields&>(*f) = view;
    try {
        f->buffer.assign(data, data + length);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    f->payloadOffset = view.payloadOffset;
    f->payloadLength = view.payloadLength;
    return f;
}
