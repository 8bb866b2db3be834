#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "AudioCallbacks.h"

// The exports of RavoT.dll, reached by ordinal only (the number after each).
extern "C" {
int __cdecl SONVEX_Init(int useDirectSound);                               // 1
int __cdecl SONVEX_Release();                                              // 2
int __cdecl SONVEX_GetCapDevicesCount();                                   // 3
int __cdecl SONVEX_GetCapDeviceName(int index, char* buffer, int size);    // 4
int __cdecl SONVEX_GetPlayDevicesCount();                                  // 5
int __cdecl SONVEX_GetPlayDeviceName(int index, char* buffer, int size);   // 6
int __cdecl SONVEX_GetEncodeFormatCount();                                 // 7
int __cdecl SONVEX_GetEncodeFormatName(int index, char* buffer, int size); // 8
int __cdecl SONVEX_StartCapture(int deviceId, uint8_t formatIndex, void* context,
                                CaptureCallBack callback);                      // 9
int __cdecl SONVEX_SetDenoise(int mode);                                        // 10
int __cdecl SONVEX_EnableSilenceDetect(int on);                                 // 11
int __cdecl SONVEX_SetFECMode(int mode);                                        // 12
int __cdecl SONVEX_GetFECModeCount();                                           // 13
int __cdecl SONVEX_SetDenoiseChain(int variant);                                // 14
void __cdecl SONVEX_SetAEC(int mode);                                           // 15
int __cdecl SONVEX_SetAGC(int mode);                                            // 16
int __cdecl SONVEX_GetCapEnergy();                                              // 17
int __cdecl SONVEX_StopCapture();                                               // 18
int __cdecl SONVEX_StartPlay(int deviceId);                                     // 19
int __cdecl SONVEX_SetPlayLocal(int on);                                        // 20
int __cdecl SONVEX_GetPlayEnergy();                                             // 21
void __cdecl SONVEX_StopPlay();                                                 // 22
int __cdecl SONVEX_SourceIsExist(DWORD id);                                     // 23
int __cdecl SONVEX_AddSource(DWORD id);                                         // 24
int __cdecl SONVEX_RemoveSource(DWORD id);                                      // 25
int __cdecl SONVEX_WriteSource(DWORD id, uint8_t* packet, int length);          // 26
int __cdecl SONVEX_GetSourceVolume(DWORD id);                                   // 27
int __cdecl SONVEX_SetSourceVolume(DWORD id, int volume);                       // 28
int __cdecl SONVEX_GetSourceEnergy(DWORD id);                                   // 29
int __cdecl SONVEX_GetNetState(DWORD id, void* state, char* text);              // 30
void __cdecl SONVEX_SetPlayCallback(void* context, AudioDataCallBack callback); // 31
void __cdecl SONVEX_GetPlayFormat(WAVEFORMATEX* out);                           // 32
}
