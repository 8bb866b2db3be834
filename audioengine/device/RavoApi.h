#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include "AudioStreamHead.h"

namespace RavoTDevice {

// The engine functions the device layer calls, one pointer per ordinal of
// Ravo.dll. The managers reach the engine only through this table, so that a
// test can hand them a table of its own.
struct RavoApi
{
    typedef void*(__cdecl* SourceGroupCreateFn)(const WAVEFORMATEX* format);
    typedef int(__cdecl* GroupIdFn)(void* group, uint32_t id);
    typedef int(__cdecl* GroupWriteSourceFn)(void* group, uint32_t id, uint8_t* packet, int length);
    typedef void(__cdecl* GroupSetVolumeFn)(void* group, uint32_t id, int volume);
    typedef void(__cdecl* GroupWriteLocalFn)(void* group, uint8_t* packet, int length);
    typedef int(__cdecl* GroupReadDataFn)(void* group, short* buffer, int length);
    typedef int(__cdecl* GroupGetEnergyFn)(void* group);
    typedef void(__cdecl* GroupSwitchFn)(void* group, int on);
    typedef void(__cdecl* GroupDestroyFn)(void** group);
    typedef int(__cdecl* GroupGetNetStateFn)(void** group, uint32_t id, void* state, char* text);
    typedef void*(__cdecl* ProcesserCreateFn)(uint8_t formatIndex, const WAVEFORMATEX* format);
    typedef void(__cdecl* ProcesserSetFn)(void* processer, int value);
    typedef int(__cdecl* CountFn)();
    typedef int(__cdecl* ProcesserGetEnergyFn)(void* processer);
    typedef int(__cdecl* ProcesserProcessFn)(void* processer, AUDIO_STREAM_HEAD* io, uint32_t* out);
    typedef void(__cdecl* ProcesserDestroyFn)(void** processer);
    typedef int(__cdecl* FormatNameFn)(uint8_t index, char* buffer, unsigned size);
    typedef int(__cdecl* FormatInFn)(uint8_t index, WAVEFORMATEX* format);
    typedef int(__cdecl* BlockSizeFn)(uint8_t index);

    SourceGroupCreateFn SourceGroup_Create;       // 11
    GroupIdFn SourceGroup_SourceIsExist;          // 12
    GroupIdFn SourceGroup_AddSource;              // 13
    GroupIdFn SourceGroup_RemoveSource;           // 14
    GroupWriteSourceFn SourceGroup_WriteSource;   // 15
    GroupSetVolumeFn SourceGroup_SetSourceVolume; // 16
    GroupIdFn SourceGroup_GetSourceVolume;        // 17
    GroupIdFn SourceGroup_GetSourceEnergy;        // 19
    GroupWriteLocalFn SourceGroup_WriteLocal;     // 20
    GroupReadDataFn SourceGroup_ReadData;         // 21
    GroupGetEnergyFn SourceGroup_GetEnergy;       // 22
    GroupSwitchFn SourceGroup_EnableCalEnergy;    // 23
    GroupSwitchFn SourceGroup_EnableLocal;        // 24
    GroupDestroyFn SourceGroup_Destroy;           // 25
    GroupGetNetStateFn SourceGroup_GetNetState;   // 26
    ProcesserCreateFn Processer_Create;           // 27
    ProcesserSetFn Processer_SetDenoise;          // 28
    ProcesserSetFn Processer_SetAGC;              // 29
    ProcesserSetFn Processer_EnableSilenceDetect; // 30
    ProcesserSetFn Processer_SetFECMode;          // 31
    CountFn GetFECModeCount;                      // 32
    ProcesserSetFn Processer_SetDenoiseChain;     // 33
    ProcesserGetEnergyFn Processer_GetEnergy;     // 35
    ProcesserProcessFn Processer_Process;         // 36
    ProcesserDestroyFn Processer_Destroy;         // 37
    CountFn GetEncodeFormatCount;                 // 38
    FormatNameFn GetEncodeFormatName;             // 39
    FormatInFn GetEncodeFormatIn;                 // 40
    BlockSizeFn GetEncodeBlockSize;               // 41
};

} // namespace RavoTDevice
