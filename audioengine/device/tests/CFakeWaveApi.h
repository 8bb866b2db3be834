#pragma once
#include <deque>
#include <mutex>
#include <vector>

#include "IWaveApi.h"

using namespace RavoTDevice;

// A wave driver driven by the test: one capture and one playback device.
// Recorded blocks arrive when the test delivers them; played blocks return
// when the test completes them. Callbacks run on the test's thread, as a
// driver runs them on its own.
class CFakeWaveApi : public IWaveApi
{
public:
    // Fills the oldest queued capture header and returns it to the callback;
    // false when the driver has no buffer queued.
    bool DeliverCapture(const void* data, int length);
    // Returns the oldest written playback header; false when none is queued.
    bool CompletePlayed();
    // Waits (bounded) until at least n headers are queued for capture or
    // written for playback.
    bool WaitInQueued(size_t n, DWORD timeoutMs = 2000);
    bool WaitOutWritten(size_t n, DWORD timeoutMs = 2000);

    size_t InQueued();
    std::vector<std::vector<uint8_t>> Played();

    bool failInOpen = false;
    bool failOutOpen = false;
    // A driver that never hands back a queued block, not even on reset.
    bool holdOnReset = false;
    UINT inDevices = 1, outDevices = 1;
    const char* deviceName = "Fake Wave Device";
    int inOpens = 0, outOpens = 0, inCloses = 0, outCloses = 0;
    int callsFromCallback = 0;

    UINT InGetNumDevs() override { return inDevices; }
    MMRESULT InGetDevCaps(UINT id, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN) override { return MMSYSERR_NOERROR; }
    MMRESULT InReset(HWAVEIN) override;
    MMRESULT InClose(HWAVEIN) override;

    UINT OutGetNumDevs() override { return outDevices; }
    MMRESULT OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT) override;
    MMRESULT OutClose(HWAVEOUT) override;

    WAVEFORMATEX lastInFormat{};
    WAVEFORMATEX lastOutFormat{};

private:
    void CallIn(UINT message, WAVEHDR* header);
    void CallOut(UINT message, WAVEHDR* header);

    std::recursive_mutex m_lock;
    bool m_inCallback = false;
    DWORD_PTR m_inCallbackFn = 0, m_inInstance = 0;
    DWORD_PTR m_outCallbackFn = 0, m_outInstance = 0;
    bool m_inOpen = false, m_outOpen = false;
    std::deque<WAVEHDR*> m_inQueue;
    std::deque<WAVEHDR*> m_outQueue;
    std::vector<std::vector<uint8_t>> m_played;
    int m_tokenIn = 0, m_tokenOut = 0;
};
