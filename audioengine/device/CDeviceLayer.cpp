#include "CDeviceLayer.h"

#include <cstring>
#include <new>

#include "CDSAudioManager.h"
#include "CMMAudioManager.h"
#include "CRavoBinding.h"
#include "CScopedLock.h"
#include "IWaveApi.h"
#include "RavoTLog.h"

namespace RavoTDevice {

CDeviceLayer::CDeviceLayer()
{
    InitializeCriticalSection(&m_apiLock);
    memset(&m_params, 0, sizeof(m_params));
}

CDeviceLayer::~CDeviceLayer() { DeleteCriticalSection(&m_apiLock); }

int CDeviceLayer::SystemVersionClass()
{
    DWORD version = GetVersion();
    OSVERSIONINFOA info;
    static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) {
        info.dwMajorVersion = LOBYTE(LOWORD(version));
        info.dwMinorVersion = HIBYTE(LOWORD(version));
        info.dwPlatformId =
            (version & 0x80000000u) ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    }
    return VersionClassOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

int CDeviceLayer::VersionClassOf(DWORD platformId, DWORD major, DWORD minor)
{
    if (platformId != VER_PLATFORM_WIN32_NT) {
        if (major < 4)
            return 0;
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

int CDeviceLayer::VersionClass() { return SystemVersionClass(); }

bool CDeviceLayer::EnsureEngine()
{
    if (m_ravo)
        return true;
    HMODULE module = LoadLibraryA("Ravo.dll");
    if (!module) {
        RavoTLog().Write(1, "<SONVEX_Init>,Load Ravo.dll failed\n");
        return false;
    }
    RavoApi api;
    memset(&api, 0, sizeof(api));
    if (!CRavoBinding::BindModule(module, &api)) {
        RavoTLog().Write(1, "<SONVEX_Init>,Ravo.dll lacks an ordinal\n");
        FreeLibrary(module);
        return false;
    }
    // The engine stays loaded as long as this library: the shared group
    // lives in it.
    m_ravo = new (std::nothrow) CRavoBinding(api);
    return m_ravo != nullptr;
}

bool CDeviceLayer::InitCom() { return SUCCEEDED(CoInitialize(nullptr)); }

void CDeviceLayer::UninitCom() { CoUninitialize(); }

bool CDeviceLayer::LoadDirectSound() { return m_ds.Load(); }

void CDeviceLayer::FreeDirectSound() { m_ds.Free(); }

CAudioManagerBase* CDeviceLayer::NewWaveManager()
{
    return new (std::nothrow) CMMAudioManager(m_ravo, &AudioCommon::IWaveApi::System());
}

CAudioManagerBase* CDeviceLayer::NewDirectSoundManager()
{
    return new (std::nothrow) CDSAudioManager(m_ravo, &m_ds);
}

int CDeviceLayer::Init(int useDirectSound)
{
    CScopedLock lock(&m_apiLock);
    Release();
    if (!EnsureEngine())
        return 0;
    if (VersionClass() == VERSION_XP && useDirectSound) {
        if (!m_comInitialised && InitCom())
            m_comInitialised = true;
        if (LoadDirectSound())
            m_manager = NewDirectSoundManager();
    }
    if (!m_manager)
        m_manager = NewWaveManager();
    if (!m_manager)
        return 0;
    RavoTLog().Write(1, "SONVEX_Init success!\n");
    return 1;
}

int CDeviceLayer::Release()
{
    CScopedLock lock(&m_apiLock);
    if (m_manager) {
        m_manager->StopPlay();
        m_manager->StopCapture();
        delete m_manager;
        m_manager = nullptr;
    }
    FreeDirectSound();
    if (m_comInitialised) {
        UninitCom();
        m_comInitialised = false;
    }
    RavoTLog().Write(1, "SONVEX_Release success!\n");
    return 1;
}

void CDeviceLayer::Unload()
{
    Release();
    if (m_ravo) {
        m_ravo->DestroySourceGroup();
        delete m_ravo;
        m_ravo = nullptr;
    }
}

int CDeviceLayer::GetCapDevicesCount() { return m_manager ? m_manager->GetCapDevicesCount() : 0; }

int CDeviceLayer::GetCapDeviceName(int index, char* buffer, int size)
{
    return m_manager && buffer && size > 0 ? m_manager->GetCapDeviceName(index, buffer, size) : 0;
}

int CDeviceLayer::GetPlayDevicesCount() { return m_manager ? m_manager->GetPlayDevicesCount() : 0; }

int CDeviceLayer::GetPlayDeviceName(int index, char* buffer, int size)
{
    return m_manager && buffer && size > 0 ? m_manager->GetPlayDeviceName(index, buffer, size) : 0;
}

int CDeviceLayer::GetEncodeFormatCount()
{
    return m_manager ? static_cast<uint8_t>(m_ravo->Api().GetEncodeFormatCount()) : 0;
}

int CDeviceLayer::GetEncodeFormatName(int index, char* buffer, int size)
{
    if (!m_manager || !buffer || size <= 0 || index < 0 || index > 255)
        return 0;
    return m_ravo->Api().GetEncodeFormatName(static_cast<uint8_t>(index), buffer,
                                             static_cast<unsigned>(size));
}

int CDeviceLayer::StartCapture(int deviceId, uint8_t formatIndex, void* context,
                               CaptureCallBack callback)
{
    m_params.captureDeviceId = deviceId;
    m_params.captureFormatIndex = formatIndex;
    m_params.captureContext = context;
    m_params.captureCallback = callback;
    m_params.captureRunning = 1;
    if (!m_manager)
        return 0;
    int ok = m_manager->StartCapture(deviceId, formatIndex, context, callback);
    if (!ok && m_params.echoState == ECHO_PLATFORM)
        RestartWithSoftwareEcho();
    return ok;
}

int CDeviceLayer::SetDenoise(int mode)
{
    int r = m_manager ? m_manager->SetDenoise(mode) : 0;
    m_params.denoise = mode;
    return r;
}

int CDeviceLayer::EnableSilenceDetect(int on)
{
    int r = m_manager ? m_manager->CAudioManagerBase::EnableSilenceDetect(on) : 0;
    m_params.silenceDetect = on;
    return r;
}

int CDeviceLayer::SetFECMode(int mode)
{
    int r = m_manager ? m_manager->CAudioManagerBase::SetFECMode(mode) : 0;
    m_params.fecMode = mode;
    return r;
}

int CDeviceLayer::GetFECModeCount() { return m_manager ? m_ravo->Api().GetFECModeCount() : 0; }

int CDeviceLayer::SetDenoiseChain(int variant)
{
    int r = m_manager ? m_manager->SetDenoiseChain(variant) : 0;
    m_params.denoiseChain = variant;
    return r;
}

int CDeviceLayer::SetAGC(int mode)
{
    int r = m_manager ? m_manager->SetAGC(mode) : 0;
    m_params.agc = mode;
    return r;
}

int CDeviceLayer::GetCapEnergy() { return m_manager ? m_manager->GetCapEnergy() : 0; }

int CDeviceLayer::StopCapture()
{
    m_params.captureRunning = 0;
    return m_manager ? m_manager->StopCapture() : 0;
}

int CDeviceLayer::StartPlay(int deviceId)
{
    m_params.playDeviceId = deviceId;
    m_params.playRunning = 1;
    if (!m_manager)
        return 0;
    int ok = m_manager->StartPlay(deviceId);
    if (!ok && m_params.echoState == ECHO_PLATFORM)
        RestartWithSoftwareEcho();
    return ok;
}

int CDeviceLayer::SetPlayLocal(int on)
{
    int r = m_manager ? m_manager->SetPlayLocal(on) : 0;
    m_params.playLocal = on;
    return r;
}

int CDeviceLayer::GetPlayEnergy() { return m_manager ? m_manager->GetPlayEnergy() : 0; }

void CDeviceLayer::StopPlay()
{
    m_params.playRunning = 0;
    if (m_manager)
        m_manager->StopPlay();
}

int CDeviceLayer::SourceIsExist(uint32_t id)
{
    return m_manager ? m_manager->SourceIsExist(id) : 0;
}

int CDeviceLayer::AddSource(uint32_t id) { return m_manager ? m_manager->AddSource(id) : 0; }

int CDeviceLayer::RemoveSource(uint32_t id) { return m_manager ? m_manager->RemoveSource(id) : 0; }

int CDeviceLayer::WriteSource(uint32_t id, uint8_t* packet, int length)
{
    CScopedLock lock(&m_apiLock);
    return m_manager ? m_manager->WriteSource(id, packet, length) : 0;
}

int CDeviceLayer::GetSourceVolume(uint32_t id)
{
    return m_manager ? m_manager->GetSourceVolume(id) : 0;
}

int CDeviceLayer::SetSourceVolume(uint32_t id, int volume)
{
    return m_manager ? m_manager->SetSourceVolume(id, volume) : 0;
}

int CDeviceLayer::GetSourceEnergy(uint32_t id)
{
    return m_manager ? m_manager->GetSourceEnergy(id) : 0;
}

int CDeviceLayer::GetNetState(uint32_t id, void* state, char* text)
{
    return m_manager ? m_manager->GetNetState(id, state, text) : 0;
}

void CDeviceLayer::SetPlayCallback(void* context, AudioDataCallBack callback)
{
    if (m_manager)
        m_manager->SetPlayCallback(context, callback);
    m_params.playContext = context;
    m_params.playCallback = callback;
}

void CDeviceLayer::GetPlayFormat(WAVEFORMATEX* out)
{
    if (m_manager && out)
        m_manager->GetPlayFormat(out);
}

void CDeviceLayer::ReapplySettings()
{
    if (!m_manager)
        return;
    m_manager->SetAGC(m_params.agc);
    m_manager->SetDenoiseChain(m_params.denoiseChain);
    m_manager->SetDenoise(m_params.denoise);
    m_manager->CAudioManagerBase::EnableSilenceDetect(m_params.silenceDetect);
    m_manager->CAudioManagerBase::SetFECMode(m_params.fecMode);
}

void CDeviceLayer::Restart()
{
    Init(0);
    if (!m_manager)
        return;
    if (m_params.playRunning && m_manager->StartPlay(m_params.playDeviceId)) {
        m_manager->SetPlayCallback(m_params.playContext, m_params.playCallback);
        m_manager->SetPlayLocal(m_params.playLocal);
    }
    if (m_params.captureRunning) {
        m_manager->StartCapture(m_params.captureDeviceId, m_params.captureFormatIndex,
                                m_params.captureContext, m_params.captureCallback);
        ReapplySettings();
    }
}

void CDeviceLayer::RestartWithSoftwareEcho()
{
    Restart();
    m_params.echoState = ECHO_SOFTWARE;
    if (m_manager)
        m_manager->SetAEC(ECHO_SOFTWARE);
}

bool CDeviceLayer::RestartOnDirectSound()
{
    if (!Init(1) || !m_manager)
        return false;
    // Without DirectSound the plain manager came back: nothing would cancel
    // the echo under the platform's name.
    if (!m_manager->AsDirectSound())
        return false;
    if (m_params.playRunning) {
        if (!m_manager->StartPlay(m_params.playDeviceId))
            return false;
        m_manager->SetPlayCallback(m_params.playContext, m_params.playCallback);
        m_manager->SetPlayLocal(m_params.playLocal);
    }
    if (m_params.captureRunning &&
        !m_manager->StartCapture(m_params.captureDeviceId, m_params.captureFormatIndex,
                                 m_params.captureContext, m_params.captureCallback))
        return false;
    ReapplySettings();
    return true;
}

void CDeviceLayer::SetAEC(int mode)
{
    if (mode == m_params.requestedEcho)
        return;
    m_params.requestedEcho = mode;
    if (mode == 0) {
        if (m_params.echoState == ECHO_PLATFORM)
            Restart();
        else if (m_manager)
            m_manager->SetAEC(0);
        m_params.echoState = ECHO_OFF;
        return;
    }
    if (VersionClass() == VERSION_XP) {
        if (RestartOnDirectSound()) {
            m_params.echoState = ECHO_PLATFORM;
            m_manager->SetAEC(ECHO_PLATFORM);
            return;
        }
        Restart();
    }
    m_params.echoState = ECHO_SOFTWARE;
    if (m_manager)
        m_manager->SetAEC(ECHO_SOFTWARE);
}

int CDeviceLayer::GetEchoState() const
{
    if (!m_manager || m_params.echoState == ECHO_OFF)
        return ECHO_OFF;
    if (CDSAudioManager* ds = m_manager->AsDirectSound())
        return ds->GetEchoState();
    // A plain manager cancels only while its software canceller runs (a
    // manager made by a later SONVEX_Init starts without it).
    return m_manager->GetEchoMode() != 0 ? ECHO_SOFTWARE : ECHO_OFF;
}

} // namespace RavoTDevice
