#pragma once
#include <windows.h>

#include <cstdint>

#include "AudioCallbacks.h"

// RavoT.dll loaded for a test, with its exports bound by ordinal. The real
// engine is used when Ravo.dll lies beside the tests, the stand-in otherwise.
struct RavoTModule
{
    HMODULE module = nullptr;
    bool realEngine = false;

    int(__cdecl* Init)(int);
    int(__cdecl* Release)();
    int(__cdecl* GetCapDevicesCount)();
    int(__cdecl* GetCapDeviceName)(int, char*, int);
    int(__cdecl* GetPlayDevicesCount)();
    int(__cdecl* GetEncodeFormatCount)();
    int(__cdecl* GetEncodeFormatName)(int, char*, int);
    int(__cdecl* StartCapture)(int, uint8_t, void*, CaptureCallBack);
    int(__cdecl* SetFECMode)(int);
    int(__cdecl* GetFECModeCount)();
    void(__cdecl* SetAEC)(int);
    int(__cdecl* StopCapture)();
    int(__cdecl* StartPlay)(int);
    void(__cdecl* StopPlay)();
    int(__cdecl* AddSource)(DWORD);
    int(__cdecl* WriteSource)(DWORD, uint8_t*, int);
    int(__cdecl* GetNetState)(DWORD, void*, char*);
    void(__cdecl* SetPlayCallback)(void*, AudioDataCallBack);
    void(__cdecl* GetPlayFormat)(WAVEFORMATEX*);

    static void UseStandInUnlessRealEngine(bool* real)
    {
        *real = GetFileAttributesA("Ravo.dll") != INVALID_FILE_ATTRIBUTES;
        if (!*real)
            SetDllDirectoryA("standin");
    }

    bool Load()
    {
        UseStandInUnlessRealEngine(&realEngine);
        module = LoadLibraryA("RavoT.dll");
        if (!module)
            return false;
        Bind(1, &Init);
        Bind(2, &Release);
        Bind(3, &GetCapDevicesCount);
        Bind(4, &GetCapDeviceName);
        Bind(5, &GetPlayDevicesCount);
        Bind(7, &GetEncodeFormatCount);
        Bind(8, &GetEncodeFormatName);
        Bind(9, &StartCapture);
        Bind(12, &SetFECMode);
        Bind(13, &GetFECModeCount);
        Bind(15, &SetAEC);
        Bind(18, &StopCapture);
        Bind(19, &StartPlay);
        Bind(22, &StopPlay);
        Bind(24, &AddSource);
        Bind(26, &WriteSource);
        Bind(30, &GetNetState);
        Bind(31, &SetPlayCallback);
        Bind(32, &GetPlayFormat);
        return true;
    }
    void Unload()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }

private:
    template <typename F>
    void Bind(int ordinal, F* out)
    {
        *out = reinterpret_cast<F>(
            reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
    }
};
