#pragma once
// The video library's exported functions, all cdecl.
#include <windows.h>

#include <cstdint>

#include "DravomNameList.h"

#ifdef DRAVOM_BUILD
#define DRAVOM_API extern "C" __declspec(dllexport)
#else
#define DRAVOM_API extern "C" __declspec(dllimport)
#endif

struct IMG_PROC_SETTING
{
    int32_t field[17];
};
static_assert(sizeof(IMG_PROC_SETTING) == 68, "seventeen words");

typedef void(__cdecl* T_RECORD_CALLBACK)(void* userData, const unsigned char* frame, int length);

DRAVOM_API void __cdecl T_EnableOverlay(int flag);
DRAVOM_API int __cdecl T_EnablePostProc(int flag);
DRAVOM_API int __cdecl T_GetDefImgProcSetting(IMG_PROC_SETTING* settings);
DRAVOM_API int __cdecl T_R_BindLocalPort(void* handle, uint32_t wordA, uint32_t wordB,
                                         uint32_t third, uint16_t* port);
DRAVOM_API void __cdecl T_R_OnEraseBk(void* handle);
DRAVOM_API int __cdecl T_R_SavePicture(void* handle, const char* argument);
DRAVOM_API int __cdecl T_R_SendTo(void* handle, const char* address, int port);
DRAVOM_API void __cdecl T_R_SetPreviewPos(void* handle, RECT rect);
DRAVOM_API void __cdecl T_R_SetRecord(void* handle, int flag, void* userData,
                                      T_RECORD_CALLBACK callback);
DRAVOM_API void __cdecl T_R_SetRender(void* handle, int value);
DRAVOM_API void* __cdecl T_R_StartPreview(WPARAM word, HWND window, UINT message);
DRAVOM_API void __cdecl T_R_StopPreview(void** handle);
DRAVOM_API void __cdecl T_R_StopReceive(void* handle);
DRAVOM_API int __cdecl T_S_GetVideoSource(CStringList* list);
DRAVOM_API int __cdecl T_S_OnEraseBk();
DRAVOM_API int __cdecl T_S_SavePicture(const char* argument);
DRAVOM_API void __cdecl T_S_SetBitRate(int kbitPerSecond);
DRAVOM_API void __cdecl T_S_SetPreviewPos(RECT rect);
DRAVOM_API void __cdecl T_S_SetRecord(int flag, void* userData, T_RECORD_CALLBACK callback);
DRAVOM_API int __cdecl T_S_SetRender(int value);
DRAVOM_API int __cdecl T_S_SetVideoSourceIndex(int index);
DRAVOM_API void __cdecl T_S_SetVideoWidth(int oldWidth, int newWidth);
DRAVOM_API void __cdecl T_S_ShowPropertyPage(HWND owner);
DRAVOM_API int __cdecl T_S_StartCapture(int device, int encoder, int encodeMode, int kbitPerSecond,
                                        int width, int height);
DRAVOM_API int __cdecl T_S_StartPreview(WPARAM word, HWND window, UINT message);
DRAVOM_API int __cdecl T_S_StartSend(uint32_t streamId, const char* address, int port);
DRAVOM_API void __cdecl T_S_StopCapture();
DRAVOM_API void __cdecl T_S_StopPreview();
DRAVOM_API void __cdecl T_S_StopSend();
DRAVOM_API int __cdecl T_SetImgProcSetting(const IMG_PROC_SETTING* settings);
DRAVOM_API int __cdecl T_TAKEDevices(CStringList* list);
DRAVOM_API int __cdecl T_TAKEEncoders(CStringList* list);
