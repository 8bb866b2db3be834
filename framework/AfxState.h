#pragma once
// Per-thread state of the framework: handle maps, the window being created,
// the message being handled. Private to the framework.
#include "AfxDefs.h"

#include <unordered_map>
#include <vector>

class CGdiObject;
class CImageList;
class CToolTipCtrl;

template <class HANDLE_T, class OBJ>
struct CHandleMap
{
    std::unordered_map<HANDLE_T, OBJ*> permanent;
    std::unordered_map<HANDLE_T, OBJ*> temporary;

    OBJ* LookupPermanent(HANDLE_T h) const
    {
        auto it = permanent.find(h);
        return it == permanent.end() ? NULL : it->second;
    }
    OBJ* LookupTemporary(HANDLE_T h) const
    {
        auto it = temporary.find(h);
        return it == temporary.end() ? NULL : it->second;
    }
};

struct AFX_THREAD_STATE
{
    CHandleMap<HWND, CWnd> wndMap;
    CHandleMap<HDC, CDC> dcMap;
    CHandleMap<HGDIOBJ, CGdiObject> gdiMap;
    CHandleMap<HMENU, CMenu> menuMap;
    CHandleMap<HIMAGELIST, CImageList> imageListMap;

    CWnd* pWndInit = NULL;         // window whose creation is hooked
    HHOOK hHookOldCbtFilter = NULL;
    MSG lastSentMsg = {};           // the message being handled (GetCurrentMessage)
    MSG msgCur = {};                // the message pumped last
    CWinThread* pThread = NULL;     // the thread object running this thread's loop

    CToolTipCtrl* pToolTip = NULL;  // EnableToolTips
    CWnd* pLastHit = NULL;
    int nLastHit = -1;
    TOOLINFOA lastInfo = {};

    ~AFX_THREAD_STATE();
};

AFX_THREAD_STATE* AfxGetThreadState();
void AfxDeleteTempMaps();
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
