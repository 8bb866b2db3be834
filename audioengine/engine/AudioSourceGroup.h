#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AudioSource.h"
#include "EnergyMeter.h"
#include "EnhancePlugin.h"
#include "RavoClock.h"

namespace RavoEngine {

// The receive side as a whole: sources keyed by a 32-bit id in insertion
// order, one embedded local source, and the mix of all of them in one
// working format (mono when the voice-enhancement plug-in turns it into
// stereo).
class AudioSourceGroup
{
public:
    explicit AudioSourceGroup(const WAVEFORMATEX& format,
                              const char* pluginLibrary = EnhancePlugin::DEFAULT_LIBRARY,
                              const RavoClock& clock = RavoClock::System());
    ~AudioSourceGroup();

    AudioSourceGroup(const AudioSourceGroup&) = delete;
    AudioSourceGroup& operator=(const AudioSourceGroup&) = delete;

    bool SourceExists(uint32_t id);
    bool AddSource(uint32_t id);
    bool RemoveSource(uint32_t id);
    bool WriteSource(uint32_t id, const uint8_t* packet, int length);
    void SetSourceVolume(uint32_t id, int volume);
    int GetSourceVolume(uint32_t id);
    void EnableSourceCalEnergy(uint32_t id, bool on);
    int GetSourceEnergy(uint32_t id);
    void WriteLocal(const uint8_t* packet, int length);
    // Fills buffer with the mix; returns the bytes placed (length), 0 when
    // the group has no format or scratch space.
    int ReadData(uint8_t* buffer, int length);
    int GetEnergy();
    void EnableCalEnergy(bool on);
    void EnableLocal(bool on);
    int GetNetState(uint32_t id, FEC_NET_STATE* out, char* text, size_t textSize);
    void Close();

    bool IsPluginActive() const { return m_plugin.IsLoaded(); }
    const WAVEFORMATEX& GetWorkingFormat() const { return m_format; }
    size_t GetSourceCount();

private:
    struct Entry
    {
        uint32_t id;
        std::unique_ptr<AudioSource> source;
    };
    AudioSource* Find(uint32_t id);
    void Mix(uint8_t* dst, const uint8_t* src, uint32_t bytes);

    const RavoClock& m_clock;
    WAVEFORMATEX m_format;
    bool m_formatSet = false;
    std::vector<Entry> m_entries;
    std::unique_ptr<AudioSource> m_local;
    bool m_mixLocal = false;
    std::vector<uint8_t> m_scratch;
    std::unique_ptr<EnergyMeter> m_meter;
    EnhancePlugin m_plugin;
    CRITICAL_SECTION m_lock;
};

} // namespace RavoEngine
