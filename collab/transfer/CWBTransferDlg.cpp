#include "CWBTransferDlg.h"

#include "CLanguageManager.h"
#include "IWBTransferHost.h"
#include "PassApi.h"
#include "TransferResource.h"

BEGIN_MESSAGE_MAP(CWBTransferDlg, CSkinDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CWBTransferDlg::CWBTransferDlg(UINT templateId, LPCTSTR section, CWBTransferList* list,
                               IWBTransferHost* host, uint32_t documentId)
    : CSkinDialog(templateId, section, NULL), m_list(list), m_host(host),
      m_documentId(documentId), m_templateId(templateId)
{
}

BOOL CWBTransferDlg::CreateHidden()
{
    return Create(m_templateId, NULL);
}

BOOL CWBTransferDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_progress.SubclassDlgItem(IDC_TRANSFER_PROGRESS, this);
    m_progress.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    CenterWindow();
    // Just behind the main window in the window order.
    HWND main = m_host->MainWindow();
    if (main && ::IsWindow(main))
        ::SetWindowPos(m_hWnd, main, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

CString CWBTransferDlg::Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

void CWBTransferDlg::Started(DWORD handle, UINT statusId, UINT intervalMs)
{
    m_handle = handle;
    m_running = true;
    SetDlgItemText(IDC_TRANSFER_STATUS, Text(statusId));
    SetTimer(TIMER_POLL, intervalMs, NULL);
}

void CWBTransferDlg::Stop()
{
    if (m_hWnd)
        KillTimer(TIMER_POLL);
    if (m_running) {
        m_running = false;
        StopTransfer();
    }
}

void CWBTransferDlg::OnTimer(UINT_PTR id)
{
    if (id != TIMER_POLL || !m_running || m_ending)
        return;
    int progress = 0;
    int result = Poll(&progress);
    if (!m_running || m_ending)
        return;
    if (result == PASS_RUNNING) {
        m_progress.SetPos(progress < 0 ? 0 : progress > 100 ? 100 : progress);
        return;
    }
    End(result == PASS_FINISHED, result != PASS_FINISHED);
}

void CWBTransferDlg::End(BOOL ok, BOOL failed)
{
    if (m_ending)
        return;
    m_ending = true;
    Stop();
    ReportDone(ok);
    if (failed)
        m_host->ShowMessage(Text(FailureTextId()));
    DestroyWindow();
}

void CWBTransferDlg::OnCancel()
{
    End(FALSE, FALSE);
}

void CWBTransferDlg::Abort()
{
    if (m_ending)
        return;
    m_ending = true;
    Stop();
    DestroyWindow();
}

void CWBTransferDlg::OnDestroy()
{
    // Destroyed another way (with the program): the transfer still stops once.
    Stop();
    CSkinDialog::OnDestroy();
}

void CWBTransferDlg::PostNcDestroy()
{
    delete this;
}
