#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "IMixerApi.h"

namespace SonvexDevice {

// Volume and mute of one output line (the speakers by default). Mixer change
// notifications arrive at a hidden window of its own.
class CVolumeOut
{
public:
    typedef void (*VolumeCallback)(DWORD volume, DWORD volume2, void* context);
    typedef void (*MuteCallback)(DWORD mute, void* context);

    explicit CVolumeOut(IMixerApi& mixer = IMixerApi::System());
    virtual int IsAvailable();
    virtual int GetVolumeSteps();
    virtual int GetMinimalVolume();
    virtual int GetMaximalVolume();
    virtual int GetCurrentVolume();
    virtual void SetCurrentVolume(DWORD value);
    virtual void SetVolumeCallback(VolumeCallback callback, void* context);
    virtual ~CVolumeOut();
    virtual int Open(UINT waveOutDevice, DWORD componentType);
    virtual void Close();
    virtual void SetMuteCallback(MuteCallback callback, void* context);
    virtual int SetMute(int value);
    virtual int GetMute();
    virtual int Init(DWORD componentType);
    virtual void OnControlChange(DWORD controlId);

    CVolumeOut(const CVolumeOut&) = delete;
    CVolumeOut& operator=(const CVolumeOut&) = delete;

    void EnableLine(int on);
    bool IsOpened() const { return m_opened != 0; }
    HWND GetWindow() const { return m_window; }

private:
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(m_handle); }

    IMixerApi& m_mixer;
    int m_opened = 0;
    int m_available = 0;
    UINT m_device = 0;
    HMIXER m_handle = nullptr;
    DWORD m_lineId = 0;
    DWORD m_channels = 1;
    DWORD m_volumeId = 0;
    DWORD m_muteId = static_cast<DWORD>(-1);
    HWND m_window = nullptr;
    int32_t m_minimum = -1;
    int32_t m_maximum = -1;
    int32_t m_steps = -1;
    VolumeCallback m_volumeCallback = nullptr;
    void* m_volumeContext = nullptr;
    MuteCallback m_muteCallback = nullptr;
    void* m_muteContext = nullptr;
    DWORD m_componentType = 0;
};

} // namespace SonvexDevice
