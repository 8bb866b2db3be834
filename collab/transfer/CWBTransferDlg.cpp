#include "CWBTransferDlg.h"

#include "CLanguageManager.h"
#include "IWBTransferHost.h"

CWBTransferDlg::CWBTransferDlg(UINT templateId, LPCTSTR section, CWBTransferList* list,
                               IWBTransferHost* host, uint32_t documentId)
    : CPassProgressDlg(templateId, section), m_list(list), m_host(host), m_documentId(documentId)
{}

CString CWBTransferDlg::Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

void CWBTransferDlg::Started(DWORD handle, UINT statusId, UINT intervalMs)
{
    m_handle = handle;
    CPassProgressDlg::Started(Text(statusId), intervalMs);
}

HWND CWBTransferDlg::MainWindow() { return m_host->MainWindow(); }

void CWBTransferDlg::Ended(OUTCOME outcome)
{
    ReportDone(outcome == FINISHED);
    if (outcome == FAILED)
        m_host->ShowMessage(Text(FailureTextId()));
}
