#pragma once
#include "CAudioManagerBase.h"
#include "CDirectSoundLib.h"
#include "IDuplexSoundDevice.h"

namespace RavoTDevice {

class TSoundCapture;
class TSoundPlayer;

// The device manager of the DirectSound full-duplex path. Capture and
// playback share one device; changing either device id or the codec row
// re-creates it with whatever runs. The platform's capture effects cancel
// the echo; on a device without them the software canceller of the base
// takes over while echo cancelling is asked for.
class CDSAudioManager : public CAudioManagerBase
{
public:
    // factory null: TCaptureEffect devices on ds.
    CDSAudioManager(CRavoBinding* ravo, CDirectSoundLib* ds, DuplexDeviceFactory factory = nullptr,
                    void* factoryContext = nullptr);

    CDSAudioManager* AsDirectSound() override { return this; }
    ~CDSAudioManager() override;

    int GetCapDevicesCount() override;
    int GetCapDeviceName(int index, char* buffer, int size) override;
    int GetPlayDevicesCount() override;
    int GetPlayDeviceName(int index, char* buffer, int size) override;
    int StartCapture(int deviceId, uint8_t formatIndex, void* context,
                     CaptureCallBack callback) override;
    int StopCapture() override;
    int StartPlay(int deviceId) override;
    void StopPlay() override;
    void SetPlayCallback(void* context, PlayCallBack callback) override;
    void GetPlayFormat(WAVEFORMATEX* out) override;
    void SetAEC(int mode) override;

    // 6 while the platform cancels the echo (or no device is open yet to
    // tell), 3 while the software canceller stands in for it.
    int GetEchoState() const;
    bool HasDevice() const { return m_device != nullptr; }
    bool IsCapturing() const { return m_capture != nullptr; }
    bool IsPlaying() const { return m_player != nullptr; }

private:
    int StartDevice();
    void CloseDevice();
    int OpenPlayer(const char* where);
    int OpenCapture(const char* where);
    void UpdateSoftwareEcho();

    CDirectSoundLib* m_ds;
    DuplexDeviceFactory m_factory;
    void* m_factoryContext;
    uint8_t m_formatIndex = 0;
    int m_playWanted = 0;
    int m_captureWanted = 0;
    int m_captureDeviceId = 0;
    int m_playDeviceId = 0;
    int m_requestedEcho = 0;
    IDuplexSoundDevice* m_device = nullptr;
    TSoundCapture* m_capture = nullptr;
    TSoundPlayer* m_player = nullptr;
};

} // namespace RavoTDevice
