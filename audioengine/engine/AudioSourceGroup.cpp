#include "AudioSourceGroup.h"

#include <cstring>
#include <new>

#include "AudioMixer.h"
#include "CScopedLock.h"

namespace RavoEngine {

AudioSourceGroup::AudioSourceGroup(const WAVEFORMATEX& format, const char* pluginLibrary,
                                   const RavoClock& clock)
    : m_clock(clock), m_format(format)
{
    InitializeCriticalSection(&m_lock);
    m_formatSet = true;
    if (format.nChannels == 2) {
        const WAVEFORMATEX mono = EnhancePlugin::MonoOf(format);
        if (m_plugin.Load(pluginLibrary, mono, format))
            m_format = mono;
    }
    m_local.reset(new AudioSource(m_format, true, m_clock));
}

AudioSourceGroup::~AudioSourceGroup()
{
    Close();
    m_local.reset();
    DeleteCriticalSection(&m_lock);
}

AudioSource* AudioSourceGroup::Find(uint32_t id)
{
    for (Entry& e : m_entries)
        if (e.id == id)
            return e.source.get();
    return nullptr;
}

bool AudioSourceGroup::SourceExists(uint32_t id)
{
    CScopedLock lock(&m_lock);
    return Find(id) != nullptr;
}

bool AudioSourceGroup::AddSource(uint32_t id)
{
    CScopedLock lock(&m_lock);
    if (!m_formatSet || Find(id))
        return false;
    AudioSource* source = new (std::nothrow) AudioSource(m_format, false, m_clock);
    if (!source)
        return false;
    m_entries.push_back(Entry{id, std::unique_ptr<AudioSource>(source)});
    return true;
}

bool AudioSourceGroup::RemoveSource(uint32_t id)
{
    CScopedLock lock(&m_lock);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->id == id) {
            m_entries.erase(it);
            return true;
        }
    }
    return false;
}

bool AudioSourceGroup::WriteSource(uint32_t id, const uint8_t* packet, int length)
{
    CScopedLock lock(&m_lock);
    AudioSource* source = Find(id);
    if (!source)
        return false;
    source->Insert(packet, length);
    return true;
}

void AudioSourceGroup::SetSourceVolume(uint32_t id, int volume)
{
    CScopedLock lock(&m_lock);
    if (AudioSource* source = Find(id))
        source->SetVolume(volume);
}

int AudioSourceGroup::GetSourceVolume(uint32_t id)
{
    CScopedLock lock(&m_lock);
    AudioSource* source = Find(id);
    return source ? source->GetVolume() : 0;
}

void AudioSourceGroup::EnableSourceCalEnergy(uint32_t id, bool on)
{
    CScopedLock lock(&m_lock);
    if (AudioSource* source = Find(id))
        source->EnableCalEnergy(on);
}

int AudioSourceGroup::GetSourceEnergy(uint32_t id)
{
    CScopedLock lock(&m_lock);
    AudioSource* source = Find(id);
    return source ? source->GetEnergy() : 0;
}

void AudioSourceGroup::WriteLocal(const uint8_t* packet, int length)
{
    // The local source has its own lock; the group lock is not taken.
    if (m_local)
        m_local->Insert(packet, length);
}

void AudioSourceGroup::Mix(uint8_t* dst, const uint8_t* src, uint32_t bytes)
{
    if (m_format.wBitsPerSample == 8)
        AudioCommon::AudioMixer::Mix8OffsetBinary(dst, src, static_cast<int>(bytes));
    else
        AudioCommon::AudioMixer::Mix16(reinterpret_cast<int16_t*>(dst),
                                       reinterpret_cast<const int16_t*>(src),
                                       static_cast<int>(bytes / 2));
}

int AudioSourceGroup::ReadData(uint8_t* buffer, int length)
{
    if (!buffer || length <= 0)
        return 0;
    {
        CScopedLock lock(&m_lock);
        if (!m_formatSet)
            return 0;
        const bool plugin = m_plugin.IsLoaded();
        const uint32_t work =
            plugin ? static_cast<uint32_t>(length) / 2 : static_cast<uint32_t>(length);
        try {
            if (m_scratch.size() < work)
                m_scratch.resize(work);
        } catch (...) {
            return 0;
        }
        memset(buffer, m_format.wBitsPerSample == 8 ? 128 : 0, static_cast<size_t>(length));
        for (Entry& e : m_entries) {
            e.source->Read(m_scratch.data(), static_cast<int>(work));
            Mix(buffer, m_scratch.data(), work);
        }
        if (m_mixLocal && m_local) {
            m_local->Read(m_scratch.data(), static_cast<int>(work));
            Mix(buffer, m_scratch.data(), work);
        }
        if (m_meter)
            m_meter->Measure(buffer, work);
        // The plug-in turns the mono half into stereo; it runs under the lock
        // so that a close cannot unload it mid-call.
        if (plugin)
            m_plugin.Process(buffer, static_cast<uint32_t>(length));
    }
    return length;
}

int AudioSourceGroup::GetEnergy()
{
    CScopedLock lock(&m_lock);
    if (!m_meter) {
        m_meter.reset(new EnergyMeter(m_format, m_clock));
        return 0;
    }
    return m_meter->GetLevel();
}

void AudioSourceGroup::EnableCalEnergy(bool on)
{
    CScopedLock lock(&m_lock);
    if (on && !m_meter)
        m_meter.reset(new EnergyMeter(m_format, m_clock));
    else if (!on)
        m_meter.reset();
}

void AudioSourceGroup::EnableLocal(bool on)
{
    CScopedLock lock(&m_lock);
    m_mixLocal = on;
}

int AudioSourceGroup::GetNetState(uint32_t id, FEC_NET_STATE* out, char* text, size_t textSize)
{
    CScopedLock lock(&m_lock);
    AudioSource* source = Find(id);
    if (!source)
        return 0;
    return source->GetNetState(out, text, textSize);
}

void AudioSourceGroup::Close()
{
    CScopedLock lock(&m_lock);
    m_formatSet = false;
    m_meter.reset();
    m_entries.clear();
    m_plugin.Unload();
}

size_t AudioSourceGroup::GetSourceCount()
{
    CScopedLock lock(&m_lock);
    return m_entries.size();
}

} // namespace RavoEngine
