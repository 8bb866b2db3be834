#include "CDSAudioManager.h"

#include <cstring>

#include "SonvexLog.h"

namespace SonvexDevice {

DS_DEVICE_LIST g_dsCaptureDevices;
DS_DEVICE_LIST g_dsPlayDevices;

CDSAudioManager::CDSAudioManager(int rate, IDirectSoundApi& api, IMixerApi& mixer)
    : CAudioManagerBase(rate, mixer), m_capture(api), m_play(api)
{
    g_dsCaptureDevices.count = 0;
    api.EnumerateCapture(&CDSAudioManager::EnumerateOne, &g_dsCaptureDevices);
    g_dsPlayDevices.count = 0;
    api.EnumeratePlay(&CDSAudioManager::EnumerateOne, &g_dsPlayDevices);
}

CDSAudioManager::~CDSAudioManager()
{
    m_playing = 0;
    m_play.StopDevice();
    m_play.ReleaseDevice();
    m_capturing = 0;
    m_capture.StopDevice();
    m_capture.ReleaseDevice();
}

BOOL CALLBACK CDSAudioManager::EnumerateOne(LPGUID guid, LPCSTR description, LPCSTR, LPVOID context)
{
    DS_DEVICE_LIST* list = static_cast<DS_DEVICE_LIST*>(context);
    // Devices past the tenth are not listed.
    if (!list || list->count >= DS_DEVICE_LIST::MAX_DEVICES)
        return TRUE;
    DS_DEVICE_ENTRY& entry = list->entries[list->count];
    memset(&entry, 0, sizeof(entry));
    entry.index = static_cast<uint32_t>(list->count);
    if (guid)
        entry.guid = *guid;
    size_t length = description ? strlen(description) : 0;
    if (length >= 1 && length <= 255)
        memcpy(entry.description, description, length + 1);
    ++list->count;
    return TRUE;
}

GUID CDSAudioManager::DeviceGuid(const DS_DEVICE_LIST& list, int index)
{
    GUID zero = {};
    if (index < 0 || index >= list.count)
        return zero;
    return list.entries[index].guid;
}

int CDSAudioManager::MixerDevice(int captureDevice) const
{
    if (captureDevice < 1 || captureDevice >= g_dsCaptureDevices.count)
        return 0;
    return captureDevice - 1;
}

int CDSAudioManager::NameOf(const DS_DEVICE_LIST& list, int index, char* buffer, int size)
{
    if (index < 0 || index >= list.count)
        return 0;
    return CopyDeviceName(list.entries[index].description, 256, buffer, size);
}

int CDSAudioManager::GetCapDevicesCount() { return g_dsCaptureDevices.count; }
int CDSAudioManager::GetPlayDevicesCount() { return g_dsPlayDevices.count; }

int CDSAudioManager::GetCapDeviceName(int index, char* buffer, int size)
{
    return NameOf(g_dsCaptureDevices, index, buffer, size);
}

int CDSAudioManager::GetPlayDeviceName(int index, char* buffer, int size)
{
    return NameOf(g_dsPlayDevices, index, buffer, size);
}

int CDSAudioManager::StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context)
{
    if (!CanStream("CDSAudioManager::StartCapture"))
        return 0;
    CAudioManagerBase::StartCapture(device, callback, context);
    m_capture.SetCallback(this, &CAudioManagerBase::AudioCapCallBack);
    GUID guid = DeviceGuid(g_dsCaptureDevices, device);
    if (!m_capture.OpenDevice(&guid, &m_format[1], m_blockSize)) {
        SonvexLog(1, "<CDSAudioManager::StartCapture>,capture device %d did not open\n", device);
        m_capturing = 0;
        CAudioManagerBase::StopCapture();
        return 0;
    }
    m_capturing = 1;
    return 1;
}

void CDSAudioManager::StopCapture()
{
    m_capturing = 0;
    m_capture.StopDevice();
    m_capture.ReleaseDevice();
    CAudioManagerBase::StopCapture();
}

int CDSAudioManager::StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context)
{
    // The play thread reads the callback and its context: a running device
    // stops before they change, so no block ever goes to one with the other.
    StopPlay();
    m_playCallback = callback;
    m_playContext = context;
    if (!CanStream("CDSAudioManager::StartPlay"))
        return 0;
    m_playing = 1;
    GUID guid = DeviceGuid(g_dsPlayDevices, device);
    m_play.SetReadCallback(&CAudioManagerBase::AudioReadCallBack, this);
    if (!m_play.OpenDevice(GetDesktopWindow(), &m_format[0], &guid) || !m_play.StartDevice()) {
        SonvexLog(1, "<CDSAudioManager::StartPlay>,play device %d did not start\n", device);
        m_playing = 0;
        m_play.StopDevice();
        m_play.ReleaseDevice();
        return 0;
    }
    g_audProc.OpenSpeakerVolume();
    return 1;
}

void CDSAudioManager::StopPlay()
{
    m_playing = 0;
    m_play.StopDevice();
    m_play.ReleaseDevice();
}

void CDSAudioManager::SetPlayCallback(void*, SONVEX_PLAY_CALLBACK) {}

void CDSAudioManager::GetPlayFormat(tWAVEFORMATEX* out)
{
    // The record is 18 bytes: exactly that much is copied.
    if (out)
        memcpy(out, &m_format[0], sizeof(tWAVEFORMATEX));
}

} // namespace SonvexDevice
