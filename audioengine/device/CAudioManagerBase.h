#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "AudioCallbacks.h"
#include "CNamedThread.h"
#include "CRavoBinding.h"

namespace RavoTDevice {

class CAecFilter;
class CAudioConvert;
class CDSAudioManager;

// The play tap: (context, player, block, length), just before the device gets it.
typedef AudioDataCallBack PlayCallBack;

// Common base of the device managers: the link to the engine (processer of
// the captured blocks, the shared source group whose mix is played) and the
// software echo canceller between the played and the captured audio. The
// derived managers drive the devices.
class CAudioManagerBase : public CNamedThread
{
public:
    enum { PACKET_BUFFER_SIZE = 1024, PLAY_BLOCK_BYTES = 480 };

    explicit CAudioManagerBase(CRavoBinding* ravo);
    ~CAudioManagerBase() override;

    uint32_t Run() override;

    // The DirectSound manager behind this base, or null for the plain one.
    virtual CDSAudioManager* AsDirectSound() { return nullptr; }

    virtual int GetPlayEnergy();
    virtual int GetCapEnergy();
    virtual int GetCapDevicesCount() = 0;
    virtual int GetCapDeviceName(int index, char* buffer, int size) = 0;
    virtual int GetPlayDevicesCount() = 0;
    virtual int GetPlayDeviceName(int index, char* buffer, int size) = 0;
    virtual int StartCapture(int deviceId, uint8_t formatIndex, void* context,
                             CaptureCallBack callback);
    virtual int StopCapture();
    virtual int StartPlay(int deviceId) = 0;
    virtual void StopPlay() = 0;
    virtual int SourceIsExist(uint32_t id);
    virtual int AddSource(uint32_t id);
    virtual int RemoveSource(uint32_t id);
    virtual int WriteSource(uint32_t id, uint8_t* packet, int length);
    virtual int SetSourceVolume(uint32_t id, int volume);
    virtual int GetSourceVolume(uint32_t id);
    virtual int GetSourceEnergy(uint32_t id);
    virtual int ReadData(uint8_t* buffer, int length);
    virtual void SetPlayCallback(void* context, PlayCallBack callback) = 0;
    virtual void GetPlayFormat(WAVEFORMATEX* out) = 0;
    virtual int SetPlayLocal(int on);
    virtual int SetDenoise(int mode);
    virtual int EnableSilenceDetect(int on);
    virtual int SetFECMode(int mode);
    virtual void SetAEC(int mode);
    virtual int SetAGC(int mode);
    virtual void HandleLocalAudioData(uint8_t* block, int length);

    int SetDenoiseChain(int variant);
    int GetNetState(uint32_t id, void* state, char* text);

    static int AudioCapCallBack(void* owner, void* sender, uint8_t* block, int length);
    static int AudioReadCallBack(void* owner, void* sender, uint8_t* buffer, int length);

    // For the exports and tests.
    int GetEchoMode() const { return m_echoMode; }
    bool HasEchoCanceller() const { return m_echo != nullptr; }
    bool HasEchoConverters() const { return m_toNarrow != nullptr; }
    int GetEchoFilterMode() const;
    void* GetProcesser() const { return m_processer; }
    const WAVEFORMATEX& GetCaptureFormat() const { return m_captureFormat; }
    const WAVEFORMATEX& PlayFormat() const { return m_playFormat; }

protected:
    const RavoApi& Ravo() const { return m_ravo->Api(); }
    void* Group() const { return m_group; }
    void DestroyProcesser();

    CRavoBinding* m_ravo;
    void* m_group = nullptr;
    void* m_processer = nullptr;
    int m_playLocal = 0;
    int m_denoise = 0;
    int m_silenceDetect = 0;
    int m_echoMode = 0;
    int m_agc = 0;
    int m_fecMode = 0;
    CRITICAL_SECTION m_echoLock;
    // Guards the processer handle against a swap while the capture thread
    // codes a block with it.
    CRITICAL_SECTION m_processerLock;
    CAecFilter* m_echo = nullptr;
    CAudioConvert* m_toNarrow = nullptr;
    CAudioConvert* m_fromNarrow = nullptr;
    void* m_captureContext = nullptr;
    CaptureCallBack m_captureCallback = nullptr;
    WAVEFORMATEX m_playFormat;
    WAVEFORMATEX m_captureFormat;
    int m_playBlockBytes = PLAY_BLOCK_BYTES;
    uint8_t m_packet[PACKET_BUFFER_SIZE];
};

} // namespace RavoTDevice
