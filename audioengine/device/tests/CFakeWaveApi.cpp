#include "CFakeWaveApi.h"

#include <cstring>

using namespace RavoTDevice;

namespace {
typedef void(CALLBACK* WaveProc)(HANDLE, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);
}

MMRESULT CFakeWaveApi::InGetDevCaps(UINT id, WAVEINCAPSA* caps)
{
    if (id >= inDevices)
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof(*caps));
    strncpy(caps->szPname, deviceName, MAXPNAMELEN - 1);
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps)
{
    if (id >= outDevices)
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof(*caps));
    strncpy(caps->szPname, deviceName, MAXPNAMELEN - 1);
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                              DWORD_PTR instance, DWORD)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (failInOpen || (id != WAVE_MAPPER && id >= inDevices) || m_inOpen)
        return MMSYSERR_ALLOCATED;
    lastInFormat = *format;
    m_inCallbackFn = callback;
    m_inInstance = instance;
    m_inOpen = true;
    ++inOpens;
    *handle = reinterpret_cast<HWAVEIN>(&m_tokenIn);
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InPrepareHeader(HWAVEIN, WAVEHDR* header)
{
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InUnprepareHeader(HWAVEIN, WAVEHDR* header)
{
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InAddBuffer(HWAVEIN, WAVEHDR* header)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (m_inCallback)
        ++callsFromCallback;
    header->dwFlags &= ~WHDR_DONE;
    header->dwFlags |= WHDR_INQUEUE;
    m_inQueue.push_back(header);
    return MMSYSERR_NOERROR;
}

void CFakeWaveApi::CallIn(UINT message, WAVEHDR* header)
{
    m_inCallback = true;
    reinterpret_cast<WaveProc>(m_inCallbackFn)(nullptr, message, m_inInstance,
                                               reinterpret_cast<DWORD_PTR>(header), 0);
    m_inCallback = false;
}

void CFakeWaveApi::CallOut(UINT message, WAVEHDR* header)
{
    m_inCallback = true;
    reinterpret_cast<WaveProc>(m_outCallbackFn)(nullptr, message, m_outInstance,
                                                reinterpret_cast<DWORD_PTR>(header), 0);
    m_inCallback = false;
}

bool CFakeWaveApi::DeliverCapture(const void* data, int length)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (!m_inOpen || m_inQueue.empty())
        return false;
    WAVEHDR* h = m_inQueue.front();
    m_inQueue.pop_front();
    int n = length < static_cast<int>(h->dwBufferLength) ? length : static_cast<int>(h->dwBufferLength);
    memcpy(h->lpData, data, n);
    h->dwBytesRecorded = n;
    h->dwFlags &= ~WHDR_INQUEUE;
    h->dwFlags |= WHDR_DONE;
    CallIn(WIM_DATA, h);
    return true;
}

MMRESULT CFakeWaveApi::InReset(HWAVEIN)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (holdOnReset)
        return MMSYSERR_NOERROR;
    while (!m_inQueue.empty()) {
        WAVEHDR* h = m_inQueue.front();
        m_inQueue.pop_front();
        h->dwBytesRecorded = 0;
        h->dwFlags &= ~WHDR_INQUEUE;
        h->dwFlags |= WHDR_DONE;
        CallIn(WIM_DATA, h);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InClose(HWAVEIN)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    m_inQueue.clear();
    m_inOpen = false;
    ++inCloses;
    return MMSYSERR_NOERROR;
}

size_t CFakeWaveApi::InQueued()
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    return m_inQueue.size();
}

bool CFakeWaveApi::WaitInQueued(size_t n, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (InQueued() < n) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

MMRESULT CFakeWaveApi::OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                               DWORD_PTR instance, DWORD)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (failOutOpen || (id != WAVE_MAPPER && id >= outDevices) || m_outOpen)
        return MMSYSERR_ALLOCATED;
    lastOutFormat = *format;
    m_outCallbackFn = callback;
    m_outInstance = instance;
    m_outOpen = true;
    ++outOpens;
    m_played.clear();
    *handle = reinterpret_cast<HWAVEOUT>(&m_tokenOut);
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutPrepareHeader(HWAVEOUT, WAVEHDR* header)
{
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutUnprepareHeader(HWAVEOUT, WAVEHDR* header)
{
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutWrite(HWAVEOUT, WAVEHDR* header)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    header->dwFlags &= ~WHDR_DONE;
    header->dwFlags |= WHDR_INQUEUE;
    m_outQueue.push_back(header);
    m_played.emplace_back(header->lpData, header->lpData + header->dwBufferLength);
    return MMSYSERR_NOERROR;
}

bool CFakeWaveApi::CompletePlayed()
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    if (!m_outOpen || m_outQueue.empty())
        return false;
    WAVEHDR* h = m_outQueue.front();
    m_outQueue.pop_front();
    h->dwFlags &= ~WHDR_INQUEUE;
    h->dwFlags |= WHDR_DONE;
    CallOut(WOM_DONE, h);
    return true;
}

MMRESULT CFakeWaveApi::OutReset(HWAVEOUT)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    while (!m_outQueue.empty()) {
        WAVEHDR* h = m_outQueue.front();
        m_outQueue.pop_front();
        h->dwFlags &= ~WHDR_INQUEUE;
        h->dwFlags |= WHDR_DONE;
        CallOut(WOM_DONE, h);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutClose(HWAVEOUT)
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    m_outQueue.clear();
    m_outOpen = false;
    ++outCloses;
    return MMSYSERR_NOERROR;
}

std::vector<std::vector<uint8_t>> CFakeWaveApi::Played()
{
    std::lock_guard<std::recursive_mutex> l(m_lock);
    return m_played;
}

bool CFakeWaveApi::WaitOutWritten(size_t n, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (Played().size() < n) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}
