#include "CFileProgressDlg.h"

#include "IFileSendHost.h"

CFileProgressDlg::CFileProgressDlg(UINT templateId, LPCTSTR section, IFileSendHost* host,
                                   const std::string& fileName)
    : CPassProgressDlg(templateId, section), m_host(host), m_fileName(fileName)
{}

HWND CFileProgressDlg::MainWindow() { return m_host->MainWindow(); }

void CFileProgressDlg::Ended(OUTCOME outcome)
{
    if (outcome == FINISHED)
        Finished();
    else if (outcome == FAILED)
        Failed();
}
