#include "CDSAudioManager.h"

#include <cstring>
#include <new>

#include "RavoTLog.h"
#include "TCaptureEffect.h"
#include "TSoundCapture.h"
#include "TSoundPlayer.h"

namespace RavoTDevice {

CDSAudioManager::CDSAudioManager(CRavoBinding* ravo, CDirectSoundLib* ds,
                                 DuplexDeviceFactory factory, void* factoryContext)
    : CAudioManagerBase(ravo), m_ds(ds), m_factory(factory), m_factoryContext(factoryContext)
{}

CDSAudioManager::~CDSAudioManager()
{
    CloseDevice();
    CAudioManagerBase::StopCapture();
}

int CDSAudioManager::GetCapDevicesCount()
{
    return m_ds ? static_cast<int>(m_ds->CaptureDeviceList.size()) : 0;
}

int CDSAudioManager::GetPlayDevicesCount()
{
    return m_ds ? static_cast<int>(m_ds->PlaybackDeviceList.size()) : 0;
}

namespace {
int CopyDescription(const std::vector<DS_DEVICE_ENTRY>& list, int index, char* buffer, int size)
{
    if (index < 0 || index >= static_cast<int>(list.size()) || !buffer)
        return 0;
    const char* text = list[index].description;
    int length = static_cast<int>(strnlen(text, sizeof(list[index].description)));
    if (length >= size)
        return 0;
    memcpy(buffer, text, length);
    buffer[length] = '\0';
    return length;
}
} // namespace

int CDSAudioManager::GetCapDeviceName(int index, char* buffer, int size)
{
    return m_ds ? CopyDescription(m_ds->CaptureDeviceList, index, buffer, size) : 0;
}

int CDSAudioManager::GetPlayDeviceName(int index, char* buffer, int size)
{
    return m_ds ? CopyDescription(m_ds->PlaybackDeviceList, index, buffer, size) : 0;
}

int CDSAudioManager::OpenPlayer(const char* where)
{
    m_player = new (std::nothrow) TSoundPlayer(m_device);
    if (!m_player) {
        RavoTLog().Write(1, "<CDSAudioManager::%s>,new TSoundPlayer failed\n", where);
        return 0;
    }
    m_player->SetReadCallback(&CAudioManagerBase::AudioReadCallBack, this);
    if (!m_player->DsOpen(&m_playFormat, PLAY_BLOCK_BYTES)) {
        RavoTLog().Write(1, "<CDSAudioManager::%s>,Open play channel failed,DeviceID = %d\n", where,
                         m_playDeviceId);
        delete m_player;
        m_player = nullptr;
        return 0;
    }
    return 1;
}

int CDSAudioManager::OpenCapture(const char* where)
{
    WAVEFORMATEX format;
    memset(&format, 0, sizeof(format));
    int blockBytes = 0;
    if (!Ravo().GetEncodeFormatIn(m_formatIndex, &format) ||
        (blockBytes = Ravo().GetEncodeBlockSize(m_formatIndex)) <= 0) {
        RavoTLog().Write(
            1, "<CDSAudioManager::%s>,Sonvex_GetEncodeFormatIn failed,Format Index = %d\n", where,
            m_formatIndex);
        return 0;
    }
    m_capture = new (std::nothrow) TSoundCapture(m_device);
    if (!m_capture) {
        RavoTLog().Write(1, "<CDSAudioManager::%s>,new TSoundCapture failed\n", where);
        return 0;
    }
    m_capture->SetCallback(this, &CAudioManagerBase::AudioCapCallBack);
    if (!m_capture->DsOpen(&format, blockBytes)) {
        RavoTLog().Write(
            1, "<CDSAudioManager::%s>,Open cap channel failed,DeviceID = %d,FormatIndex = %d\n",
            where, m_captureDeviceId, m_formatIndex);
        delete m_capture;
        m_capture = nullptr;
        return 0;
    }
    return 1;
}

int CDSAudioManager::StartPlay(int deviceId)
{
    m_playWanted = 1;
    if (deviceId < 0)
        deviceId = 0;
    if (!m_device || deviceId != m_playDeviceId) {
        m_playDeviceId = deviceId;
        if (!StartDevice()) {
            CloseDevice();
            RavoTLog().Write(1, "<CDSAudioManager::StartPlay>,StartDevice failed,DeviceID = %d\n",
                             deviceId);
            return 0;
        }
    }
    if (m_playWanted && !m_player && !OpenPlayer("StartPlay"))
        return 0;
    if (m_captureWanted && !m_capture && !OpenCapture("StartPlay"))
        return 0;
    return 1;
}

int CDSAudioManager::StartCapture(int deviceId, uint8_t formatIndex, void* context,
                                  CaptureCallBack callback)
{
    m_captureContext = context;
    m_captureCallback = callback;
    m_captureWanted = 1;
    if (!m_device || deviceId != m_captureDeviceId || formatIndex != m_formatIndex) {
        m_captureDeviceId = deviceId;
        m_formatIndex = formatIndex;
        if (!StartDevice()) {
            RavoTLog().Write(1,
                             "<CDSAudioManager::StartCapture>,Start Device failed,nDeviceID = "
                             "%d,FormatIndex = %d\n",
                             deviceId, formatIndex);
            CloseDevice();
            return 0;
        }
    }
    if (m_playWanted && !m_player && !OpenPlayer("StartCapture"))
        return 0;
    // The capture thread may be running; the base swaps the processer under
    // its lock.
    if (!m_capture && !OpenCapture("StartCapture"))
        return 0;
    int ok = CAudioManagerBase::StartCapture(deviceId, formatIndex, context, callback);
    UpdateSoftwareEcho();
    return ok;
}

void CDSAudioManager::StopPlay()
{
    m_playWanted = 0;
    if (m_captureWanted) {
        if (m_player) {
            m_player->Stop();
            delete m_player;
            m_player = nullptr;
        }
    } else {
        CloseDevice();
    }
}

int CDSAudioManager::StopCapture()
{
    m_captureWanted = 0;
    if (m_playWanted) {
        if (m_capture) {
            m_capture->Stop();
            delete m_capture;
            m_capture = nullptr;
        }
    } else {
        CloseDevice();
    }
    return CAudioManagerBase::StopCapture();
}

void CDSAudioManager::CloseDevice()
{
    if (m_capture) {
        m_capture->Stop();
        delete m_capture;
        m_capture = nullptr;
    }
    if (m_player) {
        m_player->Stop();
        delete m_player;
        m_player = nullptr;
    }
    if (m_device) {
        m_device->Close();
        delete m_device;
        m_device = nullptr;
    }
}

int CDSAudioManager::StartDevice()
{
    CloseDevice();
    GUID render = kDSDEVID_DefaultPlayback;
    GUID capture = kDSDEVID_DefaultCapture;
    if (m_ds && m_playDeviceId >= 0 &&
        m_playDeviceId < static_cast<int>(m_ds->PlaybackDeviceList.size()))
        render = m_ds->PlaybackDeviceList[m_playDeviceId].guid;
    if (m_ds && m_captureDeviceId >= 0 &&
        m_captureDeviceId < static_cast<int>(m_ds->CaptureDeviceList.size()))
        capture = m_ds->CaptureDeviceList[m_captureDeviceId].guid;
    m_device = m_factory ? m_factory(m_factoryContext) : new (std::nothrow) TCaptureEffect(m_ds);
    if (!m_device) {
        RavoTLog().Write(1, "<CDSAudioManager::StartDevice>,new TCaptureEffect failed\n");
        return 0;
    }
    WAVEFORMATEX format;
    memset(&format, 0, sizeof(format));
    if (!Ravo().GetEncodeFormatIn(m_formatIndex, &format))
        return 0;
    m_device->SetCaptureFormat(&format);
    m_device->SetCaptureBlocks(Ravo().GetEncodeBlockSize(m_formatIndex), 8);
    m_device->SetPlayFormat(&m_playFormat);
    m_device->SetPlayBlocks(PLAY_BLOCK_BYTES, 8);
    if (!m_device->Init(1, GetDesktopWindow(), &render, &capture)) {
        RavoTLog().Write(1, "<CDSAudioManager::StartDevice>,Init devices failed!\n");
        return 0;
    }
    m_device->SetParameter(1);
    UpdateSoftwareEcho();
    return 1;
}

void CDSAudioManager::SetAEC(int mode)
{
    m_requestedEcho = mode;
    UpdateSoftwareEcho();
}

int CDSAudioManager::GetEchoState() const
{
    return (m_device && !m_device->HasEchoEffect()) ? 3 : 6;
}

void CDSAudioManager::UpdateSoftwareEcho()
{
    int want = (m_requestedEcho && m_device && !m_device->HasEchoEffect()) ? 3 : 0;
    // A new capture format needs a new canceller; the base restarts it on
    // every capture start, so only a change of need switches it here.
    if ((want != 0) != (m_echoMode != 0))
        CAudioManagerBase::SetAEC(want);
}

void CDSAudioManager::SetPlayCallback(void* context, PlayCallBack callback)
{
    if (m_player)
        m_player->SetPlayTap(context, callback);
}

void CDSAudioManager::GetPlayFormat(WAVEFORMATEX* out)
{
    if (m_player && out)
        m_player->GetFormat(out);
}

} // namespace RavoTDevice
