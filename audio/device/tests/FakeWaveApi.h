#pragma once
#include <deque>
#include <string>
#include <vector>

#include "IWaveApi.h"

using namespace SonvexDevice;

// A sound card for the wave devices, driven by the test: buffers queued by
// the device wait here until the test records into them or finishes playing
// them, and the device's callback runs on the test's own thread.
class FakeWaveApi : public IWaveApi
{
public:
    std::vector<std::string> inNames{"Fake Microphone"};
    std::vector<std::string> outNames{"Fake Speakers"};
    MMRESULT inOpenResult = MMSYSERR_NOERROR;
    MMRESULT outOpenResult = MMSYSERR_NOERROR;
    MMRESULT inStartResult = MMSYSERR_NOERROR;
    int failInAddAfter = -1;  // the n-th waveInAddBuffer fails (from 0)
    DWORD clock = 1000;

    // Fills the oldest queued capture buffer and returns it to the device.
    bool Record(const std::vector<int16_t>& samples);
    bool RecordSilence() { return Record(std::vector<int16_t>(960, 0)); }
    // Returns the oldest written play buffer to the device; its samples are
    // appended to played.
    bool FinishPlaying();

    size_t QueuedIn() const { return m_in.size(); }
    size_t QueuedOut() const { return m_out.size(); }
    bool InOpen() const { return m_inOpen; }
    bool OutOpen() const { return m_outOpen; }
    int inOpens = 0, outOpens = 0;
    std::vector<int16_t> played;

    UINT InGetNumDevs() override { return static_cast<UINT>(inNames.size()); }
    MMRESULT InGetDevCaps(UINT device, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN) override { return inStartResult; }
    MMRESULT InReset(HWAVEIN) override;
    MMRESULT InClose(HWAVEIN) override;
    UINT OutGetNumDevs() override { return static_cast<UINT>(outNames.size()); }
    MMRESULT OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT) override;
    MMRESULT OutClose(HWAVEOUT) override;
    DWORD Now() override { return clock; }

private:
    typedef void(CALLBACK* Proc)(HANDLE, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);
    std::deque<WAVEHDR*> m_in, m_out;
    bool m_inOpen = false, m_outOpen = false;
    Proc m_inProc = nullptr, m_outProc = nullptr;
    DWORD_PTR m_inInstance = 0, m_outInstance = 0;
    int m_inAdds = 0;
};
