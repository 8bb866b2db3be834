#include "VideoTestKit.h"

#include "CCommandManager.h"
#include "CUserTable.h"
#include "VideoCalls.h"

#include <cstdio>

namespace videotest {

namespace {
std::vector<std::string> g_calls;
bool g_failReceiver = false;
bool g_failBind = false;
int g_handles[64];
int g_nextHandle = 0;
void* g_recordUser = nullptr;
PFN_VIDEO_RECORD_CALLBACK g_recordCallback = nullptr;

std::string RectText(const RECT& r)
{
    char text[64];
    snprintf(text, sizeof(text), "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

int __cdecl FakeSStartPreview(WPARAM, HWND, UINT message)
{
    g_calls.push_back("T_S_StartPreview " + std::to_string(message));
    return 1;
}
void __cdecl FakeSSetPreviewPos(RECT rect)
{
    g_calls.push_back("T_S_SetPreviewPos " + RectText(rect));
}
void __cdecl FakeSStopPreview() { g_calls.push_back("T_S_StopPreview"); }
int __cdecl FakeSOnEraseBk() { return 1; }
void __cdecl FakeSSetRecord(int flag, void* user, PFN_VIDEO_RECORD_CALLBACK callback)
{
    g_recordUser = user;
    g_recordCallback = callback;
    g_calls.push_back("T_S_SetRecord " + std::to_string(flag));
}
int __cdecl FakeSSavePicture(const char* path)
{
    g_calls.push_back(std::string("T_S_SavePicture ") + path);
    return 1;
}
void __cdecl FakeSShowPropertyPage(HWND) { g_calls.push_back("T_S_ShowPropertyPage"); }
void* __cdecl FakeRStartPreview(WPARAM, HWND, UINT)
{
    g_calls.push_back("T_R_StartPreview");
    if (g_failReceiver)
        return nullptr;
    return &g_handles[g_nextHandle++ % 64];
}
int __cdecl FakeRBindLocalPort(void*, uint32_t a, uint32_t b, uint32_t c, uint16_t* port)
{
    g_calls.push_back("T_R_BindLocalPort " + std::to_string(a) + " " + std::to_string(b) + " " +
                      std::to_string(c));
    if (g_failBind)
        return 0;
    *port = 10000;
    return 1;
}
void __cdecl FakeRSetPreviewPos(void*, RECT rect)
{
    g_calls.push_back("T_R_SetPreviewPos " + RectText(rect));
}
void __cdecl FakeRStopPreview(void** handle)
{
    g_calls.push_back("T_R_StopPreview");
    if (handle)
        *handle = nullptr;
}
void __cdecl FakeROnEraseBk(void*) {}
void __cdecl FakeRSetRecord(void*, int flag, void* user, PFN_VIDEO_RECORD_CALLBACK callback)
{
    g_recordUser = user;
    g_recordCallback = callback;
    g_calls.push_back("T_R_SetRecord " + std::to_string(flag));
}
int __cdecl FakeRSendTo(void*, const char* address, int port)
{
    g_calls.push_back(std::string("T_R_SendTo ") + address + " " + std::to_string(port));
    return 1;
}
int __cdecl FakeRSavePicture(void*, const char* path)
{
    g_calls.push_back(std::string("T_R_SavePicture ") + path);
    return 1;
}
int __cdecl FakeWriteVideo(const void*, int length, uint32_t id)
{
    g_calls.push_back("RV_WriteVideoData " + std::to_string(length) + " " + std::to_string(id));
    return 1;
}
int __cdecl FakeAddVideo(uint32_t id)
{
    g_calls.push_back("RV_AddVideo " + std::to_string(id));
    return 1;
}
int __cdecl FakeDelVideo(uint32_t id)
{
    g_calls.push_back("RV_DelVideo " + std::to_string(id));
    return 1;
}
int __cdecl FakeMainVideo(uint32_t id)
{
    g_calls.push_back("RV_MainVideo " + std::to_string(id));
    return 1;
}
int __cdecl FakeLastVideo(uint32_t id)
{
    g_calls.push_back("RV_LastVideo " + std::to_string(id));
    return 1;
}
int __cdecl FakeFullVideo(uint32_t id, uint8_t flag)
{
    g_calls.push_back("RV_FullVideo " + std::to_string(id) + " " + std::to_string(flag));
    return 1;
}
} // namespace

std::vector<std::string>& Calls() { return g_calls; }

int CountCalls(const std::string& prefix)
{
    int n = 0;
    for (const std::string& call : g_calls)
        n += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

void InstallMediaFakes()
{
    g_calls.clear();
    g_failReceiver = g_failBind = false;
    FARPROC* e = g_MediaFunctions.entries;
    e[MF_T_S_StartPreview] = (FARPROC)&FakeSStartPreview;
    e[MF_T_S_SetPreviewPos] = (FARPROC)&FakeSSetPreviewPos;
    e[MF_T_S_StopPreview] = (FARPROC)&FakeSStopPreview;
    e[MF_T_S_OnEraseBk] = (FARPROC)&FakeSOnEraseBk;
    e[MF_T_S_SetRecord] = (FARPROC)&FakeSSetRecord;
    e[MF_T_S_SavePicture] = (FARPROC)&FakeSSavePicture;
    e[MF_T_S_ShowPropertyPage] = (FARPROC)&FakeSShowPropertyPage;
    e[MF_T_R_StartPreview] = (FARPROC)&FakeRStartPreview;
    e[MF_T_R_BindLocalPort] = (FARPROC)&FakeRBindLocalPort;
    e[MF_T_R_SetPreviewPos] = (FARPROC)&FakeRSetPreviewPos;
    e[MF_T_R_StopPreview] = (FARPROC)&FakeRStopPreview;
    e[MF_T_R_OnEraseBk] = (FARPROC)&FakeROnEraseBk;
    e[MF_T_R_SetRecord] = (FARPROC)&FakeRSetRecord;
    e[MF_T_R_SendTo] = (FARPROC)&FakeRSendTo;
    e[MF_T_R_SavePicture] = (FARPROC)&FakeRSavePicture;
    e[MF_RV_WriteVideoData] = (FARPROC)&FakeWriteVideo;
    e[MF_RV_AddVideo] = (FARPROC)&FakeAddVideo;
    e[MF_RV_DelVideo] = (FARPROC)&FakeDelVideo;
    e[MF_RV_MainVideo] = (FARPROC)&FakeMainVideo;
    e[MF_RV_LastVideo] = (FARPROC)&FakeLastVideo;
    e[MF_RV_FullVideo] = (FARPROC)&FakeFullVideo;
}

void UninstallMediaFakes()
{
    for (FARPROC& entry : g_MediaFunctions.entries)
        entry = nullptr;
}

void DeliverRecordedFrame(const unsigned char* frame, int length)
{
    if (g_recordCallback)
        g_recordCallback(g_recordUser, frame, length);
}

void FailReceiverStart(bool fail) { g_failReceiver = fail; }

void FailBindLocalPort(bool fail) { g_failBind = fail; }

void CTestHost::ShowUserFullScreen(uint32_t user, BOOL on)
{
    events.push_back("ShowUserFullScreen " + std::to_string(user) + " " + std::to_string(on));
}

BOOL CTopWindow::Make(int cx, int cy)
{
    return CreateEx(0, "STATIC", "video test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cx,
                    cy, NULL, NULL);
}

CTopWindow::~CTopWindow()
{
    if (m_hWnd)
        DestroyWindow();
}

CMeeting::CMeeting(uint32_t ownId, uint8_t ownRole)
{
    g_UserTable.RemoveAll();
    memset(&g_LoginInfo, 0, sizeof(g_LoginInfo));
    g_LoginInfo.userId = ownId;
    g_LoginInfo.roomId = 1;
    strcpy(g_LoginInfo.serverAddress, "127.0.0.1");
    g_UserTable.AddUser(ownId, "me", ownRole);
}

CMeeting::~CMeeting() { g_UserTable.RemoveAll(); }

void CMeeting::Add(uint32_t id, const char* name, uint8_t role)
{
    g_UserTable.AddUser(id, name, role);
}

} // namespace videotest
