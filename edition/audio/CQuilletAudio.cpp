#include "CQuilletAudio.h"

#include "CClientSettings.h"
#include "CUserTable.h"
#include "ClientLog.h"
#include "ServerWire.h"

CQuilletAudio::CQuilletAudio(const RAVOTM_FUNCTIONS& ravotm, const MEDIA_FUNCTIONS& media,
                             CClientSettings& settings, MessageFn message)
    : m_ravotm(ravotm), m_media(media), m_settings(settings), m_message(std::move(message))
{}

CQuilletAudio::~CQuilletAudio()
{
    // A tap left on must not call into a gone object.
    if (m_recording && m_ravotm.D_G_SetRecord) {
        m_recording = false;
        m_ravotm.D_G_SetRecord(0, nullptr, nullptr);
    }
}

void CQuilletAudio::Show(UINT id)
{
    if (m_message)
        m_message(id);
}

bool CQuilletAudio::RestartCapture()
{
    m_ravotm.D_G_StopCapture();
    if (!m_ravotm.D_G_StartCapture(static_cast<int>(m_settings.audioCapture),
                                   m_settings.audioFormat)) {
        Show(IDS_CAPTURE_FAILED);
        return false;
    }
    return true;
}

bool CQuilletAudio::RestartPlay()
{
    m_ravotm.D_G_StopPlay();
    if (!m_ravotm.D_G_StartPlay(static_cast<int>(m_settings.audioPlay))) {
        Show(IDS_PLAY_FAILED);
        return false;
    }
    return true;
}

bool CQuilletAudio::ApplyAll(CUserTable& users, uint32_t ownUserId)
{
    const bool capturing = RestartCapture();
    m_ravotm.D_G_SetDeNoise(static_cast<int>(m_settings.denoise));
    m_ravotm.D_G_SetASC(static_cast<int>(m_settings.asc));
    m_ravotm.D_G_SetFECType(static_cast<int>(m_settings.fecType),
                            static_cast<int>(m_settings.autoFec));
    m_ravotm.D_G_SetAEC(m_settings.aec ? 1 : 0);
    m_ravotm.D_G_SetAGC(m_settings.agc ? 1 : 0);
    RestartPlay();
    m_ravotm.D_G_SetPlayLocal(static_cast<int>(m_settings.playLocal));
    const int count = users.GetCount();
    for (int i = 0; i < count; ++i) {
        USER_INFO user = {};
        if (!users.GetUserAt(i, &user) || user.speakState != 2 || user.userId == ownUserId)
            continue;
        OnSpeakState(user.userId, 2);
    }
    return capturing;
}

bool CQuilletAudio::Connect(const LOGIN_INFO& login)
{
    if (login.audioPort == 0 || login.audioPort2 == 0)
        Show(IDS_BAD_AUDIO_PORT);
    if (!m_ravotm.D_G_Connect(login.roomId, login.userId, login.serverAddress, login.audioPort)) {
        Show(IDS_CONNECT_FAILED);
        return false;
    }
    return true;
}

void CQuilletAudio::StopAll()
{
    if (PFN_Void stopSend = m_media.Get<PFN_Void>(MF_T_S_StopSend))
        stopSend();
    m_ravotm.D_G_Disconnect();
    m_ravotm.D_G_StopCapture();
    m_ravotm.D_G_StopPlay();
    if (PFN_Void stopCapture = m_media.Get<PFN_Void>(MF_T_S_StopCapture))
        stopCapture();
}

void CQuilletAudio::SetAec(bool on)
{
    m_settings.aec = on ? 1 : 0;
    m_ravotm.D_G_SetAEC(on ? 1 : 0);
}

void CQuilletAudio::SetAgc(bool on)
{
    m_settings.agc = on ? 1 : 0;
    m_ravotm.D_G_SetAGC(on ? 1 : 0);
}

void CQuilletAudio::StartRecording()
{
    m_recording = true;
    m_ravotm.D_G_SetRecord(1, &CQuilletAudio::RecordCallback, this);
}

void CQuilletAudio::StopRecording()
{
    // The flag and the tap first: RavoTM's thread may be in the callback
    // right now, and the recorder must not get a packet while it stops.
    m_recording = false;
    m_ravotm.D_G_SetRecord(0, nullptr, nullptr);
    if (PFN_RV_Stop stop = m_media.Get<PFN_RV_Stop>(MF_RV_StopRecord))
        stop();
}

void CQuilletAudio::OnSpeakState(uint32_t userId, uint8_t state)
{
    if (state == 2) {
        m_ravotm.D_G_AddSource(userId);
        if (m_recording)
            if (PFN_RV_Audio add = m_media.Get<PFN_RV_Audio>(MF_RV_AddAudio))
                add(userId);
    } else if (state == 0) {
        m_ravotm.D_G_DelSource(userId);
        if (m_recording)
            if (PFN_RV_Audio del = m_media.Get<PFN_RV_Audio>(MF_RV_DelAudio))
                del(userId);
    }
}

int CQuilletAudio::RecordCallback(void* context, unsigned long sourceId, const void* packet,
                                  unsigned long length)
{
    CQuilletAudio* self = static_cast<CQuilletAudio*>(context);
    if (!self || !self->m_recording || !packet || length == 0)
        return 0;
    if (PFN_RV_WriteAudio write = self->m_media.Get<PFN_RV_WriteAudio>(MF_RV_WriteAudioData))
        write(packet, static_cast<int>(length), static_cast<uint32_t>(sourceId));
    return 0;
}
