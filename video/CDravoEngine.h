#pragma once
#include "IVideoEngine.h"

// The video engine reached through its ordinal exports.
class CDravoEngine : public IVideoEngine
{
public:
    static CDravoEngine& Instance();

    int GetEncoderCount() override;
    int GetEncoderName(int index, char* buffer, int size) override;
    int GetDeviceCount() override;
    int GetDeviceName(int index, char* buffer, int size) override;
    int GetVideoSourceCount(DRAVO_HANDLE capture) override;
    int GetVideoSourceName(DRAVO_HANDLE capture, int index, char* buffer, int size) override;
    DRAVO_HANDLE OpenCapture(DRAVO_CAPTURE_PARAMS* params, void* context,
                             DravoFrameCallback callback) override;
    int SetCaptureOverlay(DRAVO_HANDLE capture, int flag) override;
    int EnableEncode(DRAVO_HANDLE capture, int on) override;
    int SetCaptureParams(DRAVO_HANDLE capture, DRAVO_CAPTURE_PARAMS* params) override;
    int SetVideoSource(DRAVO_HANDLE capture, int index) override;
    int ShowPropertyPage(DRAVO_HANDLE capture, HWND owner) override;
    int CloseCapture(DRAVO_HANDLE* capture) override;
    DRAVO_HANDLE StartPreview(DRAVO_HANDLE capture, HWND window) override;
    int StopPreview(DRAVO_HANDLE capture, DRAVO_HANDLE preview) override;
    int SetPreviewRender(DRAVO_HANDLE capture, DRAVO_HANDLE preview, int value) override;
    int SetPreviewPos(DRAVO_HANDLE capture, DRAVO_HANDLE preview, const RECT* rect) override;
    int SavePreviewPicture(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                           const char* argument) override;
    DRAVO_HANDLE CreateRenderer(HWND window) override;
    int SetRendererNotify(DRAVO_HANDLE renderer, HWND window, UINT message, WPARAM word) override;
    int RenderFrame(DRAVO_HANDLE renderer, const uint8_t* frame, int length) override;
    int SetRendererPos(DRAVO_HANDLE renderer, const RECT* rect) override;
    int SetRender(DRAVO_HANDLE renderer, int value) override;
    int EraseBackground(DRAVO_HANDLE renderer) override;
    int SetRendererRecord(DRAVO_HANDLE renderer, int flag, void* userData,
                          DravoRecordCallback callback) override;
    int SaveRendererPicture(DRAVO_HANDLE renderer, const char* argument) override;
    int DestroyRenderer(DRAVO_HANDLE renderer) override;
    int EnableOverlay(int flag) override;
    int EnablePostProc(int flag) override;
    int SetImgProcSetting(const DRAVO_IMG_SETTINGS* settings) override;
    int GetDefImgProcSetting(DRAVO_IMG_SETTINGS* settings) override;
};
