#pragma once
#include "CPacedWaveDevice.h"
#include "IWaveApi.h"

// The wave devices of a test run: one capture device that records a sine
// tone (continuous, or in bursts that start at every multiple of the period
// on the machine's performance clock, so that another process knows when a
// burst began), and one playback device that takes its blocks at the pace of
// real playback and discards them.
class CToneWaveApi : public AudioCommon::IWaveApi
{
public:
    struct Tone
    {
        double hz = 440;
        int amplitude = 8000;
        double burstMs = 0; // 0: continuous
        double periodMs = 0;
    };

    explicit CToneWaveApi(const Tone& tone);

    // Reads "hz[,amplitude[,burst ms,period ms]]"; false for anything else.
    static bool ParseTone(const char* text, Tone* tone);

    UINT InGetNumDevs() override { return 1; }
    MMRESULT InGetDevCaps(UINT id, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN handle) override;
    MMRESULT InReset(HWAVEIN handle) override;
    MMRESULT InClose(HWAVEIN handle) override;

    UINT OutGetNumDevs() override { return 1; }
    MMRESULT OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT handle) override;
    MMRESULT OutClose(HWAVEOUT handle) override;
    DWORD Now() override { return timeGetTime(); }

private:
    class ToneFiller : public CPacedWaveDevice::IFiller
    {
    public:
        explicit ToneFiller(const Tone& tone) : m_tone(tone) {}
        void Fill(WAVEHDR* header, const WAVEFORMATEX& format, double startMs) override;

    private:
        Tone m_tone;
    };

    ToneFiller m_filler;
    CPacedWaveDevice m_in;
    CPacedWaveDevice m_out;
};
