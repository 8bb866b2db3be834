// The library's exports: plain functions, the caller pops the arguments.
// Each one answers 0 for a failure, and no exception leaves one.
#include <winsock2.h>
#include <windows.h>

#include <new>
#include <string>

#include "CRavoTMManager.h"
#include "RavoTMApi.h"

namespace {

// The one manager of the process; made at attach.
CRavoTMManager* g_manager = nullptr;

template <typename F>
int Call(F f)
{
    if (!g_manager)
        return 0;
    try {
        return f(*g_manager);
    } catch (...) {
        return 0;
    }
}

std::string OwnFolder(HINSTANCE instance)
{
    char path[MAX_PATH] = {0};
    DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string folder(path, n);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

} // namespace

extern "C" {

int __cdecl D_G_GetCapDevices(CStringList* names)
{
    return Call([&](CRavoTMManager& m) { return m.GetCapDevices(names); });
}
int __cdecl D_G_GetCapFormats(CStringList* names)
{
    return Call([&](CRavoTMManager& m) { return m.GetCapFormats(names); });
}
int __cdecl D_G_GetPlayDevices(CStringList* names)
{
    return Call([&](CRavoTMManager& m) { return m.GetPlayDevices(names); });
}
int __cdecl D_G_StartCapture(int device, int format)
{
    return Call([&](CRavoTMManager& m) { return m.StartCapture(device, format); });
}
int __cdecl D_G_StopCapture()
{
    return Call([&](CRavoTMManager& m) { return m.StopCapture(); });
}
int __cdecl D_G_SetDeNoise(int level)
{
    return Call([&](CRavoTMManager& m) { return m.SetDeNoise(level); });
}
int __cdecl D_G_SetASC(int on)
{
    return Call([&](CRavoTMManager& m) { return m.SetASC(on); });
}
int __cdecl D_G_SetFECType(int level, int automatic)
{
    return Call([&](CRavoTMManager& m) { return m.SetFECType(level, automatic); });
}
int __cdecl D_G_GetFECTypeCount()
{
    return Call([&](CRavoTMManager& m) { return m.GetFECTypeCount(); });
}
int __cdecl D_G_SetAEC(int on)
{
    return Call([&](CRavoTMManager& m) { return m.SetAEC(on); });
}
int __cdecl D_G_SetAGC(int on)
{
    return Call([&](CRavoTMManager& m) { return m.SetAGC(on); });
}
// The order of the speakers is the server's; nothing to set here.
int __cdecl D_G_SetOrder(int) { return g_manager ? 1 : 0; }
int __cdecl D_G_Connect(unsigned long roomId, unsigned long userId, const char* server, int port)
{
    return Call([&](CRavoTMManager& m) { return m.Connect(roomId, userId, server, port); });
}
int __cdecl D_G_SetSendAudio(int on)
{
    return Call([&](CRavoTMManager& m) { return m.SetSendAudio(on); });
}
int __cdecl D_G_Disconnect()
{
    return Call([&](CRavoTMManager& m) { return m.Disconnect(); });
}
int __cdecl D_G_StartPlay(int device)
{
    return Call([&](CRavoTMManager& m) { return m.StartPlay(device); });
}
int __cdecl D_G_StopPlay()
{
    return Call([&](CRavoTMManager& m) { return m.StopPlay(); });
}
int __cdecl D_G_SetPlayLocal(int on)
{
    return Call([&](CRavoTMManager& m) { return m.SetPlayLocal(on); });
}
int __cdecl D_G_SetRecord(int on, D_G_RECORD_CALLBACK callback, void* context)
{
    return Call([&](CRavoTMManager& m) { return m.SetRecord(on, callback, context); });
}
int __cdecl D_G_GetCapEnergy()
{
    return Call([&](CRavoTMManager& m) { return m.GetCapEnergy(); });
}
int __cdecl D_G_GetPlayEnergy()
{
    return Call([&](CRavoTMManager& m) { return m.GetPlayEnergy(); });
}
int __cdecl D_G_AddSource(unsigned long userId)
{
    return Call([&](CRavoTMManager& m) { return m.AddSource(userId); });
}
int __cdecl D_G_DelSource(unsigned long userId)
{
    return Call([&](CRavoTMManager& m) { return m.DelSource(userId); });
}
int __cdecl D_G_SourceIsExist(unsigned long userId)
{
    return Call([&](CRavoTMManager& m) { return m.SourceIsExist(userId); });
}
int __cdecl D_G_SetSourceVolume(unsigned long userId, int volume)
{
    return Call([&](CRavoTMManager& m) { return m.SetSourceVolume(userId, volume); });
}
int __cdecl D_G_GetSourceVolume(unsigned long userId)
{
    return Call([&](CRavoTMManager& m) { return m.GetSourceVolume(userId); });
}
int __cdecl D_G_GetSourceEnergy(unsigned long userId)
{
    return Call([&](CRavoTMManager& m) { return m.GetSourceEnergy(userId); });
}
int __cdecl D_G_SetPlayCallback(void* context, D_G_PLAY_CALLBACK callback)
{
    return Call([&](CRavoTMManager& m) { return m.SetPlayCallback(context, callback); });
}
int __cdecl D_G_GetPlayFormat(void* waveFormat)
{
    return Call([&](CRavoTMManager& m) { return m.GetPlayFormat(waveFormat); });
}
int __cdecl D_G_GetNetState()
{
    return Call([&](CRavoTMManager& m) { return m.GetNetState(); });
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        g_manager = new (std::nothrow) CRavoTMManager(OwnFolder(instance));
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit the threads are gone and nothing may be waited for.
        if (!reserved && g_manager) {
            delete g_manager;
            g_manager = nullptr;
        }
    }
    return TRUE;
}
