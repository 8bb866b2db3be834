#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "UninitialisedAllocator.h"

// The header and fragment fields of one datagram or frame.
struct VideoFrameFields
{
    uint32_t sequence = 0;
    uint32_t timestamp = 0;
    uint32_t ssrc = 0;
    uint8_t payloadType = 0;
    uint8_t marker = 0;
    uint8_t extension = 0;
    uint8_t hasFragment = 0; // the extension carried frame length and piece fields
    int64_t frameLength = 0;
    uint16_t pieceCount = 0;
    int16_t pieceIndex = 0;
    uint32_t sourceAddress = 0; // host order
    uint16_t sourcePort = 0;    // host order
};

// One parsed datagram or one whole frame put back together: its fields and
// the bytes it owns.
class CVideoFrame : public VideoFrameFields
{
public:
    // Sized without being cleared: the reassembler writes every byte of a
    // frame before it hands the frame on.
    std::vector<uint8_t, UninitialisedAllocator<uint8_t>> buffer;
    size_t payloadOffset = 0;
    size_t payloadLength = 0;

    const uint8_t* Payload() const { return buffer.data() + payloadOffset; }
};

class CVideoFramePool;

// Gives a frame back to the pool it came from when its holder lets go of
// it; a frame of no pool is deleted.
struct VideoFrameReturn
{
    CVideoFramePool* pool = nullptr;
    void operator()(CVideoFrame* frame) const;
};

// A frame handed out by the reassembler.
using VideoFramePtr = std::unique_ptr<CVideoFrame, VideoFrameReturn>;
