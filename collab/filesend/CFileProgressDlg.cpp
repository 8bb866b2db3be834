#include "CFileProgressDlg.h"

#include "FileSendResource.h"
#include "IFileSendHost.h"
#include "PassApi.h"

BEGIN_MESSAGE_MAP(CFileProgressDlg, CSkinDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFileProgressDlg::CFileProgressDlg(UINT templateId, LPCTSTR section, IFileSendHost* host,
                                   const std::string& fileName)
    : CSkinDialog(templateId, section, NULL), m_host(host), m_fileName(fileName),
      m_templateId(templateId)
{}

BOOL CFileProgressDlg::CreateHidden() { return Create(m_templateId, NULL); }

BOOL CFileProgressDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_progress.SubclassDlgItem(IDC_FILE_PROGRESS, this);
    m_progress.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    CenterWindow();
    HWND main = m_host->MainWindow();
    if (main && ::IsWindow(main))
        ::SetWindowPos(m_hWnd, main, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CFileProgressDlg::Started(const char* status)
{
    m_running = true;
    SetDlgItemText(IDC_FILE_STATUS, status);
    SetTimer(TIMER_POLL, POLL_MS, NULL);
}

void CFileProgressDlg::Stop()
{
    if (m_hWnd)
        KillTimer(TIMER_POLL);
    if (m_running) {
        m_running = false;
        StopTransfer();
    }
}

void CFileProgressDlg::OnTimer(UINT_PTR id)
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
    End(result);
}

void CFileProgressDlg::End(int result)
{
    if (m_ending)
        return;
    m_ending = true;
    Stop();
    // The timer is gone and the transfer stopped before any box shows; the
    // window may go with the program while the box is up.
    const HWND self = m_hWnd;
    if (result == PASS_FINISHED)
        Finished();
    else
        Failed();
    if (::IsWindow(self))
        DestroyWindow();
}

void CFileProgressDlg::OnCancel()
{
    if (m_ending)
        return;
    m_ending = true;
    Stop();
    DestroyWindow();
}

void CFileProgressDlg::OnDestroy()
{
    // Destroyed another way (with the program): the transfer still stops once.
    Stop();
    CSkinDialog::OnDestroy();
}

void CFileProgressDlg::PostNcDestroy() { delete this; }
