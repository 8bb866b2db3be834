#pragma once
#include <windows.h>

#include <cstdint>

#include "Dravo.h"

// The calls Dravom makes on the video engine, one method per engine
// function, so that tests can put a fake engine in its place.
class IVideoEngine
{
public:
    virtual ~IVideoEngine() = default;

    virtual int GetEncoderCount() = 0;
    virtual int GetEncoderName(int index, char* buffer, int size) = 0;
    virtual int GetDeviceCount() = 0;
    virtual int GetDeviceName(int index, char* buffer, int size) = 0;
    virtual int GetVideoSourceCount(DRAVO_HANDLE capture) = 0;
    virtual int GetVideoSourceName(DRAVO_HANDLE capture, int index, char* buffer, int size) = 0;

    virtual DRAVO_HANDLE OpenCapture(DRAVO_CAPTURE_PARAMS* params, void* context,
                                     DravoFrameCallback callback) = 0;
    virtual int SetCaptureOverlay(DRAVO_HANDLE capture, int flag) = 0;
    virtual int EnableEncode(DRAVO_HANDLE capture, int on) = 0;
    virtual int SetCaptureParams(DRAVO_HANDLE capture, DRAVO_CAPTURE_PARAMS* params) = 0;
    virtual int SetVideoSource(DRAVO_HANDLE capture, int index) = 0;
    virtual int ShowPropertyPage(DRAVO_HANDLE capture, HWND owner) = 0;
    virtual int CloseCapture(DRAVO_HANDLE* capture) = 0;

    virtual DRAVO_HANDLE StartPreview(DRAVO_HANDLE capture, HWND window) = 0;
    virtual int StopPreview(DRAVO_HANDLE capture, DRAVO_HANDLE preview) = 0;
    virtual int SetPreviewRender(DRAVO_HANDLE capture, DRAVO_HANDLE preview, int value) = 0;
    virtual int SetPreviewPos(DRAVO_HANDLE capture, DRAVO_HANDLE preview, const RECT* rect) = 0;
    virtual int SavePreviewPicture(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                   const char* argument) = 0;

    virtual DRAVO_HANDLE CreateRenderer(HWND window) = 0;
    virtual int SetRendererNotify(DRAVO_HANDLE renderer, HWND window, UINT message,
                                  WPARAM word) = 0;
    virtual int RenderFrame(DRAVO_HANDLE renderer, const uint8_t* frame, int length) = 0;
    virtual int SetRendererPos(DRAVO_HANDLE renderer, const RECT* rect) = 0;
    virtual int SetRender(DRAVO_HANDLE renderer, int value) = 0;
    virtual int EraseBackground(DRAVO_HANDLE renderer) = 0;
    virtual int SetRendererRecord(DRAVO_HANDLE renderer, int flag, void* userData,
                                  DravoRecordCallback callback) = 0;
    virtual int SaveRendererPicture(DRAVO_HANDLE renderer, const char* argument) = 0;
    virtual int DestroyRenderer(DRAVO_HANDLE renderer) = 0;

    virtual int EnableOverlay(int flag) = 0;
    virtual int EnablePostProc(int flag) = 0;
    virtual int SetImgProcSetting(const DRAVO_IMG_SETTINGS* settings) = 0;
    virtual int GetDefImgProcSetting(DRAVO_IMG_SETTINGS* settings) = 0;
};
