#include "TSoundPlayer.h"

#include <cstring>
#include <new>

#include "CScopedLock.h"
#include "RavoTLog.h"

namespace RavoTDevice {

TSoundPlayer::TSoundPlayer(IDuplexSoundDevice* device)
    : CNamedThread("TSoundPlayer Thread"), m_device(device)
{
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    memset(&m_format, 0, sizeof(m_format));
    InitializeCriticalSection(&m_tapLock);
}

TSoundPlayer::~TSoundPlayer()
{
    Stop();
    CloseHandle(m_stopEvent);
    DeleteCriticalSection(&m_tapLock);
}

void TSoundPlayer::SetReadCallback(AudioDataCallBack callback, void* owner)
{
    m_callback = callback;
    m_owner = owner;
}

void TSoundPlayer::SetPlayTap(void* context, AudioDataCallBack tap)
{
    CScopedLock lock(&m_tapLock);
    m_tapContext = context;
    m_tap = tap;
}

void TSoundPlayer::GetFormat(WAVEFORMATEX* out) const
{
    if (out)
        *out = m_format;
}

int TSoundPlayer::DsOpen(const WAVEFORMATEX* format, int blockBytes)
{
    if (!m_device) {
        RavoTLog().Write(1, "<TSoundPlayer::DsOpen>,m_pDS is NULL\n");
        return 0;
    }
    if (blockBytes <= 0)
        return 0;
    m_block = new (std::nothrow) uint8_t[blockBytes];
    if (!m_block) {
        RavoTLog().Write(1, "<TSoundPlayer::DsOpen>,new buffer failed,buffer size = %d\n",
                         blockBytes);
        return 0;
    }
    m_blockBytes = blockBytes;
    if (format) {
        m_format = *format;
        m_format.cbSize = 0;
    }
    if (!m_device->OpenOut()) {
        RavoTLog().Write(1, "<TSoundPlayer::DsOpen>,m_pDS OpenOut failed\n");
        delete[] m_block;
        m_block = nullptr;
        return 0;
    }
    m_open = 1;
    ResetEvent(m_stopEvent);
    if (!Start()) {
        Stop();
        return 0;
    }
    SetPriority(THREAD_PRIORITY_HIGHEST);
    return 1;
}

uint32_t TSoundPlayer::Run()
{
    if (!m_callback || !m_owner) {
        RavoTLog().Write(1,
                         "<TSoundPlayer::ThreadProcEx>,Param failed,m_Callback = %d,m_lpObj = %d\n",
                         m_callback ? 1 : 0, m_owner ? 1 : 0);
        return 0;
    }
    HANDLE events[2] = {m_stopEvent, m_device->PlayEvent()};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        if (WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            break;
        int got = m_callback(m_owner, this, m_block, m_blockBytes);
        // A short mix is padded with silence: the looping buffer must not
        // play its old contents again.
        if (got < 0)
            got = 0;
        if (got < m_blockBytes)
            memset(m_block + got, 0, m_blockBytes - got);
        {
            CScopedLock lock(&m_tapLock);
            if (m_tap)
                m_tap(m_tapContext, this, m_block, m_blockBytes);
        }
        m_device->WriteBlock(m_block, m_blockBytes);
    }
    return 0;
}

void TSoundPlayer::Stop()
{
    if (m_device && m_open)
        m_device->CloseOut();
    SetEvent(m_stopEvent);
    CNamedThread::Stop();
    delete[] m_block;
    m_block = nullptr;
    m_open = 0;
}

} // namespace RavoTDevice
