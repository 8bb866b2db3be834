#include "WinDirectSoundApi.h"

#include <cstring>

#include "SonvexLog.h"

namespace SonvexDevice {

IDirectSoundApi& IDirectSoundApi::System()
{
    static WinDirectSoundApi api;
    return api;
}

namespace {
// A capture device and its buffer; releasing the device ends the buffer.
class CaptureBuffer : public IDsCaptureBuffer
{
public:
    CaptureBuffer(IDirectSoundCapture* device, IDirectSoundCaptureBuffer* buffer,
                  IDirectSoundNotify* notify)
        : m_device(device), m_buffer(buffer), m_notify(notify)
    {}
    ~CaptureBuffer() override
    {
        if (m_notify)
            m_notify->Release();
        if (m_buffer)
            m_buffer->Release();
        if (m_device)
            m_device->Release();
    }
    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override
    {
        return m_notify->SetNotificationPositions(count, positions);
    }
    HRESULT Start(DWORD flags) override { return m_buffer->Start(flags); }
    HRESULT Stop() override { return m_buffer->Stop(); }
    HRESULT GetCurrentPosition(DWORD* capture, DWORD* read) override
    {
        return m_buffer->GetCurrentPosition(capture, read);
    }
    HRESULT Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2) override
    {
        return m_buffer->Lock(offset, bytes, p1, n1, p2, n2, 0);
    }
    HRESULT Unlock(void* p1, DWORD n1, void* p2, DWORD n2) override
    {
        return m_buffer->Unlock(p1, n1, p2, n2);
    }

private:
    IDirectSoundCapture* m_device;
    IDirectSoundCaptureBuffer* m_buffer;
    IDirectSoundNotify* m_notify;
};

class PlayBuffer : public IDsPlayBuffer
{
public:
    PlayBuffer(IDirectSound8* device, IDirectSoundBuffer8* buffer, IDirectSoundNotify* notify)
        : m_device(device), m_buffer(buffer), m_notify(notify)
    {}
    ~PlayBuffer() override
    {
        if (m_notify)
            m_notify->Release();
        if (m_buffer)
            m_buffer->Release();
        if (m_device)
            m_device->Release();
    }
    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override
    {
        return m_notify->SetNotificationPositions(count, positions);
    }
    HRESULT SetCurrentPosition(DWORD position) override
    {
        return m_buffer->SetCurrentPosition(position);
    }
    HRESULT Play(DWORD flags) override { return m_buffer->Play(0, 0, flags); }
    HRESULT Stop() override { return m_buffer->Stop(); }
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override
    {
        return m_buffer->GetCurrentPosition(play, write);
    }
    HRESULT Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2) override
    {
        return m_buffer->Lock(offset, bytes, p1, n1, p2, n2, 0);
    }
    HRESULT Unlock(void* p1, DWORD n1, void* p2, DWORD n2) override
    {
        return m_buffer->Unlock(p1, n1, p2, n2);
    }

private:
    IDirectSound8* m_device;
    IDirectSoundBuffer8* m_buffer;
    IDirectSoundNotify* m_notify;
};
} // namespace

HRESULT WinDirectSoundApi::EnumerateCapture(LPDSENUMCALLBACKA callback, void* context)
{
    return DirectSoundCaptureEnumerateA(callback, context);
}

HRESULT WinDirectSoundApi::EnumeratePlay(LPDSENUMCALLBACKA callback, void* context)
{
    return DirectSoundEnumerateA(callback, context);
}

HRESULT WinDirectSoundApi::OpenCapture(const GUID* device, const WAVEFORMATEX* format,
                                       DWORD bufferBytes, IDsCaptureBuffer** buffer)
{
    if (!buffer || !format)
        return E_POINTER;
    *buffer = nullptr;
    IDirectSoundCapture* capture = nullptr;
    HRESULT hr = DirectSoundCaptureCreate(device, &capture, nullptr);
    if (FAILED(hr) || !capture)
        return FAILED(hr) ? hr : E_FAIL;
    DSCBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = 0;
    desc.dwBufferBytes = bufferBytes;
    WAVEFORMATEX copy = *format;
    desc.lpwfxFormat = &copy;
    IDirectSoundCaptureBuffer* captureBuffer = nullptr;
    hr = capture->CreateCaptureBuffer(&desc, &captureBuffer, nullptr);
    if (FAILED(hr) || !captureBuffer) {
        capture->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    IDirectSoundNotify* notify = nullptr;
    hr = captureBuffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify));
    if (FAILED(hr) || !notify) {
        captureBuffer->Release();
        capture->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    *buffer = new CaptureBuffer(capture, captureBuffer, notify);
    return S_OK;
}

HRESULT WinDirectSoundApi::OpenPlay(const GUID* device, HWND window, const WAVEFORMATEX* format,
                                    DWORD bufferBytes, DWORD flags, IDsPlayBuffer** buffer)
{
    if (!buffer || !format)
        return E_POINTER;
    *buffer = nullptr;
    IDirectSound8* sound = nullptr;
    HRESULT hr = DirectSoundCreate8(device, &sound, nullptr);
    if (FAILED(hr) || !sound)
        return FAILED(hr) ? hr : E_FAIL;
    hr = sound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    if (FAILED(hr)) {
        sound->Release();
        return hr;
    }
    WAVEFORMATEX copy = *format;
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = flags;
    desc.dwBufferBytes = bufferBytes;
    desc.lpwfxFormat = &copy;
    IDirectSoundBuffer* first = nullptr;
    hr = sound->CreateSoundBuffer(&desc, &first, nullptr);
    if (FAILED(hr) || !first) {
        sound->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    // Only a primary buffer takes a format this way: a secondary buffer
    // refuses by design and already has the format it was created with.
    HRESULT formatResult = first->SetFormat(&copy);
    if (FAILED(formatResult))
        SonvexLog(5, "<CDSAudioPlay::Open>,SetFormat on the secondary buffer: 0x%08lx\n",
                  formatResult);
    IDirectSoundBuffer8* buffer8 = nullptr;
    hr = first->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer8));
    first->Release();
    if (FAILED(hr) || !buffer8) {
        sound->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    IDirectSoundNotify* notify = nullptr;
    hr = buffer8->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify));
    if (FAILED(hr) || !notify) {
        buffer8->Release();
        sound->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    if (SUCCEEDED(buffer8->Lock(0, bufferBytes, &p1, &n1, &p2, &n2, 0))) {
        if (p1)
            memset(p1, 0, n1);
        if (p2)
            memset(p2, 0, n2);
        buffer8->Unlock(p1, n1, p2, n2);
    }
    *buffer = new PlayBuffer(sound, buffer8, notify);
    return S_OK;
}

} // namespace SonvexDevice
