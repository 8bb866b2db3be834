#include "CFrameWnd.h"
#include "AfxState.h"
#include "CCmdUI.h"
#include "CControlBar.h"
#include "CDocument.h"
#include "CMenu.h"
#include "CView.h"
#include "CWinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_hAccelTable(NULL), m_hMenuDefault(NULL), m_nIDHelp(0),
      m_pViewActive(NULL)
{}

CFrameWnd::~CFrameWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1), NULL);
    // FWS_ADDTOTITLE stays in the window's style: it decides whether the
    // frame writes its title itself (a program may take it away later)
    if ((cs.style & FWS_ADDTOTITLE) && !(cs.style & WS_CHILD))
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle,
                       CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName && !(dwStyle & WS_CHILD)) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (!hMenu) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName;
    m_hMenuDefault = hMenu;
    // a child frame has no menu (and the id 0)
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu,
                  (LPVOID)pContext)) {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), lpszResourceName);
    return m_hAccelTable != NULL;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString full;
    full.LoadString(nIDResource);
    int nl = full.Find('\n');
    CString title = nl >= 0 ? full.Left(nl) : full;
    HINSTANCE hInst = AfxGetResourceHandle();
    HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                     (HBRUSH)(COLOR_WINDOW + 1), hIcon);
    LPCSTR menu = NULL;
    if (!(dwDefaultStyle & WS_CHILD) &&
        ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_MENU))
        menu = MAKEINTRESOURCEA(nIDResource);
    if (!Create(cls, title, dwDefaultStyle, rectDefault, pParentWnd, menu, 0L, pContext))
        return FALSE;
    if (::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_ACCELERATOR))
        LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, (CCreateContext*)lpcs->lpCreateParams))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass) {
        if (!CreateView(pContext, AFX_IDW_PANE_FIRST))
            return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CWnd* pView = (CWnd*)pContext->m_pNewViewClass->CreateObject();
    if (!pView)
        return NULL;
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return NULL; // the view freed itself
    if (!m_pViewActive && pView->IsKindOf(RUNTIME_CLASS(CView)))
        m_pViewActive = (CView*)pView;
    return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (bMakeVisible) {
        ActivateFrame();
        OnUpdateFrameTitle(TRUE);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringWindowToTop();
    }
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive ? m_pViewActive->GetDocument() : NULL;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (pViewNew == old)
        return;
    m_pViewActive = pViewNew;
    if (bNotify && old)
        old->OnActivateView(FALSE, pViewNew, old);
    if (bNotify && pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return; // the program keeps the title it set
    CDocument* doc = GetActiveDocument();
    CString title = m_strTitle;
    if (bAddToTitle && doc && !doc->GetTitle().IsEmpty())
        title = doc->GetTitle() + " - " + m_strTitle;
    CString cur;
    GetWindowText(cur);
    if (cur != title)
        SetWindowText(title);
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    CWnd* bar = GetMessageBar();
    if (!bar)
        return 0;
    CString text;
    if (lParam)
        text = (LPCSTR)lParam;
    else if (wParam) {
        CString full;
        full.LoadString((UINT)wParam);
        int nl = full.Find('\n');
        text = nl >= 0 ? full.Left(nl) : full;
    }
    bar->SetWindowText(text);
    return 0;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && hSysMenu == NULL)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else if (!(nFlags & (MF_SEPARATOR | MF_POPUP)) && nItemID)
        SetMessageText(nItemID);
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { m_listControlBars.AddTail(pBar); }

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    POSITION p = m_listControlBars.Find(pBar);
    if (p)
        m_listControlBars.RemoveAt(p);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    for (POSITION p = m_listControlBars.GetHeadPosition(); p;) {
        CControlBar* bar = (CControlBar*)m_listControlBars.GetNext(p);
        if ((UINT)bar->GetDlgCtrlID() == nID)
            return bar;
    }
    return NULL;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (bDelay) {
        pBar->DelayShow(bShow);
        return;
    }
    pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    // tool-bar tips: the text after '\n' in the command's string
    NMTTDISPINFOA* info = (NMTTDISPINFOA*)pNMHDR;
    UINT flags = pNMHDR->code == TTN_NEEDTEXTW ? ((NMTTDISPINFOW*)pNMHDR)->uFlags : info->uFlags;
    UINT_PTR id = pNMHDR->idFrom;
    if (flags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    if (id == 0)
        return FALSE;
    CString full;
    full.LoadString((UINT)id);
    int nl = full.Find('\n');
    CString tip = nl >= 0 ? full.Mid(nl + 1) : full;
    if (pNMHDR->code == TTN_NEEDTEXTW) {
        NMTTDISPINFOW* wide = (NMTTDISPINFOW*)pNMHDR;
        MultiByteToWideChar(CP_ACP, 0, tip, -1, wide->szText, sizeof(wide->szText) / sizeof(WCHAR));
        wide->szText[sizeof(wide->szText) / sizeof(WCHAR) - 1] = 0;
        wide->lpszText = wide->szText;
        wide->hinst = NULL;
        *pResult = 0;
        return TRUE;
    }
    lstrcpynA(info->szText, tip, sizeof(info->szText));
    info->lpszText = info->szText;
    info->hinst = NULL;
    *pResult = 0;
    return TRUE;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd)
        return;
    // bars claim their strips; the view (or whatever holds the pane id)
    // fills the rest
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault);
}

LRESULT CFrameWnd::OnSizeParent(WPARAM, LPARAM) { return 0; }

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC)
{
    if (m_pViewActive)
        return TRUE; // the view covers the client area
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::OnDestroy()
{
    m_pViewActive = NULL;
    // The menu the frame loaded goes with the window (Windows destroys the
    // menu of a window being destroyed).
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    // frames made with new free themselves, as the framework's callers expect
    delete this;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !pMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID(state.m_nIndex);
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == (UINT)-1) {
            // a popup: updated when it opens itself
            continue;
        }
        state.m_pSubMenu = NULL;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // handlers may have added or removed items
        UINT count = pMenu->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - count);
            while (state.m_nIndex < count && pMenu->GetMenuItemID(state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    OnUpdateFrameTitle(TRUE);
    return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CView* pView = m_pViewActive;
    if (pView && pView->m_hWnd && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // a child frame hands what it does not know to its own frame
    if (GetStyle() & WS_CHILD) {
        CFrameWnd* outer = GetParentFrame();
        if (outer && outer->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}
