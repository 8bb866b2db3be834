#include "CKadrelManager.h"

#include <cstring>
#include <new>

#include "CKadrelDevices.h"
#include "CToneWaveApi.h"
#include "IWaveApi.h"

using namespace RavoTDevice;

const char* const CKadrelManager::TONE_VARIABLE = "KADREL_TEST_TONE";

CKadrelManager::CKadrelManager(const std::string& engineFolder) : m_engineFolder(engineFolder) {}

CKadrelManager::~CKadrelManager() { Release(); }

// --- Life ----------------------------------------------------------------

int CKadrelManager::Init(int, int sampleRate)
{
    if (sampleRate != 8000 && sampleRate != 16000)
        return 0;
    Release();
    // Every start begins from the library's defaults; the caller applies
    // its own settings after it.
    m_format = PREFERRED_FORMAT;
    m_denoise = 0;
    m_silenceDetect = 0;
    m_agcLevel = 0;
    m_volumeControl = false;
    m_fecLevel = 0;
    m_autoFec = false;
    m_aec = false;
    m_playLocal = false;
    m_sending = false;
    AudioCommon::IWaveApi* wave = &AudioCommon::IWaveApi::System();
    char tone[128] = {0};
    DWORD n = GetEnvironmentVariableA(TONE_VARIABLE, tone, sizeof tone);
    CToneWaveApi::Tone parsed;
    if (n > 0 && n < sizeof tone && CToneWaveApi::ParseTone(tone, &parsed)) {
        m_testDevices.reset(new (std::nothrow) CToneWaveApi(parsed));
        if (m_testDevices)
            wave = m_testDevices.get();
    }
    std::unique_ptr<CKadrelDevices> devices(new (std::nothrow)
                                                CKadrelDevices(m_engineFolder, wave));
    if (!devices || !devices->Init(0))
        return 0;
    {
        std::lock_guard<std::mutex> lock(m_deviceLock);
        m_devices = std::move(devices);
    }
    ListFormats();
    ApplySettings();
    Pin();
    return 1;
}

void CKadrelManager::Pin()
{
    // While threads of the manager may run, the library stays loaded even
    // when the caller frees it without a release.
    if (!m_pin)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&CKadrelManager::OnCaptured), &m_pin);
}

int CKadrelManager::Release()
{
    // The channel first (its thread writes into the devices), then the
    // devices with their capture and play threads.
    m_link.Shutdown();
    m_sending = false;
    std::unique_ptr<CKadrelDevices> devices;
    {
        std::lock_guard<std::mutex> lock(m_deviceLock);
        devices = std::move(m_devices);
    }
    if (devices) {
        devices->StopPlay();
        devices->StopCapture();
        devices.reset();
    }
    m_testDevices.reset();
    m_capturing = false;
    m_playing = false;
    m_formats.clear();
    if (m_pin) {
        HMODULE pin = m_pin;
        m_pin = nullptr;
        FreeLibrary(pin);
    }
    return 1;
}

void CKadrelManager::ListFormats()
{
    m_formats.clear();
    const int count = m_devices->GetEncodeFormatCount();
    if (count > PREFERRED_FORMAT && m_devices->CanEncode(PREFERRED_FORMAT))
        m_formats.push_back(PREFERRED_FORMAT);
    for (int i = 0; i < count && i < 256; ++i) {
        if (i != PREFERRED_FORMAT && m_devices->CanEncode(static_cast<uint8_t>(i)))
            m_formats.push_back(static_cast<uint8_t>(i));
    }
    bool known = false;
    for (uint8_t f : m_formats)
        known |= f == m_format;
    if (!known && !m_formats.empty())
        m_format = m_formats.front();
}

void CKadrelManager::ApplySettings()
{
    m_devices->SetDenoise(m_denoise);
    m_devices->EnableSilenceDetect(m_silenceDetect);
    m_devices->SetAEC(m_aec ? 1 : 0);
    m_devices->SetPlayLocal(m_playLocal ? 1 : 0);
    ApplyAgc();
    ApplyFec();
}

void CKadrelManager::ApplyAgc()
{
    if (Ready())
        m_devices->SetAGC(m_volumeControl ? m_agcLevel : 0);
}

void CKadrelManager::ApplyFec()
{
    // The automatic choice keeps the lightest protection that still mends
    // single losses; the manual level otherwise.
    if (Ready())
        m_devices->SetFECMode(m_autoFec ? (m_devices->GetFECModeCount() > 1 ? 1 : 0) : m_fecLevel);
}

// --- Devices ---------------------------------------------------------------

int CKadrelManager::GetCapDevicesCount() { return Ready() ? m_devices->GetCapDevicesCount() : 0; }

int CKadrelManager::GetCapDeviceName(int index, char* name, int size)
{
    return Ready() ? m_devices->GetCapDeviceName(index, name, size) : 0;
}

int CKadrelManager::GetPlayDevicesCount() { return Ready() ? m_devices->GetPlayDevicesCount() : 0; }

int CKadrelManager::GetPlayDeviceName(int index, char* name, int size)
{
    return Ready() ? m_devices->GetPlayDeviceName(index, name, size) : 0;
}

int CKadrelManager::GetEncodeFormatCount() { return static_cast<int>(m_formats.size()); }

int CKadrelManager::GetEncodeFormatName(int index, unsigned char* code, char* name, int size)
{
    if (!Ready() || !code || !name || size <= 0 || index < 0 ||
        index >= static_cast<int>(m_formats.size()))
        return 0;
    if (!m_devices->GetEncodeFormatName(m_formats[index], name, size))
        return 0;
    *code = m_formats[index];
    return 1;
}

int CKadrelManager::StartCapture(int device)
{
    if (!Ready() || m_formats.empty())
        return 0;
    m_captureDevice = device;
    m_capturing = m_devices->StartCapture(device, m_format, this, &CKadrelManager::OnCaptured) != 0;
    return m_capturing ? 1 : 0;
}

int CKadrelManager::StopCapture()
{
    m_capturing = false;
    return Ready() ? m_devices->StopCapture() : 0;
}

int CKadrelManager::StartPlay(int device)
{
    if (!Ready())
        return 0;
    m_playing = m_devices->StartPlay(device) != 0;
    if (m_playing)
        m_devices->SetPlayCallback(this, &CKadrelManager::OnPlayed);
    return m_playing ? 1 : 0;
}

int CKadrelManager::StopPlay()
{
    m_playing = false;
    if (!Ready())
        return 0;
    m_devices->StopPlay();
    return 1;
}

int CKadrelManager::GetPlayEnergy() { return Ready() ? m_devices->GetPlayEnergy() : 0; }

int CKadrelManager::SetPlayLocal(int on)
{
    m_playLocal = on != 0;
    return Ready() ? m_devices->SetPlayLocal(m_playLocal ? 1 : 0) : 0;
}

int CKadrelManager::SetAEC(int on)
{
    m_aec = on != 0;
    if (!Ready())
        return 0;
    m_devices->SetAEC(m_aec ? 1 : 0);
    return 1;
}

int CKadrelManager::AutoSetFEC(int on)
{
    m_autoFec = on != 0;
    ApplyFec();
    return Ready() ? 1 : 0;
}

int CKadrelManager::SetVolumeControl(int on)
{
    m_volumeControl = on != 0;
    ApplyAgc();
    return Ready() ? 1 : 0;
}

int CKadrelManager::GetPlayFormat(void* waveFormat)
{
    if (!Ready() || !waveFormat || !m_playing)
        return 0;
    m_devices->GetPlayFormat(static_cast<WAVEFORMATEX*>(waveFormat));
    return 1;
}

// --- Sources -----------------------------------------------------------------

int CKadrelManager::AddSource(unsigned long userId)
{
    return Ready() ? m_devices->AddSource(userId) : 0;
}

int CKadrelManager::DelSource(unsigned long userId)
{
    return Ready() ? m_devices->RemoveSource(userId) : 0;
}

int CKadrelManager::SourceIsExist(unsigned long userId)
{
    return Ready() ? m_devices->SourceIsExist(userId) : 0;
}

int CKadrelManager::SetSourceVolume(unsigned long userId, int volume)
{
    if (!Ready() || !m_devices->SourceIsExist(userId))
        return 0;
    return m_devices->SetSourceVolume(userId, volume);
}

int CKadrelManager::GetSourceVolume(unsigned long userId)
{
    return Ready() ? m_devices->GetSourceVolume(userId) : 0;
}

int CKadrelManager::GetSourceEnergy(unsigned long userId)
{
    return Ready() ? m_devices->GetSourceEnergy(userId) : 0;
}

// --- The channel -------------------------------------------------------------

int CKadrelManager::Connect(unsigned long roomId, unsigned long userId, const char* server,
                            int port)
{
    if (userId == 0)
        return 0;
    if (!m_link.Connect(roomId, userId, server, port, this, &CKadrelManager::OnReceived))
        return 0;
    Pin();
    return 1;
}

int CKadrelManager::Disconnect()
{
    m_link.Disconnect();
    return 1;
}

int CKadrelManager::SetSendAudio(int on)
{
    m_sending = on != 0;
    return 1;
}

void CKadrelManager::OnCaptured(void* context, void*, uint8_t* packet, int length)
{
    CKadrelManager* self = static_cast<CKadrelManager*>(context);
    if (!self->m_sending || !self->m_link.Send(packet, length))
        return;
    self->Record(self->m_link.UserId(), packet, length);
}

void CKadrelManager::OnReceived(void* context, uint32_t sourceId, const uint8_t* packet, int length)
{
    CKadrelManager* self = static_cast<CKadrelManager*>(context);
    {
        std::lock_guard<std::mutex> lock(self->m_deviceLock);
        // The engine keeps its own copy; a source not added refuses it.
        if (self->m_devices)
            self->m_devices->WriteSource(sourceId, const_cast<uint8_t*>(packet), length);
    }
    self->Record(sourceId, packet, length);
}

// --- Taps ---------------------------------------------------------------------

int CKadrelManager::SetRecord(int on, AUDIO_RECORD_CALLBACK callback, void* context)
{
    if (on && !callback)
        return 0;
    // Under the lock: once this returns, no call of the old callback runs.
    std::lock_guard<std::mutex> lock(m_recordLock);
    m_record = on ? callback : nullptr;
    m_recordContext = on ? context : nullptr;
    return 1;
}

void CKadrelManager::Record(uint32_t sourceId, const uint8_t* packet, int length)
{
    std::lock_guard<std::mutex> lock(m_recordLock);
    if (m_record)
        m_record(m_recordContext, sourceId, sourceId, packet, static_cast<unsigned long>(length));
}

int CKadrelManager::SetPlayCallback(void* context, AUDIO_PLAY_CALLBACK callback)
{
    std::lock_guard<std::mutex> lock(m_playLock);
    m_play = callback;
    m_playContext = callback ? context : nullptr;
    return 1;
}

int CKadrelManager::OnPlayed(void* owner, void*, uint8_t* block, int length)
{
    CKadrelManager* self = static_cast<CKadrelManager*>(owner);
    std::lock_guard<std::mutex> lock(self->m_playLock);
    if (self->m_play && block && length > 0)
        self->m_play(self->m_playContext, block, static_cast<unsigned long>(length));
    return length;
}

// --- Processing parameters ----------------------------------------------------

int CKadrelManager::SetParam(int id, void* value)
{
    if (!value)
        return 0;
    if (id == AUDIO_PARAM_FORMAT) {
        const uint8_t code = *static_cast<const uint8_t*>(value);
        bool known = false;
        for (uint8_t f : m_formats)
            known |= f == code;
        if (!known)
            return 0;
        if (code != m_format) {
            m_format = code;
            // A running capture goes on in the new format.
            if (m_capturing && Ready()) {
                m_devices->StopCapture();
                StartCapture(m_captureDevice);
            }
        }
        return 1;
    }
    int v = 0;
    memcpy(&v, value, sizeof v);
    switch (id) {
    case AUDIO_PARAM_DENOISE:
        if (v < 0 || v > 3)
            return 0;
        m_denoise = v;
        if (Ready())
            m_devices->SetDenoise(v);
        return 1;
    case AUDIO_PARAM_SILENCE:
        m_silenceDetect = v != 0;
        if (Ready())
            m_devices->EnableSilenceDetect(m_silenceDetect);
        return 1;
    case AUDIO_PARAM_AGC_LEVEL:
        if (v < 0 || v > 3)
            return 0;
        m_agcLevel = v;
        ApplyAgc();
        return 1;
    case AUDIO_PARAM_FEC_LEVEL: {
        const int count = Ready() ? m_devices->GetFECModeCount() : 0;
        if (v < 0 || v >= count)
            return 0;
        m_fecLevel = v;
        ApplyFec();
        return 1;
    }
    default:
        return 0; // unknown, or only to be read
    }
}

int CKadrelManager::GetParam(int id, void* value)
{
    if (!value)
        return 0;
    int v = 0;
    switch (id) {
    case AUDIO_PARAM_FORMAT:
        *static_cast<uint8_t*>(value) = m_format;
        return 1;
    case AUDIO_PARAM_DENOISE:
        v = m_denoise;
        break;
    case AUDIO_PARAM_SILENCE:
        v = m_silenceDetect;
        break;
    case AUDIO_PARAM_AGC_LEVEL:
        v = m_agcLevel;
        break;
    case AUDIO_PARAM_CAPTURE_LEVEL:
        v = Ready() && m_capturing ? m_devices->GetCapEnergy() : 0;
        break;
    case AUDIO_PARAM_FEC_LEVEL:
        v = m_fecLevel;
        break;
    case AUDIO_PARAM_FEC_COUNT:
        v = Ready() ? m_devices->GetFECModeCount() : 0;
        break;
    default:
        return 0;
    }
    memcpy(value, &v, sizeof v);
    return 1;
}
