#pragma once
#include <bitset>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "CVideoFrame.h"
#include "CVideoFramePool.h"
#include "CVideoPacket.h"
#include "VideoWire.h"

// Puts the pieces of fragmented frames back together in 16 frame slots and
// keeps finished frames in sequence order until they are taken.
//
// Each slot marks which pieces it holds, so a repeated piece is not counted
// twice. A frame length of 0 or above the largest frame, or a piece that
// does not fit its frame, is dropped. When all slots are busy, the slot set
// up longest ago gives way. Frames delivered lately are remembered, so a
// repeated frame is not delivered again.
//
// Frames handed out come back to the reassembler's pool when their holder
// lets go of them, so that later frames reuse them and their buffers.
class CVideoReassembler
{
public:
    enum { SLOTS = 16, RECENT = 32 };

    struct Counters
    {
        uint32_t framesDone = 0;
        uint32_t slotsEvicted = 0;
        uint32_t piecesDropped = 0;
        uint32_t piecesRepeated = 0;
        uint32_t framesRepeated = 0;
    };

    CVideoReassembler();
    ~CVideoReassembler();

    CVideoReassembler(const CVideoReassembler&) = delete;
    CVideoReassembler& operator=(const CVideoReassembler&) = delete;

    // Takes a parsed datagram: a whole frame goes to the ordered list, a
    // piece to its slot.
    void Add(std::unique_ptr<CVideoFrame> record);
    // The same for a datagram parsed in place: a piece is copied once,
    // straight into its slot.
    void Add(const CVideoPacket::View& datagram);
    // The frame next in sequence order, or null. Letting go of it gives it
    // back for reuse, from any thread and at any time.
    VideoFramePtr Pop();

    size_t ReadyCount() const { return m_ready.size(); }
    int SlotsInUse() const;
    const Counters& GetCounters() const { return m_counters; }

    // Whether a comes before b, allowing for the counter's wrap at 65536.
    static bool SequenceBefore(uint16_t a, uint16_t b)
    {
        return a != b && static_cast<uint16_t>(b - a) < 0x8000;
    }

private:
    struct Slot
    {
        VideoFramePtr frame; // the frame being filled, while in use
        uint32_t sequence = 0;
        uint16_t key = 0;
        uint32_t pieces = 0;
        uint32_t bytes = 0;
        uint32_t frameLength = 0;
        uint8_t inUse = 0;
        uint32_t started = 0; // set-up order, for eviction
        std::bitset<VideoWire::MAX_PIECES> have;
    };

    void AddPiece(const VideoFrameFields& record, const uint8_t* payload, size_t payloadLength);
    int ChooseSlot(uint16_t key);
    void Release(Slot& slot);
    void Deliver(VideoFramePtr frame);
    bool RecentlyDelivered(uint16_t key) const;

    CVideoFramePool* m_pool;
    Slot m_slots[SLOTS];
    int m_lastSlot = 0; // the slot the last piece went to: most pieces follow it
    // The frame numbers in m_recent, one bit each, so that a piece is
    // checked against them at once.
    std::bitset<65536> m_recentSet;
    std::deque<VideoFramePtr> m_ready;
    uint16_t m_recent[RECENT];
    uint32_t m_recentCount = 0;
    uint32_t m_setups = 0;
    Counters m_counters;
};
