#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AcmStream.h"
#include "AgcStage.h"
#include "AudioCodec.h"
#include "EnergyMeter.h"
#include "FecSender.h"
#include "NoiseSuppressor.h"
#include "RavoClock.h"
#include "RavoTypes.h"
#include "SilenceDetector.h"
#include "SpeexDenoiser.h"

namespace RavoEngine {

// The send side: one block of captured 16-bit PCM per call in, at most one
// packet out. Between them an optional input converter, a chain of noise
// suppression, gain control and silence detection in one of three orders,
// a level meter, the encoder of one codec row and optional packet FEC.
class AudioProcesser
{
public:
    explicit AudioProcesser(const RavoClock& clock = RavoClock::System());
    ~AudioProcesser();

    AudioProcesser(const AudioProcesser&) = delete;
    AudioProcesser& operator=(const AudioProcesser&) = delete;

    // False for a row above 4 or an encoder or converter that cannot be opened.
    bool Create(int row, const WAVEFORMATEX* input);

    void SetDenoise(int mode);
    void SetAGC(int mode);
    void EnableSilenceDetect(bool on);
    void SetFECMode(int mode);
    void SetDenoiseChain(int order);
    void EnableCalEnergy(bool on);
    int GetEnergy();

    // 1 when a packet was produced or the block dropped as silence, else 0.
    int Process(AUDIO_STREAM_HEAD* io, uint32_t* out);

    void Destroy();

    int GetDenoise() const { return m_denoise; }
    int GetAGC() const { return m_agcMode; }
    int GetFECMode() const { return m_fecOn ? m_fecMode : 0; }
    int GetChain() const { return m_chain; }
    uint32_t GetInputBlockBytes() const { return m_inputBlock; }
    uint32_t GetCounter() const { return m_counter; }
    const AgcStage* GetAgcStage() const { return m_agc.get(); }
    bool LastBlockSilent() const { return m_silent; }

private:
    void RunDenoise(int16_t* samples, int count);
    void RunAgc(int16_t* samples, int count);
    void RunSilence(const uint8_t* block, uint32_t bytes);

    const RavoClock& m_clock;
    int m_row = -1;
    uint8_t m_kind = 0;
    AudioCodec m_encoder;
    WAVEFORMATEX m_codecFormat{};
    AudioCommon::AcmStream m_converter;
    std::vector<uint8_t> m_block;
    uint32_t m_blockBytes = 0;
    uint32_t m_inputBlock = 0;

    int m_denoise = 0;
    std::unique_ptr<NoiseSuppressor> m_suppressor;
    std::unique_ptr<SpeexDenoiser> m_speex;
    int m_agcMode = 0;
    std::unique_ptr<AgcStage> m_agc;
    std::unique_ptr<SilenceDetector> m_silence;
    std::unique_ptr<EnergyMeter> m_meter;
    int m_chain = 0;

    int m_fecMode = 0;
    bool m_fecOn = false;
    std::unique_ptr<FecSender> m_fec;
    std::vector<uint8_t> m_fecPacket;
    bool m_restart = false;

    uint32_t m_counter = 0;
    bool m_silent = false;
    CRITICAL_SECTION m_lock;
};

} // namespace RavoEngine
