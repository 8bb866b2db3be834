#include "TCaptureEffect.h"

#include <cstring>
#include <new>

#include "RavoTLog.h"

namespace RavoTDevice {

namespace {
WAVEFORMATEX Narrowband()
{
    WAVEFORMATEX f;
    memset(&f, 0, sizeof(f));
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = 8000;
    f.nAvgBytesPerSec = 16000;
    f.nBlockAlign = 2;
    f.wBitsPerSample = 16;
    return f;
}
} // namespace

TCaptureEffect::TCaptureEffect(const CDirectSoundLib* ds) : m_ds(ds)
{
    m_captureEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_playEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_captureFormat = m_playFormat = Narrowband();
    memset(m_effects, 0, sizeof(m_effects));
    m_effects[0].dwSize = sizeof(DSCEFFECTDESC);
    m_effects[0].dwFlags = DSCFX_LOCSOFTWARE;
    m_effects[0].guidDSCFXClass = kGUID_DSCFX_CLASS_AEC;
    m_effects[0].guidDSCFXInstance = kGUID_DSCFX_SYSTEM_AEC;
    m_effects[1].dwSize = sizeof(DSCEFFECTDESC);
    m_effects[1].dwFlags = DSCFX_LOCSOFTWARE;
    m_effects[1].guidDSCFXClass = kGUID_DSCFX_CLASS_NS;
    m_effects[1].guidDSCFXInstance = kGUID_DSCFX_SYSTEM_NS;
    memset(&m_echoParams, 0, sizeof(m_echoParams));
    memset(&m_noiseParams, 0, sizeof(m_noiseParams));
}

TCaptureEffect::~TCaptureEffect()
{
    Close();
    CloseHandle(m_captureEvent);
    CloseHandle(m_playEvent);
}

void TCaptureEffect::SetCaptureFormat(const WAVEFORMATEX* format)
{
    if (format) {
        m_captureFormat = *format;
        m_captureFormat.cbSize = 0;
    }
}

void TCaptureEffect::SetPlayFormat(const WAVEFORMATEX* format)
{
    if (format) {
        m_playFormat = *format;
        m_playFormat.cbSize = 0;
    }
}

void TCaptureEffect::SetCaptureBlocks(int bytes, int count)
{
    m_captureBlockBytes = bytes;
    m_captureBlocks = count;
}

void TCaptureEffect::SetPlayBlocks(int bytes, int count)
{
    m_playBlockBytes = bytes;
    m_playBlocks = count;
}

int TCaptureEffect::Init(int withEffects, HWND window, const GUID* render, const GUID* capture)
{
    if (!m_ds || !m_ds->FullDuplexCreate || m_captureBlockBytes <= 0 || m_playBlockBytes <= 0)
        return 0;
    Close();
    DSCBUFFERDESC cdesc;
    static_assert(sizeof(DSCBUFFERDESC) == 28, "DSCBUFFERDESC is 28 bytes");
    memset(&cdesc, 0, sizeof(cdesc));
    cdesc.dwSize = sizeof(cdesc);
    cdesc.dwFlags = DSCBCAPS_WAVEMAPPED | (withEffects ? DSCBCAPS_CTRLFX : 0);
    cdesc.dwBufferBytes = m_captureBlockBytes * m_captureBlocks;
    cdesc.lpwfxFormat = &m_captureFormat;
    if (withEffects) {
        cdesc.dwFXCount = 2;
        cdesc.lpDSCFXDesc = m_effects;
    }
    DSBUFFERDESC pdesc;
    static_assert(sizeof(DSBUFFERDESC) == 36, "DSBUFFERDESC is 36 bytes");
    memset(&pdesc, 0, sizeof(pdesc));
    pdesc.dwSize = sizeof(pdesc);
    pdesc.dwFlags = 0x181A0;
    pdesc.dwBufferBytes = m_playBlockBytes * m_playBlocks;
    pdesc.lpwfxFormat = &m_playFormat;
    m_lastResult = m_ds->FullDuplexCreate(capture, render, &cdesc, &pdesc, window, DSSCL_NORMAL,
                                          &m_duplex, &m_capture, &m_play, nullptr);
    if (SUCCEEDED(m_lastResult) && m_duplex && m_capture && m_play)
        return 1;
    RavoTLog().Write(
        1, "<TCaptureEffect::Init>,Create interface failed!Errorcode = %u,ErrorString =%s\n",
        static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
    Close();
    return InitNoAEC(window, render, capture);
}

int TCaptureEffect::InitNoAEC(HWND window, const GUID* render, const GUID* capture)
{
    if (!m_ds || !m_ds->Create8 || !m_ds->CaptureCreate8)
        return 0;
    Close();
    m_lastResult = m_ds->Create8(render, &m_sound, nullptr);
    if (FAILED(m_lastResult) || !m_sound) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Create DirectSound Failed,Errorcode = "
                         "%u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    m_lastResult = m_sound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,DirectSound SetCooperativeLevel "
                         "Failed,Errorcode = %u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    DSBUFFERDESC pdesc;
    memset(&pdesc, 0, sizeof(pdesc));
    pdesc.dwSize = sizeof(pdesc);
    pdesc.dwFlags = 0x181A0;
    pdesc.dwBufferBytes = m_playBlockBytes * m_playBlocks;
    pdesc.lpwfxFormat = &m_playFormat;
    IDirectSoundBuffer* first = nullptr;
    m_lastResult = m_sound->CreateSoundBuffer(&pdesc, &first, nullptr);
    if (FAILED(m_lastResult) || !first) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Create SoundBuffer Failed,Errorcode = "
                         "%u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    m_lastResult =
        first->QueryInterface(kIID_IDirectSoundBuffer8, reinterpret_cast<void**>(&m_play));
    first->Release();
    if (FAILED(m_lastResult) || !m_play) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Query  IID_IDirectSoundBuffer8 Interface "
                         "Failed,Errorcode = %u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    m_lastResult = m_ds->CaptureCreate8(capture, &m_captureObject, nullptr);
    if (FAILED(m_lastResult) || !m_captureObject) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Create DirectCapture Failed,Errorcode = "
                         "%u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    DSCBUFFERDESC cdesc;
    memset(&cdesc, 0, sizeof(cdesc));
    cdesc.dwSize = sizeof(cdesc);
    cdesc.dwBufferBytes = m_captureBlockBytes * m_captureBlocks;
    cdesc.lpwfxFormat = &m_captureFormat;
    IDirectSoundCaptureBuffer* cfirst = nullptr;
    m_lastResult = m_captureObject->CreateCaptureBuffer(&cdesc, &cfirst, nullptr);
    if (FAILED(m_lastResult) || !cfirst) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Create CaptureBuffer Failed,Errorcode = "
                         "%u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    m_lastResult = cfirst->QueryInterface(kIID_IDirectSoundCaptureBuffer8,
                                          reinterpret_cast<void**>(&m_capture));
    cfirst->Release();
    if (FAILED(m_lastResult) || !m_capture) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::InitNoAEC>,Query  IID_IDirectSoundBuffer8 Interface "
                         "Failed,Errorcode = %u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        Close();
        return 0;
    }
    return 1;
}

int TCaptureEffect::OpenBuffer(bool capture)
{
    volatile LONG* flag = capture ? &m_captureOpen : &m_playOpen;
    const char* where = capture ? "<TCaptureEffect::OpenIn>" : "<TCaptureEffect::OpenOut>";
    if (InterlockedExchange(flag, 1) == 1) {
        RavoTLog().Write(1, capture ? "<TCaptureEffect::OpenIn>,There have opened cap channel\n"
                                    : "<TCaptureEffect::OpenOut>,There have opened player!\n");
        return 0;
    }
    int blocks = capture ? m_captureBlocks : m_playBlocks;
    int bytes = capture ? m_captureBlockBytes : m_playBlockBytes;
    IUnknown* buffer = capture ? static_cast<IUnknown*>(m_capture) : static_cast<IUnknown*>(m_play);
    if (!buffer) {
        RavoTLog().Write(1, capture ? "<TCaptureEffect::OpenIn>,m_hCapture is NULL\n"
                                    : "<TCaptureEffect::OpenOut>,m_hPlayer is NULL\n");
        InterlockedExchange(flag, 0);
        return 0;
    }
    DSBPOSITIONNOTIFY* positions = new (std::nothrow) DSBPOSITIONNOTIFY[blocks];
    if (!positions) {
        RavoTLog().Write(1, "%s,new DSBPOSITIONNOTIFY failed,blocks = %d\n", where, blocks);
        InterlockedExchange(flag, 0);
        return 0;
    }
    for (int i = 0; i < blocks; ++i) {
        positions[i].dwOffset = (i + 1) * bytes - 1;
        positions[i].hEventNotify = capture ? m_captureEvent : m_playEvent;
    }
    int ok = 0;
    IDirectSoundNotify* notify = nullptr;
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    DWORD total = static_cast<DWORD>(blocks * bytes);
    m_lastResult =
        buffer->QueryInterface(kIID_IDirectSoundNotify8, reinterpret_cast<void**>(&notify));
    if (FAILED(m_lastResult) || !notify) {
        RavoTLog().Write(
            1, "%s,QueryInterface IID_IDirectSoundNotify8 failed,Errorcode = %u,ErrorString =%s\n",
            where, static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
    } else if (FAILED(m_lastResult = notify->SetNotificationPositions(blocks, positions))) {
        RavoTLog().Write(1, "%s,Set notification positions failed,Errorcode = %u,ErrorString =%s\n",
                         where, static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
    } else if (FAILED(m_lastResult = capture ? m_capture->Lock(0, total, &p1, &n1, &p2, &n2, 0)
                                             : m_play->Lock(0, total, &p1, &n1, &p2, &n2, 0))) {
        RavoTLog().Write(1, "%s,Lock buffer failed,Errorcode = %u,ErrorString =%s\n", where,
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
    } else {
        if (p1)
            memset(p1, 0, n1);
        if (p2)
            memset(p2, 0, n2);
        if (capture)
            m_capture->Unlock(p1, n1, p2, n2);
        else
            m_play->Unlock(p1, n1, p2, n2);
        m_lastResult =
            capture ? m_capture->Start(DSCBSTART_LOOPING) : m_play->Play(0, 0, DSBPLAY_LOOPING);
        if (FAILED(m_lastResult))
            RavoTLog().Write(1,
                             capture ? "<TCaptureEffect::OpenIn>,Start Capture failed,Errorcode = "
                                       "%u,ErrorString =%s\n"
                                     : "<TCaptureEffect::OpenOut>,Start play failed,Errorcode = "
                                       "%u,ErrorString =%s\n",
                             static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        else
            ok = 1;
    }
    if (notify)
        notify->Release();
    delete[] positions;
    if (!ok)
        InterlockedExchange(flag, 0);
    return ok;
}

int TCaptureEffect::OpenIn() { return OpenBuffer(true); }

int TCaptureEffect::OpenOut() { return OpenBuffer(false); }

void TCaptureEffect::CloseIn()
{
    if (m_capture) {
        m_capture->Stop();
        InterlockedExchange(&m_captureOpen, 0);
        SetEvent(m_captureEvent);
    }
}

void TCaptureEffect::CloseOut()
{
    if (m_play) {
        m_play->Stop();
        InterlockedExchange(&m_playOpen, 0);
        SetEvent(m_playEvent);
    }
}

int TCaptureEffect::ReadBlock(uint8_t* buffer, int size)
{
    if (size != m_captureBlockBytes || !buffer) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::ReadBlock>,Input size is not equal m_hWaveInLen,Input "
                         "size = %d,m_hWaveInLen = %d\n",
                         size, m_captureBlockBytes);
        return 0;
    }
    if (!m_capture) {
        RavoTLog().Write(1, "<TCaptureEffect::ReadBlock>,m_hCapture is NULL\n");
        return 0;
    }
    DWORD capturePos = 0, readPos = 0;
    m_lastResult = m_capture->GetCurrentPosition(&capturePos, &readPos);
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::ReadBlock>,Get current position failed,ErrorCode = %u\n",
                         static_cast<unsigned>(m_lastResult));
        return 0;
    }
    int total = m_captureBlockBytes * m_captureBlocks;
    int from = (static_cast<int>(readPos % total) - size + total) % total;
    int start = m_captureBlockBytes * (from / m_captureBlockBytes);
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    m_lastResult = m_capture->Lock(start, size, &p1, &n1, &p2, &n2, 0);
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(1, "<TCaptureEffect::ReadBlock>,Lock buffer failed,pos = %d,size = %d!",
                         start, size);
        return 0;
    }
    if (n1 > static_cast<DWORD>(size))
        n1 = size;
    if (n2 > static_cast<DWORD>(size) - n1)
        n2 = size - n1;
    if (p1)
        memcpy(buffer, p1, n1);
    if (p2)
        memcpy(buffer + n1, p2, n2);
    m_capture->Unlock(p1, n1, p2, n2);
    return 1;
}

int TCaptureEffect::WriteBlock(const uint8_t* buffer, int size)
{
    if (size != m_playBlockBytes || !buffer) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::WriteBlock>,Input size is not equal m_hWaveOutLen,Input "
                         "size = %d,m_hWaveOutLen = %d\n",
                         size, m_playBlockBytes);
        return 0;
    }
    if (!m_play) {
        RavoTLog().Write(1, "<TCaptureEffect::WriteBlock>,m_hPlay is NULL\n");
        return 0;
    }
    DWORD playPos = 0, writePos = 0;
    m_lastResult = m_play->GetCurrentPosition(&playPos, &writePos);
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(
            1, "<TCaptureEffect::WriteBlock>,Get Current Position failed,Errorcode = %u\n",
            static_cast<unsigned>(m_lastResult));
        return 0;
    }
    int start =
        m_playBlockBytes *
        (((static_cast<int>(writePos) + m_playBlockBytes) / m_playBlockBytes) % m_playBlocks);
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    m_lastResult = m_play->Lock(start, size, &p1, &n1, &p2, &n2, 0);
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(1, "<TCaptureEffect::WriteBlock>,Lock buffer failed,pos = %d,size = %d\n",
                         start, size);
        return 0;
    }
    if (n1 > static_cast<DWORD>(size))
        n1 = size;
    if (n2 > static_cast<DWORD>(size) - n1)
        n2 = size - n1;
    if (p1)
        memcpy(p1, buffer, n1);
    if (p2)
        memcpy(p2, buffer + n1, n2);
    m_play->Unlock(p1, n1, p2, n2);
    return 1;
}

int TCaptureEffect::SetParameter(int enable)
{
    m_echoEffect = false;
    if (!m_capture) {
        RavoTLog().Write(1, "<TCaptureEffect::SetParameter>,m_hCapture is NULL\n");
        return 0;
    }
    IDirectSoundCaptureFXAec8* aec = nullptr;
    m_lastResult = m_capture->GetObjectInPath(
        kGUID_DSCFX_CLASS_AEC, 0, kIID_IDirectSoundCaptureFXAec8, reinterpret_cast<void**>(&aec));
    if (FAILED(m_lastResult) || !aec) {
        RavoTLog().Write(1,
                         "<TCaptureEffect::SetParameter>,Get IID_IDirectSoundCaptureFXAec8 path "
                         "failed,Errorcode = %u,ErrorString =%s\n",
                         static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        return 0;
    }
    aec->GetAllParameters(&m_echoParams);
    m_echoParams.fEnable = enable ? TRUE : FALSE;
    m_lastResult = aec->SetAllParameters(&m_echoParams);
    aec->Release();
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(
            1,
            "<TCaptureEffect::SetParameter>,Set aec param failed,Errorcode = %u,ErrorString =%s\n",
            static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        return 0;
    }
    m_echoEffect = enable != 0;
    IDirectSoundCaptureFXNoiseSuppress8* ns = nullptr;
    m_lastResult = m_capture->GetObjectInPath(kGUID_DSCFX_CLASS_NS, 0,
                                              kIID_IDirectSoundCaptureFXNoiseSuppress8,
                                              reinterpret_cast<void**>(&ns));
    if (FAILED(m_lastResult) || !ns)
        return 1;
    ns->GetAllParameters(&m_noiseParams);
    m_noiseParams.fEnable = enable ? TRUE : FALSE;
    m_lastResult = ns->SetAllParameters(&m_noiseParams);
    ns->Release();
    if (FAILED(m_lastResult)) {
        RavoTLog().Write(
            1,
            "<TCaptureEffect::SetParameter>,Set ns param failed,Errorcode = %u,ErrorString =%s\n",
            static_cast<unsigned>(m_lastResult), DsErrorText(m_lastResult));
        return 0;
    }
    return 1;
}

void TCaptureEffect::Close()
{
    if (m_capture) {
        m_capture->Stop();
        m_capture->Release();
        m_capture = nullptr;
    }
    if (m_play) {
        m_play->Stop();
        m_play->Release();
        m_play = nullptr;
    }
    if (m_duplex) {
        m_duplex->Release();
        m_duplex = nullptr;
    }
    if (m_captureObject) {
        m_captureObject->Release();
        m_captureObject = nullptr;
    }
    if (m_sound) {
        m_sound->Release();
        m_sound = nullptr;
    }
    InterlockedExchange(&m_captureOpen, 0);
    InterlockedExchange(&m_playOpen, 0);
    m_echoEffect = false;
}

} // namespace RavoTDevice
