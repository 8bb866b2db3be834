#pragma once
#include "CAudioCapture.h"
#include "CAudioManagerBase.h"
#include "CAudioPlayer.h"
#include "IWaveApi.h"

namespace SonvexDevice {

// The manager on waveIn/waveOut: a new capture or player object for each
// start, deleted at stop.
class CMMAudioManager : public CAudioManagerBase
{
public:
    CMMAudioManager(int rate, AudioCommon::IWaveApi& wave = AudioCommon::IWaveApi::System(),
                    IMixerApi& mixer = IMixerApi::System());
    ~CMMAudioManager() override;

    int GetCapDevicesCount() override;
    int GetCapDeviceName(int index, char* buffer, int size) override;
    int GetPlayDevicesCount() override;
    int GetPlayDeviceName(int index, char* buffer, int size) override;
    int StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context) override;
    void StopCapture() override;
    int StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context) override;
    void StopPlay() override;
    void SetPlayCallback(void* context, SONVEX_PLAY_CALLBACK callback) override;
    void GetPlayFormat(tWAVEFORMATEX* out) override;

    CAudioCapture* Capture() const { return m_capture; }
    CAudioPlayer* Player() const { return m_player; }

private:
    AudioCommon::IWaveApi& m_wave;
    CAudioPlayer* m_player = nullptr;
    CAudioCapture* m_capture = nullptr;
};

} // namespace SonvexDevice
