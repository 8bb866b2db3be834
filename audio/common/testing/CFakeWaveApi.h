#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "IWaveApi.h"

namespace AudioCommon {

// A sound card driven by the test, with one or more capture and playback
// devices. Capture buffers the device queues wait here until the test
// records into them; written play buffers wait until the test finishes
// playing them. The device's callback runs on the test's own thread, as a
// driver runs it on its own; every call is safe from any thread.
class CFakeWaveApi : public IWaveApi
{
public:
    // One name per device.
    std::vector<std::string> inNames{"Fake Microphone"};
    std::vector<std::string> outNames{"Fake Speakers"};
    // Opens at any other sample rate are refused; 0 takes every rate.
    DWORD requiredRate = 0;
    MMRESULT inOpenResult = MMSYSERR_NOERROR;
    MMRESULT outOpenResult = MMSYSERR_NOERROR;
    MMRESULT inStartResult = MMSYSERR_NOERROR;
    int failInAddAfter = -1; // the n-th waveInAddBuffer after an open fails (from 0)
    // A driver that never hands back a queued block, not even on reset;
    // closing it then forgets them.
    bool holdOnReset = false;
    DWORD clock = 1000; // Now(); each block recorded or played moves it 20 ms

    int inOpens = 0, outOpens = 0, inCloses = 0, outCloses = 0;
    // Calls the device made into the driver from inside its own callback.
    int callsFromCallback = 0;
    WAVEFORMATEX lastInFormat{};
    WAVEFORMATEX lastOutFormat{};

    // Fills the oldest queued capture buffer (cut to its size) and returns
    // it to the device; false when the device has none queued.
    bool DeliverCapture(const void* data, int length);
    bool Record(const std::vector<int16_t>& samples);
    bool RecordSilence() { return Record(std::vector<int16_t>(960, 0)); }
    // Returns the oldest written play buffer to the device; its samples are
    // added to PlayedSamples. False when none is written.
    bool CompletePlayed();

    // Waits (bounded) until at least n capture buffers are queued, or n play
    // buffers were written since the last open.
    bool WaitInQueued(size_t n, DWORD timeoutMs = 2000);
    bool WaitOutWritten(size_t n, DWORD timeoutMs = 2000);

    size_t QueuedIn();
    size_t QueuedOut();
    bool IsInOpen();
    bool IsOutOpen();
    // Every play buffer written since the last open, as written.
    std::vector<std::vector<uint8_t>> Written();
    // The samples of every play buffer the test finished playing.
    std::vector<int16_t> PlayedSamples();

    UINT InGetNumDevs() override;
    MMRESULT InGetDevCaps(UINT device, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN) override;
    MMRESULT InReset(HWAVEIN) override;
    MMRESULT InClose(HWAVEIN) override;

    UINT OutGetNumDevs() override;
    MMRESULT OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT) override;
    MMRESULT OutClose(HWAVEOUT) override;

    DWORD Now() override;

private:
    void CallIn(UINT message, WAVEHDR* header);
    void CallOut(UINT message, WAVEHDR* header);
    MMRESULT CheckOpen(UINT device, size_t devices, bool alreadyOpen,
                       const WAVEFORMATEX* format) const;

    std::recursive_mutex m_lock;
    bool m_inCallback = false;
    bool m_inOpen = false, m_outOpen = false;
    DWORD_PTR m_inProc = 0, m_inInstance = 0;
    DWORD_PTR m_outProc = 0, m_outInstance = 0;
    int m_inAdds = 0;
    std::deque<WAVEHDR*> m_inQueue;
    std::deque<WAVEHDR*> m_outQueue;
    std::vector<std::vector<uint8_t>> m_written;
    std::vector<int16_t> m_played;
    int m_tokenIn = 0, m_tokenOut = 0; // their addresses are the handles
};

} // namespace AudioCommon
