#include "CMMAudioManager.h"

#include <cstring>
#include <new>

#include "SonvexLog.h"

namespace SonvexDevice {

CMMAudioManager::CMMAudioManager(int rate, AudioCommon::IWaveApi& wave, IMixerApi& mixer)
    : CAudioManagerBase(rate, mixer), m_wave(wave)
{}

CMMAudioManager::~CMMAudioManager()
{
    StopCapture();
    StopPlay();
}

int CMMAudioManager::GetCapDevicesCount() { return static_cast<int>(m_wave.InGetNumDevs()); }

int CMMAudioManager::GetCapDeviceName(int index, char* buffer, int size)
{
    if (index < 0 || index >= GetCapDevicesCount() || !buffer || size <= 0)
        return 0;
    WAVEINCAPSA caps = {};
    if (m_wave.InGetDevCaps(static_cast<UINT>(index), &caps) != MMSYSERR_NOERROR)
        return 0;
    return CopyDeviceName(caps.szPname, sizeof(caps.szPname), buffer, size);
}

int CMMAudioManager::GetPlayDevicesCount() { return static_cast<int>(m_wave.OutGetNumDevs()); }

int CMMAudioManager::GetPlayDeviceName(int index, char* buffer, int size)
{
    if (index < 0 || index >= GetPlayDevicesCount() || !buffer || size <= 0)
        return 0;
    WAVEOUTCAPSA caps = {};
    if (m_wave.OutGetDevCaps(static_cast<UINT>(index), &caps) != MMSYSERR_NOERROR)
        return 0;
    return CopyDeviceName(caps.szPname, sizeof(caps.szPname), buffer, size);
}

int CMMAudioManager::StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context)
{
    if (m_capture)
        StopCapture();
    if (!CanStream("CMMAudioManager::StartCapture"))
        return 0;
    m_capture = new (std::nothrow) CAudioCapture(m_wave);
    if (!m_capture) {
        SonvexLog(1, "<CMMAudioManager::StartCapture>,new CAudioCapture failed!");
        return 0;
    }
    m_capture->SetCallback(this, &CAudioManagerBase::AudioCapCallBack);
    m_format[1].cbSize = 0;
    // The echo canceller gets its callback before the first block arrives.
    CAudioManagerBase::StartCapture(device, callback, context);
    if (!m_capture->StartCapture(static_cast<UINT>(device), &m_format[1], m_blockSize)) {
        SonvexLog(1, "<CMMAudioManager::StartCapture>,Start Capture failed,DeviceID=%d\n", device);
        delete m_capture;
        m_capture = nullptr;
        CAudioManagerBase::StopCapture();
        return 0;
    }
    return 1;
}

void CMMAudioManager::StopCapture()
{
    if (m_capture) {
        m_capture->Stop();
        delete m_capture;
        m_capture = nullptr;
    }
    CAudioManagerBase::StopCapture();
}

int CMMAudioManager::StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context)
{
    if (m_player)
        StopPlay();
    m_playCallback = callback;
    m_playContext = context;
    if (!CanStream("CMMAudioManager::StartPlay"))
        return 0;
    m_player = new (std::nothrow) CAudioPlayer(m_wave);
    if (!m_player) {
        SonvexLog(1, "<CMMAudioManager::StartPlay>,new CAudioPlayer failed\n");
        return 0;
    }
    m_player->SetReadCallback(&CAudioManagerBase::AudioReadCallBack, this);
    if (!m_player->Start(static_cast<UINT>(device), &m_format[0], m_blockSize)) {
        SonvexLog(1, "<CMMAudioManager::StartPlay>,Start player failed,nDeviceID = %d\n", device);
        delete m_player;
        m_player = nullptr;
        return 0;
    }
    g_audProc.OpenSpeakerVolume();
    return 1;
}

void CMMAudioManager::StopPlay()
{
    if (m_player) {
        m_player->Stop();
        delete m_player;
        m_player = nullptr;
    }
}

void CMMAudioManager::SetPlayCallback(void*, SONVEX_PLAY_CALLBACK) {}

void CMMAudioManager::GetPlayFormat(tWAVEFORMATEX* out)
{
    if (out && m_player)
        m_player->GetFormat(out);
}

} // namespace SonvexDevice
