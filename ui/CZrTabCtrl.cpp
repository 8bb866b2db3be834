#include "CZrTabCtrl.h"

#include "CMemoryDC.h"
#include "SkinNames.h"
#include "UiFont.h"

#include <new>

BEGIN_MESSAGE_MAP(CZrTabCtrl, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(ID_PREV, OnScrollLeft)
    ON_COMMAND(ID_NEXT, OnScrollRight)
    ON_COMMAND(ID_CLOSE, OnCloseTab)
END_MESSAGE_MAP()

CZrTabCtrl::CZrTabCtrl() : m_nCurrent(-1), m_nFirstVisible(0)
{
    ::InitializeCriticalSection(&m_lock);
    HBITMAP hBk = (HBITMAP)::LoadImageA(NULL, SKIN_WER_BKGND, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hBk) {
        m_background.Attach(::CreatePatternBrush(hBk));
        ::DeleteObject(hBk);
    }
    m_current.LoadFromFile(SKIN_ACTIVE, 5, 15, TRUE);
    m_other.LoadFromFile(SKIN_WL_BTN_INDFGIVE, 5, 15, TRUE);
    m_prev.SetBitmapStrip(SKIN_WER_TAWERN_PREV, 1);
    m_next.SetBitmapStrip(SKIN_SDFXT, 1);
    m_close.SetBitmapStrip(SKIN_EEL_BTN_CLOW, 1);
}

CZrTabCtrl::~CZrTabCtrl()
{
    FreeRecords();
    ::DeleteCriticalSection(&m_lock);
}

BOOL CZrTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR cls =
        AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW),
                            (HBRUSH)::GetStockObject(LTGRAY_BRUSH));
    if (!CWnd::Create(cls, "ZrTabCtrl", dwStyle | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect,
                      pParentWnd, nID))
        return FALSE;
    CRect rb(0, 0, 22, 17);
    m_close.Create(NULL, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rb, this, ID_CLOSE);
    m_prev.Create(NULL, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rb, this, ID_PREV);
    m_next.Create(NULL, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rb, this, ID_NEXT);
    m_close.EnableWindow(TRUE);
    m_prev.EnableWindow(TRUE);
    m_next.EnableWindow(TRUE);
    LayoutButtons();
    return TRUE;
}

void CZrTabCtrl::LayoutButtons()
{
    if (!m_close.m_hWnd)
        return;
    CRect rc, rb;
    GetClientRect(&rc);
    m_close.GetWindowRect(&rb);
    int w = rb.Width(), h = rb.Height();
    int y = (rc.Height() - h) / 2;
    m_close.SetWindowPos(NULL, rc.right - 5 - w, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    m_next.SetWindowPos(NULL, rc.right - 5 - 2 * w, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    m_prev.SetWindowPos(NULL, 0, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

CRect CZrTabCtrl::GetTabsRect() const
{
    CRect rc;
    GetClientRect(&rc);
    int w = 0;
    if (m_close.m_hWnd) {
        CRect rb;
        m_close.GetWindowRect(&rb);
        w = rb.Width();
    }
    rc.right = rc.right - 2 * w - 5;
    rc.left = w + 5;
    return rc;
}

int CZrTabCtrl::MeasureTab(LPCSTR lpszCaption) const
{
    if (!lpszCaption)
        lpszCaption = "";
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return 30;
    HGDIOBJ old = ::SelectObject(hdc, GetUiFont()->GetSafeHandle());
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, lpszCaption, (int)strlen(lpszCaption), &sz);
    ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);
    int w = sz.cx + 20;
    return w <= 50 ? 50 : w;
}

BOOL CZrTabCtrl::AddTab(LPCSTR lpszCaption, UINT nId)
{
    TabItem* p = new (std::nothrow) TabItem;
    if (!p)
        return FALSE;
    p->caption = lpszCaption ? lpszCaption : "";
    p->id = nId;
    p->width = MeasureTab(lpszCaption);
    {
        Lock lock(&m_lock);
        m_tabs.Add(p);
    }
    if (m_hWnd) {
        m_prev.EnableWindow(TRUE);
        m_next.EnableWindow(TRUE);
        m_close.EnableWindow(TRUE);
        Invalidate();
    }
    return TRUE;
}

void CZrTabCtrl::RemoveTab(UINT nId)
{
    {
        Lock lock(&m_lock);
        int n = (int)m_tabs.GetSize();
        int i = 0;
        for (; i < n; ++i)
            if (((TabItem*)m_tabs.GetAt(i))->id == nId)
                break;
        if (i == n)
            return;
        delete (TabItem*)m_tabs.GetAt(i);
        m_tabs.RemoveAt(i);
        // A tab removed left of the current one keeps the same tab current.
        if (i < m_nCurrent)
            --m_nCurrent;
        int count = (int)m_tabs.GetSize();
        if (m_nFirstVisible >= count && count >= 1)
            m_nFirstVisible = count - 1;
    }
    if (m_hWnd)
        Invalidate();
}

void CZrTabCtrl::SelectTab(UINT nId)
{
    Lock lock(&m_lock);
    for (int i = 0; i < (int)m_tabs.GetSize(); ++i)
        if (((TabItem*)m_tabs.GetAt(i))->id == nId)
            SetCurSel(i);
}

void CZrTabCtrl::SetCurSel(int nIndex)
{
    Lock lock(&m_lock);
    if (nIndex >= 0 && nIndex < (int)m_tabs.GetSize()) {
        m_nCurrent = nIndex;
        if (m_hWnd)
            Invalidate();
    } else {
        m_nCurrent = -1;
    }
}

int CZrTabCtrl::GetCurSel() const
{
    Lock lock(&m_lock);
    return m_nCurrent;
}

int CZrTabCtrl::GetFirstVisible() const
{
    Lock lock(&m_lock);
    return m_nFirstVisible;
}

UINT CZrTabCtrl::GetCurTabId() const { return GetTabId(GetCurSel()); }

UINT CZrTabCtrl::GetTabId(int nIndex) const
{
    Lock lock(&m_lock);
    if (nIndex < 0 || nIndex >= (int)m_tabs.GetSize())
        return 0;
    return ((TabItem*)m_tabs.GetAt(nIndex))->id;
}

int CZrTabCtrl::GetTabWidth(int nIndex) const
{
    Lock lock(&m_lock);
    if (nIndex < 0 || nIndex >= (int)m_tabs.GetSize())
        return 0;
    return ((TabItem*)m_tabs.GetAt(nIndex))->width;
}

int CZrTabCtrl::GetTabCount() const
{
    Lock lock(&m_lock);
    return (int)m_tabs.GetSize();
}

void CZrTabCtrl::SetTabText(UINT nId, LPCSTR lpszText)
{
    {
        Lock lock(&m_lock);
        for (int i = 0; i < (int)m_tabs.GetSize(); ++i) {
            TabItem* p = (TabItem*)m_tabs.GetAt(i);
            if (p->id == nId) {
                p->caption = lpszText ? lpszText : "";
                p->width = MeasureTab(lpszText);
            }
        }
    }
    if (m_hWnd)
        Invalidate();
}

void CZrTabCtrl::FreeRecords()
{
    Lock lock(&m_lock);
    for (int i = 0; i < (int)m_tabs.GetSize(); ++i)
        delete (TabItem*)m_tabs.GetAt(i);
    m_tabs.RemoveAll();
}

void CZrTabCtrl::RemoveAll()
{
    FreeRecords();
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate();
}

int CZrTabCtrl::HitTest(CPoint point) const
{
    Lock lock(&m_lock);
    CRect tabs = GetTabsRect();
    if (point.y < tabs.top || point.y > tabs.bottom)
        return -1;
    int x = tabs.left;
    for (int i = m_nFirstVisible; i < (int)m_tabs.GetSize() && x < tabs.right; ++i) {
        int w = ((TabItem*)m_tabs.GetAt(i))->width;
        int right = x + w < tabs.right ? x + w : tabs.right;
        if (point.x >= x && point.x <= right)
            return i;
        x = right + (i == m_nCurrent ? 1 : 0);
    }
    return -1;
}

BOOL CZrTabCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CZrTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CMemoryDC mem(rc.Width(), rc.Height());
    if (m_background.m_hObject)
        mem.FillRect(&rc, &m_background);
    else
        mem.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    CRect tabs = GetTabsRect();
    {
        Lock lock(&m_lock);
        if (tabs.Width() >= 1 && m_tabs.GetSize() > 0) {
            CFont* pOld = mem.SelectObject(GetUiFont());
            mem.SetBkMode(TRANSPARENT);
            int x = tabs.left;
            for (int i = m_nFirstVisible; i < (int)m_tabs.GetSize() && x < tabs.right; ++i) {
                TabItem* p = (TabItem*)m_tabs.GetAt(i);
                int right = x + p->width < tabs.right ? x + p->width : tabs.right;
                CRect span(x, tabs.top, right, tabs.bottom);
                if (i == m_nCurrent) {
                    if (i != 0)
                        span.left -= 1;
                    span.right += 1;
                    m_current.Draw(&mem, span.left, span.top, span.Width(), span.Height());
                } else {
                    m_other.Draw(&mem, span.left, span.top, span.Width(), span.Height());
                }
                mem.DrawText(p->caption, &span,
                             DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
                x = right + (i == m_nCurrent ? 1 : 0);
            }
            mem.SelectObject(pOld);
        }
    }
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
}

void CZrTabCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    LayoutButtons();
}

void CZrTabCtrl::OnDestroy()
{
    RemoveAll();
    CWnd::OnDestroy();
}

LRESULT CZrTabCtrl::NotifyParent(int nCode)
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return 0;
    NMHDR hdr;
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = GetDlgCtrlID();
    hdr.code = (UINT)nCode;
    return pParent->SendMessage(WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr);
}

BOOL CZrTabCtrl::SelectByUser(CPoint point)
{
    int hit = HitTest(point);
    if (hit >= 0 && hit != GetCurSel()) {
        if (NotifyParent(TCN_SELCHANGING) == 0) {
            SetCurSel(hit);
            NotifyParent(TCN_SELCHANGE);
        }
    }
    return hit >= 0;
}

void CZrTabCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    SelectByUser(point);
    CWnd::OnLButtonDown(nFlags, point);
}

void CZrTabCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    BOOL onTab = SelectByUser(point);
    CWnd::OnLButtonDblClk(nFlags, point);
    if (onTab)
        SendMessage(WM_COMMAND, ID_CLOSE, 0);
}

void CZrTabCtrl::OnScrollLeft()
{
    {
        Lock lock(&m_lock);
        if (m_nFirstVisible >= 1)
            --m_nFirstVisible;
    }
    Invalidate();
}

BOOL CZrTabCtrl::CanScrollRight() const
{
    Lock lock(&m_lock);
    int width = GetTabsRect().Width();
    int sum = 0;
    for (int i = m_nFirstVisible; i < (int)m_tabs.GetSize(); ++i) {
        sum += ((TabItem*)m_tabs.GetAt(i))->width;
        if (sum > width)
            return TRUE;
    }
    return FALSE;
}

void CZrTabCtrl::OnScrollRight()
{
    {
        Lock lock(&m_lock);
        if (CanScrollRight())
            ++m_nFirstVisible;
    }
    Invalidate();
}

void CZrTabCtrl::OnCloseTab()
{
    if (NotifyParent(TABN_CLOSING) != 0)
        return;
    if (NotifyParent(TCN_SELCHANGING) != 0)
        return;
    {
        Lock lock(&m_lock);
        int count = (int)m_tabs.GetSize();
        if (m_nCurrent >= count)
            m_nCurrent = count > 0 ? m_nCurrent - 1 : -1;
        if (m_nCurrent >= count)
            m_nCurrent = count - 1;
    }
    NotifyParent(TCN_SELCHANGE);
    if (m_hWnd)
        Invalidate();
}
