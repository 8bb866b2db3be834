#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

namespace RavoEngine {

// The binding of the optional voice-enhancement plug-in: a library that turns
// a block of 16-bit mono samples into 16-bit stereo. Loaded only for 16-bit
// mono in and 16-bit stereo out, with both entry points present; any
// failure leaves it unloaded.
class EnhancePlugin
{
public:
    static const char* const DEFAULT_LIBRARY; // "Tamsel.DLL"

    EnhancePlugin() = default;
    ~EnhancePlugin();

    EnhancePlugin(const EnhancePlugin&) = delete;
    EnhancePlugin& operator=(const EnhancePlugin&) = delete;

    bool Load(const char* library, const WAVEFORMATEX& mono, const WAVEFORMATEX& stereo);
    void Unload();
    bool IsLoaded() const { return m_module != nullptr; }

    // buffer holds length / 2 bytes of mono samples; afterwards length bytes
    // of stereo. False when the plug-in is not loaded.
    bool Process(uint8_t* buffer, uint32_t length);

    // The mono twin of a stereo format.
    static WAVEFORMATEX MonoOf(const WAVEFORMATEX& stereo);

private:
    typedef int(__cdecl* InitFn)(int sampleRate);
    typedef int(__cdecl* ProcessFn)(short* mono, short* stereo, int monoSamples);

    HMODULE m_module = nullptr;
    InitFn m_init = nullptr;
    ProcessFn m_process = nullptr;
    std::vector<short> m_scratch;
};

} // namespace RavoEngine
