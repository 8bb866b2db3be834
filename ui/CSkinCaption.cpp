#include "CSkinCaption.h"

#include "CMemoryDC.h"

CSkinCaption::CSkinCaption(CWnd& owner, const Layout& layout) : m_owner(owner), m_layout(layout) {}

void CSkinCaption::LoadBorders(LPCTSTR left, LPCTSTR right, LPCTSTR bottom, int sideStart,
                               int sideEnd, int bottomStart, int bottomEnd)
{
    m_borderLeft.LoadFromFile(left, sideStart, sideEnd, FALSE);
    m_borderRight.LoadFromFile(right, sideStart, sideEnd, FALSE);
    m_borderBottom.LoadFromFile(bottom, bottomStart, bottomEnd, TRUE);
}

BOOL CSkinCaption::HasMinMax() const
{
    return (m_owner.GetStyle() & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
}

void CSkinCaption::CreateButtons(const ButtonSkins& skins)
{
    m_toolTip.Create(&m_owner);
    m_toolTip.SetMaxTipWidth(250);
    const DWORD style = m_owner.GetStyle();
    if (style & WS_SYSMENU) {
        m_btnClose.Create(m_layout.close, &m_owner, ID_CAPTION_CLOSE, skins.close);
        m_toolTip.AddTool(&m_owner, "关闭", &m_layout.close, ID_CAPTION_CLOSE);
        if (HasMinMax()) {
            m_btnMax.Create(m_layout.maximize, &m_owner, ID_CAPTION_MAXIMIZE, ID_CAPTION_RESTORE,
                            skins.maximize, skins.restore);
            m_btnMax.Enable((style & WS_MAXIMIZEBOX) != 0);
            m_toolTip.AddTool(&m_owner, "最大化窗口", &m_layout.maximize, ID_CAPTION_MAXIMIZE);
            m_btnMin.Create(m_layout.minimize, &m_owner, ID_CAPTION_MINIMIZE, skins.minimize);
            m_btnMin.Enable((style & WS_MINIMIZEBOX) != 0);
            m_toolTip.AddTool(&m_owner, "最小化窗口", &m_layout.minimize, ID_CAPTION_MINIMIZE);
        }
    }
    LayoutButtons();
}

void CSkinCaption::LayoutButtons()
{
    if (!m_owner.m_hWnd)
        return;
    CRect window;
    m_owner.GetWindowRect(&window);
    POINT origin = {0, 0};
    ::ClientToScreen(m_owner.m_hWnd, &origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    struct Item
    {
        CCaptionButton* button;
        const RECT* design;
        UINT tool;
    };
    const Item items[3] = {{&m_btnClose, &m_layout.close, ID_CAPTION_CLOSE},
                           {&m_btnMax, &m_layout.maximize, ID_CAPTION_MAXIMIZE},
                           {&m_btnMin, &m_layout.minimize, ID_CAPTION_MINIMIZE}};
    for (int i = 0; i < 3; ++i) {
        if (!items[i].button->IsCreated() || (i > 0 && !HasMinMax()))
            continue;
        // Measured leftwards from the right edge; to client coordinates.
        RECT r = {window.Width() - items[i].design->right - dx, items[i].design->top - dy,
                  window.Width() - items[i].design->left - dx, items[i].design->bottom - dy};
        items[i].button->SetRect(r);
        if (m_toolTip.GetSafeHwnd())
            m_toolTip.SetToolRect(&m_owner, items[i].tool, &r);
    }
}

void CSkinCaption::CalcSize(NCCALCSIZE_PARAMS* params, int captionHeight) const
{
    RECT& r = params->rgrc[0];
    r.left += BORDER_LEFT;
    r.right -= BORDER_RIGHT;
    r.bottom -= BORDER_BOTTOM;
    r.top += captionHeight + BORDER_TOP;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
}

void CSkinCaption::PaintNonClient(int captionHeight,
                                  const std::function<void(CDC*, int width)>& drawCaption)
{
    CRect window;
    m_owner.GetWindowRect(&window);
    const int width = window.Width(), height = window.Height();
    LayoutButtons();

    HDC hdc = ::GetWindowDC(m_owner.m_hWnd);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    {
        CMemoryDC mem(width, captionHeight);
        drawCaption(&mem, width);
        if (m_owner.GetStyle() & WS_SYSMENU) {
            POINT origin = {0, 0};
            ::ClientToScreen(m_owner.m_hWnd, &origin);
            const int dx = origin.x - window.left, dy = origin.y - window.top;
            int x = width - m_btnClose.GetSize().cx - m_layout.buttonMargin;
            m_btnClose.Paint(x - dx, -dy, &mem);
            if (HasMinMax()) {
                x -= m_btnMax.GetSize().cx;
                m_btnMax.Paint(x - dx, -dy, &mem);
                x -= m_btnMin.GetSize().cx;
                m_btnMin.Paint(x - dx, -dy, &mem);
            }
        }
        dc.BitBlt(0, 0, width, captionHeight, &mem, 0, 0, SRCCOPY);
    }
    m_borderLeft.Draw(&dc, 0, captionHeight, BORDER_LEFT, height - captionHeight);
    m_borderRight.Draw(&dc, width - BORDER_RIGHT, captionHeight, BORDER_RIGHT,
                       height - captionHeight);
    m_borderBottom.Draw(&dc, 0, height - BORDER_BOTTOM, width, BORDER_BOTTOM);
    dc.Detach();
    ::ReleaseDC(m_owner.m_hWnd, hdc);
}

UINT CSkinCaption::HitTest(CPoint point, int captionHeight) const
{
    CRect window;
    m_owner.GetWindowRect(&window);
    CRect caption(window.left + BORDER_LEFT, window.top + BORDER_TOP, window.right - BORDER_RIGHT,
                  window.top + captionHeight);
    if (caption.PtInRect(point))
        return HTCAPTION;
    CRect client;
    m_owner.GetClientRect(&client);
    m_owner.ClientToScreen(&client);
    if (client.PtInRect(point))
        return HTCLIENT;
    return 0;
}

void CSkinCaption::RelayToButtons(const MSG* msg)
{
    m_btnClose.RelayEvent(msg);
    if (HasMinMax()) {
        m_btnMax.RelayEvent(msg);
        m_btnMin.RelayEvent(msg);
    }
}

void CSkinCaption::RelayToToolTip(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(msg);
}

void CSkinCaption::OnSize(UINT type)
{
    CRect window;
    m_owner.GetWindowRect(&window);
    HRGN region = ::CreateRoundRectRgn(0, 0, window.Width(), window.Height(), CORNER, CORNER);
    // The window owns the region from here on.
    if (region && !m_owner.SetWindowRgn(region, TRUE))
        ::DeleteObject(region);
    if (m_btnMax.TrackSize(type))
        m_owner.SendMessage(WM_NCPAINT);
}
