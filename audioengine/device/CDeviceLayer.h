#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "AudioCallbacks.h"
#include "CDirectSoundLib.h"

namespace RavoTDevice {

class CAudioManagerBase;
class CRavoBinding;

// What the library remembers so that it can rebuild the manager with what
// ran before; never cleared by a release.
struct RestartParams
{
    int captureRunning;
    int playRunning;
    int requestedEcho;
    int echoState;
    int agc;
    int silenceDetect;
    int denoise;
    int fecMode;
    int denoiseChain;
    void* playContext;
    AudioDataCallBack playCallback;
    int playLocal;
    int captureDeviceId;
    uint8_t captureFormatIndex;
    void* captureContext;
    CaptureCallBack captureCallback;
    int playDeviceId;
};

// The library-wide state behind the exports: the one manager, the API lock,
// the remembered parameters, the echo state machine that swaps the manager
// between the wave path and the DirectSound path, and the DirectSound entry
// points and device lists. The platform and the engine are reached through
// the virtual hooks, which tests replace.
class CDeviceLayer
{
public:
    enum { ECHO_OFF = 0, ECHO_SOFTWARE = 3, ECHO_PLATFORM = 6, VERSION_XP = 7 };

    CDeviceLayer();
    virtual ~CDeviceLayer();

    CDeviceLayer(const CDeviceLayer&) = delete;
    CDeviceLayer& operator=(const CDeviceLayer&) = delete;

    int Init(int useDirectSound);
    int Release();
    int GetCapDevicesCount();
    int GetCapDeviceName(int index, char* buffer, int size);
    int GetPlayDevicesCount();
    int GetPlayDeviceName(int index, char* buffer, int size);
    int GetEncodeFormatCount();
    int GetEncodeFormatName(int index, char* buffer, int size);
    int StartCapture(int deviceId, uint8_t formatIndex, void* context, CaptureCallBack callback);
    int SetDenoise(int mode);
    int EnableSilenceDetect(int on);
    int SetFECMode(int mode);
    int GetFECModeCount();
    int SetDenoiseChain(int variant);
    void SetAEC(int mode);
    int SetAGC(int mode);
    int GetCapEnergy();
    int StopCapture();
    int StartPlay(int deviceId);
    int SetPlayLocal(int on);
    int GetPlayEnergy();
    void StopPlay();
    int SourceIsExist(uint32_t id);
    int AddSource(uint32_t id);
    int RemoveSource(uint32_t id);
    int WriteSource(uint32_t id, uint8_t* packet, int length);
    int GetSourceVolume(uint32_t id);
    int SetSourceVolume(uint32_t id, int volume);
    int GetSourceEnergy(uint32_t id);
    int GetNetState(uint32_t id, void* state, char* text);
    void SetPlayCallback(void* context, AudioDataCallBack callback);
    void GetPlayFormat(WAVEFORMATEX* out);

    // Library unload: the manager goes first, then the shared source group.
    void Unload();

    // The echo state as it truly is: 6 only while the platform's effects
    // cancel the echo (or no device is open yet to tell otherwise).
    int GetEchoState() const;
    const RestartParams& Params() const { return m_params; }
    CAudioManagerBase* Manager() const { return m_manager; }
    CDirectSoundLib& DirectSound() { return m_ds; }

    // Windows version class from GetVersion/GetVersionExA: 7 is NT 5.1.
    static int SystemVersionClass();
    static int VersionClassOf(DWORD platformId, DWORD major, DWORD minor);

protected:
    virtual int VersionClass();
    // Makes the engine binding available; false when the engine is missing.
    virtual bool EnsureEngine();
    // COM for the DirectSound objects, once per manager life on the
    // DirectSound path; the pair is balanced by Release.
    virtual bool InitCom();
    virtual void UninitCom();
    virtual bool LoadDirectSound();
    virtual void FreeDirectSound();
    virtual CAudioManagerBase* NewWaveManager();
    virtual CAudioManagerBase* NewDirectSoundManager();

    CRavoBinding* m_ravo = nullptr;
    CDirectSoundLib m_ds;

private:
    void Restart();
    // A start that failed on the platform's echo cancelling path: the plain
    // manager comes back and cancels in software.
    void RestartWithSoftwareEcho();
    void ReapplySettings();
    bool RestartOnDirectSound();

    CRITICAL_SECTION m_apiLock;
    CAudioManagerBase* m_manager = nullptr;
    RestartParams m_params;
    bool m_comInitialised = false;
};

} // namespace RavoTDevice
