#include "CVideoPacket.h"

#include <new>

#include "WireReader.h"
#include "WireWriter.h"

namespace {

bool BigU16(WireWriter& w, uint16_t v)
{
    return w.U8(static_cast<uint8_t>(v >> 8)) && w.U8(static_cast<uint8_t>(v));
}

bool BigU32(WireWriter& w, uint32_t v)
{
    return BigU16(w, static_cast<uint16_t>(v >> 16)) && BigU16(w, static_cast<uint16_t>(v));
}

bool ReadBigU16(WireReader& r, uint16_t& v)
{
    uint8_t hi = 0, lo = 0;
    if (!r.U8(hi) || !r.U8(lo))
        return false;
    v = static_cast<uint16_t>(hi << 8 | lo);
    return true;
}

bool ReadBigU32(WireReader& r, uint32_t& v)
{
    uint16_t hi = 0, lo = 0;
    if (!ReadBigU16(r, hi) || !ReadBigU16(r, lo))
        return false;
    v = static_cast<uint32_t>(hi) << 16 | lo;
    return true;
}

// A word of a record read as it lay on the wire, most significant byte first.
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

} // namespace

size_t CVideoPacket::Build(uint8_t* out, size_t capacity, const Header& header,
                           const uint8_t* frame, uint32_t frameLength, uint32_t index)
{
    using namespace VideoWire;
    if (!frame || frameLength < 1 || frameLength > MAX_FRAME || index >= PieceCount(frameLength))
        return 0;
    const bool extended = frameLength > PIECE_SIZE;
    const uint32_t piece = PieceLength(frameLength, index);
    WireWriter w(out, capacity);
    w.U8(extended ? 0x90 : 0x80);
    w.U8(static_cast<uint8_t>((header.marker ? 0x80 : 0) | (header.payloadType & 0x7F)));
    BigU16(w, header.sequence);
    BigU32(w, header.timestamp);
    BigU32(w, 0);
    if (extended) {
        BigU16(w, header.sequence);
        BigU16(w, 2);
        w.U32(frameLength);
        w.U16(static_cast<uint16_t>(PieceCount(frameLength)));
        w.I16(static_cast<int16_t>(index));
    }
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
        uint16_t profile = 0, words = 0;
        if (!ReadBigU16(r, profile) || !ReadBigU16(r, words))
            return false;
        const size_t extensionStart = r.Offset();
        if (words != 0) {
            uint32_t frameLength = 0;
            uint16_t count = 0;
            int16_t index = 0;
            if (!r.U32(frameLength) || !r.U16(count) || !r.I16(index))
                return false;
            f.hasFragment = 1;
            f.frameLength = frameLength;
            f.pieceCount = count;
            f.pieceIndex = index;
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
