#pragma once
#include <cstdint>

// One record of a stream as a reader hands it out. The payload points into
// the reader's block buffer and stays valid until that stream's next record
// is taken.
struct RecRecord
{
    uint32_t kind;                // stream kind 1-5
    uint32_t time;                // milliseconds since the recording started
    uint32_t prefix;              // audio source, video id or chat kind; 0 for kinds 3 and 4
    const unsigned char* payload; // after the prefix word
    uint32_t length;              // payload length
};
