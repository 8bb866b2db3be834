#include "CDSAudioPlay.h"

#include <objbase.h>

#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

CDSAudioPlay::CDSAudioPlay(IDirectSoundApi& api) : CNamedThread(nullptr), m_api(api)
{
    memset(m_positions, 0, sizeof(m_positions));
    memset(&m_format, 0, sizeof(m_format));
    m_notifyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_stopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    InitializeCriticalSection(&m_lock);
}

CDSAudioPlay::~CDSAudioPlay()
{
    StopDevice();
    ReleaseDevice();
    CloseHandle(m_notifyEvent);
    CloseHandle(m_stopEvent);
    DeleteCriticalSection(&m_lock);
    delete m_block;
}

void CDSAudioPlay::SetReadCallback(DEVICE_BLOCK_CALLBACK callback, void* context)
{
    m_callback = callback;
    m_context = context;
}

int CDSAudioPlay::OpenDevice(HWND window, const tWAVEFORMATEX* format, const GUID* device)
{
    StopDevice();
    ReleaseDevice();
    if (!format)
        return 0;
    m_format = *format;
    // A thread already in the multithreaded apartment has COM as it is.
    HRESULT com = CoInitialize(nullptr);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE)
        return 0;
    m_comInitialised = SUCCEEDED(com);
    m_blockBytes =
        m_format.nSamplesPerSec * 20 * m_format.wBitsPerSample / 8000 * m_format.nChannels;
    m_bufferBytes = m_blockBytes * BLOCKS;
    if (m_blockBytes == 0) {
        ReleaseDevice();
        return 0;
    }
    delete m_block;
    m_block = new CAudioBlock(m_blockBytes);
    m_sequence = 0;
    static const GUID zero = {};
    const GUID* id = (device && memcmp(device, &zero, sizeof(GUID)) != 0) ? device : nullptr;
    IDsPlayBuffer* buffer = nullptr;
    m_lastResult = m_api.OpenPlay(id, window, &m_format, m_bufferBytes, BUFFER_FLAGS, &buffer);
    if (FAILED(m_lastResult) || !buffer) {
        SonvexLog(1, "<CDSAudioPlay::Open>,play device failed,hr = 0x%08lx\n", m_lastResult);
        ReleaseDevice();
        return 0;
    }
    for (int i = 0; i < BLOCKS; ++i) {
        m_positions[i].dwOffset = m_blockBytes * (i + 1) - 1;
        m_positions[i].hEventNotify = m_notifyEvent;
    }
    m_lastResult = buffer->SetNotificationPositions(BLOCKS, m_positions);
    if (FAILED(m_lastResult)) {
        delete buffer;
        ReleaseDevice();
        return 0;
    }
    CScopedLock lock(&m_lock);
    m_buffer = buffer;
    m_readOffset = 0;
    m_writePosition = 0;
    return 1;
}

int CDSAudioPlay::StartDevice()
{
    {
        CScopedLock lock(&m_lock);
        if (!m_buffer)
            return 0;
        m_buffer->SetCurrentPosition(0);
        m_readOffset = 0;
    }
    ResetEvent(m_stopEvent);
    if (!Start())
        return 0;
    SetPriority(THREAD_PRIORITY_HIGHEST);
    HRESULT hr;
    {
        CScopedLock lock(&m_lock);
        hr = m_lastResult = m_buffer->Play(DSBPLAY_LOOPING);
    }
    if (FAILED(hr)) {
        SonvexLog(1, "<CDSAudioPlay::Start>,Play failed,hr = 0x%08lx\n", hr);
        SetEvent(m_stopEvent);
        CNamedThread::Stop();
        return 0;
    }
    return 1;
}

void CDSAudioPlay::StopDevice()
{
    SetEvent(m_stopEvent);
    CNamedThread::Stop();
    CScopedLock lock(&m_lock);
    if (m_buffer)
        m_buffer->Stop();
}

void CDSAudioPlay::ReleaseDevice()
{
    {
        CScopedLock lock(&m_lock);
        delete m_buffer;
        m_buffer = nullptr;
    }
    if (m_comInitialised) {
        CoUninitialize();
        m_comInitialised = false;
    }
}

bool CDSAudioPlay::ReadPlayedAudioData(void* destination, DWORD length)
{
    CScopedLock lock(&m_lock);
    if (!m_buffer)
        return false;
    DWORD play = 0, write = 0;
    if (FAILED(m_buffer->GetCurrentPosition(&play, &write)))
        return false;
    long available = static_cast<long>(play) - static_cast<long>(m_readOffset);
    if (available < 0)
        available += m_bufferBytes;
    if (available <= static_cast<long>(length))
        return false;
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    if (FAILED(m_buffer->Lock(m_readOffset, length, &p1, &n1, &p2, &n2)))
        return false;
    char* out = static_cast<char*>(destination);
    DWORD copied = 0;
    if (p1 && n1) {
        DWORD n = n1 < length ? n1 : length;
        memcpy(out, p1, n);
        memset(p1, 0, n);
        copied += n;
    }
    if (p2 && n2 && copied < length) {
        DWORD n = n2 < length - copied ? n2 : length - copied;
        memcpy(out + copied, p2, n);
        memset(p2, 0, n);
        copied += n;
    }
    m_readOffset = (m_readOffset + copied) % m_bufferBytes;
    m_buffer->Unlock(p1, n1, p2, n2);
    return copied == length;
}

int CDSAudioPlay::WriteAudioData(const void* data, DWORD length)
{
    if (!data || length != m_blockBytes)
        return 0;
    CScopedLock lock(&m_lock);
    if (!m_buffer)
        return 0;
    DWORD play = 0, write = 0;
    if (FAILED(m_buffer->GetCurrentPosition(&play, &write)))
        return 0;
    const DWORD position = m_writePosition;
    bool unwritable = play <= write ? (position > play && position < write)
                                    : (position > play || position < write);
    if (unwritable) {
        m_writePosition = ((write + m_blockBytes) / m_blockBytes % BLOCKS) * m_blockBytes;
        SonvexLog(1, "***************  CDSAudioPlay::WriteAudioData ERROR  *********");
    }
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    if (FAILED(m_buffer->Lock(m_writePosition, length, &p1, &n1, &p2, &n2)))
        return 0;
    const char* in = static_cast<const char*>(data);
    DWORD copied = 0;
    if (p1 && n1) {
        DWORD n = n1 < length ? n1 : length;
        memcpy(p1, in, n);
        copied += n;
    }
    if (p2 && n2 && copied < length) {
        DWORD n = n2 < length - copied ? n2 : length - copied;
        memcpy(p2, in + copied, n);
        copied += n;
    }
    m_buffer->Unlock(p1, n1, p2, n2);
    return 1;
}

uint32_t CDSAudioPlay::Run()
{
    HANDLE events[2] = {m_stopEvent, m_notifyEvent};
    for (;;) {
        DWORD which = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (which != WAIT_OBJECT_0 + 1)
            return 0;
        {
            CScopedLock lock(&m_lock);
            DWORD play = 0, write = 0;
            if (!m_buffer || FAILED(m_buffer->GetCurrentPosition(&play, &write)))
                continue;
            m_writePosition = ((write + 2 * m_blockBytes) / m_blockBytes % BLOCKS) * m_blockBytes;
        }
        if (!m_block)
            continue;
        if (!ReadPlayedAudioData(m_block->m_data, m_blockBytes)) {
            SonvexLog(1, "ReadPlayedAudioData False!\n");
            // Nothing was played back to read: the echo reference is silence.
            memset(m_block->m_data, 0, m_block->m_length);
        }
        m_block->Stamp(CAudioBlock::KIND_FAR, m_sequence++, timeGetTime());
        if (m_callback)
            m_callback(m_context, &m_block);
        WriteAudioData(m_block->m_data, m_block->m_length);
    }
}

} // namespace SonvexDevice
