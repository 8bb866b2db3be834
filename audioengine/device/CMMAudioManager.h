#pragma once
#include "CAudioManagerBase.h"
#include "IWaveApi.h"

namespace RavoTDevice {

class CAudioCapture;
class CAudioPlayer;

// The device manager of the waveIn/waveOut path.
class CMMAudioManager : public CAudioManagerBase
{
public:
    CMMAudioManager(CRavoBinding* ravo, AudioCommon::IWaveApi* wave);
    ~CMMAudioManager() override;

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

    bool IsCapturing() const { return m_capture != nullptr; }
    bool IsPlaying() const { return m_player != nullptr; }

private:
    AudioCommon::IWaveApi* m_wave;
    CAudioPlayer* m_player = nullptr;
    CAudioCapture* m_capture = nullptr;
};

} // namespace RavoTDevice
