#pragma once
// Per-thread state of the framework: handle maps, the window being created,
// the message being handled. Private to the framework.
#include "AfxDefs.h"
#include "CException.h"

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

    // The object of a handle: its permanent one, else a temporary one made
    // by make(h), which lives until the temporaries are deleted.
    template <class Make>
    OBJ* FromHandle(HANDLE_T h, Make make)
    {
        if (OBJ* p = LookupPermanent(h))
            return p;
        if (OBJ* p = LookupTemporary(h))
            return p;
        OBJ* p = make(h);
        temporary[h] = p;
        return p;
    }

    // Forgets the permanent object of a handle if it is pObj (another object
    // may have attached the handle since).
    void RemovePermanent(HANDLE_T h, OBJ* pObj)
    {
        auto it = permanent.find(h);
        if (it != permanent.end() && it->second == pObj)
            permanent.erase(it);
    }

    // Frees the temporary objects; forget(p) first takes the handle from each,
    // since a temporary object never owns its handle.
    template <class Forget>
    void DeleteTemporaries(Forget forget)
    {
        auto temp = std::move(temporary);
        temporary.clear();
        for (auto& kv : temp) {
            forget(kv.second);
            delete kv.second;
        }
    }
};

struct AFX_THREAD_STATE
{
    CHandleMap<HWND, CWnd> wndMap;
    CHandleMap<HDC, CDC> dcMap;
    CHandleMap<HGDIOBJ, CGdiObject> gdiMap;
    CHandleMap<HMENU, CMenu> menuMap;
    CHandleMap<HIMAGELIST, CImageList> imageListMap;

    CWnd* pWndInit = NULL; // window whose creation is hooked
    HHOOK hHookOldCbtFilter = NULL;
    MSG lastSentMsg = {};       // the message being handled (GetCurrentMessage)
    MSG msgCur = {};            // the message pumped last
    CWinThread* pThread = NULL; // the thread object running this thread's loop
    HMENU hTrackingMenu = NULL; // the popup menu opened last (WM_INITMENUPOPUP)
    HWND hTrackingWnd = NULL;   // the window it was opened for
    HWND hPrintWnd = NULL;      // a window painting into hPrintDC for WM_PRINTCLIENT:
    HDC hPrintDC = NULL;        // its CPaintDC takes that DC instead of BeginPaint

    CToolTipCtrl* pToolTip = NULL; // EnableToolTips
    CWnd* pLastHit = NULL;
    int nLastHit = -1;
    TOOLINFOA lastInfo = {};

    ~AFX_THREAD_STATE();
};

AFX_THREAD_STATE* AfxGetThreadState();

// Every module (the program, each DLL) that links the framework has its own
// copy of the per-thread state above, so a loop in one module does not see
// the windows of another in its handle maps. Each module that makes a window
// enters itself in a table shared by the process; the loops reach the other
// modules' windows through it. The calls run on the calling thread and use
// that module's state of this thread; exceptions stay inside the module.
struct AFX_MODULE_HOOKS
{
    // The module's own object of hWnd pre-translates pMsg; *pFound tells
    // whether the module has one.
    BOOL (*pfnPreTranslate)(HWND hWnd, MSG* pMsg, BOOL* pFound);
    // Lets the module's visible top-level frames and main window of this
    // thread, but hWndSkip, and their descendants update their commands.
    void (*pfnIdleUpdate)(HWND hWndSkip);
    // Frees the module's temporary objects of this thread.
    void (*pfnDeleteTempMaps)();
};

// Enters this module in the process's table (once; it leaves again when the
// module is unloaded).
void AfxRegisterModule();
// Asks the other modules for the object of hWnd to pre-translate pMsg.
BOOL AfxOtherModulesPreTranslate(HWND hWnd, MSG* pMsg);
// Runs the idle update, or the deletion of temporaries, of every module.
void AfxAllModulesIdleUpdate(HWND hWndSkip);
void AfxAllModulesDeleteTempMaps();
void AfxDeleteTempMaps();
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// An exception that left the handling of pMsg (a handler, a pre-translation,
// an idle pass): reported to the user through the exception's ReportError
// (a CUserException was reported where it was thrown), then freed; e is NULL
// for an exception that is no CException. Returns the message's answer as
// not handled: -1 for WM_CREATE (the window is not made), 0 otherwise, a
// WM_PAINT's region validated so that it is not painted again and again.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);

// Runs f() for the message msg; an exception leaving it is handled by
// AfxProcessWndProcException, whose answer is returned instead. Compiler
// exceptions cannot unwind through the system's window code, so every
// place where the system or the message loop calls into handlers goes
// through here. *pFailed, if given, tells whether an exception was caught.
template <class F>
LRESULT AfxCallReportingExceptions(const MSG& msg, F&& f, bool* pFailed = NULL)
{
    if (pFailed)
        *pFailed = true;
    try {
        LRESULT r = (LRESULT)f();
        if (pFailed)
            *pFailed = false;
        return r;
    } catch (CException* e) {
        return AfxProcessWndProcException(e, &msg);
    } catch (...) {
        return AfxProcessWndProcException(NULL, &msg);
    }
}
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
