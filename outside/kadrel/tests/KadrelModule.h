#pragma once
// Kadrel.dll loaded as the client loads it, with its 31 functions bound by
// name (two of them by their C++ names).
#include <windows.h>

#include <cstring>

#include "AudioManagerApi.h"

struct KadrelModule
{
    HMODULE module = nullptr;
    int missing = 0;

    PFN_AUDIO_MGR_Init Init = nullptr;
    PFN_AUDIO_MGR_Release Release = nullptr;
    PFN_AUDIO_MGR_GetCapDevicesCount GetCapDevicesCount = nullptr;
    PFN_AUDIO_MGR_GetCapDeviceName GetCapDeviceName = nullptr;
    PFN_AUDIO_MGR_GetEncodeFormatCount GetEncodeFormatCount = nullptr;
    PFN_AUDIO_MGR_GetEncodeFormatName GetEncodeFormatName = nullptr;
    PFN_AUDIO_MGR_GetPlayDevicesCount GetPlayDevicesCount = nullptr;
    PFN_AUDIO_MGR_GetPlayDeviceName GetPlayDeviceName = nullptr;
    PFN_AUDIO_MGR_StartCapture StartCapture = nullptr;
    PFN_AUDIO_MGR_StopCapture StopCapture = nullptr;
    PFN_AUDIO_MGR_SetAEC SetAEC = nullptr;
    PFN_AUDIO_MGR_AutoSetFEC AutoSetFEC = nullptr;
    PFN_AUDIO_MGR_SetVolumeControl SetVolumeControl = nullptr;
    PFN_AUDIO_MGR_StartPlay StartPlay = nullptr;
    PFN_AUDIO_MGR_StopPlay StopPlay = nullptr;
    PFN_AUDIO_MGR_GetPlayEnergy GetPlayEnergy = nullptr;
    PFN_AUDIO_MGR_Connect Connect = nullptr;
    PFN_AUDIO_MGR_SetSendAudio SetSendAudio = nullptr;
    PFN_AUDIO_MGR_Disconnect Disconnect = nullptr;
    PFN_AUDIO_MGR_SetPlayLocal SetPlayLocal = nullptr;
    PFN_AUDIO_MGR_SetRecord SetRecord = nullptr;
    PFN_AUDIO_MGR_Processer_SetParam SetParam = nullptr;
    PFN_AUDIO_MGR_Processer_GetParam GetParam = nullptr;
    PFN_AUDIO_MGR_AddSource AddSource = nullptr;
    PFN_AUDIO_MGR_DelSource DelSource = nullptr;
    PFN_AUDIO_MGR_SourceIsExist SourceIsExist = nullptr;
    PFN_AUDIO_MGR_SetSourceVolume SetSourceVolume = nullptr;
    PFN_AUDIO_MGR_GetSourceVolume GetSourceVolume = nullptr;
    PFN_AUDIO_MGR_GetSourceEnergy GetSourceEnergy = nullptr;
    PFN_AUDIO_MGR_GetPlayFormat GetPlayFormat = nullptr;
    PFN_AUDIO_MGR_SetPlayCallback SetPlayCallback = nullptr;

    // Loads the library from path and binds every name; false when it is
    // missing or lacks a name.
    bool Load(const char* path = "Kadrel.dll")
    {
        module = LoadLibraryA(path);
        if (!module)
            return false;
        missing = 0;
        Bind("AUDIO_MGR_Init", &Init);
        Bind("AUDIO_MGR_Release", &Release);
        Bind("AUDIO_MGR_GetCapDevicesCount", &GetCapDevicesCount);
        Bind("AUDIO_MGR_GetCapDeviceName", &GetCapDeviceName);
        Bind("AUDIO_MGR_GetEncodeFormatCount", &GetEncodeFormatCount);
        Bind("AUDIO_MGR_GetEncodeFormatName", &GetEncodeFormatName);
        Bind("AUDIO_MGR_GetPlayDevicesCount", &GetPlayDevicesCount);
        Bind("AUDIO_MGR_GetPlayDeviceName", &GetPlayDeviceName);
        Bind("AUDIO_MGR_StartCapture", &StartCapture);
        Bind("AUDIO_MGR_StopCapture", &StopCapture);
        Bind("AUDIO_MGR_SetAEC", &SetAEC);
        Bind("AUDIO_MGR_AutoSetFEC", &AutoSetFEC);
        Bind("AUDIO_MGR_SetVolumeControl", &SetVolumeControl);
        Bind("AUDIO_MGR_StartPlay", &StartPlay);
        Bind("AUDIO_MGR_StopPlay", &StopPlay);
        Bind("AUDIO_MGR_GetPlayEnergy", &GetPlayEnergy);
        Bind("AUDIO_MGR_Connect", &Connect);
        Bind("AUDIO_MGR_SetSendAudio", &SetSendAudio);
        Bind("AUDIO_MGR_Disconnect", &Disconnect);
        Bind("AUDIO_MGR_SetPlayLocal", &SetPlayLocal);
        Bind("AUDIO_MGR_SetRecord", &SetRecord);
        Bind(AUDIO_MGR_SETPARAM_EXPORT, &SetParam);
        Bind(AUDIO_MGR_GETPARAM_EXPORT, &GetParam);
        Bind("AUDIO_MGR_AddSource", &AddSource);
        Bind("AUDIO_MGR_DelSource", &DelSource);
        Bind("AUDIO_MGR_SourceIsExist", &SourceIsExist);
        Bind("AUDIO_MGR_SetSourceVolume", &SetSourceVolume);
        Bind("AUDIO_MGR_GetSourceVolume", &GetSourceVolume);
        Bind("AUDIO_MGR_GetSourceEnergy", &GetSourceEnergy);
        Bind("AUDIO_MGR_GetPlayFormat", &GetPlayFormat);
        Bind("AUDIO_MGR_SetPlayCallback", &SetPlayCallback);
        return missing == 0;
    }

private:
    template <typename F>
    void Bind(const char* name, F* out)
    {
        FARPROC p = GetProcAddress(module, name);
        static_assert(sizeof(F) == sizeof(p), "function pointers are one size");
        memcpy(out, &p, sizeof p);
        missing += p == nullptr;
    }
};
