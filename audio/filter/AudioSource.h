#pragma once
#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AudioClock.h"
#include "AudioCodec.h"
#include "AudioFormats.h"
#include "EnergyMeter.h"
#include "FecDecoder.h"
#include "FrameCodecEngine.h"
#include "SequencedQueue.h"

namespace SonvexFilterCore {

// One remote talker: a jitter buffer of received AudioPackets in sequence
// order, optional packet FEC repair, decoding and play-out with silence
// fill, volume and metering, and the loss and delay statistics.
class AudioSource
{
public:
    enum {
        QUEUE_BUFFERS = 60,
        DECODE_BUFFER = 10240,
        PACKET_BUFFER = 2048,
        FEC_QUEUE_LIMIT = 80,
        SLOTS = 10,
    };

    struct Slot
    {
        uint8_t lowLevel, highLevel, lost, received, longestGap, lostAfterFec, deliveredByFec,
            longestLostAfterFec;
        uint32_t longestArrival;
        uint32_t arrivalSum;
    };

    explicit AudioSource(uint32_t id, const FrameCodecFactory* g7221 = nullptr,
                         const AudioClock& clock = AudioClock::System());
    virtual ~AudioSource();

    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    uint32_t GetId() const { return m_id; }
    int Write(uint32_t sequence, const uint8_t* packet, uint32_t length);
    uint32_t Read(uint8_t* buffer, uint32_t length);
    void SetVolume(int volume);
    int GetVolume();
    void EnableCalEnergy(int on);
    int GetEnergy();
    int GetNetState(FEC_NET_STATE* state, char* text);
    void Close();

    // For tests and traces.
    bool IsPlaying();
    int GetStartThreshold();
    uint32_t GetQueuedCount() { return m_queue.GetFilledCount(); }
    std::vector<uint32_t> GetQueuedSequences() { return m_queue.FilledSequences(); }

private:
    bool Open(uint8_t header, uint32_t sequence);
    void CloseStream();
    bool ArrivalStatistics(uint32_t sequence);
    bool PlainInsert(uint32_t sequence, const uint8_t* frame, uint32_t length);
    bool FecInsert(uint32_t sequence, const uint8_t* payload, uint32_t length);
    bool PlainRead();
    bool FecRead();
    uint32_t CurrentLevel();
    void Trim(uint32_t lowest);

    uint32_t m_id;
    SequencedQueue m_queue;
    std::unique_ptr<AudioCodec> m_codec;
    std::vector<uint8_t> m_decode;
    uint32_t m_decodeBytes = 0;
    WAVEFORMATEX m_pcmFormat;
    WAVEFORMATEX m_outFormat;
    uint8_t m_header = 255;
    uint8_t m_codecId = CODEC_ID_NONE;
    uint32_t m_lowestSequence = 0;
    uint32_t m_lastReceived = 0;
    DWORD m_thresholdTime = 0;
    int m_volume = 80;
    int m_meterOn = 0;
    std::unique_ptr<EnergyMeter> m_meter;
    DWORD m_lastArrival = 0;
    Slot m_slots[SLOTS];
    int m_slotIndex = 0;
    DWORD m_slotStart = 0;
    int m_startThreshold = 5;
    uint32_t m_largestJump = 0;
    DWORD m_trimTime = 0;
    int m_tooFullRun = 0;

    std::unique_ptr<FecDecoder> m_fec;
    std::vector<uint8_t> m_fecIn;
    std::vector<uint8_t> m_fecOut;
    int m_packetSize = 0;
    int m_k = 0, m_n = 0, m_m = 0;
    uint32_t m_lastOutCount = 0;
    uint32_t m_lastFecSequence = 0;
    int m_playing = 0;
    CRITICAL_SECTION m_lock;

    const FrameCodecFactory* m_g7221;
    const AudioClock& m_clock;
};

} // namespace SonvexFilterCore
