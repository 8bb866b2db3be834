#include "FakeWaveApi.h"

#include <cstring>

using namespace SonvexDevice;

namespace
{
HWAVEIN const kIn = reinterpret_cast<HWAVEIN>(0x1234);
HWAVEOUT const kOut = reinterpret_cast<HWAVEOUT>(0x5678);
}

MMRESULT FakeWaveApi::InGetDevCaps(UINT device, WAVEINCAPSA* caps)
{
    if (device >= inNames.size())
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof(*caps));
    strncpy(caps->szPname, inNames[device].c_str(), sizeof(caps->szPname) - 1);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps)
{
    if (device >= outNames.size())
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof(*caps));
    strncpy(caps->szPname, outNames[device].c_str(), sizeof(caps->szPname) - 1);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format,
                             DWORD_PTR callback, DWORD_PTR instance, DWORD)
{
    if (inOpenResult != MMSYSERR_NOERROR)
        return inOpenResult;
    if (device >= inNames.size() || m_inOpen || format->nSamplesPerSec != 48000)
        return MMSYSERR_BADDEVICEID;
    m_inOpen = true;
    ++inOpens;
    m_inProc = reinterpret_cast<Proc>(callback);
    m_inInstance = instance;
    m_inAdds = 0;
    *handle = kIn;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::InPrepareHeader(HWAVEIN, WAVEHDR* header)
{
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::InUnprepareHeader(HWAVEIN, WAVEHDR* header)
{
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::InAddBuffer(HWAVEIN, WAVEHDR* header)
{
    if (!m_inOpen)
        return MMSYSERR_INVALHANDLE;
    if (failInAddAfter >= 0 && m_inAdds++ >= failInAddAfter)
        return MMSYSERR_NOMEM;
    header->dwFlags &= ~WHDR_DONE;
    m_in.push_back(header);
    return MMSYSERR_NOERROR;
}

bool FakeWaveApi::Record(const std::vector<int16_t>& samples)
{
    if (m_in.empty())
        return false;
    WAVEHDR* header = m_in.front();
    m_in.pop_front();
    size_t bytes = samples.size() * 2;
    if (bytes > header->dwBufferLength)
        bytes = header->dwBufferLength;
    memcpy(header->lpData, samples.data(), bytes);
    header->dwBytesRecorded = static_cast<DWORD>(bytes);
    header->dwFlags |= WHDR_DONE;
    clock += 20;
    m_inProc(reinterpret_cast<HANDLE>(kIn), WIM_DATA, m_inInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    return true;
}

MMRESULT FakeWaveApi::InReset(HWAVEIN)
{
    while (!m_in.empty()) {
        WAVEHDR* header = m_in.front();
        m_in.pop_front();
        header->dwBytesRecorded = 0;
        header->dwFlags |= WHDR_DONE;
        m_inProc(reinterpret_cast<HANDLE>(kIn), WIM_DATA, m_inInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::InClose(HWAVEIN)
{
    if (!m_in.empty())
        return WAVERR_STILLPLAYING;
    m_inOpen = false;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD)
{
    if (outOpenResult != MMSYSERR_NOERROR)
        return outOpenResult;
    if (device >= outNames.size() || m_outOpen || format->nSamplesPerSec != 48000)
        return MMSYSERR_BADDEVICEID;
    m_outOpen = true;
    ++outOpens;
    m_outProc = reinterpret_cast<Proc>(callback);
    m_outInstance = instance;
    *handle = kOut;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutPrepareHeader(HWAVEOUT, WAVEHDR* header)
{
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutUnprepareHeader(HWAVEOUT, WAVEHDR* header)
{
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutWrite(HWAVEOUT, WAVEHDR* header)
{
    if (!m_outOpen)
        return MMSYSERR_INVALHANDLE;
    header->dwFlags &= ~WHDR_DONE;
    m_out.push_back(header);
    return MMSYSERR_NOERROR;
}

bool FakeWaveApi::FinishPlaying()
{
    if (m_out.empty())
        return false;
    WAVEHDR* header = m_out.front();
    m_out.pop_front();
    const int16_t* samples = reinterpret_cast<const int16_t*>(header->lpData);
    played.insert(played.end(), samples, samples + header->dwBufferLength / 2);
    header->dwFlags |= WHDR_DONE;
    clock += 20;
    m_outProc(reinterpret_cast<HANDLE>(kOut), WOM_DONE, m_outInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    return true;
}

MMRESULT FakeWaveApi::OutReset(HWAVEOUT)
{
    while (!m_out.empty()) {
        WAVEHDR* header = m_out.front();
        m_out.pop_front();
        header->dwFlags |= WHDR_DONE;
        m_outProc(reinterpret_cast<HANDLE>(kOut), WOM_DONE, m_outInstance, reinterpret_cast<DWORD_PTR>(header), 0);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveApi::OutClose(HWAVEOUT)
{
    if (!m_out.empty())
        return WAVERR_STILLPLAYING;
    m_outOpen = false;
    return MMSYSERR_NOERROR;
}
