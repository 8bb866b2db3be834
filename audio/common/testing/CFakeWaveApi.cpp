#include "CFakeWaveApi.h"

#include <cstring>
#include <functional>

namespace AudioCommon {

namespace {
typedef void(CALLBACK* WaveProc)(HANDLE, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);
typedef std::lock_guard<std::recursive_mutex> Guard;

template <class Caps>
MMRESULT FillCaps(const std::vector<std::string>& names, UINT device, Caps* caps)
{
    if (device >= names.size())
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof(*caps));
    strncpy(caps->szPname, names[device].c_str(), sizeof(caps->szPname) - 1);
    return MMSYSERR_NOERROR;
}

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& ready)
{
    const DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}
} // namespace

MMRESULT CFakeWaveApi::CheckOpen(UINT device, size_t devices, bool alreadyOpen,
                                 const WAVEFORMATEX* format) const
{
    if (device != WAVE_MAPPER && device >= devices)
        return MMSYSERR_BADDEVICEID;
    if (alreadyOpen)
        return MMSYSERR_ALLOCATED;
    if (!format || (requiredRate && format->nSamplesPerSec != requiredRate))
        return WAVERR_BADFORMAT;
    return MMSYSERR_NOERROR;
}

void CFakeWaveApi::CallIn(UINT message, WAVEHDR* header)
{
    m_inCallback = true;
    reinterpret_cast<WaveProc>(m_inProc)(reinterpret_cast<HANDLE>(&m_tokenIn), message,
                                         m_inInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    m_inCallback = false;
}

void CFakeWaveApi::CallOut(UINT message, WAVEHDR* header)
{
    m_inCallback = true;
    reinterpret_cast<WaveProc>(m_outProc)(reinterpret_cast<HANDLE>(&m_tokenOut), message,
                                          m_outInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    m_inCallback = false;
}

UINT CFakeWaveApi::InGetNumDevs()
{
    Guard l(m_lock);
    return static_cast<UINT>(inNames.size());
}

MMRESULT CFakeWaveApi::InGetDevCaps(UINT device, WAVEINCAPSA* caps)
{
    Guard l(m_lock);
    return FillCaps(inNames, device, caps);
}

MMRESULT CFakeWaveApi::InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD)
{
    Guard l(m_lock);
    if (inOpenResult != MMSYSERR_NOERROR)
        return inOpenResult;
    MMRESULT result = CheckOpen(device, inNames.size(), m_inOpen, format);
    if (result != MMSYSERR_NOERROR)
        return result;
    lastInFormat = *format;
    m_inProc = callback;
    m_inInstance = instance;
    m_inOpen = true;
    m_inAdds = 0;
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
    Guard l(m_lock);
    if (m_inCallback)
        ++callsFromCallback;
    if (!m_inOpen)
        return MMSYSERR_INVALHANDLE;
    if (failInAddAfter >= 0 && m_inAdds++ >= failInAddAfter)
        return MMSYSERR_NOMEM;
    header->dwFlags &= ~WHDR_DONE;
    header->dwFlags |= WHDR_INQUEUE;
    m_inQueue.push_back(header);
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InStart(HWAVEIN)
{
    Guard l(m_lock);
    return inStartResult;
}

bool CFakeWaveApi::DeliverCapture(const void* data, int length)
{
    Guard l(m_lock);
    if (!m_inOpen || m_inQueue.empty())
        return false;
    WAVEHDR* header = m_inQueue.front();
    m_inQueue.pop_front();
    DWORD bytes = length > 0 ? static_cast<DWORD>(length) : 0;
    if (bytes > header->dwBufferLength)
        bytes = header->dwBufferLength;
    if (bytes)
        memcpy(header->lpData, data, bytes);
    header->dwBytesRecorded = bytes;
    header->dwFlags &= ~WHDR_INQUEUE;
    header->dwFlags |= WHDR_DONE;
    clock += 20;
    CallIn(WIM_DATA, header);
    return true;
}

bool CFakeWaveApi::Record(const std::vector<int16_t>& samples)
{
    return DeliverCapture(samples.data(), static_cast<int>(samples.size() * 2));
}

MMRESULT CFakeWaveApi::InReset(HWAVEIN)
{
    Guard l(m_lock);
    if (holdOnReset)
        return MMSYSERR_NOERROR;
    while (!m_inQueue.empty()) {
        WAVEHDR* header = m_inQueue.front();
        m_inQueue.pop_front();
        header->dwBytesRecorded = 0;
        header->dwFlags &= ~WHDR_INQUEUE;
        header->dwFlags |= WHDR_DONE;
        CallIn(WIM_DATA, header);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::InClose(HWAVEIN)
{
    Guard l(m_lock);
    if (!m_inOpen)
        return MMSYSERR_INVALHANDLE;
    if (!m_inQueue.empty() && !holdOnReset)
        return WAVERR_STILLPLAYING;
    m_inQueue.clear();
    m_inOpen = false;
    ++inCloses;
    return MMSYSERR_NOERROR;
}

UINT CFakeWaveApi::OutGetNumDevs()
{
    Guard l(m_lock);
    return static_cast<UINT>(outNames.size());
}

MMRESULT CFakeWaveApi::OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps)
{
    Guard l(m_lock);
    return FillCaps(outNames, device, caps);
}

MMRESULT CFakeWaveApi::OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format,
                               DWORD_PTR callback, DWORD_PTR instance, DWORD)
{
    Guard l(m_lock);
    if (outOpenResult != MMSYSERR_NOERROR)
        return outOpenResult;
    MMRESULT result = CheckOpen(device, outNames.size(), m_outOpen, format);
    if (result != MMSYSERR_NOERROR)
        return result;
    lastOutFormat = *format;
    m_outProc = callback;
    m_outInstance = instance;
    m_outOpen = true;
    m_written.clear();
    ++outOpens;
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
    Guard l(m_lock);
    if (!m_outOpen)
        return MMSYSERR_INVALHANDLE;
    header->dwFlags &= ~WHDR_DONE;
    header->dwFlags |= WHDR_INQUEUE;
    m_outQueue.push_back(header);
    m_written.emplace_back(header->lpData, header->lpData + header->dwBufferLength);
    return MMSYSERR_NOERROR;
}

bool CFakeWaveApi::CompletePlayed()
{
    Guard l(m_lock);
    if (!m_outOpen || m_outQueue.empty())
        return false;
    WAVEHDR* header = m_outQueue.front();
    m_outQueue.pop_front();
    const int16_t* samples = reinterpret_cast<const int16_t*>(header->lpData);
    m_played.insert(m_played.end(), samples, samples + header->dwBufferLength / 2);
    header->dwFlags &= ~WHDR_INQUEUE;
    header->dwFlags |= WHDR_DONE;
    clock += 20;
    CallOut(WOM_DONE, header);
    return true;
}

MMRESULT CFakeWaveApi::OutReset(HWAVEOUT)
{
    Guard l(m_lock);
    if (holdOnReset)
        return MMSYSERR_NOERROR;
    while (!m_outQueue.empty()) {
        WAVEHDR* header = m_outQueue.front();
        m_outQueue.pop_front();
        header->dwFlags &= ~WHDR_INQUEUE;
        header->dwFlags |= WHDR_DONE;
        CallOut(WOM_DONE, header);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CFakeWaveApi::OutClose(HWAVEOUT)
{
    Guard l(m_lock);
    if (!m_outOpen)
        return MMSYSERR_INVALHANDLE;
    if (!m_outQueue.empty() && !holdOnReset)
        return WAVERR_STILLPLAYING;
    m_outQueue.clear();
    m_outOpen = false;
    ++outCloses;
    return MMSYSERR_NOERROR;
}

DWORD CFakeWaveApi::Now()
{
    Guard l(m_lock);
    return clock;
}

size_t CFakeWaveApi::QueuedIn()
{
    Guard l(m_lock);
    return m_inQueue.size();
}

size_t CFakeWaveApi::QueuedOut()
{
    Guard l(m_lock);
    return m_outQueue.size();
}

bool CFakeWaveApi::IsInOpen()
{
    Guard l(m_lock);
    return m_inOpen;
}

bool CFakeWaveApi::IsOutOpen()
{
    Guard l(m_lock);
    return m_outOpen;
}

std::vector<std::vector<uint8_t>> CFakeWaveApi::Written()
{
    Guard l(m_lock);
    return m_written;
}

std::vector<int16_t> CFakeWaveApi::PlayedSamples()
{
    Guard l(m_lock);
    return m_played;
}

bool CFakeWaveApi::WaitInQueued(size_t n, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] { return QueuedIn() >= n; });
}

bool CFakeWaveApi::WaitOutWritten(size_t n, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] { return Written().size() >= n; });
}

} // namespace AudioCommon
