#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "CVideoFrame.h"
#include "VideoWire.h"

// Builds the datagrams of one frame and parses received datagrams.
class CVideoPacket
{
public:
    struct Header
    {
        uint16_t sequence;
        uint32_t timestamp;
        uint8_t payloadType;
        uint8_t marker;
    };

    // Writes the datagram carrying piece index of the frame into out
    // (VideoWire::MAX_PACKET bytes at least); returns its length, 0 when the
    // frame length or index is out of range.
    static size_t Build(uint8_t* out, size_t capacity, const Header& header, const uint8_t* frame,
                        uint32_t frameLength, uint32_t index);

    // One parsed datagram, read in place: its fields and where its payload
    // lies in the datagram, which must outlive the view.
    struct View : VideoFrameFields
    {
        const uint8_t* data = nullptr;
        size_t length = 0;
        size_t payloadOffset = 0;
        size_t payloadLength = 0;
        const uint8_t* Payload() const { return data + payloadOffset; }
    };

    // Parses one datagram without copying it; false when it is malformed.
    static bool ParseInPlace(const uint8_t* data, size_t length, uint32_t sourceAddress,
                             uint16_t sourcePort, View& view);

    // Parses one datagram into a record that owns a copy of it. Null when
    // the datagram is malformed.
    static std::unique_ptr<CVideoFrame> Parse(const uint8_t* data, size_t length,
                                              uint32_t sourceAddress, uint16_t sourcePort);
};
