#include "CPassProgressDlg.h"

#include "PassApi.h"

BEGIN_MESSAGE_MAP(CPassProgressDlg, CSkinDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPassProgressDlg::CPassProgressDlg(UINT templateId, LPCTSTR section)
    : CSkinDialog(templateId, section, NULL), m_templateId(templateId)
{}

BOOL CPassProgressDlg::CreateHidden() { return Create(m_templateId, NULL); }

BOOL CPassProgressDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_progress.SubclassDlgItem(IDC_PROGRESS_BAR, this);
    m_progress.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    CenterWindow();
    const HWND main = MainWindow();
    if (main && ::IsWindow(main))
        ::SetWindowPos(m_hWnd, main, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CPassProgressDlg::Started(const char* status, UINT pollMs)
{
    m_running = true;
    SetDlgItemText(IDC_STATUS_TEXT, status);
    SetTimer(TIMER_POLL, pollMs, NULL);
}

void CPassProgressDlg::Stop()
{
    if (m_hWnd)
        KillTimer(TIMER_POLL);
    if (m_running) {
        m_running = false;
        StopTransfer();
    }
}

void CPassProgressDlg::OnTimer(UINT_PTR id)
{
    if (id != TIMER_POLL || !m_running || m_ending)
        return;
    int progress = 0;
    const int result = Poll(&progress);
    if (!m_running || m_ending)
        return;
    if (result == PASS_RUNNING) {
        m_progress.SetPos(progress < 0 ? 0 : progress > 100 ? 100 : progress);
        return;
    }
    End(result == PASS_FINISHED ? FINISHED : FAILED);
}

void CPassProgressDlg::End(OUTCOME outcome)
{
    if (m_ending)
        return;
    m_ending = true;
    // The timer is gone and the transfer stopped before anything is told.
    Stop();
    const HWND self = m_hWnd;
    Ended(outcome);
    if (::IsWindow(self))
        DestroyWindow();
}

void CPassProgressDlg::OnCancel() { End(CANCELLED); }

void CPassProgressDlg::Abort()
{
    if (m_ending)
        return;
    m_ending = true;
    Stop();
    DestroyWindow();
}

void CPassProgressDlg::OnDestroy()
{
    // Destroyed another way (with the program): the transfer still stops once.
    const bool ended = m_ending;
    m_ending = true;
    Stop();
    if (!ended)
        DestroyedUnended();
    CSkinDialog::OnDestroy();
}

void CPassProgressDlg::PostNcDestroy() { delete this; }
