#pragma once
#include <windows.h>
#include <mmreg.h>

#include "AudioFormats.h"

// SonvexFilter's exported functions (C calling convention, names as listed in
// SonvexFilter.def). Handles are opaque; a Destroy takes the caller's handle
// variable and clears it. Arguments the caller passes by reference arrive as
// pointers to its variables, so a null one is refused rather than followed.
typedef void* SONVEX_HANDLE;

extern "C" {
void AUDIO_MIX_16(short* dst, short* src, int count);
void AUDIO_MIX_8(unsigned char* dst, unsigned char* src, int count);

SONVEX_HANDLE Sonvex_SourceGroup_Create(int rate);
int Sonvex_SourceGroup_SourceIsExist(SONVEX_HANDLE group, DWORD id);
int Sonvex_SourceGroup_AddSource(SONVEX_HANDLE group, DWORD id);
int Sonvex_SourceGroup_RemoveSource(SONVEX_HANDLE group, DWORD id);
int Sonvex_SourceGroup_WriteSource(SONVEX_HANDLE group, DWORD id, DWORD sequence,
                                   unsigned char* packet, unsigned int length);
int Sonvex_SourceGroup_SetSourceVolume(SONVEX_HANDLE group, DWORD id, int volume);
int Sonvex_SourceGroup_GetSourceVolume(SONVEX_HANDLE group, DWORD id);
int Sonvex_SourceGroup_EnableSourceCalEnergy(SONVEX_HANDLE group, DWORD id, int on);
int Sonvex_SourceGroup_GetSourceEnergy(SONVEX_HANDLE group, DWORD id);
unsigned int Sonvex_SourceGroup_ReadData(SONVEX_HANDLE group, unsigned char* buffer,
                                         unsigned int length);
int Sonvex_SourceGroup_GetEnergy(SONVEX_HANDLE group);
int Sonvex_SourceGroup_EnableCalEnergy(SONVEX_HANDLE group, int on);
int Sonvex_SourceGroup_EnableLocal(SONVEX_HANDLE group, int on);
void Sonvex_SourceGroup_Destroy(SONVEX_HANDLE* group);
int Sonvex_SourceGroup_GetNetState(SONVEX_HANDLE* group, DWORD id, FEC_NET_STATE* state,
                                   char* text);

SONVEX_HANDLE Sonvex_Processer_Create(WAVEFORMATEX* capture);
int Sonvex_Processer_SetParam(SONVEX_HANDLE processer, int id, void* value);
int Sonvex_Processer_GetParam(SONVEX_HANDLE processer, int id, void* value);
int Sonvex_Processer_Process(SONVEX_HANDLE processer, AUDIO_STREAM_HEAD* head);
void Sonvex_Processer_Destroy(SONVEX_HANDLE* processer);

int Sonvex_GetEncodeFormatCount();
int Sonvex_GetEncodeFormatName(unsigned char row, unsigned char* id, char* buffer,
                               unsigned int size);
int Sonvex_GetEncodeFormatIn(unsigned char row, WAVEFORMATEX* format);
int Sonvex_GetEncodeBlockSize(unsigned char row);
}
