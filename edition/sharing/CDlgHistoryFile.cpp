#include "CDlgHistoryFile.h"

#include "QuilletSharingResource.h"
#include "SkinNames.h"

BEGIN_MESSAGE_MAP(CDlgHistoryFile, CDialog)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CDlgHistoryFile::Create(CWnd* parent) { return CDialog::Create(IDD_HISTORY_FILE, parent); }

BOOL CDlgHistoryFile::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_files.SubclassDlgItem(IDC_HISTORY_FILES, this))
        m_files.SetBitmapStrip(SKIN_STANDARD_BUTTON, TRUE);
    if (m_close.SubclassDlgItem(IDC_HISTORY_CLOSE, this))
        m_close.SetBitmapStrip(SKIN_EEL_BTN_CLOW, TRUE);
    for (int id : {IDOK, IDCANCEL})
        if (CWnd* button = GetDlgItem(id))
            button->ShowWindow(SW_HIDE);
    return TRUE;
}

void CDlgHistoryFile::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Invalidate(TRUE);
}

BOOL CDlgHistoryFile::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    ::FillRect(dc->GetSafeHdc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}
