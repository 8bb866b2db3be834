// The engine's exported functions. Handles are the addresses of the objects
// behind them; each is looked up in the table of live handles first, so a
// stale or forged handle fails instead of reaching freed memory.
#define DRAVO_BUILD
#include "Dravo.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <set>

#include "CDravoCapture.h"
#include "CDravoPreview.h"
#include "CDravoRenderer.h"
#include "CScopedLock.h"

namespace {

const char* const kDevices[] = {"Dravo Test Camera 1", "Dravo Test Camera 2"};
const char* const kEncoders[] = {"Motion JPEG"};
const char* const kSources[] = {"Composite", "S-Video"};

const DRAVO_IMG_SETTINGS kDefaultSettings = {
    {0, 64, 400, 300, 600, 0, 128, 0, 100, 256, 3, 0, 0, 64, 128, 0, 100}};

class CHandleTable
{
public:
    CHandleTable() { InitializeCriticalSection(&lock); }
    ~CHandleTable() { DeleteCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::set<DRAVO_HANDLE> captures;
    std::set<DRAVO_HANDLE> previews;
    std::set<DRAVO_HANDLE> renderers;
    DRAVO_IMG_SETTINGS settings = kDefaultSettings;
    int postProc = 0;
    int overlay = 1;
};

CHandleTable& Table()
{
    static CHandleTable table;
    return table;
}

DRAVO_HANDLE ToHandle(const void* object)
{
    return static_cast<DRAVO_HANDLE>(reinterpret_cast<uintptr_t>(object));
}

template <typename T>
T* Find(const std::set<DRAVO_HANDLE>& set, DRAVO_HANDLE handle)
{
    if (!handle || set.find(handle) == set.end())
        return nullptr;
    return reinterpret_cast<T*>(static_cast<uintptr_t>(handle));
}

CDravoCapture* FindCapture(DRAVO_HANDLE h)
{
    CScopedLock lock(&Table().lock);
    return Find<CDravoCapture>(Table().captures, h);
}

CDravoPreview* FindPreview(DRAVO_HANDLE h)
{
    CScopedLock lock(&Table().lock);
    return Find<CDravoPreview>(Table().previews, h);
}

CDravoRenderer* FindRenderer(DRAVO_HANDLE h)
{
    CScopedLock lock(&Table().lock);
    return Find<CDravoRenderer>(Table().renderers, h);
}

int CopyName(const char* const* names, int count, int index, char* buffer, int size)
{
    if (index < 0 || index >= count || !buffer || size < 1)
        return 0;
    snprintf(buffer, static_cast<size_t>(size), "%s", names[index]);
    return 1;
}

} // namespace

DRAVO_API int __cdecl Dravo_GetEncoderCount() { return 1; }

DRAVO_API int __cdecl Dravo_GetEncoderName(int index, char* buffer, int size)
{
    return CopyName(kEncoders, 1, index, buffer, size);
}

DRAVO_API int __cdecl Dravo_GetDeviceCount() { return 2; }

DRAVO_API int __cdecl Dravo_GetDeviceName(int index, char* buffer, int size)
{
    return CopyName(kDevices, 2, index, buffer, size);
}

DRAVO_API DRAVO_HANDLE __cdecl Dravo_OpenCapture(DRAVO_CAPTURE_PARAMS* params, void* context,
                                                 DravoFrameCallback callback)
{
    if (!params || params->device < 0 || params->device >= Dravo_GetDeviceCount())
        return 0;
    CDravoCapture* capture = new (std::nothrow) CDravoCapture(params, context, callback);
    if (!capture)
        return 0;
    if (!capture->Open()) {
        delete capture;
        return 0;
    }
    CScopedLock lock(&Table().lock);
    Table().captures.insert(ToHandle(capture));
    return ToHandle(capture);
}

DRAVO_API int __cdecl Dravo_EnableEncode(DRAVO_HANDLE capture, int on)
{
    CDravoCapture* c = FindCapture(capture);
    if (!c)
        return 0;
    c->EnableEncode(on != 0);
    return 1;
}

DRAVO_API int __cdecl Dravo_SetCaptureParams(DRAVO_HANDLE capture, DRAVO_CAPTURE_PARAMS* params)
{
    CDravoCapture* c = FindCapture(capture);
    return c && c->ReadParams(params) ? 1 : 0;
}

DRAVO_API int __cdecl Dravo_ShowPropertyPage(DRAVO_HANDLE capture, HWND owner)
{
    // The synthetic camera has no settings of its own to show.
    return 0;
}

DRAVO_API int __cdecl Dravo_GetVideoSourceCount(DRAVO_HANDLE capture)
{
    return FindCapture(capture) ? CDravoCapture::SOURCE_COUNT : 0;
}

DRAVO_API int __cdecl Dravo_GetVideoSourceName(DRAVO_HANDLE capture, int index, char* buffer,
                                               int size)
{
    if (!FindCapture(capture))
        return 0;
    return CopyName(kSources, CDravoCapture::SOURCE_COUNT, index, buffer, size);
}

DRAVO_API int __cdecl Dravo_SetVideoSource(DRAVO_HANDLE capture, int index)
{
    CDravoCapture* c = FindCapture(capture);
    return c && c->SetSource(index) ? 1 : 0;
}

DRAVO_API int __cdecl Dravo_CloseCapture(DRAVO_HANDLE* capture)
{
    if (!capture)
        return 0;
    CDravoCapture* c = nullptr;
    {
        CScopedLock lock(&Table().lock);
        c = Find<CDravoCapture>(Table().captures, *capture);
        if (c)
            Table().captures.erase(*capture);
    }
    *capture = 0;
    if (!c)
        return 0;
    c->Close();
    delete c;
    return 1;
}

DRAVO_API DRAVO_HANDLE __cdecl Dravo_StartPreview(DRAVO_HANDLE capture, HWND window)
{
    CDravoCapture* c = FindCapture(capture);
    if (!c || !window || !IsWindow(window))
        return 0;
    CDravoPreview* preview = new (std::nothrow) CDravoPreview(window);
    if (!preview)
        return 0;
    {
        CScopedLock lock(&Table().lock);
        Table().previews.insert(ToHandle(preview));
    }
    c->AddPreview(preview);
    return ToHandle(preview);
}

DRAVO_API int __cdecl Dravo_StopPreview(DRAVO_HANDLE capture, DRAVO_HANDLE preview)
{
    CDravoPreview* p = nullptr;
    {
        CScopedLock lock(&Table().lock);
        p = Find<CDravoPreview>(Table().previews, preview);
        if (p)
            Table().previews.erase(preview);
    }
    if (!p)
        return 0;
    if (CDravoCapture* c = FindCapture(capture))
        c->RemovePreview(p);
    delete p;
    return 1;
}

DRAVO_API int __cdecl Dravo_SetPreviewRender(DRAVO_HANDLE capture, DRAVO_HANDLE preview, int value)
{
    CDravoPreview* p = FindPreview(preview);
    if (!p)
        return 0;
    p->SetRender(value);
    return 1;
}

DRAVO_API int __cdecl Dravo_SetPreviewPos(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                          const RECT* rect)
{
    CDravoPreview* p = FindPreview(preview);
    if (!p || !rect)
        return 0;
    p->SetRect(*rect);
    return 1;
}

DRAVO_API int __cdecl Dravo_SetCaptureOverlay(DRAVO_HANDLE capture, int flag)
{
    CDravoCapture* c = FindCapture(capture);
    if (!c)
        return 0;
    c->SetOverlay(flag);
    return 1;
}

DRAVO_API int __cdecl Dravo_SavePreviewPicture(DRAVO_HANDLE capture, DRAVO_HANDLE preview,
                                               const char* path)
{
    CDravoPreview* p = FindPreview(preview);
    return p && p->Save(path) ? 1 : 0;
}

DRAVO_API DRAVO_HANDLE __cdecl Dravo_CreateRenderer(HWND window)
{
    if (!window || !IsWindow(window))
        return 0;
    CDravoRenderer* r = new (std::nothrow) CDravoRenderer(window);
    if (!r)
        return 0;
    CScopedLock lock(&Table().lock);
    Table().renderers.insert(ToHandle(r));
    return ToHandle(r);
}

DRAVO_API int __cdecl Dravo_RenderFrame(DRAVO_HANDLE renderer, const unsigned char* frame,
                                        int length)
{
    CDravoRenderer* r = FindRenderer(renderer);
    return r && r->Render(frame, length) ? 1 : 0;
}

DRAVO_API int __cdecl Dravo_SetRendererPos(DRAVO_HANDLE renderer, const RECT* rect)
{
    CDravoRenderer* r = FindRenderer(renderer);
    if (!r || !rect)
        return 0;
    r->SetRect(*rect);
    return 1;
}

DRAVO_API int __cdecl Dravo_SetRender(DRAVO_HANDLE renderer, int value)
{
    CDravoRenderer* r = FindRenderer(renderer);
    if (!r)
        return 0;
    r->SetRender(value);
    return 1;
}

DRAVO_API int __cdecl Dravo_EraseBackground(DRAVO_HANDLE renderer)
{
    CDravoRenderer* r = FindRenderer(renderer);
    return r && r->EraseBackground() ? 1 : 0;
}

DRAVO_API int __cdecl Dravo_EnablePostProc(int flag)
{
    CScopedLock lock(&Table().lock);
    Table().postProc = flag;
    return 1;
}

DRAVO_API int __cdecl Dravo_SetImgProcSetting(const DRAVO_IMG_SETTINGS* settings)
{
    if (!settings)
        return 0;
    CScopedLock lock(&Table().lock);
    Table().settings = *settings;
    return 1;
}

DRAVO_API int __cdecl Dravo_GetDefImgProcSetting(DRAVO_IMG_SETTINGS* settings)
{
    if (!settings)
        return 0;
    *settings = kDefaultSettings;
    return 1;
}

DRAVO_API int __cdecl Dravo_DestroyRenderer(DRAVO_HANDLE renderer)
{
    CDravoRenderer* r = nullptr;
    {
        CScopedLock lock(&Table().lock);
        r = Find<CDravoRenderer>(Table().renderers, renderer);
        if (r)
            Table().renderers.erase(renderer);
    }
    delete r;
    return r ? 1 : 0;
}

DRAVO_API int __cdecl Dravo_EnableOverlay(int flag)
{
    CScopedLock lock(&Table().lock);
    Table().overlay = flag;
    return 1;
}

DRAVO_API int __cdecl Dravo_SetRendererNotify(DRAVO_HANDLE renderer, HWND window, UINT message,
                                              WPARAM word)
{
    CDravoRenderer* r = FindRenderer(renderer);
    if (!r)
        return 0;
    r->SetNotify(window, message, word);
    return 1;
}

DRAVO_API int __cdecl Dravo_SetRendererRecord(DRAVO_HANDLE renderer, int flag, void* userData,
                                              DravoRecordCallback callback)
{
    CDravoRenderer* r = FindRenderer(renderer);
    if (!r)
        return 0;
    r->SetRecord(flag, userData, callback);
    return 1;
}

DRAVO_API int __cdecl Dravo_SaveRendererPicture(DRAVO_HANDLE renderer, const char* path)
{
    CDravoRenderer* r = FindRenderer(renderer);
    return r && r->Save(path) ? 1 : 0;
}
