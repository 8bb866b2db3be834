#include "CWnd.h"
#include "AfxState.h"
#include "CCmdUI.h"
#include "CDC.h"
#include "CFont.h"
#include "CMenu.h"
#include "CRgn.h"
#include "CScrollBar.h"
#include "CWinApp.h"
#include "CControlBar.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {
const char kOldProcProp[] = "AfxOldWndProc";

// Parameters of the colour message as reflected to the control.
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

bool IsImeWindow(HWND hWnd)
{
    char name[32];
    if (!GetClassNameA(hWnd, name, sizeof(name)))
        return false;
    return lstrcmpiA(name, "IME") == 0 || lstrcmpiA(name, "Default IME") == 0 ||
           strncmp(name, "MSCTFIME", 8) == 0;
}
} // namespace

// ---------------------------------------------------------------- state

AFX_THREAD_STATE::~AFX_THREAD_STATE()
{
    wndMap.DeleteTemporaries([](CWnd* p) { p->m_hWnd = NULL; });
}

AFX_THREAD_STATE* AfxGetThreadState()
{
    static thread_local AFX_THREAD_STATE state;
    return &state;
}

HWND CWnd::GetSafeHwnd() const
{
    const CWnd* volatile self = this;
    return self ? self->m_hWnd : NULL;
}

CWnd::operator HWND() const { return GetSafeHwnd(); }

// ---------------------------------------------------------------- handle maps

CWnd::CWnd() : m_hWnd(NULL), m_nFlags(0), m_pfnSuper(NULL), m_hWndOwner(NULL), m_nModalResult(0) {}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return NULL;
    return AfxGetThreadState()->wndMap.FromHandle(hWnd, [](HWND h) {
        CWnd* p = new CWnd;
        p->m_hWnd = h;
        return p;
    });
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return NULL;
    return AfxGetThreadState()->wndMap.LookupPermanent(hWnd);
}

void PASCAL CWnd::DeleteTempMap()
{
    AfxGetThreadState()->wndMap.DeleteTemporaries([](CWnd* p) { p->m_hWnd = NULL; });
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd)
        return FALSE;
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->wndMap.LookupPermanent(hWndNew))
        return FALSE;
    m_hWnd = hWndNew;
    s->wndMap.permanent[hWndNew] = this;
    AfxRegisterModule(); // so that the program's loop reaches a DLL's windows
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h)
        AfxGetThreadState()->wndMap.RemovePermanent(h, this);
    m_hWnd = NULL;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (old != AfxWndProc) {
        m_pfnSuper = old;
        SetPropA(hWnd, kOldProcProp, (HANDLE)(UINT_PTR)old);
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem(pParent->GetSafeHwnd(), nID);
    return h != NULL && SubclassWindow(h);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        RemovePropA(m_hWnd, kOldProcProp);
        m_pfnSuper = NULL;
    }
    return Detach();
}

// ---------------------------------------------------------------- creation

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (code == HCBT_CREATEWND && s->pWndInit && !IsImeWindow((HWND)wParam)) {
        CWnd* pWnd = s->pWndInit;
        s->pWndInit = NULL;
        MSG msg = {(HWND)wParam, WM_NULL, 0, 0, 0, {0, 0}};
        // a window made by Create is subclassed like any other
        AfxCallReportingExceptions(msg, [&] { return pWnd->SubclassWindow((HWND)wParam); });
    }
    return CallNextHookEx(s->hHookOldCbtFilter, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (!s->hHookOldCbtFilter)
        s->hHookOldCbtFilter =
            SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, NULL, GetCurrentThreadId());
    s->pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->hHookOldCbtFilter) {
        UnhookWindowsHookEx(s->hHookOldCbtFilter);
        s->hHookOldCbtFilter = NULL;
    }
    if (s->pWndInit) {
        s->pWndInit = NULL;
        return FALSE; // the window was never created
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                          cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy(); // creation failed before the window existed
    return hWnd != NULL;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    CWnd* perm = FromHandlePermanent(m_hWnd);
    HWND h = m_hWnd;
    BOOL r = ::DestroyWindow(h);
    if (perm != this && m_hWnd == h)
        Detach(); // a temporary or unattached object: only forget the handle
    return r;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, GetExStyle());
}

// ---------------------------------------------------------------- window procedure

static void FinishNcDestroy(CWnd* pWnd, HWND hWnd)
{
    WNDPROC cur = (WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (pWnd->m_pfnSuper && cur == AfxWndProc)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
    RemovePropA(hWnd, kOldProcProp);
    pWnd->Detach();
    pWnd->PostNcDestroy(); // may delete the object
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        WNDPROC old = (WNDPROC)(UINT_PTR)GetPropA(hWnd, kOldProcProp);
        return old ? CallWindowProcA(old, hWnd, nMsg, wParam, lParam)
                   : ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
    if (nMsg == WM_INITMENUPOPUP) {
        // the menu about to be measured and drawn, whoever handles the message
        s->hTrackingMenu = (HMENU)wParam;
        s->hTrackingWnd = hWnd;
    } else if (nMsg == WM_EXITMENULOOP && s->hTrackingWnd == hWnd) {
        s->hTrackingMenu = NULL;
        s->hTrackingWnd = NULL;
    }
    MSG saved = s->lastSentMsg;
    s->lastSentMsg.hwnd = hWnd;
    s->lastSentMsg.message = nMsg;
    s->lastSentMsg.wParam = wParam;
    s->lastSentMsg.lParam = lParam;
    LRESULT r = AfxCallReportingExceptions(s->lastSentMsg,
                                           [&] { return pWnd->WindowProc(nMsg, wParam, lParam); });
    if (nMsg == WM_NCDESTROY) {
        // Cleanup for a class whose handler did not call the base.
        if (CWnd* still = CWnd::FromHandlePermanent(hWnd))
            FinishNcDestroy(still, hWnd);
    }
    s->lastSentMsg = saved;
    return r;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = 0;
    if (OnWndMsg(message, wParam, lParam, &r))
        return r;
    if (message == WM_PRINTCLIENT && PrintClientThroughPaint((HDC)wParam))
        return 0;
    return DefWindowProc(message, wParam, lParam);
}

// A window drawn by its WM_PAINT handler prints its client area by running
// that handler on the printing DC (see CPaintDC).
BOOL CWnd::PrintClientThroughPaint(HDC hDC)
{
    // the thread's printing state and the DC are restored however the
    // handler ends
    struct Printing
    {
        AFX_THREAD_STATE* s;
        HWND savedWnd;
        HDC savedDC, hDC;
        MSG savedMsg;
        int dcState;
        ~Printing()
        {
            ::RestoreDC(hDC, dcState);
            s->hPrintWnd = savedWnd;
            s->hPrintDC = savedDC;
            s->lastSentMsg = savedMsg;
        }
    };
    AFX_THREAD_STATE* s = AfxGetThreadState();
    Printing printing = {s, s->hPrintWnd, s->hPrintDC, hDC, s->lastSentMsg, ::SaveDC(hDC)};
    s->hPrintWnd = m_hWnd;
    s->hPrintDC = hDC;
    s->lastSentMsg.message = WM_PAINT;
    s->lastSentMsg.wParam = 0;
    s->lastSentMsg.lParam = 0;
    LRESULT r = 0;
    return OnWndMsg(WM_PAINT, 0, 0, &r);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = AfxGetThreadState()->lastSentMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    s->lastSentMsg.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    s->lastSentMsg.pt.x = (short)LOWORD(pos);
    s->lastSentMsg.pt.y = (short)HIWORD(pos);
    return &s->lastSentMsg;
}

void CWnd::OnNcDestroy()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread && pThread->m_pMainWnd == this) {
        if ((CWinThread*)AfxGetApp() == pThread)
            AfxPostQuitMessage(0);
        pThread->m_pMainWnd = NULL;
    }
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->pLastHit == this) {
        s->pLastHit = NULL;
        s->nLastHit = -1;
    }
    HWND h = m_hWnd;
    Default();
    if (FromHandlePermanent(h) == this)
        FinishNcDestroy(this, h);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (!pNMHDR || !pNMHDR->hwndFrom || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }

    UINT lookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        lookup = WM_CTLCOLOR;
    const AFX_MSGMAP_ENTRY* found = NULL;
    for (const AFX_MSGMAP* map = GetMessageMap(); map && !found;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nID != 0 || e->nCode != 0)
                continue; // command entries
            if (e->nMessage == lookup && lookup < 0xC000) {
                found = e;
                break;
            }
            if (e->nMessage == 0xC000 && message >= 0xC000 && *(UINT*)e->nSig == message) {
                found = e;
                break;
            }
        }
    }
    if (!found)
        return FALSE;
    if (!CallMsgHandler(found, message, wParam, lParam, &lResult))
        return FALSE;
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::CallMsgHandler(const AFX_MSGMAP_ENTRY* e, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult)
{
    AFX_PMSG pfn = e->pfn;
    LRESULT r = 0;
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    UINT_PTR sig = e->nMessage == 0xC000 ? (UINT_PTR)AfxSig_lwl : e->nSig;
#define CALL(type) (this->*reinterpret_cast<type>(pfn))
    switch (sig) {
    case AfxSig_lwl:
        r = CALL(LRESULT(CWnd::*)(WPARAM, LPARAM))(wParam, lParam);
        break;
    case AfxSig_msg_vv:
        CALL(void(CWnd::*)())();
        break;
    case AfxSig_is:
        r = CALL(int(CWnd::*)(LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_bD:
        r = CALL(BOOL(CWnd::*)(CDC*))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_vwii:
        CALL(void(CWnd::*)(UINT, int, int))
        ((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vii:
        CALL(void(CWnd::*)(int, int))((short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vwp:
        CALL(void(CWnd::*)(UINT, CPoint))((UINT)wParam, pt);
        break;
    case AfxSig_bwsp:
        r = CALL(BOOL(CWnd::*)(UINT, short, CPoint))(LOWORD(wParam), (short)HIWORD(wParam), pt);
        break;
    case AfxSig_vw_msg:
        CALL(void(CWnd::*)(UINT))((UINT)wParam);
        break;
    case AfxSig_vwww:
        CALL(void(CWnd::*)(UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwwW:
        CALL(void(CWnd::*)(UINT, UINT, CScrollBar*))
        (LOWORD(wParam), (short)HIWORD(wParam), (CScrollBar*)CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_vww:
        CALL(void(CWnd::*)(UINT, UINT))(LOWORD(wParam), (short)HIWORD(wParam));
        break;
    case AfxSig_hDWw:
        r = (LRESULT)CALL(HBRUSH(CWnd::*)(CDC*, CWnd*, UINT))(CDC::FromHandle((HDC)wParam),
                                                              CWnd::FromHandle((HWND)lParam),
                                                              message - WM_CTLCOLORMSGBOX);
        break;
    case AfxSig_hDw: {
        AFX_CTLCOLOR* ctl = (AFX_CTLCOLOR*)lParam;
        r = (LRESULT)CALL(HBRUSH(CWnd::*)(CDC*, UINT))(CDC::FromHandle(ctl->hDC), ctl->nCtlType);
        break;
    }
    case AfxSig_vOWNER:
        CALL(void(CWnd::*)(int, LPDRAWITEMSTRUCT))((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_vMEASURE:
        CALL(void(CWnd::*)(int, LPMEASUREITEMSTRUCT))((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_vDRAW_R:
        CALL(void(CWnd::*)(LPDRAWITEMSTRUCT))((LPDRAWITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_vMEAS_R:
        CALL(void(CWnd::*)(LPMEASUREITEMSTRUCT))((LPMEASUREITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_vCalc:
        CALL(void(CWnd::*)(BOOL, NCCALCSIZE_PARAMS*))((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam);
        break;
    case AfxSig_wp:
        r = CALL(UINT(CWnd::*)(CPoint))(pt);
        break;
    case AfxSig_vwWb:
        CALL(void(CWnd::*)(UINT, CWnd*, BOOL))
        (LOWORD(wParam), CWnd::FromHandle((HWND)lParam), HIWORD(wParam));
        break;
    case AfxSig_bb:
        r = CALL(BOOL(CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_vW:
        CALL(void(CWnd::*)(CWnd*))
        (CWnd::FromHandle((HWND)(message == WM_CAPTURECHANGED ? lParam : wParam)));
        break;
    case AfxSig_vbw:
        CALL(void(CWnd::*)(BOOL, UINT))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vMMI:
        CALL(void(CWnd::*)(MINMAXINFO*))((MINMAXINFO*)lParam);
        break;
    case AfxSig_vPOS:
        CALL(void(CWnd::*)(WINDOWPOS*))((WINDOWPOS*)lParam);
        break;
    case AfxSig_vwl:
        CALL(void(CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam);
        break;
    case AfxSig_vWp:
        CALL(void(CWnd::*)(CWnd*, CPoint))(CWnd::FromHandle((HWND)wParam), pt);
        break;
    case AfxSig_vMwb:
        CALL(void(CWnd::*)(CMenu*, UINT, BOOL))
        (CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwwh:
        CALL(void(CWnd::*)(UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case AfxSig_bWww:
        r = CALL(BOOL(CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                   HIWORD(lParam));
        break;
    case AfxSig_iWww:
        r = CALL(int(CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                  HIWORD(lParam));
        break;
    case AfxSig_vh:
        CALL(void(CWnd::*)(HDROP))((HDROP)wParam);
        break;
    case AfxSig_bWCDS:
        r = CALL(BOOL(CWnd::*)(CWnd*, COPYDATASTRUCT*))(CWnd::FromHandle((HWND)wParam),
                                                        (COPYDATASTRUCT*)lParam);
        break;
    case AfxSig_vb:
        CALL(void(CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_vwSIZING:
        CALL(void(CWnd::*)(UINT, LPRECT))((UINT)wParam, (LPRECT)lParam);
        r = TRUE;
        break;
    case AfxSig_wv:
        r = CALL(UINT(CWnd::*)())();
        break;
    case AfxSig_bv_msg:
        r = CALL(BOOL(CWnd::*)())();
        break;
    case AfxSig_vbh:
        CALL(void(CWnd::*)(BOOL, DWORD))((BOOL)wParam, (DWORD)lParam);
        break;
    case AfxSig_bs:
        r = CALL(BOOL(CWnd::*)(LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_vws:
        CALL(void(CWnd::*)(UINT, LPCSTR))((UINT)wParam, (LPCSTR)lParam);
        break;
    case AfxSig_bwl:
        r = CALL(BOOL(CWnd::*)(UINT, DWORD_PTR))((UINT)wParam, (DWORD_PTR)lParam);
        break;
    case AfxSig_viSTYLE:
        CALL(void(CWnd::*)(int, LPSTYLESTRUCT))((int)wParam, (LPSTYLESTRUCT)lParam);
        break;
    case AfxSig_bHELP:
        r = CALL(BOOL(CWnd::*)(HELPINFO*))((HELPINFO*)lParam);
        break;
    case AfxSig_vwW:
        CALL(void(CWnd::*)(UINT, CWnd*))((UINT)wParam, CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_iCOMPARE:
        r = CALL(int(CWnd::*)(int, LPCOMPAREITEMSTRUCT))((int)wParam, (LPCOMPAREITEMSTRUCT)lParam);
        break;
    case AfxSig_vDELETE:
        CALL(void(CWnd::*)(int, LPDELETEITEMSTRUCT))((int)wParam, (LPDELETEITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_lwwM:
        r = CALL(LRESULT(CWnd::*)(UINT, UINT, CMenu*))(LOWORD(wParam), HIWORD(wParam),
                                                       CMenu::FromHandle((HMENU)lParam));
        break;
    case AfxSig_vs:
        CALL(void(CWnd::*)(LPCSTR))((LPCSTR)lParam);
        break;
    case AfxSig_iCOMP_R:
        r = CALL(int(CWnd::*)(LPCOMPAREITEMSTRUCT))((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case AfxSig_vDEL_R:
        CALL(void(CWnd::*)(LPDELETEITEMSTRUCT))((LPDELETEITEMSTRUCT)lParam);
        r = TRUE;
        break;
    default:
        return FALSE;
    }
#undef CALL
    if (pResult)
        *pResult = r;
    return TRUE;
}

// ---------------------------------------------------------------- commands and reflection

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu item or accelerator: refuse it when its update handler
        // has disabled it meanwhile.
        if (nID == 0)
            return FALSE;
        struct Probe : CCmdUI
        {
            BOOL enabled = TRUE;
            void Enable(BOOL bOn) override
            {
                enabled = bOn;
                m_bEnableChanged = TRUE;
            }
            void SetCheck(int) override {}
            void SetRadio(BOOL) override {}
            void SetText(LPCSTR) override {}
        } state;
        state.m_nID = nID;
        state.DoUpdate(this, FALSE);
        if (!state.enabled)
            return FALSE;
        nCode = CN_COMMAND;
    } else {
        if (ReflectLastMsg(hWndCtrl))
            return TRUE; // the control handled it itself
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
    int nCode = (int)pNMHDR->code;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, NULL);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (!pWnd)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    MSG m = AfxGetThreadState()->lastSentMsg;
    return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        LRESULT dummy = 0;
        AFX_NOTIFY notify = {pResult ? pResult : &dummy, pNMHDR};
        return CCmdTarget::OnCmdMsg(0, MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY),
                                    &notify, NULL);
    }
    default:
        break;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl = {(HWND)lParam, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
        LRESULT r = 0;
        if (!OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, &r) || r == 0)
            return FALSE; // no brush: the parent decides
        if (pResult)
            *pResult = r;
        return TRUE;
    }
    return FALSE;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT r = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &r))
        return (HBRUSH)r;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->CtlType == ODT_MENU) {
        if (CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDIS->hwndItem)) {
            pMenu->DrawItem(lpDIS);
            return;
        }
    } else if (ReflectLastMsg(lpDIS->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS)
{
    if (lpMIS->CtlType == ODT_MENU) {
        // Menus may share ids: the popup being opened for this window first,
        // then the window's own menu, then any menu of the thread.
        AFX_THREAD_STATE* s = AfxGetThreadState();
        CMenu* pMenu = NULL;
        if (s->hTrackingWnd == m_hWnd && ::IsMenu(s->hTrackingMenu))
            pMenu = CMenu::FindPermanentMenuWithItem(s->hTrackingMenu, lpMIS->itemID);
        if (!pMenu && ::GetMenu(m_hWnd) && !(GetStyle() & WS_CHILD))
            pMenu = CMenu::FindPermanentMenuWithItem(::GetMenu(m_hWnd), lpMIS->itemID);
        if (!pMenu)
            pMenu = CMenu::FindPermanentMenuWithItem(lpMIS->itemID);
        if (pMenu) {
            pMenu->MeasureItem(lpMIS);
            return;
        }
    } else if (HWND hCtl = ::GetDlgItem(m_hWnd, nIDCtl)) {
        if (ReflectLastMsg(hCtl))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCIS)
{
    LRESULT r = 0;
    if (ReflectLastMsg(lpCIS->hwndItem, &r))
        return (int)r;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDIS)
{
    if (ReflectLastMsg(lpDIS->hwndItem))
        return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

// The framework's defaults: colour, owner-draw and scroll messages reflect
// to the control, and WM_NCDESTROY detaches the object.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

// ---------------------------------------------------------------- pre-translation and modal loops

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        // a window of this module, else one a DLL linking the framework made
        CWnd* p = FromHandlePermanent(h);
        if (p ? p->PreTranslateMessage(pMsg) : AfxOtherModulesPreTranslate(h, pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    // A pre-translation that throws has the message eaten, like a handler's.
    bool failed = false;
    MSG msg = *pMsg;
    LRESULT r = AfxCallReportingExceptions(
        msg,
        [&]() -> BOOL {
            if (CWinThread* t = AfxGetThread())
                return t->PreTranslateMessage(pMsg);
            return CWnd::WalkPreTranslateTree(NULL, pMsg);
        },
        &failed);
    return failed || r;
}

BOOL AFXAPI AfxPumpMessage()
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0))
        return FALSE;
    s->msgCur = msg;
    if (msg.message != WM_KICKIDLE && !AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

void AFXAPI AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    HWND hWnd = m_hWnd;
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    MSG msg;
    for (;;) {
        if (!ContinueModal())
            break;
        // idle: show the window once, let the owner update its state
        while (bIdle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWnd);
            if (!(dwFlags & MLF_NOKICKIDLE))
                SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, 0);
            bIdle = FALSE;
        }
        do {
            if (!AfxPumpMessage()) {
                AfxPostQuitMessage(0);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (!::IsWindow(hWnd)) // destroyed from inside the loop
                return m_nModalResult;
            if (bShowIdle && (AfxGetThreadState()->msgCur.message == 0x118 /* WM_SYSTIMER */ ||
                              AfxGetThreadState()->msgCur.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto done;
            UINT m = AfxGetThreadState()->msgCur.message;
            if (m != WM_MOUSEMOVE && m != WM_NCMOUSEMOVE && m != 0x118 && m != WM_PAINT)
                bIdle = TRUE;
        } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
done:
    m_nFlags &= ~WF_MODALLOOP;
    return m_nModalResult;
}

// ---------------------------------------------------------------- helpers

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)newStyle);
    if (nFlags)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = (DWORD)::GetWindowLongA(hWnd, GWL_EXSTYLE);
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, (LONG)newStyle);
    if (nFlags)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(CString& rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    LPSTR p = rString.GetBufferSetLength(n);
    int got = ::GetWindowTextA(m_hWnd, p, n + 1);
    rString.ReleaseBuffer(got < 0 ? 0 : got);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (h) {
        CWnd tmp;
        tmp.m_hWnd = h;
        tmp.GetWindowText(rString);
        tmp.m_hWnd = NULL;
    }
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
}

CFont* CWnd::GetFont() const
{
    return (CFont*)CGdiObject::FromHandle((HGDIOBJ)SendMessage(WM_GETFONT));
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The special CWnd objects wndTop etc. are spelled as handles here.
    HWND after = (HWND)pWndInsertAfter;
    if ((UINT_PTR)pWndInsertAfter > 16 && (UINT_PTR)pWndInsertAfter < (UINT_PTR)-16)
        after = pWndInsertAfter->m_hWnd;
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd
                                   : ((GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                                              : ::GetWindow(m_hWnd, GW_OWNER));
    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(::GetParent(m_hWnd), &rcArea);
        ::GetClientRect(hCenter, &rcCenter);
        ::MapWindowPoints(hCenter, ::GetParent(m_hWnd), (LPPOINT)&rcCenter, 2);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hCenter && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
            ::GetWindowRect(hCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (x + rcDlg.Width() > rcArea.right)
        x = rcArea.right - rcDlg.Width();
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + rcDlg.Height() > rcArea.bottom)
        y = rcArea.bottom - rcDlg.Height();
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ModifyStyleEx(bAccept ? 0 : WS_EX_ACCEPTFILES, bAccept ? WS_EX_ACCEPTFILES : 0);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
    ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate,
                          prgnUpdate ? (HRGN)prgnUpdate->GetSafeHandle() : NULL, flags);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint)
{
    return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint));
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    HWND parent;
    while ((::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != NULL)
        h = parent;
    return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    HWND h = m_hWnd;
    HWND owner;
    while ((owner = ::GetWindow(h, GW_OWNER)) != NULL ||
           ((::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) && (owner = ::GetParent(h)) != NULL))
        h = owner;
    return FromHandle(h);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (!GetSafeHwnd())
        return NULL;
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->IsFrameWnd())
            return (CFrameWnd*)p;
    }
    return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (!GetSafeHwnd())
        return NULL;
    CFrameWnd* top = IsFrameWnd() ? (CFrameWnd*)this : GetParentFrame();
    while (top) {
        CFrameWnd* up = reinterpret_cast<CWnd*>(top)->GetParentFrame();
        if (!up)
            break;
        top = up;
    }
    return top;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(h) == nID) {
            CWnd* p = bOnlyPerm ? FromHandlePermanent(h) : FromHandle(h);
            if (p)
                return p;
        }
        CWnd tmp;
        tmp.m_hWnd = h;
        CWnd* found = tmp.GetDescendantWindow(nID, bOnlyPerm);
        tmp.m_hWnd = NULL;
        if (found)
            return found;
    }
    return NULL;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    HWND h = pParent ? pParent->m_hWnd : NULL;
    if (!h) {
        CWnd* main = AfxGetMainWnd();
        h = main ? main->m_hWnd : NULL;
    }
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    if (pWndTop)
        *pWndTop = NULL;
    return FromHandle(h);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* p = FromHandlePermanent(h)) {
                AFX_THREAD_STATE* s = AfxGetThreadState();
                MSG saved = s->lastSentMsg;
                s->lastSentMsg.hwnd = h;
                s->lastSentMsg.message = message;
                s->lastSentMsg.wParam = wParam;
                s->lastSentMsg.lParam = lParam;
                p->WindowProc(message, wParam, lParam);
                s->lastSentMsg = saved;
            }
        } else {
            ::SendMessageA(h, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(h)) {
            CWnd tmp;
            tmp.m_hWnd = h;
            tmp.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
            tmp.m_hWnd = NULL;
        }
    }
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    return 0;
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : NULL); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO info;
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int limit = info.nMax - (info.nPage ? (int)info.nPage - 1 : 0);
    return limit < info.nMin ? info.nMin : limit;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (!lpszCaption) {
        CWinApp* app = AfxGetApp();
        lpszCaption = app && app->m_pszAppName ? app->m_pszAppName : "";
    }
    return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                          LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = (nFlags & reposQuery) ? NULL : ::BeginDeferWindowPos(8);
    HWND hLeftOver = NULL;
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        UINT id = (UINT)::GetDlgCtrlID(h);
        if (id == nIDLeftOver)
            hLeftOver = h;
        else if (id >= nIDFirst && id <= nIDLast && FromHandlePermanent(h))
            ::SendMessageA(h, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }
    if (nFlags & reposQuery) {
        if (lpRectParam)
            *lpRectParam = layout.rect;
        return;
    }
    if (nIDLeftOver && hLeftOver) {
        CRect r(layout.rect);
        if (lpRectParam && (nFlags & reposExtra)) {
            r.left += lpRectParam->left;
            r.top += lpRectParam->top;
            r.right -= lpRectParam->right;
            r.bottom -= lpRectParam->bottom;
        }
        if (layout.hDWP)
            layout.hDWP = ::DeferWindowPos(layout.hDWP, hLeftOver, NULL, r.left, r.top, r.Width(),
                                           r.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        state.m_nID = (UINT)::GetDlgCtrlID(h);
        if (state.m_nID == 0 || state.m_nID == (UINT)-1 || state.m_nID == (UINT)IDC_STATIC)
            continue;
        CWnd tmp;
        tmp.m_hWnd = h;
        state.m_pOther = &tmp;
        // auto buttons keep their own check state; never disable plain labels
        BOOL disable = bDisableIfNoHndler;
        char cls[16];
        if (GetClassNameA(h, cls, sizeof(cls)) && lstrcmpiA(cls, "Button") == 0) {
            UINT type = (UINT)::GetWindowLongA(h, GWL_STYLE) & 0x0F;
            if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON ||
                type == BS_GROUPBOX)
                disable = FALSE;
        } else {
            disable = FALSE;
        }
        state.DoUpdate(pTarget, disable);
        tmp.m_hWnd = NULL;
    }
}
