#include "RavoT.h"

#include <cstring>

#include "CDeviceLayer.h"
#include "CScopedLock.h"
#include "CSelfReference.h"
#include "RavoTLog.h"

using namespace RavoTDevice;

namespace {
// The one device layer of the process; created at attach, never destroyed
// at process exit (the process takes it with it).
CDeviceLayer* g_layer = nullptr;

// While a manager exists the library holds a reference on itself: a caller
// that unloads it without SONVEX_Release leaves it loaded, with its device
// threads and the source group they play from intact, instead of freeing
// the group under running threads (the devices cannot be closed while the
// loader lock is held).
AudioCommon::CSelfReference g_pin;
// Held by the exports that may drop the reference, until they return.
CRITICAL_SECTION g_releaseLock;

void Pin() { g_pin.Hold(reinterpret_cast<const void*>(&SONVEX_Init)); }

// The caller may have unloaded the library already, leaving this reference
// the last: it is dropped from a thread of its own once the export has left
// its lock, never from here.
void Unpin() { g_pin.Drop(&g_releaseLock); }

CDeviceLayer& Layer() { return *g_layer; }

// The echo state machine may rebuild the manager (and restart the devices
// it remembers) on calls other than SONVEX_Init, after a SONVEX_Release
// too: the reference follows the manager.
void FollowManager()
{
    if (Layer().Manager())
        Pin();
    else
        Unpin();
}
} // namespace

extern "C" {
int __cdecl SONVEX_Init(int useDirectSound)
{
    CScopedLock lock(&g_releaseLock);
    int ok = Layer().Init(useDirectSound);
    if (ok)
        Pin();
    else
        Unpin();
    return ok;
}
int __cdecl SONVEX_Release()
{
    CScopedLock lock(&g_releaseLock);
    int ok = Layer().Release();
    Unpin();
    return ok;
}
int __cdecl SONVEX_GetCapDevicesCount() { return Layer().GetCapDevicesCount(); }
int __cdecl SONVEX_GetCapDeviceName(int index, char* buffer, int size)
{
    return Layer().GetCapDeviceName(index, buffer, size);
}
int __cdecl SONVEX_GetPlayDevicesCount() { return Layer().GetPlayDevicesCount(); }
int __cdecl SONVEX_GetPlayDeviceName(int index, char* buffer, int size)
{
    return Layer().GetPlayDeviceName(index, buffer, size);
}
int __cdecl SONVEX_GetEncodeFormatCount() { return Layer().GetEncodeFormatCount(); }
int __cdecl SONVEX_GetEncodeFormatName(int index, char* buffer, int size)
{
    return Layer().GetEncodeFormatName(index, buffer, size);
}
int __cdecl SONVEX_StartCapture(int deviceId, uint8_t formatIndex, void* context,
                                CaptureCallBack callback)
{
    CScopedLock lock(&g_releaseLock);
    int ok = Layer().StartCapture(deviceId, formatIndex, context, callback);
    FollowManager();
    return ok;
}
int __cdecl SONVEX_SetDenoise(int mode) { return Layer().SetDenoise(mode); }
int __cdecl SONVEX_EnableSilenceDetect(int on) { return Layer().EnableSilenceDetect(on); }
int __cdecl SONVEX_SetFECMode(int mode) { return Layer().SetFECMode(mode); }
int __cdecl SONVEX_GetFECModeCount() { return Layer().GetFECModeCount(); }
int __cdecl SONVEX_SetDenoiseChain(int variant) { return Layer().SetDenoiseChain(variant); }
void __cdecl SONVEX_SetAEC(int mode)
{
    CScopedLock lock(&g_releaseLock);
    Layer().SetAEC(mode);
    FollowManager();
}
int __cdecl SONVEX_SetAGC(int mode) { return Layer().SetAGC(mode); }
int __cdecl SONVEX_GetCapEnergy() { return Layer().GetCapEnergy(); }
int __cdecl SONVEX_StopCapture() { return Layer().StopCapture(); }
int __cdecl SONVEX_StartPlay(int deviceId)
{
    CScopedLock lock(&g_releaseLock);
    int ok = Layer().StartPlay(deviceId);
    FollowManager();
    return ok;
}
int __cdecl SONVEX_SetPlayLocal(int on) { return Layer().SetPlayLocal(on); }
int __cdecl SONVEX_GetPlayEnergy() { return Layer().GetPlayEnergy(); }
void __cdecl SONVEX_StopPlay() { Layer().StopPlay(); }
int __cdecl SONVEX_SourceIsExist(DWORD id) { return Layer().SourceIsExist(id); }
int __cdecl SONVEX_AddSource(DWORD id) { return Layer().AddSource(id); }
int __cdecl SONVEX_RemoveSource(DWORD id) { return Layer().RemoveSource(id); }
int __cdecl SONVEX_WriteSource(DWORD id, uint8_t* packet, int length)
{
    return Layer().WriteSource(id, packet, length);
}
int __cdecl SONVEX_GetSourceVolume(DWORD id) { return Layer().GetSourceVolume(id); }
int __cdecl SONVEX_SetSourceVolume(DWORD id, int volume)
{
    return Layer().SetSourceVolume(id, volume);
}
int __cdecl SONVEX_GetSourceEnergy(DWORD id) { return Layer().GetSourceEnergy(id); }
int __cdecl SONVEX_GetNetState(DWORD id, void* state, char* text)
{
    return Layer().GetNetState(id, state, text);
}
void __cdecl SONVEX_SetPlayCallback(void* context, AudioDataCallBack callback)
{
    Layer().SetPlayCallback(context, callback);
}
void __cdecl SONVEX_GetPlayFormat(WAVEFORMATEX* out) { Layer().GetPlayFormat(out); }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        char path[MAX_PATH] = {0};
        DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
        if (n > 3 && n < MAX_PATH) {
            strcpy(path + n - 4, ".log");
            RavoTLog().SetFile(path, 0);
        }
        InitializeCriticalSection(&g_releaseLock);
        g_layer = new CDeviceLayer();
        RavoTLog().Write(1, "<DllMain>,Loaded Sonvex.dll\n");
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit the device threads are gone already and nothing
        // may be waited for. On FreeLibrary no manager is left (the library
        // stays pinned while one exists); the manager would still go before
        // the shared group it plays from.
        if (!reserved && g_layer) {
            g_layer->Unload();
            delete g_layer;
            g_layer = nullptr;
            DeleteCriticalSection(&g_releaseLock);
        }
        RavoTLog().Write(1, "<DllMain>,Unloaded Sonvex.dll\n");
    }
    return TRUE;
}
