// The audio manager's exports: plain functions, the caller pops the
// arguments. Each one answers 0 for a failure, and no exception leaves one.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "AudioManagerApi.h"
#include "CKadrelManager.h"

namespace {

// The one manager of the process; made at attach.
CKadrelManager* g_manager = nullptr;

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

int __cdecl AUDIO_MGR_Init(int reserved, int sampleRate)
{
    return Call([&](CKadrelManager& m) { return m.Init(reserved, sampleRate); });
}
int __cdecl AUDIO_MGR_Release()
{
    return Call([&](CKadrelManager& m) { return m.Release(); });
}
int __cdecl AUDIO_MGR_GetCapDevicesCount()
{
    return Call([&](CKadrelManager& m) { return m.GetCapDevicesCount(); });
}
int __cdecl AUDIO_MGR_GetCapDeviceName(int index, char* name, int size)
{
    return Call([&](CKadrelManager& m) { return m.GetCapDeviceName(index, name, size); });
}
int __cdecl AUDIO_MGR_GetEncodeFormatCount()
{
    return Call([&](CKadrelManager& m) { return m.GetEncodeFormatCount(); });
}
int __cdecl AUDIO_MGR_GetEncodeFormatName(int index, unsigned char* code, char* name, int size)
{
    return Call([&](CKadrelManager& m) { return m.GetEncodeFormatName(index, code, name, size); });
}
int __cdecl AUDIO_MGR_GetPlayDevicesCount()
{
    return Call([&](CKadrelManager& m) { return m.GetPlayDevicesCount(); });
}
int __cdecl AUDIO_MGR_GetPlayDeviceName(int index, char* name, int size)
{
    return Call([&](CKadrelManager& m) { return m.GetPlayDeviceName(index, name, size); });
}
int __cdecl AUDIO_MGR_StartCapture(int device)
{
    return Call([&](CKadrelManager& m) { return m.StartCapture(device); });
}
int __cdecl AUDIO_MGR_StopCapture()
{
    return Call([&](CKadrelManager& m) { return m.StopCapture(); });
}
int __cdecl AUDIO_MGR_SetAEC(int on)
{
    return Call([&](CKadrelManager& m) { return m.SetAEC(on); });
}
int __cdecl AUDIO_MGR_AutoSetFEC(int on)
{
    return Call([&](CKadrelManager& m) { return m.AutoSetFEC(on); });
}
int __cdecl AUDIO_MGR_SetVolumeControl(int on)
{
    return Call([&](CKadrelManager& m) { return m.SetVolumeControl(on); });
}
int __cdecl AUDIO_MGR_StartPlay(int device)
{
    return Call([&](CKadrelManager& m) { return m.StartPlay(device); });
}
int __cdecl AUDIO_MGR_StopPlay()
{
    return Call([&](CKadrelManager& m) { return m.StopPlay(); });
}
int __cdecl AUDIO_MGR_GetPlayEnergy()
{
    return Call([&](CKadrelManager& m) { return m.GetPlayEnergy(); });
}
int __cdecl AUDIO_MGR_Connect(unsigned long roomId, unsigned long userId, const char* server,
                              int port)
{
    return Call([&](CKadrelManager& m) { return m.Connect(roomId, userId, server, port); });
}
int __cdecl AUDIO_MGR_SetSendAudio(int on)
{
    return Call([&](CKadrelManager& m) { return m.SetSendAudio(on); });
}
int __cdecl AUDIO_MGR_Disconnect()
{
    return Call([&](CKadrelManager& m) { return m.Disconnect(); });
}
int __cdecl AUDIO_MGR_SetPlayLocal(int on)
{
    return Call([&](CKadrelManager& m) { return m.SetPlayLocal(on); });
}
int __cdecl AUDIO_MGR_SetRecord(int on, AUDIO_RECORD_CALLBACK callback, void* context)
{
    return Call([&](CKadrelManager& m) { return m.SetRecord(on, callback, context); });
}
// Exported under the C++ names the client binds (see the .def file).
int __cdecl KadrelProcesserSetParam(int id, void* value)
{
    return Call([&](CKadrelManager& m) { return m.SetParam(id, value); });
}
int __cdecl KadrelProcesserGetParam(int id, void* value)
{
    return Call([&](CKadrelManager& m) { return m.GetParam(id, value); });
}
int __cdecl AUDIO_MGR_AddSource(unsigned long userId)
{
    return Call([&](CKadrelManager& m) { return m.AddSource(userId); });
}
int __cdecl AUDIO_MGR_DelSource(unsigned long userId)
{
    return Call([&](CKadrelManager& m) { return m.DelSource(userId); });
}
int __cdecl AUDIO_MGR_SourceIsExist(unsigned long userId)
{
    return Call([&](CKadrelManager& m) { return m.SourceIsExist(userId); });
}
int __cdecl AUDIO_MGR_SetSourceVolume(unsigned long userId, int volume)
{
    return Call([&](CKadrelManager& m) { return m.SetSourceVolume(userId, volume); });
}
int __cdecl AUDIO_MGR_GetSourceVolume(unsigned long userId)
{
    return Call([&](CKadrelManager& m) { return m.GetSourceVolume(userId); });
}
int __cdecl AUDIO_MGR_GetSourceEnergy(unsigned long userId)
{
    return Call([&](CKadrelManager& m) { return m.GetSourceEnergy(userId); });
}
int __cdecl AUDIO_MGR_GetPlayFormat(void* waveFormat)
{
    return Call([&](CKadrelManager& m) { return m.GetPlayFormat(waveFormat); });
}
int __cdecl AUDIO_MGR_SetPlayCallback(void* context, AUDIO_PLAY_CALLBACK callback)
{
    return Call([&](CKadrelManager& m) { return m.SetPlayCallback(context, callback); });
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        g_manager = new (std::nothrow) CKadrelManager(OwnFolder(instance));
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit the threads are gone and nothing may be waited
        // for. On FreeLibrary the manager runs nothing (the library stays
        // loaded while it does), so it goes.
        if (!reserved && g_manager) {
            delete g_manager;
            g_manager = nullptr;
        }
    }
    return TRUE;
}
