#pragma once
#include "AudioManagerApi.h"

// The 99 functions that start-up binds from the three media libraries, in
// binding order: X(library, name, exported name).
#define MEDIA_FUNCTION_LIST(X)                                                                     \
    X(MEDIA_KADREL, AUDIO_MGR_Init, "AUDIO_MGR_Init")                                              \
    X(MEDIA_KADREL, AUDIO_MGR_Release, "AUDIO_MGR_Release")                                        \
    X(MEDIA_KADREL, AUDIO_MGR_GetCapDevicesCount, "AUDIO_MGR_GetCapDevicesCount")                  \
    X(MEDIA_KADREL, AUDIO_MGR_GetCapDeviceName, "AUDIO_MGR_GetCapDeviceName")                      \
    X(MEDIA_KADREL, AUDIO_MGR_GetEncodeFormatCount, "AUDIO_MGR_GetEncodeFormatCount")              \
    X(MEDIA_KADREL, AUDIO_MGR_GetEncodeFormatName, "AUDIO_MGR_GetEncodeFormatName")                \
    X(MEDIA_KADREL, AUDIO_MGR_GetPlayDevicesCount, "AUDIO_MGR_GetPlayDevicesCount")                \
    X(MEDIA_KADREL, AUDIO_MGR_GetPlayDeviceName, "AUDIO_MGR_GetPlayDeviceName")                    \
    X(MEDIA_KADREL, AUDIO_MGR_StartCapture, "AUDIO_MGR_StartCapture")                              \
    X(MEDIA_KADREL, AUDIO_MGR_StopCapture, "AUDIO_MGR_StopCapture")                                \
    X(MEDIA_KADREL, AUDIO_MGR_SetAEC, "AUDIO_MGR_SetAEC")                                          \
    X(MEDIA_KADREL, AUDIO_MGR_AutoSetFEC, "AUDIO_MGR_AutoSetFEC")                                  \
    X(MEDIA_KADREL, AUDIO_MGR_SetVolumeControl, "AUDIO_MGR_SetVolumeControl")                      \
    X(MEDIA_KADREL, AUDIO_MGR_StartPlay, "AUDIO_MGR_StartPlay")                                    \
    X(MEDIA_KADREL, AUDIO_MGR_StopPlay, "AUDIO_MGR_StopPlay")                                      \
    X(MEDIA_KADREL, AUDIO_MGR_GetPlayEnergy, "AUDIO_MGR_GetPlayEnergy")                            \
    X(MEDIA_KADREL, AUDIO_MGR_Connect, "AUDIO_MGR_Connect")                                        \
    X(MEDIA_KADREL, AUDIO_MGR_SetSendAudio, "AUDIO_MGR_SetSendAudio")                              \
    X(MEDIA_KADREL, AUDIO_MGR_Disconnect, "AUDIO_MGR_Disconnect")                                  \
    X(MEDIA_KADREL, AUDIO_MGR_SetPlayLocal, "AUDIO_MGR_SetPlayLocal")                              \
    X(MEDIA_KADREL, AUDIO_MGR_SetRecord, "AUDIO_MGR_SetRecord")                                    \
    X(MEDIA_KADREL, AUDIO_MGR_Processer_SetParam, AUDIO_MGR_SETPARAM_EXPORT)                       \
    X(MEDIA_KADREL, AUDIO_MGR_Processer_GetParam, AUDIO_MGR_GETPARAM_EXPORT)                       \
    X(MEDIA_KADREL, AUDIO_MGR_AddSource, "AUDIO_MGR_AddSource")                                    \
    X(MEDIA_KADREL, AUDIO_MGR_DelSource, "AUDIO_MGR_DelSource")                                    \
    X(MEDIA_KADREL, AUDIO_MGR_SourceIsExist, "AUDIO_MGR_SourceIsExist")                            \
    X(MEDIA_KADREL, AUDIO_MGR_SetSourceVolume, "AUDIO_MGR_SetSourceVolume")                        \
    X(MEDIA_KADREL, AUDIO_MGR_GetSourceVolume, "AUDIO_MGR_GetSourceVolume")                        \
    X(MEDIA_KADREL, AUDIO_MGR_GetSourceEnergy, "AUDIO_MGR_GetSourceEnergy")                        \
    X(MEDIA_KADREL, AUDIO_MGR_GetPlayFormat, "AUDIO_MGR_GetPlayFormat")                            \
    X(MEDIA_KADREL, AUDIO_MGR_SetPlayCallback, "AUDIO_MGR_SetPlayCallback")                        \
    X(MEDIA_DRAVOM, T_TAKEDevices, "T_TAKEDevices")                                                \
    X(MEDIA_DRAVOM, T_TAKEEncoders, "T_TAKEEncoders")                                              \
    X(MEDIA_DRAVOM, T_EnablePostProc, "T_EnablePostProc")                                          \
    X(MEDIA_DRAVOM, T_SetImgProcSetting, "T_SetImgProcSetting")                                    \
    X(MEDIA_DRAVOM, T_GetDefImgProcSetting, "T_GetDefImgProcSetting")                              \
    X(MEDIA_DRAVOM, T_EnableOverlay, "T_EnableOverlay")                                            \
    X(MEDIA_DRAVOM, T_S_StartCapture, "T_S_StartCapture")                                          \
    X(MEDIA_DRAVOM, T_S_StopCapture, "T_S_StopCapture")                                            \
    X(MEDIA_DRAVOM, T_S_SetVideoWidth, "T_S_SetVideoWidth")                                        \
    X(MEDIA_DRAVOM, T_S_StartPreview, "T_S_StartPreview")                                          \
    X(MEDIA_DRAVOM, T_S_SetRender, "T_S_SetRender")                                                \
    X(MEDIA_DRAVOM, T_S_SetPreviewPos, "T_S_SetPreviewPos")                                        \
    X(MEDIA_DRAVOM, T_S_StopPreview, "T_S_StopPreview")                                            \
    X(MEDIA_DRAVOM, T_S_StartSend, "T_S_StartSend")                                                \
    X(MEDIA_DRAVOM, T_S_StopSend, "T_S_StopSend")                                                  \
    X(MEDIA_DRAVOM, T_S_ShowPropertyPage, "T_S_ShowPropertyPage")                                  \
    X(MEDIA_DRAVOM, T_S_SetBitRate, "T_S_SetBitRate")                                              \
    X(MEDIA_DRAVOM, T_S_GetVideoSource, "T_S_GetVideoSource")                                      \
    X(MEDIA_DRAVOM, T_S_SetVideoSourceIndex, "T_S_SetVideoSourceIndex")                            \
    X(MEDIA_DRAVOM, T_S_OnEraseBk, "T_S_OnEraseBk")                                                \
    X(MEDIA_DRAVOM, T_S_SetRecord, "T_S_SetRecord")                                                \
    X(MEDIA_DRAVOM, T_S_SavePicture, "T_S_SavePicture")                                            \
    X(MEDIA_DRAVOM, T_R_StartPreview, "T_R_StartPreview")                                          \
    X(MEDIA_DRAVOM, T_R_SetRender, "T_R_SetRender")                                                \
    X(MEDIA_DRAVOM, T_R_SetPreviewPos, "T_R_SetPreviewPos")                                        \
    X(MEDIA_DRAVOM, T_R_StopPreview, "T_R_StopPreview")                                            \
    X(MEDIA_DRAVOM, T_R_BindLocalPort, "T_R_BindLocalPort")                                        \
    X(MEDIA_DRAVOM, T_R_SendTo, "T_R_SendTo")                                                      \
    X(MEDIA_DRAVOM, T_R_StopReceive, "T_R_StopReceive")                                            \
    X(MEDIA_DRAVOM, T_R_OnEraseBk, "T_R_OnEraseBk")                                                \
    X(MEDIA_DRAVOM, T_R_SetRecord, "T_R_SetRecord")                                                \
    X(MEDIA_DRAVOM, T_R_SavePicture, "T_R_SavePicture")                                            \
    X(MEDIA_CASKEL, RV_StartRecord, "RV_StartRecord")                                              \
    X(MEDIA_CASKEL, RV_WriteAudioData, "RV_WriteAudioData")                                        \
    X(MEDIA_CASKEL, RV_WriteVideoData, "RV_WriteVideoData")                                        \
    X(MEDIA_CASKEL, RV_WriteBoardData, "RV_WriteBoardData")                                        \
    X(MEDIA_CASKEL, RV_WriteFile, "RV_WriteFile")                                                  \
    X(MEDIA_CASKEL, RV_WriteCommadnData, "RV_WriteCommadnData")                                    \
    X(MEDIA_CASKEL, RV_WriteChatData, "RV_WriteChatData")                                          \
    X(MEDIA_CASKEL, RV_StopRecord, "RV_StopRecord")                                                \
    X(MEDIA_CASKEL, RV_AddVideo, "RV_AddVideo")                                                    \
    X(MEDIA_CASKEL, RV_DelVideo, "RV_DelVideo")                                                    \
    X(MEDIA_CASKEL, RV_FloatVideo, "RV_FloatVideo")                                                \
    X(MEDIA_CASKEL, RV_FullVideo, "RV_FullVideo")                                                  \
    X(MEDIA_CASKEL, RV_MainVideo, "RV_MainVideo")                                                  \
    X(MEDIA_CASKEL, RV_SwapVideo, "RV_SwapVideo")                                                  \
    X(MEDIA_CASKEL, RV_LastVideo, "RV_LastVideo")                                                  \
    X(MEDIA_CASKEL, RV_ShowVideoWnd, "RV_ShowVideoWnd")                                            \
    X(MEDIA_CASKEL, RV_ShowBoardWnd, "RV_ShowBoardWnd")                                            \
    X(MEDIA_CASKEL, RV_ShowChatWnd, "RV_ShowChatWnd")                                              \
    X(MEDIA_CASKEL, RV_SplitVideoWnd, "RV_SplitVideoWnd")                                          \
    X(MEDIA_CASKEL, RV_GetErrorMsg, "RV_GetErrorMsg")                                              \
    X(MEDIA_CASKEL, RV_ResetError, "RV_ResetError")                                                \
    X(MEDIA_CASKEL, RV_AddAudio, "RV_AddAudio")                                                    \
    X(MEDIA_CASKEL, RV_DelAudio, "RV_DelAudio")                                                    \
    X(MEDIA_CASKEL, PV_StartPlay, "PV_StartPlay")                                                  \
    X(MEDIA_CASKEL, PV_GetMeetingName, "PV_GetMeetingName")                                        \
    X(MEDIA_CASKEL, PV_GetMeetingDate, "PV_GetMeetingDate")                                        \
    X(MEDIA_CASKEL, PV_GetTotalTime, "PV_GetTotalTime")                                            \
    X(MEDIA_CASKEL, PV_GetCurTime, "PV_GetCurTime")                                                \
    X(MEDIA_CASKEL, PV_SetCurTime, "PV_SetCurTime")                                                \
    X(MEDIA_CASKEL, PV_Pause, "PV_Pause")                                                          \
    X(MEDIA_CASKEL, PV_Resume, "PV_Resume")                                                        \
    X(MEDIA_CASKEL, PV_StopPlay, "PV_StopPlay")                                                    \
    X(MEDIA_CASKEL, PV_SetWindowRect, "PV_SetWindowRect")                                          \
    X(MEDIA_CASKEL, PV_GetFileTotalTime, "PV_GetFileTotalTime")                                    \
    X(MEDIA_CASKEL, PV_StartConvert, "PV_StartConvert")                                            \
    X(MEDIA_CASKEL, PV_StopConvert, "PV_StopConvert")

#include <winsock2.h>
#include <windows.h>

// The three media libraries, loaded from the common-files folder + "Tessaly\\".
enum MEDIA_LIBRARY { MEDIA_KADREL, MEDIA_DRAVOM, MEDIA_CASKEL, MEDIA_LIBRARY_COUNT };

// MF_<name>: the position of a function in the bound table.
enum MEDIA_FUNCTION_INDEX {
#define MEDIA_FUNCTION_INDEX_ENTRY(library, name, exported) MF_##name,
    MEDIA_FUNCTION_LIST(MEDIA_FUNCTION_INDEX_ENTRY)
#undef MEDIA_FUNCTION_INDEX_ENTRY
        MEDIA_FUNCTION_COUNT
};

// The bound function-pointer table: filled once at start-up, then read by
// everything that calls the media libraries, e.g.
//   g_MediaFunctions.Get<PFN_AUDIO_MGR_Init>(MF_AUDIO_MGR_Init)(0, 16000);
struct MEDIA_FUNCTIONS
{
    FARPROC entries[MEDIA_FUNCTION_COUNT];

    template <class T>
    T Get(int index) const
    {
        return reinterpret_cast<T>(entries[index]);
    }
};

extern MEDIA_FUNCTIONS g_MediaFunctions;
