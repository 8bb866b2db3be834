#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AcmStream.h"
#include "AudioCodec.h"
#include "CFramePool.h"
#include "EnergyMeter.h"
#include "FecReceiver.h"
#include "RavoClock.h"
#include "RavoTypes.h"

namespace RavoEngine {

// The packets of one remote sender: frames ordered by sequence number in a
// 60-frame queue (or rebuilt by the packet FEC), decoded and converted to
// the play-out format on demand, gaps filled with silence, with per-second
// receive statistics. A local source keeps arrival order and never pauses
// once it plays.
class AudioSource
{
public:
    enum { QUEUE_FRAMES = 60, SLOTS = 10, UNCHANGED_VOLUME = 80 };

    AudioSource(const WAVEFORMATEX& playout, bool local,
                const RavoClock& clock = RavoClock::System(),
                IlbcEngineFactory& ilbc = IlbcEngineFactory::System());
    ~AudioSource();

    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // One packet; false when it was rejected as a whole.
    bool Insert(const uint8_t* packet, int length);
    // Always fills length bytes (silence where nothing plays); returns length.
    int Read(uint8_t* buffer, int length);

    void SetVolume(int volume);
    int GetVolume() const;
    void EnableCalEnergy(bool on);
    // The level, 0-100; a meter that is off is switched on and 0 returned.
    int GetEnergy();

    // Fills out; with text (at least textSize bytes, NET_STATE_TEXT_MIN
    // suffices) also the statistics text and the loss bytes, and then 0
    // when no packet arrived in the last ten slots.
    int GetNetState(FEC_NET_STATE* out, char* text, size_t textSize);

    // Stops the queue and closes the decoders.
    void Close();

    // State, for the group and for tests.
    bool IsPlaying() const;
    bool HasDecoder() const;
    bool HasFec() const;
    uint8_t GetFormatByte() const;
    uint32_t GetQueuedCount() const;
    std::vector<uint32_t> GetQueuedSequences() const;
    int GetThreshold() const;
    uint32_t GetLastReceived() const;
    uint32_t GetLastPlayed() const;
    SourceStatSlot GetSlot(int index) const;
    int GetSlotIndex() const;

private:
    bool Reset(uint8_t format);
    bool Open(uint8_t format);
    void CloseDecoders();
    bool InsertFrame(const uint8_t* data, uint32_t length, uint32_t sequence);
    bool Bookkeeping(uint32_t sequence);
    bool DecodeAppend(const uint8_t* frame, uint32_t length);
    uint32_t HandOut(uint8_t* buffer, uint32_t length);
    void UpdateSlotLevel();
    uint32_t CurrentLevel() const;
    void TrimBuffer(uint8_t lowest);
    SourceStatSlot& Slot() { return m_slots[m_slotIndex]; }

    const WAVEFORMATEX m_playout;
    const bool m_local;
    const RavoClock& m_clock;
    uint8_t m_silence;

    uint8_t m_format = 255;
    int m_row = -1;
    uint32_t m_frameBytes = 0;
    AudioCodec m_decoder;
    AudioCommon::AcmStream m_converter;
    std::vector<uint8_t> m_decoded;
    std::vector<uint8_t> m_converted;
    std::vector<uint8_t> m_fecFrame;
    std::unique_ptr<FecReceiver> m_fec;
    int m_fecK = 8;
    bool m_haveFecNumber = false;
    uint32_t m_fecNumber = 0;

    CFramePool m_queue;
    std::vector<uint8_t> m_remainder;
    uint32_t m_remainderStart = 0;

    uint32_t m_lastReceived = 0;
    uint32_t m_lastPlayed = 0;
    uint32_t m_lastArrival = 0;
    uint32_t m_periodStart = 0;
    bool m_playing = false;
    int m_threshold = 5;
    uint32_t m_maxLateness = 0;

    int m_volume = UNCHANGED_VOLUME;
    std::unique_ptr<EnergyMeter> m_meter;

    SourceStatSlot m_slots[SLOTS];
    int m_slotIndex = 0;
    uint32_t m_slotTime = 0;

    uint32_t m_lowestTracker = QUEUE_FRAMES;
    int m_checkCount = 0;
    uint32_t m_lastCheck = 0;

    mutable CRITICAL_SECTION m_lock;
};

} // namespace RavoEngine
