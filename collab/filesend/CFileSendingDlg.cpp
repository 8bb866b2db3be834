#include "CFileSendingDlg.h"

#include "CPassLibrary.h"
#include "IFileSendHost.h"

#include <cstdio>

CFileSendingDlg::CFileSendingDlg(IFileSendHost* host, const std::string& fileName)
    : CFileProgressDlg(IDD, "CFileSendingDlg", host, fileName)
{}

bool CFileSendingDlg::Start(const std::string& path)
{
    const PASS_FUNCTIONS& pass = m_host->Pass().Functions();
    DWORD handle = 0;
    const std::string server = m_host->ServerAddress();
    if (!m_host->Pass().IsBound() || !pass.StartSend(server.c_str(), m_host->FileTransferPort(),
                                                     m_host->RoomId(), path.c_str(), &handle)) {
        m_host->ShowMessage("错误号01!");
        DestroyWindow();
        return false;
    }
    m_handle = handle;
    Started("正在上传文件...");
    return true;
}

int CFileSendingDlg::Poll(int* progress)
{
    return m_host->Pass().Functions().PollSend(m_handle, progress);
}

void CFileSendingDlg::StopTransfer() { m_host->Pass().Functions().StopSend(m_handle); }

void CFileSendingDlg::Failed()
{
    char text[400];
    snprintf(text, sizeof text, "发送文件%s失败!", m_fileName.c_str());
    m_host->ShowMessage(text);
}
