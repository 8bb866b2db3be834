#include "CDlgRestoreBar.h"

#include "IFrameHost.h"
#include "MainFrameResource.h"
#include "SkinNames.h"

BEGIN_MESSAGE_MAP(CDlgRestoreBar, CDialog)
    ON_BN_CLICKED(IDC_RESTORE, OnRestore)
END_MESSAGE_MAP()

CDlgRestoreBar::CDlgRestoreBar() : CDialog(IDD_RESTORE_BAR) {}

BOOL CDlgRestoreBar::CreateBar(CWnd* parent, IFrameHost* host)
{
    m_host = host;
    return Create(IDD_RESTORE_BAR, parent);
}

BOOL CDlgRestoreBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_restore.SubclassDlgItem(IDC_RESTORE, this))
        m_restore.SetBitmapStrip(SKIN_STANDARD_BUTTON, TRUE);
    return TRUE;
}

void CDlgRestoreBar::ShowCentred()
{
    CRect bar;
    GetWindowRect(&bar);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - bar.Width()) / 2;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CDlgRestoreBar::OnRestore()
{
    if (m_host && m_host->HasLayoutRight())
        m_host->LeaveFullScreen();
}
