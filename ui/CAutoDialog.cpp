#include "CAutoDialog.h"

#include "UiFont.h"
#include "UiResource.h"

BEGIN_MESSAGE_MAP(CAutoDialog, CLangDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CAutoDialog::CAutoDialog(int seconds, LPCTSTR text, CWnd* owner)
    : CLangDialog(IDD_AUTO_DIALOG, "CAutoDialog", NULL), m_strText(text ? text : ""),
      m_hIcon(::LoadIconA(NULL, (LPCSTR)IDI_QUESTION)), m_nSeconds(seconds), m_nResult(RESULT_NONE),
      m_pOwner(owner)
{}

void CAutoDialog::DoDataExchange(CDataExchange* pDX)
{
    CLangDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUTO_ICON, m_icon);
    DDX_Control(pDX, IDC_AUTO_TEXT, m_textCtrl);
    DDX_Text(pDX, IDC_AUTO_TEXT, m_strText);
}

BOOL CAutoDialog::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_btnOK.SubclassDlgItem(IDOK, this);
    m_btnCancel.SubclassDlgItem(IDCANCEL, this);
    m_icon.SendMessage(STM_SETICON, (WPARAM)m_hIcon, 0);
    m_textCtrl.SetWindowText(m_strText);

    // Enlarge the text to what the wrapped text needs, never below its
    // designed size; the dialog grows by the same amounts.
    CRect designed;
    m_textCtrl.GetWindowRect(&designed);
    ScreenToClient(&designed);
    CRect measured = designed;
    {
        CClientDC dc(&m_textCtrl);
        CFont* font = GetFont();
        CFont* old = dc.SelectObject(font ? font : GetUiFont());
        dc.DrawText(m_strText, &measured, DT_CALCRECT | DT_WORDBREAK);
        // A single word too long for the line: give the line what it takes.
        dc.SelectObject(old);
    }
    const int growX = measured.Width() > designed.Width() ? measured.Width() - designed.Width() : 0;
    const int growY =
        measured.Height() > designed.Height() ? measured.Height() - designed.Height() : 0;
    if (growX || growY) {
        m_textCtrl.SetWindowPos(NULL, 0, 0, designed.Width() + growX, designed.Height() + growY,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect window;
        GetWindowRect(&window);
        SetWindowPos(NULL, 0, 0, window.Width() + growX, window.Height() + growY,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // OK left of the centre, Cancel right of it, 13 pixels above the bottom.
    CRect client;
    GetClientRect(&client);
    const int centre = client.Width() / 2;
    CRect ok, cancel;
    m_btnOK.GetWindowRect(&ok);
    m_btnCancel.GetWindowRect(&cancel);
    m_btnOK.SetWindowPos(NULL, centre - 30 - ok.Width(), client.bottom - 13 - ok.Height(), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_btnCancel.SetWindowPos(NULL, centre + 30, client.bottom - 13 - cancel.Height(), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    CenterWindow();
    CWnd* main = AfxGetMainWnd();
    HWND after = main && main->GetSafeHwnd() && main->GetSafeHwnd() != m_hWnd ? main->GetSafeHwnd()
                                                                              : HWND_TOP;
    ::SetWindowPos(m_hWnd, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    SetTimer(TIMER_ANSWER, (UINT)(m_nSeconds > 0 ? m_nSeconds : 0) * 1000, NULL);
    return TRUE;
}

void CAutoDialog::Answer(int result, BOOL hideFirst)
{
    if (m_nResult != RESULT_NONE)
        return;
    m_nResult = result;
    if (hideFirst)
        ShowWindow(SW_HIDE);
    if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()))
        m_pOwner->PostMessage(WM_AUTODIALOG_RESULT, (WPARAM)result, 0);
    DestroyWindow();
}

void CAutoDialog::OnOK()
{
    KillTimer(TIMER_ANSWER);
    Answer(RESULT_OK, TRUE);
}

void CAutoDialog::OnCancel()
{
    KillTimer(TIMER_ANSWER);
    Answer(RESULT_CANCEL, TRUE);
}

void CAutoDialog::OnTimer(UINT id)
{
    if (id != TIMER_ANSWER) {
        CLangDialog::OnTimer(id);
        return;
    }
    KillTimer(TIMER_ANSWER);
    Answer(RESULT_CANCEL, FALSE);
}
