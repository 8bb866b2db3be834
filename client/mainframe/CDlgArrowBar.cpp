#include "CDlgArrowBar.h"

#include "IFrameHost.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "WindowLayout.h"

namespace {
const char* const kBackground = "Skins\\f.bmp";
const char* const kArrow = "Skins\\arrowhead.bmp";
} // namespace

BEGIN_MESSAGE_MAP(CDlgArrowBar, CDialog)
    ON_BN_CLICKED(IDC_ARROW_BUTTON, OnArrow)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CDlgArrowBar::CDlgArrowBar() : CDialog(IDD_ARROW_BAR) {}

BOOL CDlgArrowBar::CreateBar(CWnd* parent, IFrameHost* host)
{
    m_host = host;
    return Create(IDD_ARROW_BAR, parent);
}

BOOL CDlgArrowBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_background.LoadFromFile(kBackground, 10, 20, FALSE);
    if (m_arrow.SubclassDlgItem(IDC_ARROW_BUTTON, this))
        m_arrow.SetBitmapStrip(kArrow, TRUE);
    EnableWindow(FALSE);
    return TRUE;
}

void CDlgArrowBar::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_arrow.m_hWnd)
        m_arrow.MoveWindow(0, cy / 2, cx, BUTTON_HEIGHT);
}

BOOL CDlgArrowBar::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (!m_background.IsEmpty())
        m_background.Draw(dc, 0, 0, client.Width(), client.Height());
    else
        dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CDlgArrowBar::OnArrow()
{
    CWnd* frame = GetParent();
    if (!frame || !m_host)
        return;
    frame->SendMessage(WM_LAYOUT_CODE, m_host->GetDisplayMode() == DISPLAY_DATA_ONLY ? 0 : 1, 0);
}
