#include "TSoundCapture.h"

#include <new>

#include "RavoTLog.h"

namespace RavoTDevice {

TSoundCapture::TSoundCapture(IDuplexSoundDevice* device)
    : CNamedThread("TSoundCapture Thread"), m_device(device)
{
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TSoundCapture::~TSoundCapture()
{
    Stop();
    CloseHandle(m_stopEvent);
}

void TSoundCapture::SetCallback(void* owner, AudioDataCallBack callback)
{
    m_owner = owner;
    m_callback = callback;
}

int TSoundCapture::DsOpen(const WAVEFORMATEX*, int blockBytes)
{
    if (!m_device) {
        RavoTLog().Write(1, "<TSoundCapture::DsOpen>,m_pDS is NULL\n");
        return 0;
    }
    if (blockBytes <= 0)
        return 0;
    if (!m_device->OpenIn()) {
        RavoTLog().Write(1, "<TSoundCapture::DsOpen>,m_pDS openin failed\n");
        return 0;
    }
    m_block = new (std::nothrow) uint8_t[blockBytes];
    if (!m_block) {
        RavoTLog().Write(1, "<TSoundCapture::DsOpen>,new buffer failed,buffersize = %d\n",
                         blockBytes);
        m_device->CloseIn();
        return 0;
    }
    m_blockBytes = blockBytes;
    m_open = 1;
    ResetEvent(m_stopEvent);
    if (!Start()) {
        Stop();
        return 0;
    }
    SetPriority(THREAD_PRIORITY_HIGHEST);
    return 1;
}

uint32_t TSoundCapture::Run()
{
    HANDLE events[2] = {m_stopEvent, m_device->CaptureEvent()};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        if (WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            break;
        if (m_device->ReadBlock(m_block, m_blockBytes) && m_callback)
            m_callback(m_owner, this, m_block, m_blockBytes);
    }
    return 0;
}

void TSoundCapture::Stop()
{
    if (m_device && m_open)
        m_device->CloseIn();
    SetEvent(m_stopEvent);
    CNamedThread::Stop();
    delete[] m_block;
    m_block = nullptr;
    m_open = 0;
}

} // namespace RavoTDevice
