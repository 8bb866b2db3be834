#pragma once
// The video library's and the recorder's functions as the client calls them:
// through the table that start-up binds (g_MediaFunctions). An entry that is
// not bound counts as a failed call (0) or does nothing, so a window never
// jumps through a null pointer.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>

#include "MediaFunctionList.h"

typedef void(__cdecl* PFN_VIDEO_RECORD_CALLBACK)(void* userData, const unsigned char* frame,
                                                 int length);

typedef int(__cdecl* PFN_T_S_StartPreview)(WPARAM word, HWND window, UINT message);
typedef void(__cdecl* PFN_T_S_SetPreviewPos)(RECT rect);
typedef void(__cdecl* PFN_T_S_StopPreview)();
typedef int(__cdecl* PFN_T_S_OnEraseBk)();
typedef void(__cdecl* PFN_T_S_SetRecord)(int flag, void* userData,
                                         PFN_VIDEO_RECORD_CALLBACK callback);
typedef int(__cdecl* PFN_T_S_SavePicture)(const char* path);
typedef void(__cdecl* PFN_T_S_ShowPropertyPage)(HWND owner);
typedef void*(__cdecl* PFN_T_R_StartPreview)(WPARAM word, HWND window, UINT message);
typedef int(__cdecl* PFN_T_R_BindLocalPort)(void* handle, uint32_t wordA, uint32_t wordB,
                                            uint32_t third, uint16_t* port);
typedef void(__cdecl* PFN_T_R_SetPreviewPos)(void* handle, RECT rect);
typedef void(__cdecl* PFN_T_R_StopPreview)(void** handle);
typedef void(__cdecl* PFN_T_R_OnEraseBk)(void* handle);
typedef void(__cdecl* PFN_T_R_SetRecord)(void* handle, int flag, void* userData,
                                         PFN_VIDEO_RECORD_CALLBACK callback);
typedef int(__cdecl* PFN_T_R_SendTo)(void* handle, const char* address, int port);
typedef int(__cdecl* PFN_T_R_SavePicture)(void* handle, const char* path);

typedef int(__cdecl* PFN_RV_WriteVideoData)(const void* frame, int length, uint32_t videoId);
typedef int(__cdecl* PFN_RV_VideoId)(uint32_t videoId);
typedef PFN_RV_VideoId PFN_RV_AddVideo;
typedef PFN_RV_VideoId PFN_RV_DelVideo;
typedef PFN_RV_VideoId PFN_RV_MainVideo;
typedef PFN_RV_VideoId PFN_RV_LastVideo;
typedef int(__cdecl* PFN_RV_FullVideo)(uint32_t videoId, uint8_t flag);

// A bound function of the table, or null.
template <class T>
inline T MediaFunction(int index)
{
    return g_MediaFunctions.Get<T>(index);
}

#define MEDIA_CALL(name, fallback, ...)                                                            \
    (MediaFunction<PFN_##name>(MF_##name) ? MediaFunction<PFN_##name>(MF_##name)(__VA_ARGS__)      \
                                          : fallback)
#define MEDIA_CALL_VOID(name, ...)                                                                 \
    do {                                                                                           \
        if (PFN_##name f_ = MediaFunction<PFN_##name>(MF_##name))                                  \
            f_(__VA_ARGS__);                                                                       \
    } while (0)
