#include <windows.h>

#include <cstring>
#include <new>

#include "CDSAudioManager.h"
#include "CMMAudioManager.h"
#include "CScopedLock.h"
#include "CSelfReference.h"
#include "Sonvex.h"
#include "SonvexLibrary.h"
#include "SonvexLog.h"

using namespace SonvexDevice;

namespace {
CAudioManagerBase* g_pManager = nullptr;
CRITICAL_SECTION* g_pApiLock = nullptr;
CRITICAL_SECTION g_apiLockStorage;
HMODULE g_module = nullptr;
AudioCommon::CSelfReference g_pin;
AudioCommon::IWaveApi* g_wave = nullptr;
IDirectSoundApi* g_directSound = nullptr;
IMixerApi* g_mixer = nullptr;

// While a manager runs its devices the library stays loaded, so that an
// unload never has to stop device threads under the loader lock.
void PinLibrary()
{
    if (g_module)
        g_pin.Hold(reinterpret_cast<const void*>(&PinLibrary));
}

// The reference goes once the release that drops it has left the API lock.
void UnpinLibrary() { g_pin.Drop(g_pApiLock); }

void ReleaseManager()
{
    if (g_pManager) {
        g_pManager->StopPlay();
        g_pManager->StopCapture();
        delete g_pManager;
        g_pManager = nullptr;
        UnpinLibrary();
    }
}
} // namespace

namespace SonvexDevice {
namespace SonvexLibrary {
void Load(HMODULE module)
{
    g_module = module;
    if (!g_pSonvexLog) {
        g_pSonvexLog = new CLogFile(CLogFile::LOG_DEBUGGER, 0);
        char path[MAX_PATH] = {};
        DWORD length = module ? GetModuleFileNameA(module, path, MAX_PATH) : 0;
        if (length > 3 && length < MAX_PATH) {
            strcpy(path + length - 4, ".log");
            g_pSonvexLog->SetFile(path, 0);
        }
    }
    if (!g_pApiLock) {
        InitializeCriticalSection(&g_apiLockStorage);
        g_pApiLock = &g_apiLockStorage;
    }
    SonvexLogAlways("<DllMain>,Loaded Sonvex.dll\n");
}

void Unload(bool processExit)
{
    // At process exit the device threads are gone already: joining them, or
    // waiting for buffers they would return, could only hang.
    if (!processExit && g_pApiLock)
        SONVEX_Release();
    if (g_pApiLock && !processExit) {
        DeleteCriticalSection(g_pApiLock);
        g_pApiLock = nullptr;
    }
    SonvexLogAlways("<DllMain>,Unloaded Sonvex.dll\n");
    if (!processExit) {
        delete g_pSonvexLog;
        g_pSonvexLog = nullptr;
    }
    g_module = nullptr;
}

CAudioManagerBase* Manager() { return g_pManager; }

void SetDeviceApis(AudioCommon::IWaveApi* wave, IDirectSoundApi* directSound, IMixerApi* mixer)
{
    g_wave = wave;
    g_directSound = directSound;
    g_mixer = mixer;
}
} // namespace SonvexLibrary
} // namespace SonvexDevice

extern "C" {

int __cdecl SONVEX_Init(int useDirectSound, int sampleRate)
{
    CScopedLock lock(g_pApiLock);
    SONVEX_Release();
    IMixerApi& mixer = g_mixer ? *g_mixer : IMixerApi::System();
    if (useDirectSound)
        g_pManager = new (std::nothrow) CDSAudioManager(
            sampleRate, g_directSound ? *g_directSound : IDirectSoundApi::System(), mixer);
    else
        g_pManager = new (std::nothrow)
            CMMAudioManager(sampleRate, g_wave ? *g_wave : AudioCommon::IWaveApi::System(), mixer);
    if (!g_pManager)
        return 0;
    PinLibrary();
    SonvexLogAlways("SONVEX_Init success!\n");
    return 1;
}

int __cdecl SONVEX_Release(void)
{
    CScopedLock lock(g_pApiLock);
    ReleaseManager();
    SonvexLogAlways("SONVEX_Release success!\n");
    return 1;
}

int __cdecl SONVEX_GetCapDevicesCount(void)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->GetCapDevicesCount() : 0;
}

int __cdecl SONVEX_GetCapDeviceName(int index, char* buffer, int size)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->GetCapDeviceName(index, buffer, size) : 0;
}

int __cdecl SONVEX_GetPlayDevicesCount(void)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->GetPlayDevicesCount() : 0;
}

int __cdecl SONVEX_GetPlayDeviceName(int index, char* buffer, int size)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->GetPlayDeviceName(index, buffer, size) : 0;
}

int __cdecl SONVEX_StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->StartCapture(device, callback, context) : 0;
}

void __cdecl SONVEX_StopCapture(void)
{
    CScopedLock lock(g_pApiLock);
    if (g_pManager)
        g_pManager->StopCapture();
}

int __cdecl SONVEX_StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context)
{
    CScopedLock lock(g_pApiLock);
    return g_pManager ? g_pManager->StartPlay(device, callback, context) : 0;
}

void __cdecl SONVEX_StopPlay(void)
{
    CScopedLock lock(g_pApiLock);
    if (g_pManager)
        g_pManager->StopPlay();
}

void __cdecl SONVEX_SetAEC(int mode)
{
    CScopedLock lock(g_pApiLock);
    if (g_pManager)
        g_pManager->SetAEC(mode);
}

void __cdecl SONVEX_SetVolumeControl(int on)
{
    CScopedLock lock(g_pApiLock);
    if (g_pManager)
        g_pManager->g_audProc.SetVolumeControl(on != 0);
}
}
