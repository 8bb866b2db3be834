#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "IDirectSoundApi.h"

using namespace SonvexDevice;

// Looping DirectSound buffers driven by the test: the test moves the cursors
// and the buffer signals the notification positions it passes, waking the
// device's thread as the real buffer would.
class FakeDsRing
{
public:
    FakeDsRing(DWORD bytes) : m_data(bytes, 0) {}
    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions);
    HRESULT Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2);
    DWORD Size() const { return static_cast<DWORD>(m_data.size()); }
    // Signals the notification event without moving a cursor.
    void NotifyNow()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_positions.empty())
            SetEvent(m_positions[0].hEventNotify);
    }

protected:
    void Signal(DWORD from, DWORD to); // positions in [from, to), ring order
    std::mutex m_mutex;
    std::vector<char> m_data;
    std::vector<DSBPOSITIONNOTIFY> m_positions;
};

class FakeDsCaptureBuffer : public IDsCaptureBuffer, public FakeDsRing
{
public:
    explicit FakeDsCaptureBuffer(DWORD bytes, FakeDsCaptureBuffer** live)
        : FakeDsRing(bytes), m_live(live)
    {}
    ~FakeDsCaptureBuffer() override
    {
        if (m_live)
            *m_live = nullptr;
    }
    // Records samples at the read cursor and moves it on.
    void Capture(const std::vector<int16_t>& samples);
    bool started = false;

    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override
    {
        return FakeDsRing::SetNotificationPositions(count, positions);
    }
    HRESULT Start(DWORD) override
    {
        started = true;
        return DS_OK;
    }
    HRESULT Stop() override
    {
        started = false;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(DWORD* capture, DWORD* read) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2) override
    {
        return FakeDsRing::Lock(offset, bytes, p1, n1, p2, n2);
    }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DS_OK; }

private:
    FakeDsCaptureBuffer** m_live;
    DWORD m_read = 0;
};

class FakeDsPlayBuffer : public IDsPlayBuffer, public FakeDsRing
{
public:
    explicit FakeDsPlayBuffer(DWORD bytes, FakeDsPlayBuffer** live)
        : FakeDsRing(bytes), m_live(live)
    {}
    ~FakeDsPlayBuffer() override
    {
        if (m_live)
            *m_live = nullptr;
    }
    // Plays bytes from the play cursor: they are appended to played.
    void Advance(DWORD bytes);
    std::vector<int16_t> played;
    bool playing = false;
    DWORD writeLead = 320; // write cursor ahead of the play cursor

    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override
    {
        return FakeDsRing::SetNotificationPositions(count, positions);
    }
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT Play(DWORD) override
    {
        playing = true;
        return DS_OK;
    }
    HRESULT Stop() override
    {
        playing = false;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** p1, DWORD* n1, void** p2, DWORD* n2) override
    {
        return FakeDsRing::Lock(offset, bytes, p1, n1, p2, n2);
    }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DS_OK; }

private:
    FakeDsPlayBuffer** m_live;
    DWORD m_play = 0;
};

class FakeDirectSound : public IDirectSoundApi
{
public:
    struct Device
    {
        bool primary; // enumerated without a GUID
        GUID guid;
        std::string description;
    };
    std::vector<Device> captureDevices;
    std::vector<Device> playDevices;
    HRESULT captureResult = DS_OK;
    HRESULT playResult = DS_OK;
    GUID lastCaptureGuid = {};
    GUID lastPlayGuid = {};
    FakeDsCaptureBuffer* capture = nullptr; // the open buffers, null when none
    FakeDsPlayBuffer* play = nullptr;

    FakeDirectSound();
    HRESULT EnumerateCapture(LPDSENUMCALLBACKA callback, void* context) override;
    HRESULT EnumeratePlay(LPDSENUMCALLBACKA callback, void* context) override;
    HRESULT OpenCapture(const GUID* device, const WAVEFORMATEX* format, DWORD bufferBytes,
                        IDsCaptureBuffer** buffer) override;
    HRESULT OpenPlay(const GUID* device, HWND window, const WAVEFORMATEX* format, DWORD bufferBytes,
                     DWORD flags, IDsPlayBuffer** buffer) override;
};
