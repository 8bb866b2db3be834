#include "CWinThread.h"
#include "AfxState.h"
#include "CDC.h"
#include "CImageList.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "CWnd.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread* AFXAPI AfxGetThread()
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->pThread)
        return s->pThread;
    // the main thread runs the application object
    CWinApp* app = AfxGetApp();
    if (app && app->m_nThreadID == GetCurrentThreadId())
        return app;
    return NULL;
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}

CWinThread::CWinThread()
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(TRUE), m_hThread(NULL), m_nThreadID(0),
      m_msgCur(), m_pfnThreadProc(NULL), m_pThreadParams(NULL)
{}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    // Also when the thread frees its own object on its way out: the handle
    // would otherwise stay open, and with it the thread's kernel object.
    if (m_hThread)
        CloseHandle(m_hThread);
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->pThread == this)
        s->pThread = NULL;
}

UINT APIENTRY CWinThread::ThreadEntry(LPVOID p)
{
    CWinThread* t = (CWinThread*)p;
    AfxGetThreadState()->pThread = t;
    UINT code;
    if (t->m_pfnThreadProc) {
        code = t->m_pfnThreadProc(t->m_pThreadParams);
    } else if (!t->InitInstance()) {
        code = (UINT)t->ExitInstance();
    } else {
        code = (UINT)t->Run();
    }
    AfxDeleteTempMaps();
    AfxGetThreadState()->pThread = NULL;
    t->Delete();
    return code;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES sa)
{
    unsigned id = 0;
    uintptr_t h = _beginthreadex(sa, nStackSize, (unsigned(__stdcall*)(void*))ThreadEntry, this,
                                 dwCreateFlags | CREATE_SUSPENDED, &id);
    if (!h)
        return FALSE;
    m_hThread = (HANDLE)h;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWnd* CWinThread::GetMainWnd()
{
    if (m_pActiveWnd)
        return m_pActiveWnd;
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == pMsg->message && e->nCode == 0 && e->nID == 0 &&
                e->nSig == AfxSig_vwl) {
                (this->*reinterpret_cast<void (CWinThread::*)(WPARAM, LPARAM)>(e->pfn))(
                    pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == NULL && DispatchThreadMessageEx(pMsg))
        return TRUE;
    CWnd* pMainWnd = GetMainWnd();
    // No main window yet (a dialog run before it, as the login is): a call
    // through the null pointer would let the compiler drop the test below.
    if (CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->m_hWnd : NULL, pMsg))
        return TRUE;
    // Windows outside the main window (modeless dialogs) still get the
    // main window's accelerators.
    if (pMainWnd && pMainWnd->m_hWnd && pMsg->hwnd) {
        HWND top = pMsg->hwnd;
        while ((::GetWindowLongA(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top))
            top = ::GetParent(top);
        if (top != pMainWnd->m_hWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, NULL, 0, 0))
        return FALSE;
    AfxGetThreadState()->msgCur = m_msgCur;
    if (m_msgCur.message == WM_KICKIDLE)
        return TRUE;
    // a pre-translation that throws has the message eaten, like a handler's
    bool failed = false;
    MSG msg = m_msgCur;
    BOOL eaten = (BOOL)AfxCallReportingExceptions(
        msg, [&] { return PreTranslateMessage(&m_msgCur); }, &failed);
    if (!failed && !eaten) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118: // the caret's timer
        return FALSE;
    default:
        return TRUE;
    }
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // let the main window and its bars update their commands' state,
        // then the other frames, a DLL's among them
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && ::IsWindowVisible(pMainWnd->m_hWnd)) {
            ::SendMessageA(pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        AfxAllModulesIdleUpdate(pMainWnd->GetSafeHwnd());
        return TRUE;
    }
    if (lCount >= 1)
        AfxAllModulesDeleteTempMaps();
    return FALSE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            // an idle pass that throws is reported and ends this idle time
            MSG idle = {NULL, WM_KICKIDLE, 0, 0, 0, {0, 0}};
            LONG count = lIdleCount++;
            if (!AfxCallReportingExceptions(idle, [&] { return OnIdle(count); }))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
}

// Starts the thread of a new thread object at the given priority; the object
// is freed again if no thread could be made.
static CWinThread* StartThread(CWinThread* t, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                               LPSECURITY_ATTRIBUTES sa)
{
    if (!t->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, sa)) {
        delete t;
        return NULL;
    }
    t->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        t->ResumeThread();
    return t;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                                  UINT nStackSize, DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES sa)
{
    return StartThread(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags,
                       sa);
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES sa)
{
    CWinThread* t = (CWinThread*)pThreadClass->CreateObject();
    if (!t)
        return NULL;
    return StartThread(t, nPriority, nStackSize, dwCreateFlags, sa);
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* t = AfxGetThreadState()->pThread;
    AfxDeleteTempMaps();
    if (t && bDelete)
        t->Delete();
    AfxGetThreadState()->pThread = NULL;
    _endthreadex(nExitCode);
}
