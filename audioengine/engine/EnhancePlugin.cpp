#include "EnhancePlugin.h"

#include <cstring>

namespace RavoEngine {

const char* const EnhancePlugin::DEFAULT_LIBRARY = "Tamsel.DLL";

EnhancePlugin::~EnhancePlugin() { Unload(); }

WAVEFORMATEX EnhancePlugin::MonoOf(const WAVEFORMATEX& stereo)
{
    WAVEFORMATEX mono = stereo;
    mono.nChannels = 1;
    mono.nAvgBytesPerSec = stereo.nAvgBytesPerSec / 2;
    mono.nBlockAlign = static_cast<WORD>(stereo.nBlockAlign / 2);
    return mono;
}

bool EnhancePlugin::Load(const char* library, const WAVEFORMATEX& mono, const WAVEFORMATEX& stereo)
{
    Unload();
    if (!library || mono.wBitsPerSample != 16 || mono.nChannels != 1 ||
        stereo.wBitsPerSample != 16 || stereo.nChannels != 2)
        return false;
    // A missing plug-in is the normal case: no error box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_module = LoadLibraryA(library);
    SetErrorMode(oldMode);
    if (!m_module)
        return false;
    m_init =
        reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "EnhanceInit")));
    m_process = reinterpret_cast<ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "EnhanceProcess")));
    if (!m_init || !m_process) {
        Unload();
        return false;
    }
    m_init(static_cast<int>(mono.nSamplesPerSec));
    return true;
}

void EnhancePlugin::Unload()
{
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
    m_init = nullptr;
    m_process = nullptr;
}

bool EnhancePlugin::Process(uint8_t* buffer, uint32_t length)
{
    if (!m_module || !buffer)
        return false;
    const uint32_t monoBytes = length / 2;
    const uint32_t samples = monoBytes / 2;
    if (m_scratch.size() < samples)
        m_scratch.resize(samples);
    if (samples)
        memcpy(m_scratch.data(), buffer, samples * 2);
    m_process(m_scratch.data(), reinterpret_cast<short*>(buffer), static_cast<int>(samples));
    return true;
}

} // namespace RavoEngine
