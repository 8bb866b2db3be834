#pragma once
#include <windows.h>

#include <cstdint>

#include "CAudioManagerBase.h"
#include "CDSAudioCapture.h"
#include "CDSAudioPlay.h"
#include "IDirectSoundApi.h"

namespace SonvexDevice {

#pragma pack(push, 1)
// One device found by DirectSound enumeration.
struct DS_DEVICE_ENTRY
{
    uint32_t index; // position in enumeration order
    GUID guid;      // all zero for the primary device
    char description[256];
};
#pragma pack(pop)
static_assert(sizeof(DS_DEVICE_ENTRY) == 276, "device list entry is 276 bytes");

struct DS_DEVICE_LIST
{
    enum { MAX_DEVICES = 10 };
    DS_DEVICE_ENTRY entries[MAX_DEVICES];
    int count;
};

// The DirectSound device lists, filled when a DirectSound manager is made.
extern DS_DEVICE_LIST g_dsCaptureDevices;
extern DS_DEVICE_LIST g_dsPlayDevices;

// The manager on DirectSound: one capture and one play object, each with a
// thread of its own, at the manager's own rate.
class CDSAudioManager : public CAudioManagerBase
{
public:
    CDSAudioManager(int rate, IDirectSoundApi& api = IDirectSoundApi::System(),
                    IMixerApi& mixer = IMixerApi::System());
    ~CDSAudioManager() override;

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

    // The device's GUID; the all-zero GUID (default device) outside the list.
    static GUID DeviceGuid(const DS_DEVICE_LIST& list, int index);
    // The capture list starts with the primary device, then lists the wave
    // devices in their order: entry n is wave device n - 1, and the primary
    // device (or a number outside the list) the first wave device.
    int MixerDevice(int captureDevice) const override;

    bool IsPlaying() const { return m_playing != 0; }
    bool IsCapturing() const { return m_capturing != 0; }
    CDSAudioCapture& Capture() { return m_capture; }
    CDSAudioPlay& Play() { return m_play; }

private:
    static BOOL CALLBACK EnumerateOne(LPGUID guid, LPCSTR description, LPCSTR module,
                                      LPVOID context);
    static int NameOf(const DS_DEVICE_LIST& list, int index, char* buffer, int size);

    int m_playing = 0;
    int m_capturing = 0;
    CDSAudioCapture m_capture;
    CDSAudioPlay m_play;
};

} // namespace SonvexDevice
