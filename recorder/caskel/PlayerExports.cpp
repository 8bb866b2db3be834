// The player's exported functions, bound by name by the player program (the
// clients bind them too but do not call them). One player at a time, made
// afresh by every start, with its windows in the caller's window.
#include "afxwin.h"

#include <cstdint>
#include <string>

#include "CLogFile.h"
#include "CPlayerFrame.h"
#include "CRecordPlayer.h"
#include "CRecordedBackgrounds.h"
#include "CaskelRecorder.h"
#include "Dravo.h"
#include "RavoT.h"

#define CASKEL_EXPORT extern "C" __cdecl

namespace {

CRecordPlayer* g_player = nullptr;
CPlayerFrame* g_frame = nullptr;
CRecordedBackgrounds* g_backgrounds = nullptr;

// What the player needs once per process: the rich edit control, the audio
// device layer's wave devices and the library's log file beside the
// library.
void StartUpPlayer()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    AfxInitRichEdit();
    SONVEX_Init(0);
    char path[MAX_PATH] = {0};
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&StartUpPlayer), &self);
    if (GetModuleFileNameA(self, path, MAX_PATH)) {
        std::string file(path);
        size_t slash = file.find_last_of("\\/");
        file =
            (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + "Sartow.log";
        CaskelLog().SetFile(file.c_str(), 0);
        CaskelLog().SetFlags(CLogFile::LOG_FILE);
    }
}

void DeletePlayer()
{
    if (g_player) {
        g_player->StopPlay();
        delete g_player;
        g_player = nullptr;
    }
    delete g_frame;
    g_frame = nullptr;
    // The board asked it for pictures until the frame went.
    delete g_backgrounds;
    g_backgrounds = nullptr;
}

HWND OwnerWindow(CWnd* owner) { return owner ? owner->m_hWnd : nullptr; }

int StartPlayer(CWnd* owner, const char* path, bool convert)
{
    try {
        DeletePlayer();
        StartUpPlayer();
        g_frame = new CPlayerFrame;
        g_player = new CRecordPlayer(g_frame, nullptr, &CaskelLog());
        g_backgrounds = new CRecordedBackgrounds(g_player);
        g_frame->SetBoardBackgrounds(g_backgrounds);
        Dravo_EnableOverlay(0);
        int started = convert ? g_player->StartConvert(OwnerWindow(owner), path)
                              : g_player->StartPlay(OwnerWindow(owner), path);
        if (!started) {
            CaskelLog().Write(1, "<PV_StartPlay>, %s\n", g_player->GetLastError().c_str());
            DeletePlayer();
        }
        return started;
    } catch (...) {
        DeletePlayer();
        return 0;
    }
}

} // namespace

CASKEL_EXPORT int PvStartPlay(CWnd* owner, const char* path)
{
    return StartPlayer(owner, path, false);
}

CASKEL_EXPORT CString PvGetMeetingName()
{
    return CString(g_player ? g_player->GetMeetingName().c_str() : "");
}

CASKEL_EXPORT CString PvGetMeetingDate()
{
    return CString(g_player ? g_player->GetMeetingDate().c_str() : "");
}

CASKEL_EXPORT uint32_t PvGetTotalTime() { return g_player ? g_player->GetTotalTime() : 0; }

CASKEL_EXPORT uint32_t PvGetCurTime() { return g_player ? g_player->GetCurTime() : 0; }

CASKEL_EXPORT int PvSetCurTime(uint32_t ms) { return g_player ? g_player->SetCurTime(ms) : 0; }

CASKEL_EXPORT int PvPause() { return g_player ? g_player->PausePlay() : 0; }

CASKEL_EXPORT int PvResume() { return g_player ? g_player->ResumePlay() : 0; }

CASKEL_EXPORT int PvStopPlay()
{
    DeletePlayer();
    return 1;
}

CASKEL_EXPORT int PvSetWindowRect(int left, int top, int right, int bottom)
{
    return g_player ? g_player->SetWindowRect(left, top, right, bottom) : 0;
}

CASKEL_EXPORT uint32_t PvGetFileTotalTime(const char* path)
{
    return CRecordPlayer::GetFileTotalTime(path);
}

CASKEL_EXPORT int PvStartConvert(CWnd* owner, const char* path, uint32_t)
{
    return StartPlayer(owner, path, true);
}

CASKEL_EXPORT void PvStopConvert()
{
    if (g_player)
        g_player->StopConvert();
}
