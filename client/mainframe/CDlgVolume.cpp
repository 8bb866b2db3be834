#include "CDlgVolume.h"

#include "MainFrameResource.h"

BEGIN_MESSAGE_MAP(CDlgVolume, CDialog)
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CDlgVolume::CDlgVolume() : CDialog(IDD_VOLUME) {}

BOOL CDlgVolume::CreatePopup(CWnd* parent) { return Create(IDD_VOLUME, parent); }

void CDlgVolume::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CDialog::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        ShowWindow(SW_HIDE);
}
