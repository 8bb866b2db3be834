#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "IVideoEngine.h"

// A video engine for tests: hands out handles, records the calls made on it
// and the parameter blocks it was given, and lets the test play the
// engine's thread by calling the frame callback itself. CloseCapture runs
// the onClose hook (inside the caller's locks) before it returns.
class CFakeEngine : public IVideoEngine
{
public:
    CFakeEngine() { InitializeCriticalSection(&m_lock); }
    ~CFakeEngine() override { DeleteCriticalSection(&m_lock); }

    // Settings.
    std::vector<std::string> devices{"Camera A", "Camera B"};
    std::vector<std::string> encoders{"Codec"};
    std::vector<std::string> sources{"In 1", "", "In 3"}; // "" fails
    bool failOpen = false;
    bool failRenderer = false;
    std::function<void()> onClose;

    // What happened.
    DRAVO_CAPTURE_PARAMS* params = nullptr;
    void* context = nullptr;
    DravoFrameCallback callback = nullptr;
    DRAVO_HANDLE capture = 0;
    std::vector<DRAVO_CAPTURE_PARAMS> applied; // every block given to 5 and 7
    std::vector<std::string> calls;
    std::atomic<int> encode{-1};
    std::vector<std::vector<uint8_t>> rendered;
    RECT previewRect{0, 0, 0, 0};
    int previewRender = -1;

    int Frame(const std::vector<uint8_t>& frame, int flag = 0)
    {
        return callback(context, frame.data(), static_cast<int>(frame.size()), flag);
    }
    // A frame delivered the way many engines do it: under the engine's own
    // lock, the one its SetCaptureParams takes.
    int LockedFrame(const std::vector<uint8_t>& frame, int flag = 0)
    {
        EnterCriticalSection(&m_lock);
        const int n = Frame(frame, flag);
        LeaveCriticalSection(&m_lock);
        return n;
    }
    bool Called(const std::string& name) const;
    size_t Count(const std::string& name) const;

    int GetEncoderCount() override { return static_cast<int>(encoders.size()); }
    int GetEncoderName(int index, char* buffer, int size) override;
    int GetDeviceCount() override { return static_cast<int>(devices.size()); }
    int GetDeviceName(int index, char* buffer, int size) override;
    int GetVideoSourceCount(DRAVO_HANDLE c) override
    {
        return c ? static_cast<int>(sources.size()) : 0;
    }
    int GetVideoSourceName(DRAVO_HANDLE c, int index, char* buffer, int size) override;

    DRAVO_HANDLE OpenCapture(DRAVO_CAPTURE_PARAMS* p, void* ctx, DravoFrameCallback cb) override;
    int SetCaptureOverlay(DRAVO_HANDLE, int) override { return Log("SetCaptureOverlay"); }
    int EnableEncode(DRAVO_HANDLE, int on) override;
    int SetCaptureParams(DRAVO_HANDLE c, DRAVO_CAPTURE_PARAMS* p) override;
    int SetVideoSource(DRAVO_HANDLE c, int index) override
    {
        Log("SetVideoSource");
        return c ? 7 : 0;
    }
    int ShowPropertyPage(DRAVO_HANDLE, HWND) override { return Log("ShowPropertyPage"); }
    int CloseCapture(DRAVO_HANDLE* c) override;

    DRAVO_HANDLE StartPreview(DRAVO_HANDLE c, HWND) override
    {
        Log("StartPreview");
        return c ? 0x200 : 0;
    }
    int StopPreview(DRAVO_HANDLE, DRAVO_HANDLE) override { return Log("StopPreview"); }
    int SetPreviewRender(DRAVO_HANDLE, DRAVO_HANDLE, int value) override;
    int SetPreviewPos(DRAVO_HANDLE, DRAVO_HANDLE, const RECT* rect) override;
    int SavePreviewPicture(DRAVO_HANDLE, DRAVO_HANDLE, const char*) override
    {
        Log("SavePreviewPicture");
        return 42;
    }

    DRAVO_HANDLE CreateRenderer(HWND) override
    {
        Log("CreateRenderer");
        return failRenderer ? 0 : 0x300;
    }
    int SetRendererNotify(DRAVO_HANDLE, HWND, UINT, WPARAM) override
    {
        return Log("SetRendererNotify");
    }
    int RenderFrame(DRAVO_HANDLE, const uint8_t* frame, int length) override;
    int SetRendererPos(DRAVO_HANDLE, const RECT*) override { return Log("SetRendererPos"); }
    int SetRender(DRAVO_HANDLE, int) override { return Log("SetRender"); }
    int EraseBackground(DRAVO_HANDLE) override { return Log("EraseBackground"); }
    int SetRendererRecord(DRAVO_HANDLE, int, void*, DravoRecordCallback) override
    {
        return Log("SetRendererRecord");
    }
    int SaveRendererPicture(DRAVO_HANDLE, const char*) override
    {
        Log("SaveRendererPicture");
        return 43;
    }
    int DestroyRenderer(DRAVO_HANDLE) override { return Log("DestroyRenderer"); }

    int EnableOverlay(int) override { return Log("EnableOverlay"); }
    int EnablePostProc(int) override { return Log("EnablePostProc"); }
    int SetImgProcSetting(const DRAVO_IMG_SETTINGS*) override { return Log("SetImgProcSetting"); }
    int GetDefImgProcSetting(DRAVO_IMG_SETTINGS*) override { return Log("GetDefImgProcSetting"); }

private:
    int Log(const char* name);
    CRITICAL_SECTION m_lock;
};
