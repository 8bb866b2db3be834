#include "CSkinDialog.h"

#include "CMemoryDC.h"
#include "SkinNames.h"
#include "UiFont.h"

BEGIN_MESSAGE_MAP(CSkinDialog, CLangDialog)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_COMMAND(ID_CAPTION_CLOSE, OnCaptionClose)
    ON_COMMAND(ID_CAPTION_MAXIMIZE, OnCaptionMaximize)
    ON_COMMAND(ID_CAPTION_RESTORE, OnCaptionRestore)
    ON_COMMAND(ID_CAPTION_MINIMIZE, OnCaptionMinimize)
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog(UINT templateId, LPCTSTR section, CWnd* parent)
    : CLangDialog(templateId, section, parent), m_sizeCorner(11, 11), m_rcMin{40, 5, 60, 30},
      m_rcClose{0, 5, 20, 30}, m_rcMax{20, 5, 40, 30}
{
    m_caption.LoadFromFile(SKIN_TOP, 60, 70, TRUE);
    m_borderLeft.LoadFromFile(SKIN_BORDER2, 10, 20, FALSE);
    m_borderRight.LoadFromFile(SKIN_BORDER3, 10, 20, FALSE);
    m_borderBottom.LoadFromFile(SKIN_BORDER1, 10, 20, TRUE);
    m_brushBackground.CreateSolidBrush(BACKGROUND);
}

int CSkinDialog::GetCaptionHeight() const
{
    return m_caption.IsEmpty() ? ::GetSystemMetrics(SM_CYCAPTION) : m_caption.GetHeight();
}

BOOL CSkinDialog::HasMinMax() const
{
    return (GetStyle() & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
}

BOOL CSkinDialog::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_toolTip.Create(this);
    m_toolTip.SetMaxTipWidth(250);

    const DWORD style = GetStyle();
    if (style & WS_SYSMENU)
    {
        m_btnClose.Create(m_rcClose, this, ID_CAPTION_CLOSE, SKIN_CLOSES);
        m_toolTip.AddTool(this, "关闭", &m_rcClose, ID_CAPTION_CLOSE);
        if (HasMinMax())
        {
            m_btnMax.Create(m_rcMax, this, ID_CAPTION_MAXIMIZE, ID_CAPTION_RESTORE, SKIN_CLOSESD, SKIN_S_BTN);
            m_btnMax.Enable((style & WS_MAXIMIZEBOX) != 0);
            m_toolTip.AddTool(this, "最大化窗口", &m_rcMax, ID_CAPTION_MAXIMIZE);
            m_btnMin.Create(m_rcMin, this, ID_CAPTION_MINIMIZE, SKIN_SS);
            m_btnMin.Enable((style & WS_MINIMIZEBOX) != 0);
            m_toolTip.AddTool(this, "最小化窗口", &m_rcMin, ID_CAPTION_MINIMIZE);
        }
    }
    LayoutButtons();
    return TRUE;
}

void CSkinDialog::LayoutButtons()
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
        // Measured leftwards from the right edge; to client coordinates.
        RECT r = {window.Width() - items[i].design->right - dx, items[i].design->top - dy,
                  window.Width() - items[i].design->left - dx, items[i].design->bottom - dy};
        items[i].button->SetRect(r);
        if (m_toolTip.GetSafeHwnd())
            m_toolTip.SetToolRect(this, items[i].tool, &r);
    }
}

void CSkinDialog::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
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

void CSkinDialog::OnNcPaint()
{
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width(), height = window.Height();
    const int captionHeight = GetCaptionHeight() + BORDER_TOP;
    LayoutButtons();

    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    {
        CMemoryDC mem(width, captionHeight);
        m_caption.Draw(&mem, 0, 0, width, captionHeight);
        CString text;
        GetWindowText(text);
        CFont* oldFont = mem.SelectObject(GetUiFont());
        mem.SetBkMode(TRANSPARENT);
        CRect textRect(12, 2, width + 12, captionHeight + 2);
        mem.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER);
        mem.SelectObject(oldFont);

        if (GetStyle() & WS_SYSMENU)
        {
            POINT origin = {0, 0};
            ::ClientToScreen(m_hWnd, &origin);
            const int dx = origin.x - window.left, dy = origin.y - window.top;
            int x = width - m_btnClose.GetSize().cx - 1;
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

UINT CSkinDialog::OnNcHitTest(CPoint point)
{
    CRect window;
    GetWindowRect(&window);
    CRect caption(window.left + BORDER_LEFT, window.top + BORDER_TOP, window.right - BORDER_RIGHT,
                  window.top + GetCaptionHeight());
    if (caption.PtInRect(point))
        return HTCAPTION;
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    if (client.PtInRect(point))
        return HTCLIENT;
    UINT hit = CLangDialog::OnNcHitTest(point);
    if (hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON)
        hit = HTCAPTION;
    return hit;
}

void CSkinDialog::RelayToButtons(const MSG* msg)
{
    m_btnClose.RelayEvent(msg);
    if (HasMinMax())
    {
        m_btnMax.RelayEvent(msg);
        m_btnMin.RelayEvent(msg);
    }
}

BOOL CSkinDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU))
    {
        RelayToButtons(pMsg);
        if (m_toolTip.GetSafeHwnd())
            m_toolTip.RelayEvent(pMsg);
    }
    return CLangDialog::PreTranslateMessage(pMsg);
}

LRESULT CSkinDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A lost capture and the window's end are sent, never queued: the
    // buttons hear of them here, so that none is left holding the shared
    // capture pointer.
    if (m_hWnd && (message == WM_CAPTURECHANGED || message == WM_DESTROY || message == WM_NCDESTROY) &&
        (GetStyle() & WS_SYSMENU))
    {
        MSG msg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
        RelayToButtons(&msg);
    }
    return CLangDialog::WindowProc(message, wParam, lParam);
}

void CSkinDialog::OnCaptionClose()
{
    PostMessage(WM_CLOSE);
}

void CSkinDialog::OnCaptionMaximize()
{
    ShowWindow(SW_MAXIMIZE);
}

void CSkinDialog::OnCaptionRestore()
{
    ShowWindow(SW_RESTORE);
}

void CSkinDialog::OnCaptionMinimize()
{
    ShowWindow(SW_SHOWMINNOACTIVE);
}

void CSkinDialog::OnSize(UINT type, int cx, int cy)
{
    CLangDialog::OnSize(type, cx, cy);
    CRect window;
    GetWindowRect(&window);
    HRGN region = ::CreateRoundRectRgn(0, 0, window.Width(), window.Height(), m_sizeCorner.cx, m_sizeCorner.cy);
    // The window owns the region from here on.
    if (region && !SetWindowRgn(region, TRUE))
        ::DeleteObject(region);
    if (m_btnMax.TrackSize(type))
        SendMessage(WM_NCPAINT);
}

void CSkinDialog::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CLangDialog::OnActivate(state, other, minimized);
    if (m_toolTip.GetSafeHwnd())
        SendMessage(WM_NCPAINT);
}

HBRUSH CSkinDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_DLG || ctlColor == CTLCOLOR_STATIC)
    {
        dc->SetBkColor(BACKGROUND);
        return (HBRUSH)m_brushBackground.GetSafeHandle();
    }
    return CLangDialog::OnCtlColor(dc, wnd, ctlColor);
}
