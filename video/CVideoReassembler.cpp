#include "CVideoReassembler.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "CopyBytes.h"
#include "WireWriter.h"

using namespace VideoWire;

namespace {

void DebugLine(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
}

} // namespace

CVideoReassembler::CVideoReassembler() : m_pool(CVideoFramePool::Create())
{
    memset(m_recent, 0, sizeof m_recent);
}

CVideoReassembler::~CVideoReassembler()
{
    // The frames held here go back before the pool is closed; frames still
    // out free themselves when they come back.
    m_ready.clear();
    for (Slot& s : m_slots)
        Release(s);
    if (m_pool)
        m_pool->Close();
}

int CVideoReassembler::SlotsInUse() const
{
    int n = 0;
    for (const Slot& s : m_slots)
        n += s.inUse ? 1 : 0;
    return n;
}

void CVideoReassembler::Add(std::unique_ptr<CVideoFrame> record)
{
    if (!record)
        return;
    if (record->extension)
        AddPiece(*record, record->Payload(), record->payloadLength);
    else
        Deliver(CVideoFramePool::Adopt(m_pool, record.release()));
}

void CVideoReassembler::Add(const CVideoPacket::View& datagram)
{
    if (!datagram.data)
        return;
    if (datagram.extension) {
        AddPiece(datagram, datagram.Payload(), datagram.payloadLength);
        return;
    }
    // A frame in one datagram: its own copy is the only one made, into a
    // frame given back earlier.
    VideoFramePtr whole = CVideoFramePool::Take(m_pool);
    if (!whole)
        return;
    static_cast<VideoFrameFields&>(*whole) = datagram;
    try {
        whole->buffer.resize(datagram.length);
    } catch (const std::bad_alloc&) {
        return;
    }
    CopyBytes(whole->buffer.data(), datagram.data, datagram.length);
    whole->payloadOffset = datagram.payloadOffset;
    whole->payloadLength = datagram.payloadLength;
    Deliver(std::move(whole));
}

VideoFramePtr CVideoReassembler::Pop()
{
    if (m_ready.empty())
        return VideoFramePtr(nullptr, VideoFrameReturn{nullptr});
    VideoFramePtr f = std::move(m_ready.front());
    m_ready.pop_front();
    return f;
}

bool CVideoReassembler::RecentlyDelivered(uint16_t key) const { return m_recentSet.test(key); }

void CVideoReassembler::Deliver(VideoFramePtr frame)
{
    const uint16_t key = static_cast<uint16_t>(frame->sequence);
    if (RecentlyDelivered(key)) {
        ++m_counters.framesRepeated;
        return;
    }
    auto it = m_ready.end();
    while (it != m_ready.begin()) {
        auto prev = std::prev(it);
        const uint16_t other = static_cast<uint16_t>((*prev)->sequence);
        if (other == key) {
            ++m_counters.framesRepeated;
            return;
        }
        if (!SequenceBefore(key, other))
            break;
        it = prev;
    }
    // A frame number is in the list at most once: it is only added when not
    // already there.
    uint16_t& entry = m_recent[m_recentCount % RECENT];
    if (m_recentCount >= static_cast<uint32_t>(RECENT))
        m_recentSet.reset(entry);
    entry = key;
    m_recentSet.set(key);
    // Counts on past RECENT only to know the list is full; it never wraps.
    if (++m_recentCount == 2u * RECENT)
        m_recentCount = RECENT;
    ++m_counters.framesDone;
    // Most frames go last. An insert into an empty list would put a frame
    // in front and make the list take a new block of memory for it each time.
    if (it == m_ready.end())
        m_ready.push_back(std::move(frame));
    else
        m_ready.insert(it, std::move(frame));
}

void CVideoReassembler::Release(Slot& slot)
{
    slot.frame.reset();
    slot.have.reset();
    slot.pieces = 0;
    slot.bytes = 0;
    slot.inUse = 0;
}

int CVideoReassembler::ChooseSlot(uint16_t key)
{
    // A frame has at most one slot; its pieces mostly come one after another.
    const Slot& last = m_slots[m_lastSlot];
    if (last.inUse && last.key == key && last.pieces > 0)
        return m_lastSlot;
    for (int i = 0; i < SLOTS; ++i)
        if (m_slots[i].inUse && m_slots[i].key == key && m_slots[i].pieces > 0)
            return i;
    for (int i = 0; i < SLOTS; ++i)
        if (!m_slots[i].inUse)
            return i;
    int oldest = 0;
    for (int i = 1; i < SLOTS; ++i)
        if (m_setups - m_slots[i].started > m_setups - m_slots[oldest].started)
            oldest = i;
    Slot& s = m_slots[oldest];
    DebugLine("丢弃视频数据。seqnum=%d,i=%d,totallen=%d,receivedpacks=%d,receivedbytes=%d。"
              "新包seqnum=%d\n",
              s.key, oldest, static_cast<int>(s.frameLength), static_cast<int>(s.pieces),
              static_cast<int>(s.bytes), static_cast<int>(key));
    Release(s);
    ++m_counters.slotsEvicted;
    return oldest;
}

void CVideoReassembler::AddPiece(const VideoFrameFields& fields, const uint8_t* payload,
                                 size_t payloadLength)
{
    const VideoFrameFields* record = &fields;
    const uint16_t key = static_cast<uint16_t>(record->sequence);
    // Pieces without fragment fields, of impossible frames, or of a frame
    // already delivered never reach a slot.
    if (!record->hasFragment || record->frameLength < 1 || record->frameLength > MAX_FRAME) {
        ++m_counters.piecesDropped;
        return;
    }
    if (RecentlyDelivered(key)) {
        ++m_counters.piecesRepeated;
        return;
    }
    const uint32_t frameLength = static_cast<uint32_t>(record->frameLength);
    const uint32_t count = PieceCount(frameLength);
    const int32_t index = record->pieceIndex;
    if (index < 0 || static_cast<uint32_t>(index) >= count) {
        DebugLine("包长度错误包长度错误包长度错误包长度错误包长度错误包长度错误2\n");
        ++m_counters.piecesDropped;
        return;
    }
    if (payloadLength != PieceLength(frameLength, static_cast<uint32_t>(index))) {
        DebugLine(static_cast<uint32_t>(index) + 1 == count
                      ? "包长度错误包长度错误包长度错误包长度错误包长度错误包长度错误1\n"
                      : "包长度错误包长度错误包长度错误包长度错误包长度错误包长度错误3\n");
        ++m_counters.piecesDropped;
        return;
    }

    const int i = ChooseSlot(key);
    m_lastSlot = i;
    Slot& s = m_slots[i];
    if (s.inUse && s.frameLength != frameLength) {
        // A piece that disagrees with its frame's length cannot belong to it.
        ++m_counters.piecesDropped;
        return;
    }
    if (!s.inUse) {
        // The frame is filled where it will be delivered: a frame given
        // back earlier, whose buffer mostly has the room already.
        s.frame = CVideoFramePool::Take(m_pool);
        try {
            if (!s.frame)
                throw std::bad_alloc();
            s.frame->buffer.resize(frameLength + sizeof(VIDEO_RTP_HEAD));
            s.have.reset();
        } catch (const std::bad_alloc&) {
            Release(s);
            ++m_counters.piecesDropped;
            return;
        }
        WireWriter w(s.frame->buffer.data(), s.frame->buffer.size());
        w.U8(0x80);
        w.U8(record->payloadType & 0x7F);
        w.U8(static_cast<uint8_t>(key >> 8));
        w.U8(static_cast<uint8_t>(key));
        for (int shift = 24; shift >= 0; shift -= 8)
            w.U8(static_cast<uint8_t>(record->timestamp >> shift));
        for (int shift = 24; shift >= 0; shift -= 8)
            w.U8(static_cast<uint8_t>(record->ssrc >> shift));
        s.pieces = 0;
        s.bytes = 0;
        s.frameLength = frameLength;
        s.key = key;
        s.sequence = record->sequence;
        s.inUse = 1;
        s.started = ++m_setups;
    }
    if (s.have.test(static_cast<size_t>(index))) {
        ++m_counters.piecesRepeated;
        return;
    }
    s.have.set(static_cast<size_t>(index));
    CopyBytes(s.frame->buffer.data() + sizeof(VIDEO_RTP_HEAD) +
                  static_cast<size_t>(index) * PIECE_SIZE,
              payload, payloadLength);
    s.pieces += 1;
    s.bytes += static_cast<uint32_t>(payloadLength);
    if (s.bytes != s.frameLength)
        return;

    VideoFramePtr whole = std::move(s.frame);
    whole->sequence = record->sequence;
    whole->timestamp = record->timestamp;
    whole->ssrc = record->ssrc;
    whole->payloadType = record->payloadType;
    whole->marker = 0;
    whole->extension = 0;
    whole->frameLength = frameLength;
    whole->pieceCount = static_cast<uint16_t>(count);
    whole->sourceAddress = record->sourceAddress;
    whole->sourcePort = record->sourcePort;
    whole->payloadOffset = sizeof(VIDEO_RTP_HEAD);
    whole->payloadLength = frameLength;
    Release(s);
    Deliver(std::move(whole));
}
