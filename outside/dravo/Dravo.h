#pragma once
// The video engine's interface as its callers see it: every function is
// exported by ordinal only and uses the cdecl convention. Handles are 32-bit
// values; 0 means failure or none.
#include <windows.h>

#include <cstdint>

#ifdef DRAVO_BUILD
#define DRAVO_API extern "C" __declspec(dllexport)
#else
#define DRAVO_API extern "C" __declspec(dllimport)
#endif

typedef uint32_t DRAVO_HANDLE;

// Called once per encoded frame while encoding is on: (context, frame,
// length, flag). A flag whose low byte is not 0 marks a frame that starts
// the picture afresh, so frames still waiting to be sent are worthless.
typedef int(__cdecl* DravoFrameCallback)(void* context, const unsigned char* frame, int length,
                                         int flag);
// The renderer's record hook: (user data, frame, length).
typedef void(__cdecl* DravoRecordCallback)(void* userData, const unsigned char* frame, int length);

// The capture parameter block: twelve 32-bit words, kept at one address by
// the caller while the capture is open.
struct DRAVO_CAPTURE_PARAMS
{
    int32_t device;
    int32_t width;
    int32_t height;
    int32_t input;
    int32_t encoder;
    int32_t encodeMode;
    int32_t rateValue; // frames per second
    int32_t percent;
    int32_t targetRate; // bit/s the encoder aims at
    int32_t rateValue2;
    int32_t configuredRate;
    int32_t currentRate;
};
static_assert(sizeof(DRAVO_CAPTURE_PARAMS) == 48, "twelve words");

// Image post-processing settings: seventeen 32-bit fields.
struct DRAVO_IMG_SETTINGS
{
    int32_t field[17];
};
static_assert(sizeof(DRAVO_IMG_SETTINGS) == 68, "seventeen words");

DRAVO_API int __cdecl Dravo_GetEncoderCount();
DRAVO_API int __cdecl Dravo_GetEncoderName(int index, char* buffer, int size);
DRAVO_API int __cdecl Dravo_GetDeviceCount();
DRAVO_API int __cdecl Dravo_GetDeviceName(int index, char* buffer, int size);
DRAVO_API DRAVO_HANDLE __cdecl Dravo_OpenCapture(DRAVO_CAPTURE_PARAMS* params, void* context,
                                                 DravoFrameCallback callback);
DRAVO_API int __cdecl Dravo_EnableEncode(DRAVO_HANDLE capture, int on);
DRAVO_API int __cdecl Dravo_SetCaptureParams(DRAVO_HANDLE capture, DRAVO_CAPTURE_PARAMS* params);
DRAVO_API int __cdecl Dravo_ShowPropertyPage(DRAVO_HANDLE capture, HWND owner);
DRAVO_API int __cdecl Dravo_GetVideoSourceCount(DRAVO_HANDLE capture);
DRAVO_API int __cdecl Dravo_GetVideoSourceName(DRAVO_HANDLE capture, int index, char* buffer,
                                               int size);
DRAVO_API int __cdecl Dravo_SetVideoSource(DRAVO_HANDLE capture, int index);
DRAVO_API int __cdecl Dravo_CloseCapture(DRAVO_HANDLE* capture);
DRAVO_API DRAVO_HANDLE __cdecl Dravo_StartPreview(DRAVO_HANDLE capture, HWND window);
DRAVO_API int __cdecl Dravo_StopPreview(DRAVO_HANDLE capture, DRAVO_HANDLE preview);
DRAVO_API int __cdecl Dravo_SetPreviewRender(DRAVO_HANDLE capture, DRAVO_HANDLE preview, int value);
DRAVO_API int __cdecl Dravo_SetPreviewPos(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                          const RECT* rect);
DRAVO_API int __cdecl Dravo_SetCaptureOverlay(DRAVO_HANDLE capture, int flag);
DRAVO_API int __cdecl Dravo_SavePreviewPicture(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                               const char* path);
DRAVO_API DRAVO_HANDLE __cdecl Dravo_CreateRenderer(HWND window);
DRAVO_API int __cdecl Dravo_RenderFrame(DRAVO_HANDLE renderer, const unsigned char* frame,
                                        int length);
DRAVO_API int __cdecl Dravo_SetRendererPos(DRAVO_HANDLE renderer, const RECT* rect);
DRAVO_API int __cdecl Dravo_SetRender(DRAVO_HANDLE renderer, int value);
DRAVO_API int __cdecl Dravo_EraseBackground(DRAVO_HANDLE renderer);
DRAVO_API int __cdecl Dravo_EnablePostProc(int flag);
DRAVO_API int __cdecl Dravo_SetImgProcSetting(const DRAVO_IMG_SETTINGS* settings);
DRAVO_API int __cdecl Dravo_GetDefImgProcSetting(DRAVO_IMG_SETTINGS* settings);
DRAVO_API int __cdecl Dravo_DestroyRenderer(DRAVO_HANDLE renderer);
DRAVO_API int __cdecl Dravo_EnableOverlay(int flag);
DRAVO_API int __cdecl Dravo_SetRendererNotify(DRAVO_HANDLE renderer, HWND window, UINT message,
                                              WPARAM word);
DRAVO_API int __cdecl Dravo_SetRendererRecord(DRAVO_HANDLE renderer, int flag, void* userData,
                                              DravoRecordCallback callback);
DRAVO_API int __cdecl Dravo_SaveRendererPicture(DRAVO_HANDLE renderer, const char* path);
