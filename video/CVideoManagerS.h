#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CNamedThread.h"
#include "CVideoFrameQueue.h"
#include "CVideoRateControl.h"
#include "CVideoUdpSocket.h"
#include "IVideoEngine.h"

typedef void(__cdecl* DravomRecordCallback)(void* userData, const unsigned char* frame, int length);

// The send side: opens the camera through the engine, shows the local
// preview, queues every encoded frame behind the stream id and sends the
// queue from its own thread. Scales the engine's rate words by the width at
// which the picture is shown and adapts the bit rate when asked to.
//
// Locks: the capture lock guards the engine calls on the capture and its
// preview; the rate lock guards the parameter block, is held only for a copy
// or a change of it and never while the engine is called, since the engine
// may hold a lock of its own while it runs the frame callback, which takes
// the rate lock. The engine's thread never waits for the capture lock
// (closing the capture holds it while waiting for that thread): a rate
// change it cannot apply at once is applied with a later frame. The record
// lock guards the recording callback and its data: a callback in progress
// ends before SetRecord changes them.
class CVideoManagerS : public CNamedThread
{
public:
    enum { QUEUE_BUFFERS = 5, EXIT_CODE = 9090, MAX_ENTRY = VideoWire::MAX_FRAME };

    CVideoManagerS(IVideoEngine& engine, std::unique_ptr<IDatagramSocket> socket);
    ~CVideoManagerS() override;

    int StartCapture(int device, int encoder, int encodeMode, int kbitPerSecond, int width,
                     int height);
    int StartPreview(WPARAM word, HWND window, UINT message);
    void StopPreview();
    void SetPreviewPos(const RECT& rect);
    int SetRender(int value);
    int StartSend(uint32_t streamId, const char* address, int port);
    void StopSend();
    void StopCapture();
    void SetRecord(int flag, void* userData, DravomRecordCallback callback);
    void EnableOverlay(int flag);
    void ShowPropertyPage(HWND owner);
    int SetVideoSourceIndex(int index);
    int GetVideoSources(std::vector<std::string>& names);
    int SavePicture(const char* argument);
    void SetBitRate(int kbitPerSecond);
    void SetVideoWidth(int oldWidth, int newWidth);

    // The body of the engine's frame callback.
    int OnEncodedFrame(const uint8_t* frame, int length, int flag);
    static int __cdecl FrameCallback(void* context, const unsigned char* frame, int length,
                                     int flag);

    uint32_t Run() override;

    // For tests and benchmarks.
    CVideoFrameQueue& Queue() { return m_queue; }
    CVideoUdpSocket& Socket() { return m_socket; }
    DRAVO_CAPTURE_PARAMS GetParams();
    bool IsSending() const { return m_sending != 0; }
    bool IsPreviewActive() const { return m_previewActive != 0; }
    DRAVO_HANDLE GetCapture() const { return m_capture; }
    uint32_t GetFramesDropped() const { return m_framesDropped; }
    // The clock of the bit-rate adaptation; tests put their own in.
    void SetTickSource(uint32_t(__cdecl* tick)()) { m_tick = tick ? tick : &DefaultTick; }

private:
    static uint32_t __cdecl DefaultTick() { return GetTickCount(); }
    void SwitchEncoding();
    void ApplyParams();
    bool TryApplyParams();

    IVideoEngine& m_engine;
    CVideoFrameQueue m_queue;
    CVideoUdpSocket m_socket;
    volatile uint32_t m_sending = 0;
    CRITICAL_SECTION m_captureLock;
    CRITICAL_SECTION m_rateLock;
    CVideoRateControl m_rate;
    std::atomic<bool> m_applyPending{false};
    volatile DRAVO_HANDLE m_capture = 0;
    volatile uint32_t m_streamId = 0;

    DRAVO_HANDLE m_preview = 0;
    int m_overlay = 1;
    volatile uint32_t m_previewActive = 0;
    WPARAM m_previewWord = 0;
    HWND m_previewWindow = nullptr;
    UINT m_previewMessage = 0;
    RECT m_previewRect = {0, 0, 0, 0};
    int m_render = 1;

    CRITICAL_SECTION m_recordLock;
    void* m_recordUser = nullptr;
    volatile int m_recordFlag = 0;
    DravomRecordCallback m_recordCallback = nullptr;

    volatile uint32_t m_stopSend = 0;
    std::atomic<uint32_t> m_framesDropped{0};
    uint32_t(__cdecl* volatile m_tick)() = &DefaultTick;
};
