#include "CPacedWaveDevice.h"

#include <algorithm>
#include <chrono>

namespace {
typedef void(CALLBACK* DriverCallback)(void*, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);
}

CPacedWaveDevice::CPacedWaveDevice(UINT doneMessage, IFiller* filler)
    : m_doneMessage(doneMessage), m_filler(filler)
{}

CPacedWaveDevice::~CPacedWaveDevice() { Halt(); }

double CPacedWaveDevice::NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

MMRESULT CPacedWaveDevice::Open(void* handle, const WAVEFORMATEX* format, DWORD_PTR callback,
                                DWORD_PTR instance, DWORD flags)
{
    if (!format || format->wFormatTag != WAVE_FORMAT_PCM || format->nAvgBytesPerSec == 0 ||
        format->nBlockAlign == 0)
        return WAVERR_BADFORMAT;
    if ((flags & CALLBACK_TYPEMASK) != CALLBACK_FUNCTION || !callback)
        return MMSYSERR_INVALPARAM;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_handle)
        return MMSYSERR_ALLOCATED;
    m_handle = handle;
    m_format = *format;
    m_format.cbSize = 0;
    m_callback = callback;
    m_instance = instance;
    return MMSYSERR_NOERROR;
}

MMRESULT CPacedWaveDevice::Queue(void* handle, WAVEHDR* header)
{
    if (!header || !header->lpData || header->dwBufferLength == 0)
        return MMSYSERR_INVALPARAM;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_handle || handle != m_handle)
        return MMSYSERR_INVALHANDLE;
    header->dwFlags &= ~WHDR_DONE;
    header->dwFlags |= WHDR_INQUEUE;
    m_queue.push_back(header);
    m_signal.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT CPacedWaveDevice::Start(void* handle)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_handle || handle != m_handle)
        return MMSYSERR_INVALHANDLE;
    if (!m_running) {
        m_running = true;
        m_thread = std::thread([this] { Run(); });
    }
    return MMSYSERR_NOERROR;
}

void CPacedWaveDevice::Halt()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_running = false;
        m_signal.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

MMRESULT CPacedWaveDevice::Reset(void* handle)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_handle || handle != m_handle)
            return MMSYSERR_INVALHANDLE;
    }
    Halt();
    std::lock_guard<std::mutex> lock(m_lock);
    for (WAVEHDR* header : m_queue) {
        header->dwBytesRecorded = 0;
        header->dwFlags &= ~WHDR_INQUEUE;
        header->dwFlags |= WHDR_DONE;
    }
    m_queue.clear();
    return MMSYSERR_NOERROR;
}

MMRESULT CPacedWaveDevice::Close(void* handle)
{
    MMRESULT r = Reset(handle);
    if (r != MMSYSERR_NOERROR)
        return r;
    std::lock_guard<std::mutex> lock(m_lock);
    m_handle = nullptr;
    return MMSYSERR_NOERROR;
}

void CPacedWaveDevice::Run()
{
    // Each block ends one block duration after the one before; a block
    // queued late starts when it comes (the device ran dry meanwhile).
    double blockEnd = NowMs();
    std::unique_lock<std::mutex> lock(m_lock);
    while (m_running) {
        if (m_queue.empty()) {
            m_signal.wait_for(lock, std::chrono::milliseconds(20));
            blockEnd = std::max(blockEnd, NowMs());
            continue;
        }
        WAVEHDR* header = m_queue.front();
        const double duration = 1000.0 * header->dwBufferLength / m_format.nAvgBytesPerSec;
        const double start = std::max(blockEnd, NowMs() - duration);
        blockEnd = start + duration;
        for (;;) {
            double wait = blockEnd - NowMs();
            if (wait <= 0 || !m_running)
                break;
            m_signal.wait_for(lock, std::chrono::microseconds(static_cast<long long>(wait * 1000)));
        }
        if (!m_running || m_queue.empty() || m_queue.front() != header)
            continue;
        m_queue.pop_front();
        if (m_filler)
            m_filler->Fill(header, m_format, start);
        else
            header->dwBytesRecorded = header->dwBufferLength;
        header->dwFlags &= ~WHDR_INQUEUE;
        header->dwFlags |= WHDR_DONE;
        const DWORD_PTR callback = m_callback;
        const DWORD_PTR instance = m_instance;
        void* handle = m_handle;
        lock.unlock();
        reinterpret_cast<DriverCallback>(callback)(handle, m_doneMessage, instance,
                                                   reinterpret_cast<DWORD_PTR>(header), 0);
        lock.lock();
    }
}
