#include "CControlBar.h"
#include "CCmdUI.h"
#include "CFrameWnd.h"
#include "CImageList.h"
#include "CStatusBar.h"
#include "CToolBar.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_DESTROY()
    ON_WM_CREATE()
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_nStateFlags(0), m_bAutoDelete(FALSE), m_cxLeftBorder(6), m_cxRightBorder(0),
      m_cyTopBorder(1), m_cyBottomBorder(1), m_dwStyle(0), m_dwDockStyle(0), m_nCount(0)
{}

CControlBar::~CControlBar()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (CFrameWnd* frame = GetParentFrame())
        frame->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->RemoveControlBar(this);
    CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    CRect r;
    GetWindowRect(&r);
    return bHorz ? CSize(32767, r.Height()) : CSize(r.Width(), 32767);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* layout = (AFX_SIZEPARENTPARAMS*)lParam;
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL horz = (align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    CSize size = CalcFixedLayout(layout->bStretch, horz);
    CRect avail(layout->rect);
    CRect place;
    if (align & CBRS_ALIGN_TOP) {
        place.SetRect(avail.left, avail.top, avail.right, avail.top + size.cy);
        layout->rect.top += size.cy;
    } else if (align & CBRS_ALIGN_BOTTOM) {
        place.SetRect(avail.left, avail.bottom - size.cy, avail.right, avail.bottom);
        layout->rect.bottom -= size.cy;
    } else if (align & CBRS_ALIGN_LEFT) {
        place.SetRect(avail.left, avail.top, avail.left + size.cx, avail.bottom);
        layout->rect.left += size.cx;
    } else if (align & CBRS_ALIGN_RIGHT) {
        place.SetRect(avail.right - size.cx, avail.top, avail.right, avail.bottom);
        layout->rect.right -= size.cx;
    } else {
        return 0;
    }
    if (layout->hDWP)
        layout->hDWP =
            ::DeferWindowPos(layout->hDWP, m_hWnd, NULL, place.left, place.top, place.Width(),
                             place.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    return 0;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    if (bShow && !(GetStyle() & WS_VISIBLE))
        m_nStateFlags |= delayShow;
    else if (!bShow && (GetStyle() & WS_VISIBLE))
        m_nStateFlags |= delayHide;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_nStateFlags & (delayHide | delayShow)) {
        BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
        UINT swp = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        BOOL changed = FALSE;
        if ((m_nStateFlags & delayHide) && visible) {
            SetWindowPos(NULL, 0, 0, 0, 0, swp | SWP_HIDEWINDOW);
            changed = TRUE;
        } else if ((m_nStateFlags & delayShow) && !visible) {
            SetWindowPos(NULL, 0, 0, 0, 0, swp | SWP_SHOWWINDOW);
            changed = TRUE;
        }
        m_nStateFlags &= ~(delayHide | delayShow);
        CFrameWnd* frame = GetParentFrame();
        if (changed && frame)
            frame->RecalcLayout();
    }
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner ? (CFrameWnd*)owner : GetParentFrame();
    if (target)
        OnUpdateCmdUI(target, (BOOL)wParam);
    return 0;
}

// ---------------------------------------------------------------- tool bar

namespace {
struct TOOLBAR_RESOURCE
{
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    // WORD aItems[wItemCount]
};

// The state of one button as update handlers set it.
class CToolCmdUI : public CCmdUI
{
public:
    CToolBar* bar = NULL;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        bar->GetToolBarCtrl().EnableButton(m_nID, bOn);
    }
    void SetCheck(int nCheck) override
    {
        CToolBarCtrl& c = bar->GetToolBarCtrl();
        c.CheckButton(m_nID, nCheck == 1);
        c.SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(nCheck == 2, 0));
    }
    void SetText(LPCSTR) override {}
};
} // namespace

CToolBar::CToolBar()
    : m_hbmImageWell(NULL), m_sizeButton(23, 22), m_sizeImage(16, 15), m_cyHeight(0)
{
    m_cyTopBorder = m_cyBottomBorder = 1;
}

CToolBar::~CToolBar()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (!(m_dwStyle & CBRS_ALIGN_ANY))
        m_dwStyle |= CBRS_ALIGN_TOP;
    DWORD ws = (dwStyle & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
               TBSTYLE_TOOLTIPS | dwCtrlStyle;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, NULL, ws, CRect(0, 0, 100, 30), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetOwner(pParentWnd);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd) {
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    }
}

BOOL CToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(241));
    if (!hRes)
        return FALSE;
    DWORD size = ::SizeofResource(hInst, hRes);
    const BYTE* raw = (const BYTE*)::LockResource(::LoadResource(hInst, hRes));
    if (!raw || size < 8)
        return FALSE;
    // Two layouts exist: 16-bit fields after a version word of 1, and (from
    // the GNU resource compiler) 32-bit width, height, count and ids.
    UINT ids[256];
    int n = 0, width = 0, height = 0;
    const TOOLBAR_RESOURCE* data = (const TOOLBAR_RESOURCE*)raw;
    if (data->wVersion == 1 && size >= sizeof(TOOLBAR_RESOURCE) &&
        size >= sizeof(TOOLBAR_RESOURCE) + data->wItemCount * sizeof(WORD)) {
        const WORD* items = (const WORD*)(data + 1);
        n = data->wItemCount;
        width = data->wWidth;
        height = data->wHeight;
        for (int i = 0; i < n && i < 256; ++i)
            ids[i] = items[i];
    } else if (size >= 12) {
        const DWORD* d = (const DWORD*)raw;
        if (d[2] > 256 || size < 12 + d[2] * 4)
            return FALSE;
        width = (int)d[0];
        height = (int)d[1];
        n = (int)d[2];
        for (int i = 0; i < n; ++i)
            ids[i] = d[3 + i];
    }
    if (n > 256 || width <= 0 || height <= 0 || width > 256 || height > 256)
        return FALSE;
    SetSizes(CSize(width + 7, height + 7), CSize(width, height));
    return SetButtons(ids, n) && LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName)
{
    HBITMAP hbm = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), lpszResourceName, IMAGE_BITMAP, 0,
                                        0, LR_LOADMAP3DCOLORS);
    if (!hbm)
        return FALSE;
    return SetBitmap(hbm);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmImageWell;
    BITMAP bm;
    ::GetObjectA(hbmImageWell, sizeof(bm), &bm);
    int images = m_sizeImage.cx ? bm.bmWidth / m_sizeImage.cx : 0;
    TBADDBITMAP tbab = {NULL, (UINT_PTR)hbmImageWell};
    return SendMessage(TB_ADDBITMAP, images, (LPARAM)&tbab) != -1;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON b = {};
        UINT id = lpIDArray ? lpIDArray[i] : 0;
        b.idCommand = (int)id;
        if (id == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 8;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = image++;
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&b))
            return FALSE;
    }
    m_nCount = nIDCount;
    return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return (int)SendMessage(TB_COMMANDTOINDEX, nIDFind);
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON b = {};
    if (!SendMessage(TB_GETBUTTON, nIndex, (LPARAM)&b))
        return 0;
    return (UINT)b.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    SendMessage(TB_GETITEMRECT, nIndex, (LPARAM)lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON b = {};
    SendMessage(TB_GETBUTTON, nIndex, (LPARAM)&b);
    return MAKELONG(b.fsStyle, b.fsState);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTONINFOA info = {sizeof(info)};
    info.dwMask = TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
    info.fsStyle = (BYTE)LOWORD(nStyle);
    info.fsState = (BYTE)HIWORD(nStyle);
    if (!info.fsState)
        info.fsState = TBSTATE_ENABLED;
    SendMessage(TB_SETBUTTONINFOA, nIndex, (LPARAM)&info);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON b = {};
    SendMessage(TB_GETBUTTON, nIndex, (LPARAM)&b);
    nID = (UINT)b.idCommand;
    nStyle = MAKELONG(b.fsStyle, b.fsState);
    iImage = b.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTONINFOA info = {sizeof(info)};
    info.dwMask = TBIF_COMMAND | TBIF_STYLE | TBIF_IMAGE | TBIF_BYINDEX;
    info.idCommand = (int)nID;
    info.fsStyle = (BYTE)LOWORD(nStyle);
    info.iImage = iImage;
    SendMessage(TB_SETBUTTONINFOA, nIndex, (LPARAM)&info);
}

BOOL CToolBar::SetButtonText(int nIndex, LPCSTR lpszText)
{
    TBBUTTONINFOA info = {sizeof(info)};
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = (LPSTR)lpszText;
    return (BOOL)SendMessage(TB_SETBUTTONINFOA, nIndex, (LPARAM)&info);
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    int height = m_cyHeight;
    if (!height) {
        RECT r = {0, 0, 0, 0};
        if (SendMessage(TB_BUTTONCOUNT) > 0)
            SendMessage(TB_GETITEMRECT, 0, (LPARAM)&r);
        height = (r.bottom - r.top) > 0 ? (r.bottom - r.top) : m_sizeButton.cy;
        height += m_cyTopBorder + m_cyBottomBorder + 2;
    }
    return bHorz ? CSize(32767, height) : CSize(m_sizeButton.cx + 4, 32767);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    int n = (int)SendMessage(TB_BUTTONCOUNT);
    state.m_nIndexMax = n;
    for (int i = 0; i < n; ++i) {
        TBBUTTON b = {};
        SendMessage(TB_GETBUTTON, i, (LPARAM)&b);
        if (b.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nIndex = i;
        state.m_nID = (UINT)b.idCommand;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID)
{
    TBADDBITMAP tbab = {AfxGetResourceHandle(), nBitmapID};
    return (int)SendMessage(TB_ADDBITMAP, nNumButtons, (LPARAM)&tbab);
}

CImageList* CToolBarCtrl::SetImageList(CImageList* p)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)p->GetSafeHandle()));
}

CImageList* CToolBarCtrl::SetHotImageList(CImageList* p)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)p->GetSafeHandle()));
}

CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* p)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)p->GetSafeHandle()));
}

CImageList* CToolBarCtrl::GetImageList() const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_GETIMAGELIST));
}

// ---------------------------------------------------------------- status bar

namespace {
class CStatusCmdUI : public CCmdUI
{
public:
    CStatusBar* bar = NULL;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT style = bar->GetPaneStyle(m_nIndex) & ~SBPS_DISABLED;
        if (!bOn)
            style |= SBPS_DISABLED;
        bar->SetPaneStyle(m_nIndex, style);
    }
    void SetCheck(int nCheck) override
    {
        UINT style = bar->GetPaneStyle(m_nIndex) & ~SBPS_POPOUT;
        if (nCheck)
            style |= SBPS_POPOUT;
        bar->SetPaneStyle(m_nIndex, style);
    }
    void SetText(LPCSTR lpszText) override { bar->SetPaneText(m_nIndex, lpszText); }
};
} // namespace

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CStatusBar::CStatusBar() : m_pPanes(NULL) {}

CStatusBar::~CStatusBar()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    delete[] m_pPanes;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (!(m_dwStyle & CBRS_ALIGN_ANY))
        m_dwStyle |= CBRS_ALIGN_BOTTOM;
    DWORD ws = (dwStyle & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CWnd::Create(STATUSCLASSNAMEA, NULL, ws, CRect(0, 0, 100, 20), pParentWnd, nID))
        return FALSE;
    SetOwner(pParentWnd);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > 255)
        return FALSE;
    delete[] m_pPanes;
    m_pPanes = nIDCount ? new Pane[nIDCount] : NULL;
    m_nCount = nIDCount;
    BOOL ok = TRUE;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
    for (int i = 0; i < nIDCount; ++i) {
        Pane& p = m_pPanes[i];
        p.nID = lpIDArray ? lpIDArray[i] : 0;
        p.nStyle = SBPS_NORMAL;
        p.cxText = 0;
        if (p.nID != ID_SEPARATOR) {
            if (!p.strText.LoadString(p.nID))
                ok = FALSE;
            SIZE s = {0, 0};
            ::GetTextExtentPoint32A(dc, p.strText, p.strText.GetLength(), &s);
            p.cxText = s.cx;
        } else if (i == 0) {
            p.nStyle |= SBPS_STRETCH;
        }
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    UpdateParts();
    for (int i = 0; i < nIDCount; ++i)
        SendMessage(SB_SETTEXTA, i | (m_pPanes[i].nStyle & 0xFF00),
                    (LPARAM)(LPCSTR)m_pPanes[i].strText);
    return ok;
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_nCount == 0)
        return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0, stretch = -1;
    for (int i = 0; i < m_nCount; ++i) {
        if (m_pPanes[i].nStyle & SBPS_STRETCH)
            stretch = i;
        else
            fixed += m_pPanes[i].cxText + 8;
    }
    int right[256];
    int x = 0;
    for (int i = 0; i < m_nCount; ++i) {
        int w = (i == stretch) ? client.Width() - fixed - 20 : m_pPanes[i].cxText + 8;
        if (w < 0)
            w = 0;
        x += w;
        right[i] = x;
    }
    right[m_nCount - 1] = -1;
    SendMessage(SB_SETPARTS, m_nCount, (LPARAM)right);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    UpdateParts();
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_pPanes[i].nID == nIDFind)
            return i;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    SendMessage(SB_GETRECT, nIndex, (LPARAM)lpRect);
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const
{
    rString = (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    CString s;
    GetPaneText(nIndex, s);
    return s;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return FALSE;
    Pane& p = m_pPanes[nIndex];
    if (p.strText == (lpszNewText ? lpszNewText : ""))
        return TRUE;
    p.strText = lpszNewText;
    if (bUpdate)
        SendMessage(SB_SETTEXTA, nIndex | (p.nStyle & 0xFF00), (LPARAM)(LPCSTR)p.strText);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return;
    nID = m_pPanes[nIndex].nID;
    nStyle = m_pPanes[nIndex].nStyle;
    cxWidth = m_pPanes[nIndex].cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return;
    m_pPanes[nIndex].nID = nID;
    m_pPanes[nIndex].nStyle = nStyle;
    m_pPanes[nIndex].cxText = cxWidth;
    UpdateParts();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= m_nCount || m_pPanes[nIndex].nStyle == nStyle)
        return;
    m_pPanes[nIndex].nStyle = nStyle;
    UpdateParts();
    LPCSTR text = (nStyle & SBPS_DISABLED) ? "" : (LPCSTR)m_pPanes[nIndex].strText;
    SendMessage(SB_SETTEXTA, nIndex | (nStyle & 0xFF00), (LPARAM)text);
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    int height = tm.tmHeight + 8;
    return bHorz ? CSize(32767, height) : CSize(height, 32767);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    state.m_nIndexMax = m_nCount;
    for (int i = 0; i < m_nCount; ++i) {
        state.m_nIndex = i;
        state.m_nID = m_pPanes[i].nID;
        if (state.m_nID == ID_SEPARATOR)
            continue;
        // panes only follow handlers that exist; they are not disabled for
        // want of one
        state.DoUpdate(pTarget, FALSE);
    }
    (void)bDisableIfNoHndler;
}
