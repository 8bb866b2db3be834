#include "CMMAudioManager.h"

#include <cstring>
#include <new>

#include "CAudioCapture.h"
#include "CAudioPlayer.h"
#include "RavoTLog.h"

namespace RavoTDevice {

CMMAudioManager::CMMAudioManager(CRavoBinding* ravo, AudioCommon::IWaveApi* wave)
    : CAudioManagerBase(ravo), m_wave(wave)
{}

CMMAudioManager::~CMMAudioManager()
{
    StopPlay();
    StopCapture();
}

int CMMAudioManager::GetCapDevicesCount() { return static_cast<int>(m_wave->InGetNumDevs()); }

namespace {
int CopyName(const char* name, char* buffer, int size)
{
    int length = static_cast<int>(strnlen(name, MAXPNAMELEN));
    if (!buffer || size <= 0 || length >= size)
        return 0;
    memcpy(buffer, name, length);
    buffer[length] = '\0';
    return length;
}
} // namespace

int CMMAudioManager::GetCapDeviceName(int index, char* buffer, int size)
{
    if (index < 0 || index >= GetCapDevicesCount())
        return 0;
    WAVEINCAPSA caps;
    memset(&caps, 0, sizeof(caps));
    if (m_wave->InGetDevCaps(static_cast<UINT>(index), &caps) != MMSYSERR_NOERROR)
        return 0;
    return CopyName(caps.szPname, buffer, size);
}

int CMMAudioManager::GetPlayDevicesCount() { return static_cast<int>(m_wave->OutGetNumDevs()); }

int CMMAudioManager::GetPlayDeviceName(int index, char* buffer, int size)
{
    if (index < 0 || index >= GetPlayDevicesCount())
        return 0;
    WAVEOUTCAPSA caps;
    memset(&caps, 0, sizeof(caps));
    if (m_wave->OutGetDevCaps(static_cast<UINT>(index), &caps) != MMSYSERR_NOERROR)
        return 0;
    return CopyName(caps.szPname, buffer, size);
}

int CMMAudioManager::StartCapture(int deviceId, uint8_t formatIndex, void* context,
                                  CaptureCallBack callback)
{
    StopCapture();
    m_captureContext = context;
    m_captureCallback = callback;
    m_capture = new (std::nothrow) CAudioCapture(m_wave);
    if (!m_capture) {
        RavoTLog().Write(1, "<CMMAudioManager::StartCapture>,new CAudioCapture failed!");
        return 0;
    }
    WAVEFORMATEX format;
    memset(&format, 0, sizeof(format));
    int blockBytes = 0;
    if (!Ravo().GetEncodeFormatIn(formatIndex, &format) ||
        (blockBytes = Ravo().GetEncodeBlockSize(formatIndex)) <= 0) {
        RavoTLog().Write(
            1, "<CMMAudioManager::StartCapture>,Sonvex_GetEncodeFormatIn failed,FormatIndex = %d\n",
            formatIndex);
        delete m_capture;
        m_capture = nullptr;
        return 0;
    }
    m_capture->SetCallback(this, &CAudioManagerBase::AudioCapCallBack);
    if (!m_capture->StartCapture(deviceId, &format, blockBytes)) {
        RavoTLog().Write(
            1, "<CMMAudioManager::StartCapture>,Start Capture failed,DeviceID=%d,FormatIndex=%d\n",
            deviceId, formatIndex);
        delete m_capture;
        m_capture = nullptr;
        return 0;
    }
    if (!CAudioManagerBase::StartCapture(deviceId, formatIndex, context, callback)) {
        // No device object is left behind a failed start.
        delete m_capture;
        m_capture = nullptr;
        return 0;
    }
    return 1;
}

int CMMAudioManager::StopCapture()
{
    if (m_capture) {
        m_capture->Stop();
        delete m_capture;
        m_capture = nullptr;
    }
    return CAudioManagerBase::StopCapture();
}

int CMMAudioManager::StartPlay(int deviceId)
{
    StopPlay();
    m_player = new (std::nothrow) CAudioPlayer(m_wave);
    if (!m_player) {
        RavoTLog().Write(1, "<CMMAudioManager::StartPlay>,new CAudioPlayer failed\n");
        return 0;
    }
    // The read callback is in place before the first block is asked for.
    m_player->SetReadCallback(&CAudioManagerBase::AudioReadCallBack, this);
    if (!m_player->Start(deviceId, &m_playFormat, m_playBlockBytes)) {
        RavoTLog().Write(1, "<CMMAudioManager::StartPlay>,Start player failed,nDeviceID = %d\n",
                         deviceId);
        delete m_player;
        m_player = nullptr;
        return 0;
    }
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

void CMMAudioManager::SetPlayCallback(void* context, PlayCallBack callback)
{
    if (m_player)
        m_player->SetPlayTap(context, callback);
}

void CMMAudioManager::GetPlayFormat(WAVEFORMATEX* out)
{
    if (m_player && out)
        m_player->GetFormat(out);
}

} // namespace RavoTDevice
