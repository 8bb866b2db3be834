#include "CDravoEngine.h"

CDravoEngine& CDravoEngine::Instance()
{
    static CDravoEngine engine;
    return engine;
}

int CDravoEngine::GetEncoderCount() { return Dravo_GetEncoderCount(); }

int CDravoEngine::GetEncoderName(int index, char* buffer, int size)
{
    return Dravo_GetEncoderName(index, buffer, size);
}

int CDravoEngine::GetDeviceCount() { return Dravo_GetDeviceCount(); }

int CDravoEngine::GetDeviceName(int index, char* buffer, int size)
{
    return Dravo_GetDeviceName(index, buffer, size);
}

int CDravoEngine::GetVideoSourceCount(DRAVO_HANDLE capture)
{
    return Dravo_GetVideoSourceCount(capture);
}

int CDravoEngine::GetVideoSourceName(DRAVO_HANDLE capture, int index, char* buffer, int size)
{
    return Dravo_GetVideoSourceName(capture, index, buffer, size);
}

DRAVO_HANDLE CDravoEngine::OpenCapture(DRAVO_CAPTURE_PARAMS* params, void* context,
                                       DravoFrameCallback callback)
{
    return Dravo_OpenCapture(params, context, callback);
}

int CDravoEngine::SetCaptureOverlay(DRAVO_HANDLE capture, int flag)
{
    return Dravo_SetCaptureOverlay(capture, flag);
}

int CDravoEngine::EnableEncode(DRAVO_HANDLE capture, int on)
{
    return Dravo_EnableEncode(capture, on);
}

int CDravoEngine::SetCaptureParams(DRAVO_HANDLE capture, DRAVO_CAPTURE_PARAMS* params)
{
    return Dravo_SetCaptureParams(capture, params);
}

int CDravoEngine::SetVideoSource(DRAVO_HANDLE capture, int index)
{
    return Dravo_SetVideoSource(capture, index);
}

int CDravoEngine::ShowPropertyPage(DRAVO_HANDLE capture, HWND owner)
{
    return Dravo_ShowPropertyPage(capture, owner);
}

int CDravoEngine::CloseCapture(DRAVO_HANDLE* capture) { return Dravo_CloseCapture(capture); }

DRAVO_HANDLE CDravoEngine::StartPreview(DRAVO_HANDLE capture, HWND window)
{
    return Dravo_StartPreview(capture, window);
}

int CDravoEngine::StopPreview(DRAVO_HANDLE capture, DRAVO_HANDLE preview)
{
    return Dravo_StopPreview(capture, preview);
}

int CDravoEngine::SetPreviewRender(DRAVO_HANDLE capture, DRAVO_HANDLE preview, int value)
{
    return Dravo_SetPreviewRender(capture, preview, value);
}

int CDravoEngine::SetPreviewPos(DRAVO_HANDLE capture, DRAVO_HANDLE preview, const RECT* rect)
{
    return Dravo_SetPreviewPos(capture, preview, rect);
}

int CDravoEngine::SavePreviewPicture(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                     const char* argument)
{
    return Dravo_SavePreviewPicture(capture, preview, argument);
}

DRAVO_HANDLE CDravoEngine::CreateRenderer(HWND window) { return Dravo_CreateRenderer(window); }

int CDravoEngine::SetRendererNotify(DRAVO_HANDLE renderer, HWND window, UINT message, WPARAM word)
{
    return Dravo_SetRendererNotify(renderer, window, message, word);
}

int CDravoEngine::RenderFrame(DRAVO_HANDLE renderer, const uint8_t* frame, int length)
{
    return Dravo_RenderFrame(renderer, frame, length);
}

int CDravoEngine::SetRendererPos(DRAVO_HANDLE renderer, const RECT* rect)
{
    return Dravo_SetRendererPos(renderer, rect);
}

int CDravoEngine::SetRender(DRAVO_HANDLE renderer, int value)
{
    return Dravo_SetRender(renderer, value);
}

int CDravoEngine::EraseBackground(DRAVO_HANDLE renderer) { return Dravo_EraseBackground(renderer); }

int CDravoEngine::SetRendererRecord(DRAVO_HANDLE renderer, int flag, void* userData,
                                    DravoRecordCallback callback)
{
    return Dravo_SetRendererRecord(renderer, flag, userData, callback);
}

int CDravoEngine::SaveRendererPicture(DRAVO_HANDLE renderer, const char* argument)
{
    return Dravo_SaveRendererPicture(renderer, argument);
}

int CDravoEngine::DestroyRenderer(DRAVO_HANDLE renderer) { return Dravo_DestroyRenderer(renderer); }

int CDravoEngine::EnableOverlay(int flag) { return Dravo_EnableOverlay(flag); }

int CDravoEngine::EnablePostProc(int flag) { return Dravo_EnablePostProc(flag); }

int CDravoEngine::SetImgProcSetting(const DRAVO_IMG_SETTINGS* settings)
{
    return Dravo_SetImgProcSetting(settings);
}

int CDravoEngine::GetDefImgProcSetting(DRAVO_IMG_SETTINGS* settings)
{
    return Dravo_GetDefImgProcSetting(settings);
}
