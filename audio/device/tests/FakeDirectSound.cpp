#include "FakeDirectSound.h"

#include <cstring>

using namespace SonvexDevice;

HRESULT FakeDsRing::SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_positions.assign(positions, positions + count);
    return DS_OK;
}

HRESULT FakeDsRing::Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const DWORD size = Size();
    if (offset >= size || bytes > size)
        return DSERR_INVALIDPARAM;
    DWORD first = size - offset < bytes ? size - offset : bytes;
    *p1 = &m_data[offset];
    *n1 = first;
    if (p2 && n2) {
        *p2 = first < bytes ? &m_data[0] : nullptr;
        *n2 = bytes - first;
    }
    return DS_OK;
}

void FakeDsRing::Signal(DWORD from, DWORD to)
{
    const DWORD size = Size();
    for (const auto& p : m_positions) {
        bool passed = from <= to ? (p.dwOffset >= from && p.dwOffset < to)
                                 : (p.dwOffset >= from || p.dwOffset < to);
        if (passed && from != to)
            SetEvent(p.hEventNotify);
    }
    (void)size;
}

void FakeDsCaptureBuffer::Capture(const std::vector<int16_t>& samples)
{
    DWORD from, to;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const char* bytes = reinterpret_cast<const char*>(samples.data());
        from = m_read;
        for (size_t i = 0; i < samples.size() * 2; ++i) {
            m_data[m_read] = bytes[i];
            m_read = (m_read + 1) % Size();
        }
        to = m_read;
    }
    Signal(from, to);
}

HRESULT FakeDsCaptureBuffer::GetCurrentPosition(DWORD* capture, DWORD* read)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (capture)
        *capture = (m_read + 64) % Size();
    if (read)
        *read = m_read;
    return DS_OK;
}

HRESULT FakeDsPlayBuffer::SetCurrentPosition(DWORD position)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_play = position % Size();
    return DS_OK;
}

HRESULT FakeDsPlayBuffer::GetCurrentPosition(DWORD* play, DWORD* write)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (play)
        *play = m_play;
    if (write)
        *write = (m_play + writeLead) % Size();
    return DS_OK;
}

void FakeDsPlayBuffer::Advance(DWORD bytes)
{
    DWORD from, to;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        from = m_play;
        for (DWORD i = 0; i + 1 < bytes; i += 2) {
            int16_t s;
            memcpy(&s, &m_data[m_play], 2);
            played.push_back(s);
            m_play = (m_play + 2) % Size();
        }
        to = m_play;
    }
    Signal(from, to);
}

FakeDirectSound::FakeDirectSound()
{
    GUID speakers = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
    GUID microphone = {0x44444444, 0x5555, 0x6666, {1, 2, 3, 4, 5, 6, 7, 8}};
    captureDevices = {{true, {}, "Primary Sound Capture Driver"},
                      {false, microphone, "Fake Microphone"}};
    playDevices = {{true, {}, "Primary Sound Driver"}, {false, speakers, "Fake Speakers"}};
}

HRESULT FakeDirectSound::EnumerateCapture(LPDSENUMCALLBACKA callback, void* context)
{
    for (auto& d : captureDevices)
        if (!callback(d.primary ? nullptr : &d.guid, d.description.c_str(), "", context))
            break;
    return DS_OK;
}

HRESULT FakeDirectSound::EnumeratePlay(LPDSENUMCALLBACKA callback, void* context)
{
    for (auto& d : playDevices)
        if (!callback(d.primary ? nullptr : &d.guid, d.description.c_str(), "", context))
            break;
    return DS_OK;
}

HRESULT FakeDirectSound::OpenCapture(const GUID* device, const WAVEFORMATEX*, DWORD bufferBytes,
                                     IDsCaptureBuffer** buffer)
{
    lastCaptureGuid = device ? *device : GUID{};
    if (FAILED(captureResult))
        return captureResult;
    capture = new FakeDsCaptureBuffer(bufferBytes, &capture);
    *buffer = capture;
    return DS_OK;
}

HRESULT FakeDirectSound::OpenPlay(const GUID* device, HWND, const WAVEFORMATEX*, DWORD bufferBytes,
                                  DWORD, IDsPlayBuffer** buffer)
{
    lastPlayGuid = device ? *device : GUID{};
    if (FAILED(playResult))
        return playResult;
    play = new FakeDsPlayBuffer(bufferBytes, &play);
    *buffer = play;
    return DS_OK;
}
