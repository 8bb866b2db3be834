#include "CDSAudioCapture.h"

#include <objbase.h>

#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

CDSAudioCapture::CDSAudioCapture(IDirectSoundApi& api) : CNamedThread(nullptr), m_api(api)
{
    memset(&m_device, 0, sizeof(m_device));
    memset(&m_format, 0, sizeof(m_format));
    memset(m_positions, 0, sizeof(m_positions));
    m_stopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_notifyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    InitializeCriticalSection(&m_lock);
}

CDSAudioCapture::~CDSAudioCapture()
{
    StopDevice();
    ReleaseDevice();
    CloseHandle(m_stopEvent);
    CloseHandle(m_notifyEvent);
    DeleteCriticalSection(&m_lock);
    delete m_block;
}

void CDSAudioCapture::SetCallback(void* context, DEVICE_BLOCK_CALLBACK callback)
{
    m_context = context;
    m_callback = callback;
}

int CDSAudioCapture::OpenDevice(const GUID* device, const tWAVEFORMATEX* format, int blockLength)
{
    StopDevice();
    ReleaseDevice();
    if (!format || blockLength <= 0)
        return 0;
    memset(m_positions, 0, sizeof(m_positions));
    m_bufferBytes = m_blockBytes = m_readOffset = 0;
    m_deliverLength = static_cast<DWORD>(blockLength);
    delete m_block;
    m_block = new CAudioBlock(m_deliverLength);
    m_sequence = 0;
    // A thread already in the multithreaded apartment has COM as it is.
    HRESULT com = CoInitialize(nullptr);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE)
        return 0;
    m_comInitialised = SUCCEEDED(com);
    memset(&m_device, 0, sizeof(m_device));
    if (device)
        m_device = *device;
    m_format = *format;
    m_blockBytes =
        m_format.nSamplesPerSec * 20 * m_format.wBitsPerSample / 8000 * m_format.nChannels;
    m_bufferBytes = m_blockBytes * BLOCKS;
    static const GUID zero = {};
    const GUID* id = memcmp(&m_device, &zero, sizeof(GUID)) == 0 ? nullptr : &m_device;
    IDsCaptureBuffer* buffer = nullptr;
    HRESULT hr = m_api.OpenCapture(id, &m_format, m_bufferBytes, &buffer);
    if (FAILED(hr) || !buffer) {
        SonvexLog(1, "<CDSAudioCapture::Open>,capture device failed,hr = 0x%08lx\n", hr);
        ReleaseDevice();
        return 0;
    }
    {
        CScopedLock lock(&m_lock);
        m_buffer = buffer;
    }
    if (!StartBuffer()) {
        ReleaseDevice();
        return 0;
    }
    return 1;
}

bool CDSAudioCapture::StartBuffer()
{
    m_readOffset = 0;
    for (int i = 0; i < BLOCKS; ++i) {
        m_positions[i].dwOffset = m_blockBytes * (i + 1) - 1;
        m_positions[i].hEventNotify = m_notifyEvent;
    }
    if (FAILED(m_buffer->SetNotificationPositions(BLOCKS, m_positions)))
        return false;
    if (FAILED(m_buffer->Start(DSCBSTART_LOOPING)))
        return false;
    m_running = 1;
    ResetEvent(m_stopEvent);
    if (!Start()) {
        m_buffer->Stop();
        m_running = 0;
        return false;
    }
    SetPriority(THREAD_PRIORITY_HIGHEST);
    return true;
}

void CDSAudioCapture::StopDevice()
{
    if (!m_buffer)
        return;
    m_buffer->Stop();
    ReadBlock(m_scratch, m_blockBytes < DWORD(SCRATCH_BYTES) ? m_blockBytes : DWORD(SCRATCH_BYTES));
    SetEvent(m_stopEvent);
    m_running = 0;
    CNamedThread::Stop();
}

void CDSAudioCapture::ReleaseDevice()
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

bool CDSAudioCapture::ReadBlock(void* destination, DWORD length)
{
    CScopedLock lock(&m_lock);
    if (!m_buffer || m_bufferBytes == 0 || length == 0)
        return false;
    DWORD capture = 0, read = 0;
    if (FAILED(m_buffer->GetCurrentPosition(&capture, &read)))
        return false;
    m_lastCapture = capture;
    long available = static_cast<long>(read) - static_cast<long>(m_readOffset);
    if (available < 0)
        available += m_bufferBytes;
    if (available < static_cast<long>(length))
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
        copied += n;
    }
    if (p2 && n2 && copied < length) {
        DWORD n = n2 < length - copied ? n2 : length - copied;
        memcpy(out + copied, p2, n);
        copied += n;
    }
    m_readOffset = (m_readOffset + copied) % m_bufferBytes;
    m_buffer->Unlock(p1, n1, p2, n2);
    return copied == length;
}

uint32_t CDSAudioCapture::Run()
{
    HANDLE events[2] = {m_stopEvent, m_notifyEvent};
    for (;;) {
        DWORD which = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (which != WAIT_OBJECT_0 + 1)
            return 0;
        while (m_running && m_block && ReadBlock(m_block->m_data, m_deliverLength)) {
            m_block->Stamp(CAudioBlock::KIND_NEAR, m_sequence++, timeGetTime());
            if (m_callback)
                m_callback(m_context, &m_block);
        }
    }
}

} // namespace SonvexDevice
