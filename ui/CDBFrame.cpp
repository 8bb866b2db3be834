#include "CDBFrame.h"

#include "CMemoryDC.h"
#include "SkinNames.h"
#include "UiFont.h"

IMPLEMENT_DYNCREATE(CDBFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CDBFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_COMMAND(ID_CAPTION_CLOSE, OnCaptionClose)
    ON_COMMAND(ID_CAPTION_MAXIMIZE, OnCaptionMaxRestore)
    ON_COMMAND(ID_CAPTION_RESTORE, OnCaptionMaxRestore)
    ON_COMMAND(ID_CAPTION_MINIMIZE, OnCaptionMinimize)
END_MESSAGE_MAP()

CDBFrame::CDBFrame()
    : m_sizeCorner(11, 11), m_rcMin{53, 0, 73, 26}, m_rcClose{13, 0, 33, 26}, m_rcMax{33, 0, 53, 26},
      m_bActive(TRUE)
{
    m_captionActive.LoadFromFile(SKIN_MAIN_TOP, 60, 70, TRUE);
    m_captionInactive.LoadFromFile(SKIN_MAIN_TOP, 60, 70, TRUE);
    m_title.LoadFromFile(SKIN_MAIN_TITLE, 50, 100, TRUE);
    m_borderLeft.LoadFromFile(SKIN_MAIN_BORDER_LEFT, 32, 60, FALSE);
    m_borderRight.LoadFromFile(SKIN_MAIN_BORDER_RIGHT, 32, 60, FALSE);
    m_borderBottom.LoadFromFile(SKIN_MAIN_BORDER_BOTTOM, 20, 60, TRUE);
}

int CDBFrame::GetCaptionHeight() const
{
    // Without its bitmap the caption keeps the system's caption height.
    return m_captionActive.IsEmpty() ? ::GetSystemMetrics(SM_CYCAPTION) : m_captionActive.GetHeight();
}

BOOL CDBFrame::HasMinMax() const
{
    return (GetStyle() & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
}

void CDBFrame::OnMaxRestore()
{
}

void CDBFrame::OnCloseButton()
{
    PostMessage(WM_CLOSE);
}

int CDBFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    ModifyStyle(WS_CAPTION, 0);
    ModifyStyleEx(WS_EX_DLGMODALFRAME, 0);
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(NULL, 0, 0, window.Width(),
                 window.Height() - ::GetSystemMetrics(SM_CYCAPTION) + GetCaptionHeight() + BORDER_TOP + BORDER_BOTTOM,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_toolTip.Create(this);
    m_toolTip.SetMaxTipWidth(250);
    const DWORD style = GetStyle();
    if (style & WS_SYSMENU)
    {
        m_btnClose.Create(m_rcClose, this, ID_CAPTION_CLOSE, SKIN_MAIN_CLOSE_BTN);
        m_toolTip.AddTool(this, "关闭", &m_rcClose, ID_CAPTION_CLOSE);
        if (HasMinMax())
        {
            m_btnMax.Create(m_rcMax, this, ID_CAPTION_MAXIMIZE, ID_CAPTION_RESTORE, SKIN_MAX_BUTTON,
                            SKIN_RESTORE_BUTTON);
            m_btnMax.Enable((style & WS_MAXIMIZEBOX) != 0);
            m_toolTip.AddTool(this, "最大化窗口", &m_rcMax, ID_CAPTION_MAXIMIZE);
            m_btnMin.Create(m_rcMin, this, ID_CAPTION_MINIMIZE, SKIN_MIN_BUTTON);
            m_btnMin.Enable((style & WS_MINIMIZEBOX) != 0);
            m_toolTip.AddTool(this, "最小化窗口", &m_rcMin, ID_CAPTION_MINIMIZE);
        }
    }
    LayoutButtons();
    return 0;
}

void CDBFrame::LayoutButtons()
{
    if (!m_hWnd)
        return;
    CRect window;
    GetWindowRect(&window);
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    struct Item
    {
        CCaptionButton* button;
        const RECT* design;
        UINT tool;
    };
    const Item items[3] = {{&m_btnClose, &m_rcClose, ID_CAPTION_CLOSE},
                           {&m_btnMax, &m_rcMax, ID_CAPTION_MAXIMIZE},
                           {&m_btnMin, &m_rcMin, ID_CAPTION_MINIMIZE}};
    for (int i = 0; i < 3; ++i)
    {
        if (!items[i].button->IsCreated() || (i > 0 && !HasMinMax()))
            continue;
        RECT r = {window.Width() - items[i].design->right - dx, items[i].design->top - dy,
                  window.Width() - items[i].design->left - dx, items[i].design->bottom - dy};
        items[i].button->SetRect(r);
        if (m_toolTip.GetSafeHwnd())
            m_toolTip.SetToolRect(this, items[i].tool, &r);
    }
}

void CDBFrame::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    RECT& r = params->rgrc[0];
    r.left += BORDER_LEFT;
    r.right -= BORDER_RIGHT;
    r.bottom -= BORDER_BOTTOM;
    r.top += GetCaptionHeight() + BORDER_TOP;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
}

void CDBFrame::OnNcPaint()
{
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width(), height = window.Height();
    const int captionHeight = GetCaptionHeight();
    LayoutButtons();
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    {
        CMemoryDC mem(width, captionHeight);
        (m_bActive ? m_captionActive : m_captionInactive).Draw(&mem, 0, 0, width, captionHeight);

        CString text;
        GetWindowText(text);
        CFont* oldFont = mem.SelectObject(GetUiFont());
        mem.SetBkMode(TRANSPARENT);
        mem.SetTextColor(TITLE_COLOUR);
        CRect titleRect(28, 7, 678, m_title.IsEmpty() ? captionHeight : m_title.GetHeight());
        mem.DrawText(text, &titleRect, 0);
        mem.SelectObject(oldFont);

        if (GetStyle() & WS_SYSMENU)
        {
            POINT origin = {0, 0};
            ::ClientToScreen(m_hWnd, &origin);
            const int dx = origin.x - window.left, dy = origin.y - window.top;
            int x = width - m_btnClose.GetSize().cx - 10;
            m_btnClose.Paint(x - dx, -dy, &mem);
            if (HasMinMax())
            {
                x -= m_btnMax.GetSize().cx;
                m_btnMax.Paint(x - dx, -dy, &mem);
                x -= m_btnMin.GetSize().cx;
                m_btnMin.Paint(x - dx, -dy, &mem);
            }
        }
        dc.BitBlt(0, 0, width, captionHeight, &mem, 0, 0, SRCCOPY);
    }
    m_borderLeft.Draw(&dc, 0, captionHeight, BORDER_LEFT, height - captionHeight);
    m_borderRight.Draw(&dc, width - BORDER_RIGHT, captionHeight, BORDER_RIGHT, height - captionHeight);
    m_borderBottom.Draw(&dc, 0, height - BORDER_BOTTOM, width, BORDER_BOTTOM);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

UINT CDBFrame::OnNcHitTest(CPoint point)
{
    CRect window;
    GetWindowRect(&window);
    CRect caption(window.left + BORDER_LEFT, window.top, window.right - BORDER_RIGHT,
                  window.top + GetCaptionHeight());
    if (caption.PtInRect(point))
        return HTCAPTION;
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    if (client.PtInRect(point))
        return HTCLIENT;
    return CFrameWnd::OnNcHitTest(point);
}

void CDBFrame::RelayToButtons(const MSG* msg)
{
    m_btnClose.RelayEvent(msg);
    if (HasMinMax())
    {
        m_btnMax.RelayEvent(msg);
        m_btnMin.RelayEvent(msg);
    }
}

LRESULT CDBFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU))
    {
        MSG msg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
        RelayToButtons(&msg);
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL CDBFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU) && m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CDBFrame::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CFrameWnd::OnActivate(state, other, minimized);
    m_bActive = state != WA_INACTIVE;
    if (m_toolTip.GetSafeHwnd())
        SendMessage(WM_NCPAINT);
}

void CDBFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    CRect window;
    GetWindowRect(&window);
    HRGN region = ::CreateRoundRectRgn(0, 0, window.Width(), window.Height(), m_sizeCorner.cx, m_sizeCorner.cy);
    if (region && !SetWindowRgn(region, TRUE))
        ::DeleteObject(region);
    if (m_btnMax.TrackSize(type))
        SendMessage(WM_NCPAINT);
}

void CDBFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    CFrameWnd::OnGetMinMaxInfo(info);
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    info->ptMaxPosition.x = work.left - 1;
    info->ptMaxPosition.y = work.top - 1;
    info->ptMaxSize.x = work.right - work.left + 2;
    info->ptMaxSize.y = work.bottom - work.top + 2;
    info->ptMaxTrackSize.x = 5000;
    info->ptMaxTrackSize.y = 5000;
}

void CDBFrame::OnCaptionClose()
{
    OnCloseButton();
}

void CDBFrame::OnCaptionMaxRestore()
{
    OnMaxRestore();
}

void CDBFrame::OnCaptionMinimize()
{
    ShowWindow(SW_SHOWMINNOACTIVE);
}
