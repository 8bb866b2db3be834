#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

// The audio device layer's playback calls the player uses; the default
// table holds the device layer's own exports, tests put in their own.
struct PlayAudioApi
{
    int(__cdecl* startPlay)(int deviceId);
    void(__cdecl* setAec)(int mode);
    void(__cdecl* stopPlay)();
    int(__cdecl* addSource)(DWORD id);
    int(__cdecl* removeSource)(DWORD id);
    int(__cdecl* writeSource)(DWORD id, uint8_t* packet, int length);
    void(__cdecl* setPlayCallback)(void* context, void* callback);
    void(__cdecl* getPlayFormat)(WAVEFORMATEX* out);
};

// Plays recorded audio packets through the device layer, one source per
// speaking participant. The sources it added are removed again when it is
// cleared or closed.
class CPlayAudioOutput
{
public:
    explicit CPlayAudioOutput(const PlayAudioApi* api = nullptr);
    ~CPlayAudioOutput();

    CPlayAudioOutput(const CPlayAudioOutput&) = delete;
    CPlayAudioOutput& operator=(const CPlayAudioOutput&) = delete;

    int Open();
    void Close();
    int Write(uint32_t sourceId, const unsigned char* packet, int length);
    int AddSource(uint32_t id);
    int RemoveSource(uint32_t id);
    // Removes every source added through this output.
    void RemoveAllSources();
    // Conversion: a playback tap that takes every block and keeps none.
    void SetTap(bool on);
    const WAVEFORMATEX& GetPlayFormat() const { return m_format; }

    static const PlayAudioApi& DeviceLayerApi();

private:
    const PlayAudioApi* m_api;
    bool m_open = false;
    bool m_tap = false;
    std::vector<uint32_t> m_sources;
    CRITICAL_SECTION m_lock;
    WAVEFORMATEX m_format = {};
};
