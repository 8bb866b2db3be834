#include "CPlayAudioOutput.h"

#include <algorithm>

#include "CScopedLock.h"
#include "RavoT.h"

namespace {

int DiscardBlock(void*, void*, uint8_t*, int) { return 1; }

void __cdecl SetPlayCallback(void* context, void* callback)
{
    SONVEX_SetPlayCallback(context, reinterpret_cast<AudioDataCallBack>(callback));
}

} // namespace

const PlayAudioApi& CPlayAudioOutput::DeviceLayerApi()
{
    static const PlayAudioApi api = {
        SONVEX_StartPlay,    SONVEX_SetAEC,      SONVEX_StopPlay, SONVEX_AddSource,
        SONVEX_RemoveSource, SONVEX_WriteSource, SetPlayCallback, SONVEX_GetPlayFormat,
    };
    return api;
}

CPlayAudioOutput::CPlayAudioOutput(const PlayAudioApi* api) : m_api(api ? api : &DeviceLayerApi())
{
    InitializeCriticalSection(&m_lock);
}

CPlayAudioOutput::~CPlayAudioOutput()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

int CPlayAudioOutput::Open()
{
    if (!m_api->startPlay(-1))
        return 0;
    m_api->setAec(0);
    m_open = true;
    return 1;
}

void CPlayAudioOutput::Close()
{
    RemoveAllSources();
    SetTap(false);
    if (m_open)
        m_api->stopPlay();
    m_open = false;
}

int CPlayAudioOutput::Write(uint32_t sourceId, const unsigned char* packet, int length)
{
    return m_api->writeSource(sourceId, const_cast<uint8_t*>(packet), length);
}

int CPlayAudioOutput::AddSource(uint32_t id)
{
    int r = m_api->addSource(id);
    CScopedLock lock(&m_lock);
    if (std::find(m_sources.begin(), m_sources.end(), id) == m_sources.end())
        m_sources.push_back(id);
    return r;
}

int CPlayAudioOutput::RemoveSource(uint32_t id)
{
    {
        CScopedLock lock(&m_lock);
        m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), id), m_sources.end());
    }
    return m_api->removeSource(id);
}

void CPlayAudioOutput::RemoveAllSources()
{
    std::vector<uint32_t> sources;
    {
        CScopedLock lock(&m_lock);
        sources.swap(m_sources);
    }
    for (uint32_t id : sources)
        m_api->removeSource(id);
}

void CPlayAudioOutput::SetTap(bool on)
{
    if (on) {
        m_api->getPlayFormat(&m_format);
        m_api->setPlayCallback(this, reinterpret_cast<void*>(&DiscardBlock));
    } else if (m_tap) {
        m_api->setPlayCallback(nullptr, nullptr);
    }
    m_tap = on;
}
