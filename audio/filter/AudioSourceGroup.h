#pragma once
#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "AudioClock.h"
#include "AudioFormats.h"
#include "AudioSource.h"
#include "EnergyMeter.h"
#include "FrameCodecEngine.h"

namespace SonvexFilterCore {

// The sources of one conference, keyed by the caller's 32-bit id, and the mix
// of their play-out. Lock order: the group's lock, then a source's.
class AudioSourceGroup
{
public:
    explicit AudioSourceGroup(int rate, const FrameCodecFactory* g7221 = nullptr,
                              const AudioClock& clock = AudioClock::System());
    virtual ~AudioSourceGroup();

    AudioSourceGroup(const AudioSourceGroup&) = delete;
    AudioSourceGroup& operator=(const AudioSourceGroup&) = delete;

    int AddSource(uint32_t id);
    int RemoveSource(uint32_t id);
    int SourceIsExist(uint32_t id);
    int WriteSource(uint32_t id, uint32_t sequence, const uint8_t* packet, uint32_t length);
    uint32_t ReadData(uint8_t* buffer, uint32_t length);
    int SetSourceVolume(uint32_t id, int volume);
    int GetSourceVolume(uint32_t id);
    int EnableSourceCalEnergy(uint32_t id, int on);
    int GetSourceEnergy(uint32_t id);
    void EnableCalEnergy(int on);
    int GetEnergy();
    void EnableLocal(int on);
    int GetNetState(uint32_t id, FEC_NET_STATE* state, char* text);

    const WAVEFORMATEX& GetFormat() const { return m_format; }

private:
    AudioSource* Find(uint32_t id);

    int m_meterOn = 0;
    std::unique_ptr<EnergyMeter> m_meter;
    int m_local = 0;
    std::vector<uint8_t> m_mix;
    int m_setUp = 0;
    WAVEFORMATEX m_format;
    CRITICAL_SECTION m_lock;
    std::list<std::unique_ptr<AudioSource>> m_sources;
    const FrameCodecFactory* m_g7221;
    const AudioClock& m_clock;
};

} // namespace SonvexFilterCore
