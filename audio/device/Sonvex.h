#pragma once
// The exported interface of the audio device library: capture and playback
// of 16-bit mono 16000 Hz blocks of 20 ms (640 bytes) with echo
// cancellation and automatic microphone volume.
#include "SonvexCallbacks.h"

#ifdef __cplusplus
extern "C" {
#endif

int __cdecl SONVEX_Init(int useDirectSound, int sampleRate);
int __cdecl SONVEX_Release(void);
int __cdecl SONVEX_GetCapDevicesCount(void);
int __cdecl SONVEX_GetCapDeviceName(int index, char* buffer, int size);
int __cdecl SONVEX_GetPlayDevicesCount(void);
int __cdecl SONVEX_GetPlayDeviceName(int index, char* buffer, int size);
int __cdecl SONVEX_StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context);
void __cdecl SONVEX_StopCapture(void);
int __cdecl SONVEX_StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context);
void __cdecl SONVEX_StopPlay(void);
void __cdecl SONVEX_SetAEC(int mode);
void __cdecl SONVEX_SetVolumeControl(int on);

#ifdef __cplusplus
}
#endif
