#pragma once
// The audio manager's and the video library's functions as the settings
// dialogs call them, through the bound table (an unbound entry is a failed
// call, see VideoCalls.h).
#include "AudioManagerApi.h"
#include "VideoCalls.h"

#include <cstdint>

class CStringList;

// The image post-processing record of the video library: 17 words.
struct IMG_PROC_SETTING
{
    int32_t field[17];
};
static_assert(sizeof(IMG_PROC_SETTING) == 68, "IMG_PROC_SETTING is 68 bytes");

typedef int(__cdecl* PFN_T_TAKEDevices)(CStringList* list);
typedef int(__cdecl* PFN_T_TAKEEncoders)(CStringList* list);
typedef int(__cdecl* PFN_T_S_GetVideoSource)(CStringList* list);
typedef int(__cdecl* PFN_T_EnablePostProc)(int flag);
typedef void(__cdecl* PFN_T_EnableOverlay)(int flag);
typedef int(__cdecl* PFN_T_GetDefImgProcSetting)(IMG_PROC_SETTING* settings);
typedef int(__cdecl* PFN_T_SetImgProcSetting)(const IMG_PROC_SETTING* settings);
typedef int(__cdecl* PFN_T_S_StartCapture)(int device, int encoder, int mode, int kbit, int width,
                                           int height);
typedef void(__cdecl* PFN_T_S_SetBitRate)(int kbit);
typedef int(__cdecl* PFN_T_S_SetVideoSourceIndex)(int index);
typedef int(__cdecl* PFN_RV_AddAudio)(uint32_t user);
