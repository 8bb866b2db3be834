#include "AudioSourceGroup.h"

#include <cstring>
#include <new>

#include "AudioMixer.h"
#include "CScopedLock.h"

namespace SonvexFilterCore {

AudioSourceGroup::AudioSourceGroup(int rate, const FrameCodecFactory* g7221,
                                   const AudioClock& clock)
    : m_g7221(g7221), m_clock(clock)
{
    InitializeCriticalSection(&m_lock);
    memset(&m_format, 0, sizeof(m_format));
    if (rate == 8000 || rate == 16000 || rate == 22050) {
        m_format.wFormatTag = WAVE_FORMAT_PCM;
        m_format.nChannels = 1;
        m_format.nSamplesPerSec = static_cast<DWORD>(rate);
        m_format.wBitsPerSample = 16;
        m_format.nBlockAlign = 2;
        m_format.nAvgBytesPerSec = static_cast<DWORD>(2 * rate);
    }
    m_setUp = 1;
}

AudioSourceGroup::~AudioSourceGroup()
{
    {
        CScopedLock lock(&m_lock);
        for (auto& s : m_sources)
            s->Close();
        m_sources.clear();
        m_meter.reset();
    }
    DeleteCriticalSection(&m_lock);
}

AudioSource* AudioSourceGroup::Find(uint32_t id)
{
    for (auto& s : m_sources)
        if (s->GetId() == id)
            return s.get();
    return nullptr;
}

int AudioSourceGroup::AddSource(uint32_t id)
{
    CScopedLock lock(&m_lock);
    if (!m_setUp || Find(id))
        return 0;
    std::unique_ptr<AudioSource> source(new (std::nothrow) AudioSource(id, m_g7221, m_clock));
    if (!source)
        return 0;
    m_sources.push_back(std::move(source));
    return 1;
}

int AudioSourceGroup::RemoveSource(uint32_t id)
{
    CScopedLock lock(&m_lock);
    for (auto it = m_sources.begin(); it != m_sources.end(); ++it) {
        if ((*it)->GetId() == id) {
            (*it)->Close();
            m_sources.erase(it);
            return 1;
        }
    }
    return 0;
}

int AudioSourceGroup::SourceIsExist(uint32_t id)
{
    CScopedLock lock(&m_lock);
    return Find(id) ? 1 : 0;
}

int AudioSourceGroup::WriteSource(uint32_t id, uint32_t sequence, const uint8_t* packet,
                                  uint32_t length)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    if (!s)
        return 0;
    s->Write(sequence, packet, length);
    return 1;
}

uint32_t AudioSourceGroup::ReadData(uint8_t* buffer, uint32_t length)
{
    if (!buffer)
        return 0;
    CScopedLock lock(&m_lock);
    if (m_mix.size() < length) {
        try {
            m_mix.resize(length);
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    memset(buffer, 0, length);
    bool first = true;
    for (auto& s : m_sources) {
        if (s->Read(m_mix.data(), length) != length)
            continue;
        if (first) {
            memcpy(buffer, m_mix.data(), length);
            first = false;
        } else {
            AudioCommon::AudioMixer::Mix16(reinterpret_cast<int16_t*>(buffer),
                                           reinterpret_cast<const int16_t*>(m_mix.data()),
                                           static_cast<int>(length / 2));
        }
    }
    if (m_meter)
        m_meter->Add(buffer, length);
    return length;
}

int AudioSourceGroup::SetSourceVolume(uint32_t id, int volume)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    if (!s)
        return 0;
    s->SetVolume(volume);
    return 1;
}

int AudioSourceGroup::GetSourceVolume(uint32_t id)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    return s ? s->GetVolume() : 0;
}

int AudioSourceGroup::EnableSourceCalEnergy(uint32_t id, int on)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    if (!s)
        return 0;
    s->EnableCalEnergy(on);
    return 1;
}

int AudioSourceGroup::GetSourceEnergy(uint32_t id)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    return s ? s->GetEnergy() : 0;
}

void AudioSourceGroup::EnableCalEnergy(int on)
{
    CScopedLock lock(&m_lock);
    m_meterOn = on;
    EnergyMeter::Switch(m_meter, on, m_clock);
}

int AudioSourceGroup::GetEnergy()
{
    CScopedLock lock(&m_lock);
    if (!m_meter)
        m_meterOn = 1;
    return EnergyMeter::ReadLevel(m_meter, m_clock);
}

void AudioSourceGroup::EnableLocal(int on)
{
    CScopedLock lock(&m_lock);
    m_local = on;
}

int AudioSourceGroup::GetNetState(uint32_t id, FEC_NET_STATE* state, char* text)
{
    CScopedLock lock(&m_lock);
    AudioSource* s = Find(id);
    return s ? s->GetNetState(state, text) : 0;
}

} // namespace SonvexFilterCore
