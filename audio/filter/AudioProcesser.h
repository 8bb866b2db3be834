#pragma once
#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AgcAns.h"
#include "AudioClock.h"
#include "AudioCodec.h"
#include "AudioFormats.h"
#include "EnergyMeter.h"
#include "FecEncoder.h"
#include "FrameCodecEngine.h"
#include "VoiceActivityDetector.h"

namespace SonvexFilterCore {

// Turns one captured 20 ms block at a time into one AudioPacket or into
// nothing: silence drop, gain control and noise suppression, level metering,
// coding and packet FEC. Every public operation holds the object's lock.
class AudioProcesser
{
public:
    enum Param {
        PARAM_NOISE_SUPPRESSION = 1,
        PARAM_SILENCE_DROP = 2,
        PARAM_AGC = 3,
        PARAM_METER = 5,
        PARAM_LEVEL = 6,
        PARAM_FEC_MODE = 7,
        PARAM_FEC_MODE_COUNT = 8,
        PARAM_CODEC = 10,
    };
    enum { SILENCE_RUN = 30 };

    explicit AudioProcesser(const WAVEFORMATEX* capture = nullptr,
                            const FrameCodecFactory* g7221 = nullptr,
                            const AudioClock& clock = AudioClock::System());
    virtual ~AudioProcesser();

    AudioProcesser(const AudioProcesser&) = delete;
    AudioProcesser& operator=(const AudioProcesser&) = delete;

    int SetParam(int id, int value);
    int GetParam(int id, int* value);
    int Process(AUDIO_STREAM_HEAD* head);

private:
    int SetCodec(int id);
    int SetFecMode(int mode);
    int SetupFec(int k, int n, int m);
    void SetAgcMode(int mode);
    void SetNoiseSuppression(int level);
    void CheckCaptureFormat();

    CRITICAL_SECTION m_lock;
    int m_silenceDrop = 0;
    VoiceActivityDetector m_vad;
    int m_blockSilent = 0;
    int m_nonVoiceRun = 0;
    int m_nsLevel = 0;
    int m_agcMode = 0;
    std::unique_ptr<AgcAns> m_agcAns;
    int m_meterOn = 0;
    std::unique_ptr<EnergyMeter> m_meter;
    WAVEFORMATEX m_codecFormat;
    WAVEFORMATEX m_captureFormat;
    std::unique_ptr<AudioCodec> m_codec;
    uint32_t m_blockBytes = 0;
    uint8_t m_header = 0;
    uint8_t m_codecId = CODEC_ID_NONE;
    uint8_t m_codecRow = 0;
    uint8_t m_fecMode = 0;
    std::unique_ptr<FecEncoder> m_fec;
    std::vector<uint8_t> m_fecPacket;
    std::vector<uint8_t> m_group;
    int m_k = 0, m_n = 0, m_m = 0;
    int m_framesCollected = 0;
    int m_fecPayload = 0;
    int m_frameBytes = 0;
    const FrameCodecFactory* m_g7221;
    const AudioClock& m_clock;
};

} // namespace SonvexFilterCore
