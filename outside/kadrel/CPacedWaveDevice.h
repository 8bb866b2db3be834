#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// A wave device without hardware: it hands back the blocks queued to it at
// the pace of its format, as a sound card would, and tells the owner's
// driver callback (CALLBACK_FUNCTION) with doneMessage. A capture device
// fills each block through its filler before handing it back.
class CPacedWaveDevice
{
public:
    // Fills a capture block whose first sample lies at startMs on the
    // machine's performance clock.
    class IFiller
    {
    public:
        virtual ~IFiller() = default;
        virtual void Fill(WAVEHDR* header, const WAVEFORMATEX& format, double startMs) = 0;
    };

    CPacedWaveDevice(UINT doneMessage, IFiller* filler);
    ~CPacedWaveDevice();

    CPacedWaveDevice(const CPacedWaveDevice&) = delete;
    CPacedWaveDevice& operator=(const CPacedWaveDevice&) = delete;

    // MMSYSERR_ALLOCATED while open; only PCM formats and function callbacks.
    MMRESULT Open(void* handle, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                  DWORD flags);
    MMRESULT Queue(void* handle, WAVEHDR* header);
    MMRESULT Start(void* handle);
    // Stops the pace and hands every queued block back as done.
    MMRESULT Reset(void* handle);
    MMRESULT Close(void* handle);

    // The performance clock in milliseconds.
    static double NowMs();

private:
    void Run();
    void Halt();

    const UINT m_doneMessage;
    IFiller* m_filler;
    std::mutex m_lock;
    std::condition_variable m_signal;
    std::deque<WAVEHDR*> m_queue;
    std::thread m_thread;
    bool m_running = false;
    void* m_handle = nullptr;
    WAVEFORMATEX m_format = {};
    DWORD_PTR m_callback = 0;
    DWORD_PTR m_instance = 0;
};
