#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "Dravo.h"

// Decodes frames and draws them into one window of the caller's. A frame
// may arrive with or without a 4-byte stream id in front. The notify
// message is posted, never sent, so that a thread rendering here can never
// wait for the window's own thread: value 0 after each picture, and once a
// second the rate of the frames taken, in kbit/s, in the value's high word.
class CDravoRenderer
{
public:
    enum { RATE_WINDOW_MS = 1000 };

    explicit CDravoRenderer(HWND window);
    ~CDravoRenderer();

    CDravoRenderer(const CDravoRenderer&) = delete;
    CDravoRenderer& operator=(const CDravoRenderer&) = delete;

    void SetNotify(HWND window, UINT message, WPARAM word);
    void SetRecord(int flag, void* userData, DravoRecordCallback callback);
    bool Render(const uint8_t* frame, int length);
    void SetRect(const RECT& rect);
    void SetRender(int value);
    bool EraseBackground();
    bool Save(const char* path);

    // The frame number of the last picture shown, -1 before the first.
    int32_t GetLastFrameNumber() const { return m_lastNumber; }

private:
    // Counts a frame's bytes; the notice of the rate once a window is full.
    void CountRate(int length);

    HWND m_window;
    CRITICAL_SECTION m_lock;
    HWND m_notifyWindow = nullptr;
    UINT m_notifyMessage = 0;
    WPARAM m_notifyWord = 0;
    int m_recordFlag = 0;
    void* m_recordUser = nullptr;
    DravoRecordCallback m_recordCallback = nullptr;
    RECT m_rect = {0, 0, 0, 0};
    int m_render = 1;
    std::vector<uint8_t> m_picture;
    // A frame is decoded here and becomes the picture only once it decoded
    // whole, so a bad frame leaves the last picture and its size together.
    std::vector<uint8_t> m_decoded;
    int m_width = 0;
    int m_height = 0;
    volatile int32_t m_lastNumber = -1;
    DWORD m_rateStart = 0;
    uint64_t m_rateBytes = 0;
    bool m_rateRunning = false;
};
