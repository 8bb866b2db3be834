#include "CRavoTMManager.h"

#include <cstring>

#include "AudioManagerApi.h"
#include "CStringList.h"

CRavoTMManager::CRavoTMManager(const std::string& engineFolder) : m_manager(engineFolder) {}

CRavoTMManager::~CRavoTMManager()
{
    m_manager.SetRecord(0, nullptr, nullptr);
    m_manager.Release();
}

bool CRavoTMManager::Ready()
{
    // There is no start-up call: the first call that needs the devices
    // brings them up, at the engine's 16 kHz.
    if (!m_ready)
        m_ready = m_manager.Init(0, 16000) != 0;
    return m_ready;
}

int CRavoTMManager::GetCapDevices(CStringList* names)
{
    if (!names || !Ready())
        return 0;
    char name[256];
    const int count = m_manager.GetCapDevicesCount();
    for (int i = 0; i < count; ++i) {
        name[0] = '\0';
        m_manager.GetCapDeviceName(i, name, sizeof name);
        names->AddTail(CString(name));
    }
    return count;
}

int CRavoTMManager::GetCapFormats(CStringList* names)
{
    if (!names || !Ready())
        return 0;
    char name[256];
    unsigned char code = 0;
    const int count = m_manager.GetEncodeFormatCount();
    for (int i = 0; i < count; ++i) {
        name[0] = '\0';
        m_manager.GetEncodeFormatName(i, &code, name, sizeof name);
        names->AddTail(CString(name));
    }
    return count;
}

int CRavoTMManager::GetPlayDevices(CStringList* names)
{
    if (!names || !Ready())
        return 0;
    char name[256];
    const int count = m_manager.GetPlayDevicesCount();
    for (int i = 0; i < count; ++i) {
        name[0] = '\0';
        m_manager.GetPlayDeviceName(i, name, sizeof name);
        names->AddTail(CString(name));
    }
    return count;
}

int CRavoTMManager::StartCapture(int device, int format)
{
    if (!Ready())
        return 0;
    // The format is a position in the format list, one byte wide.
    const int index = format & 0xFF;
    unsigned char code = 0;
    char name[64];
    if (!m_manager.GetEncodeFormatName(index, &code, name, sizeof name))
        return 0;
    m_manager.StopCapture();
    if (!m_manager.SetParam(AUDIO_PARAM_FORMAT, &code))
        return 0;
    return m_manager.StartCapture(device);
}

int CRavoTMManager::StopCapture() { return Ready() ? m_manager.StopCapture() : 0; }

int CRavoTMManager::SetDeNoise(int level)
{
    if (!Ready())
        return 0;
    // Any value above the strongest suppression means the strongest.
    int v = level < 0 ? 0 : (level > 3 ? 3 : level);
    return m_manager.SetParam(AUDIO_PARAM_DENOISE, &v);
}

int CRavoTMManager::SetASC(int on)
{
    if (!Ready())
        return 0;
    int v = on ? 1 : 0;
    return m_manager.SetParam(AUDIO_PARAM_SILENCE, &v);
}

int CRavoTMManager::SetFECType(int level, int automatic)
{
    if (!Ready())
        return 0;
    int ok = 1;
    if (!automatic) {
        int v = level;
        ok = m_manager.SetParam(AUDIO_PARAM_FEC_LEVEL, &v);
    }
    m_manager.AutoSetFEC(automatic ? 1 : 0);
    return ok;
}

int CRavoTMManager::GetFECTypeCount()
{
    if (!Ready())
        return 0;
    int count = 0;
    m_manager.GetParam(AUDIO_PARAM_FEC_COUNT, &count);
    return count;
}

int CRavoTMManager::SetAEC(int on) { return Ready() ? m_manager.SetAEC(on ? 1 : 0) : 0; }

int CRavoTMManager::SetAGC(int on)
{
    if (!Ready())
        return 0;
    int level = AGC_LEVEL;
    m_manager.SetParam(AUDIO_PARAM_AGC_LEVEL, &level);
    return m_manager.SetVolumeControl(on ? 1 : 0);
}

int CRavoTMManager::Connect(unsigned long roomId, unsigned long userId, const char* server,
                            int port)
{
    if (!server || !Ready())
        return 0;
    m_connected = m_manager.Connect(roomId, userId, server, port) != 0;
    return m_connected ? 1 : 0;
}

int CRavoTMManager::SetSendAudio(int on) { return Ready() ? m_manager.SetSendAudio(on) : 0; }

int CRavoTMManager::Disconnect()
{
    m_connected = false;
    return m_manager.Disconnect();
}

int CRavoTMManager::StartPlay(int device) { return Ready() ? m_manager.StartPlay(device) : 0; }

int CRavoTMManager::StopPlay() { return Ready() ? m_manager.StopPlay() : 0; }

int CRavoTMManager::SetPlayLocal(int on) { return Ready() ? m_manager.SetPlayLocal(on) : 0; }

int CRavoTMManager::SetRecord(int on, D_G_RECORD_CALLBACK callback, void* context)
{
    if (on && !callback)
        return 0;
    if (!on) {
        // The manager's tap goes first: once it returned, no call of the
        // caller's callback runs or starts.
        m_manager.SetRecord(0, nullptr, nullptr);
        std::lock_guard<std::mutex> lock(m_recordLock);
        m_record = nullptr;
        m_recordContext = nullptr;
        return 1;
    }
    {
        std::lock_guard<std::mutex> lock(m_recordLock);
        m_record = callback;
        m_recordContext = context;
    }
    return m_manager.SetRecord(1, &CRavoTMManager::OnRecord, this);
}

int CRavoTMManager::OnRecord(void* context, unsigned long, unsigned long userId, const void* data,
                             unsigned long length)
{
    CRavoTMManager* self = static_cast<CRavoTMManager*>(context);
    std::lock_guard<std::mutex> lock(self->m_recordLock);
    if (self->m_record)
        self->m_record(self->m_recordContext, userId, data, length);
    return 0;
}

int CRavoTMManager::GetCapEnergy()
{
    if (!Ready())
        return 0;
    int level = 0;
    m_manager.GetParam(AUDIO_PARAM_CAPTURE_LEVEL, &level);
    return level;
}

int CRavoTMManager::GetPlayEnergy() { return Ready() ? m_manager.GetPlayEnergy() : 0; }

int CRavoTMManager::AddSource(unsigned long userId)
{
    return Ready() ? m_manager.AddSource(userId) : 0;
}

int CRavoTMManager::DelSource(unsigned long userId)
{
    return Ready() ? m_manager.DelSource(userId) : 0;
}

int CRavoTMManager::SourceIsExist(unsigned long userId)
{
    return Ready() ? m_manager.SourceIsExist(userId) : 0;
}

int CRavoTMManager::SetSourceVolume(unsigned long userId, int volume)
{
    return Ready() ? m_manager.SetSourceVolume(userId, volume) : 0;
}

int CRavoTMManager::GetSourceVolume(unsigned long userId)
{
    return Ready() ? m_manager.GetSourceVolume(userId) : 0;
}

int CRavoTMManager::GetSourceEnergy(unsigned long userId)
{
    return Ready() ? m_manager.GetSourceEnergy(userId) : 0;
}

int CRavoTMManager::SetPlayCallback(void* context, D_G_PLAY_CALLBACK callback)
{
    return Ready() ? m_manager.SetPlayCallback(context, callback) : 0;
}

int CRavoTMManager::GetPlayFormat(void* waveFormat)
{
    return Ready() ? m_manager.GetPlayFormat(waveFormat) : 0;
}

int CRavoTMManager::GetNetState() { return m_connected ? 1 : 0; }
