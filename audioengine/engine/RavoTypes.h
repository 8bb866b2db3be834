#pragma once
#include <cstddef>
#include <cstdint>
#include "AudioStreamHead.h"

namespace RavoEngine {

// Records that cross the library's boundary.

// Receive statistics of one source.
struct FEC_NET_STATE
{
    double missingRatio;   // FEC: share of data packets that did not arrive
    double presentRatio;   // FEC: share present after recovery
    uint32_t lastSequence; // last sequence number received
    uint32_t bufferLevel;  // frames waiting for play-out
    uint8_t lossPercent;   // after FEC when FEC is active, else network loss
    uint8_t lossBurst;
};
static_assert(offsetof(FEC_NET_STATE, lastSequence) == 16, "net state layout");
static_assert(offsetof(FEC_NET_STATE, bufferLevel) == 20, "net state layout");
static_assert(offsetof(FEC_NET_STATE, lossPercent) == 24, "net state layout");
static_assert(offsetof(FEC_NET_STATE, lossBurst) == 25, "net state layout");

// The net-state text is written into a caller's buffer whose size the export
// does not take: the buffer must hold at least this many bytes, and no more
// are ever written.
enum { NET_STATE_TEXT_MIN = 256 };

// One second of a source's receive statistics.
struct SourceStatSlot
{
    uint8_t lowLevel;
    uint8_t highLevel;
    uint8_t lost;
    uint8_t received;
    uint8_t lossBurst;
    uint8_t fecLost;
    uint8_t fecDelivered;
    uint8_t fecBurst;
    uint32_t longestGap;
    uint32_t gapSum;
};
static_assert(sizeof(SourceStatSlot) == 16, "16 bytes a slot");

} // namespace RavoEngine
