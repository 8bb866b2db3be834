#include "CToneWaveApi.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// Handles of the two devices: any distinct non-null values.
HWAVEIN const kInHandle = reinterpret_cast<HWAVEIN>(0x7101);
HWAVEOUT const kOutHandle = reinterpret_cast<HWAVEOUT>(0x7102);

MMRESULT Prepare(WAVEHDR* header, bool on)
{
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (on)
        header->dwFlags |= WHDR_PREPARED;
    else
        header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
} // namespace

CToneWaveApi::CToneWaveApi(const Tone& tone)
    : m_filler(tone), m_in(WIM_DATA, &m_filler), m_out(WOM_DONE, nullptr)
{}

bool CToneWaveApi::ParseTone(const char* text, Tone* tone)
{
    if (!text || !tone)
        return false;
    Tone t;
    char rest = 0;
    int n = sscanf(text, "%lf,%d,%lf,%lf%c", &t.hz, &t.amplitude, &t.burstMs, &t.periodMs, &rest);
    if (n != 1 && n != 2 && n != 4)
        return false;
    if (!(t.hz > 0 && t.hz < 20000) || t.amplitude < 0 || t.amplitude > 32767)
        return false;
    if (n == 4 && !(t.burstMs > 0 && t.periodMs > t.burstMs))
        return false;
    *tone = t;
    return true;
}

void CToneWaveApi::ToneFiller::Fill(WAVEHDR* header, const WAVEFORMATEX& format, double startMs)
{
    const DWORD samples = header->dwBufferLength / 2;
    int16_t* out = reinterpret_cast<int16_t*>(header->lpData);
    const double rate = format.nSamplesPerSec;
    const double twoPi = 6.283185307179586;
    for (DWORD i = 0; i < samples; ++i) {
        const double ms = startMs + 1000.0 * i / rate;
        bool on = true;
        if (m_tone.periodMs > 0)
            on = std::fmod(ms, m_tone.periodMs) < m_tone.burstMs;
        // The phase follows the clock, so that blocks join without a click.
        out[i] =
            on ? static_cast<int16_t>(m_tone.amplitude * std::sin(twoPi * m_tone.hz * ms / 1000.0))
               : 0;
    }
    header->dwBytesRecorded = samples * 2;
}

MMRESULT CToneWaveApi::InGetDevCaps(UINT id, WAVEINCAPSA* caps)
{
    if (id != 0)
        return MMSYSERR_BADDEVICEID;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    memset(caps, 0, sizeof *caps);
    strcpy(caps->szPname, "Test tone");
    caps->wChannels = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT CToneWaveApi::InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    if (id != 0 && id != WAVE_MAPPER)
        return MMSYSERR_BADDEVICEID;
    if (!handle || !format || format->wBitsPerSample != 16)
        return WAVERR_BADFORMAT;
    MMRESULT r = m_in.Open(kInHandle, format, callback, instance, flags);
    if (r == MMSYSERR_NOERROR)
        *handle = kInHandle;
    return r;
}

MMRESULT CToneWaveApi::InPrepareHeader(HWAVEIN, WAVEHDR* header) { return Prepare(header, true); }
MMRESULT CToneWaveApi::InUnprepareHeader(HWAVEIN, WAVEHDR* header)
{
    return Prepare(header, false);
}
MMRESULT CToneWaveApi::InAddBuffer(HWAVEIN handle, WAVEHDR* header)
{
    return m_in.Queue(handle, header);
}
MMRESULT CToneWaveApi::InStart(HWAVEIN handle) { return m_in.Start(handle); }
MMRESULT CToneWaveApi::InReset(HWAVEIN handle) { return m_in.Reset(handle); }
MMRESULT CToneWaveApi::InClose(HWAVEIN handle) { return m_in.Close(handle); }

MMRESULT CToneWaveApi::OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps)
{
    if (id != 0)
        return MMSYSERR_BADDEVICEID;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    memset(caps, 0, sizeof *caps);
    strcpy(caps->szPname, "Test speaker");
    caps->wChannels = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT CToneWaveApi::OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format,
                               DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    if (id != 0 && id != WAVE_MAPPER)
        return MMSYSERR_BADDEVICEID;
    if (!handle)
        return MMSYSERR_INVALPARAM;
    MMRESULT r = m_out.Open(kOutHandle, format, callback, instance, flags);
    if (r != MMSYSERR_NOERROR)
        return r;
    // Playback runs from the open on, as the system's devices do.
    m_out.Start(kOutHandle);
    *handle = kOutHandle;
    return MMSYSERR_NOERROR;
}

MMRESULT CToneWaveApi::OutPrepareHeader(HWAVEOUT, WAVEHDR* header) { return Prepare(header, true); }
MMRESULT CToneWaveApi::OutUnprepareHeader(HWAVEOUT, WAVEHDR* header)
{
    return Prepare(header, false);
}
MMRESULT CToneWaveApi::OutWrite(HWAVEOUT handle, WAVEHDR* header)
{
    return m_out.Queue(handle, header);
}
MMRESULT CToneWaveApi::OutReset(HWAVEOUT handle) { return m_out.Reset(handle); }
MMRESULT CToneWaveApi::OutClose(HWAVEOUT handle) { return m_out.Close(handle); }
