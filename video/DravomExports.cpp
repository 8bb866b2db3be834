// The library's exported functions: one global sender behind the T_S_
// names, one receiver per handle behind the T_R_ names.
#define DRAVOM_BUILD
#include <winsock2.h>

#include "Dravom.h"

#include <cstdarg>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "CDravoEngine.h"
#include "CLogFile.h"
#include "CScopedLock.h"
#include "CVideoManagerR.h"
#include "CVideoManagerS.h"
#include "CWinsockDatagramSocket.h"

namespace {

CVideoManagerS* g_sender = nullptr;
CLogFile* g_log = nullptr;
CRITICAL_SECTION g_receiversLock;
std::set<CVideoManagerR*>* g_receivers = nullptr;

CVideoManagerS& Sender() { return *g_sender; }

// The receiver behind a handle, or null for a null or unknown handle.
CVideoManagerR* Receiver(void* handle)
{
    if (!handle || !g_receivers)
        return nullptr;
    CScopedLock lock(&g_receiversLock);
    CVideoManagerR* r = static_cast<CVideoManagerR*>(handle);
    return g_receivers->count(r) ? r : nullptr;
}

void Log(const char* format, ...)
{
    if (!g_log)
        return;
    va_list args;
    va_start(args, format);
    g_log->WriteV(format, args);
    va_end(args);
}

int FillList(CStringList* list, int count, int (IVideoEngine::*name)(int, char*, int))
{
    if (!list)
        return 0;
    list->RemoveAll();
    for (int i = 0; i < count; ++i) {
        char text[260] = {0};
        if ((CDravoEngine::Instance().*name)(i, text, sizeof text)) {
            text[sizeof text - 1] = 0;
            list->AddTail(CString(text));
        }
    }
    return static_cast<int>(list->GetCount());
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_receiversLock);
        g_receivers = new (std::nothrow) std::set<CVideoManagerR*>;
        g_log = new (std::nothrow) CLogFile(CLogFile::LOG_DEBUGGER, 1, nullptr, 0);
        g_sender = new (std::nothrow) CVideoManagerS(
            CDravoEngine::Instance(),
            std::unique_ptr<IDatagramSocket>(new (std::nothrow) CWinsockDatagramSocket));
        return g_sender && g_receivers ? TRUE : FALSE;
    }
    // At process exit the other threads are gone already: nothing to stop.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        delete g_sender;
        g_sender = nullptr;
        delete g_receivers;
        g_receivers = nullptr;
        delete g_log;
        g_log = nullptr;
        DeleteCriticalSection(&g_receiversLock);
    }
    return TRUE;
}

DRAVOM_API void __cdecl T_EnableOverlay(int flag) { Sender().EnableOverlay(flag); }

DRAVOM_API int __cdecl T_EnablePostProc(int flag)
{
    return CDravoEngine::Instance().EnablePostProc(flag);
}

DRAVOM_API int __cdecl T_GetDefImgProcSetting(IMG_PROC_SETTING* settings)
{
    return CDravoEngine::Instance().GetDefImgProcSetting(
        reinterpret_cast<DRAVO_IMG_SETTINGS*>(settings));
}

DRAVOM_API int __cdecl T_SetImgProcSetting(const IMG_PROC_SETTING* settings)
{
    return CDravoEngine::Instance().SetImgProcSetting(
        reinterpret_cast<const DRAVO_IMG_SETTINGS*>(settings));
}

DRAVOM_API int __cdecl T_TAKEDevices(CStringList* list)
{
    return FillList(list, CDravoEngine::Instance().GetDeviceCount(), &IVideoEngine::GetDeviceName);
}

DRAVOM_API int __cdecl T_TAKEEncoders(CStringList* list)
{
    return FillList(list, CDravoEngine::Instance().GetEncoderCount(),
                    &IVideoEngine::GetEncoderName);
}

DRAVOM_API void* __cdecl T_R_StartPreview(WPARAM word, HWND window, UINT message)
{
    CVideoManagerR* r = new (std::nothrow)
        CVideoManagerR(CDravoEngine::Instance(),
                       std::unique_ptr<IDatagramSocket>(new (std::nothrow) CWinsockDatagramSocket));
    if (!r)
        return nullptr;
    if (!r->Create(word, window, message)) {
        delete r;
        return nullptr;
    }
    CScopedLock lock(&g_receiversLock);
    g_receivers->insert(r);
    return r;
}

DRAVOM_API void __cdecl T_R_StopPreview(void** handle)
{
    if (!handle || !*handle)
        return;
    CVideoManagerR* r = Receiver(*handle);
    if (r) {
        {
            CScopedLock lock(&g_receiversLock);
            g_receivers->erase(r);
        }
        r->Destroy();
        delete r;
    }
    *handle = nullptr;
}

DRAVOM_API int __cdecl T_R_BindLocalPort(void* handle, uint32_t wordA, uint32_t wordB,
                                         uint32_t third, uint16_t* port)
{
    CVideoManagerR* r = Receiver(handle);
    const int ok = r ? r->BindLocalPort(wordA, wordB, third, port) : 0;
    if (r && !ok)
        Log("<CVideoManagerR::BindLocalPort> no local port could be bound\n");
    return ok;
}

DRAVOM_API int __cdecl T_R_SendTo(void* handle, const char* address, int port)
{
    CVideoManagerR* r = Receiver(handle);
    return r ? r->SendTo(address, port) : 0;
}

DRAVOM_API void __cdecl T_R_StopReceive(void* handle)
{
    if (CVideoManagerR* r = Receiver(handle))
        r->StopReceive();
}

DRAVOM_API void __cdecl T_R_OnEraseBk(void* handle)
{
    if (CVideoManagerR* r = Receiver(handle))
        r->OnEraseBk();
}

DRAVOM_API int __cdecl T_R_SavePicture(void* handle, const char* argument)
{
    CVideoManagerR* r = Receiver(handle);
    return r ? r->SavePicture(argument) : 0;
}

DRAVOM_API void __cdecl T_R_SetPreviewPos(void* handle, RECT rect)
{
    if (CVideoManagerR* r = Receiver(handle))
        r->SetPreviewPos(rect);
}

DRAVOM_API void __cdecl T_R_SetRecord(void* handle, int flag, void* userData,
                                      T_RECORD_CALLBACK callback)
{
    if (CVideoManagerR* r = Receiver(handle))
        r->SetRecord(flag, userData, callback);
}

DRAVOM_API void __cdecl T_R_SetRender(void* handle, int value)
{
    if (CVideoManagerR* r = Receiver(handle))
        r->SetRender(value);
}

DRAVOM_API int __cdecl T_S_GetVideoSource(CStringList* list)
{
    std::vector<std::string> names;
    const int count = Sender().GetVideoSources(names);
    if (!list)
        return count;
    list->RemoveAll();
    for (const std::string& n : names)
        list->AddTail(CString(n.c_str()));
    return static_cast<int>(list->GetCount());
}

DRAVOM_API int __cdecl T_S_OnEraseBk() { return 1; }

DRAVOM_API int __cdecl T_S_SavePicture(const char* argument)
{
    return Sender().SavePicture(argument);
}

DRAVOM_API void __cdecl T_S_SetBitRate(int kbitPerSecond) { Sender().SetBitRate(kbitPerSecond); }

DRAVOM_API void __cdecl T_S_SetPreviewPos(RECT rect) { Sender().SetPreviewPos(rect); }

DRAVOM_API void __cdecl T_S_SetRecord(int flag, void* userData, T_RECORD_CALLBACK callback)
{
    Sender().SetRecord(flag, userData, callback);
}

DRAVOM_API int __cdecl T_S_SetRender(int value) { return Sender().SetRender(value); }

DRAVOM_API int __cdecl T_S_SetVideoSourceIndex(int index)
{
    return Sender().SetVideoSourceIndex(index);
}

DRAVOM_API void __cdecl T_S_SetVideoWidth(int oldWidth, int newWidth)
{
    Sender().SetVideoWidth(oldWidth, newWidth);
}

DRAVOM_API void __cdecl T_S_ShowPropertyPage(HWND owner) { Sender().ShowPropertyPage(owner); }

DRAVOM_API int __cdecl T_S_StartCapture(int device, int encoder, int encodeMode, int kbitPerSecond,
                                        int width, int height)
{
    const int ok = Sender().StartCapture(device, encoder, encodeMode, kbitPerSecond, width, height);
    if (!ok)
        Log("<CVideoManagerS::StartCapture> device %d, encoder %d, %dx%d: the engine refused\n",
            device, encoder, width, height);
    return ok;
}

DRAVOM_API int __cdecl T_S_StartPreview(WPARAM word, HWND window, UINT message)
{
    return Sender().StartPreview(word, window, message);
}

DRAVOM_API int __cdecl T_S_StartSend(uint32_t streamId, const char* address, int port)
{
    const int ok = Sender().StartSend(streamId, address, port);
    if (!ok)
        Log("<CVideoManagerS::StartSend> to %s:%d failed\n", address ? address : "(null)", port);
    return ok;
}

DRAVOM_API void __cdecl T_S_StopCapture() { Sender().StopCapture(); }

DRAVOM_API void __cdecl T_S_StopPreview() { Sender().StopPreview(); }

DRAVOM_API void __cdecl T_S_StopSend() { Sender().StopSend(); }
