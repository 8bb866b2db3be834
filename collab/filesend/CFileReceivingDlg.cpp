#include "CFileReceivingDlg.h"

#include "CPassLibrary.h"
#include "IFileSendHost.h"

#include <cstdio>

CFileReceivingDlg::CFileReceivingDlg(IFileSendHost* host, uint32_t transferId,
                                     const std::string& fileName)
    : CFileProgressDlg(IDD, "CFileReceivingDlg", host, fileName), m_transferId(transferId)
{}

bool CFileReceivingDlg::Start(const std::string& targetPath)
{
    const PASS_FUNCTIONS& pass = m_host->Pass().Functions();
    const std::string server = m_host->ServerAddress();
    if (!m_host->Pass().IsBound() ||
        !pass.StartReceive(server.c_str(), m_host->FileTransferPort(), m_host->RoomId(),
                           m_transferId, targetPath.c_str())) {
        m_host->ShowMessage("错误号01!");
        DestroyWindow();
        return false;
    }
    Started("正在接收文件...");
    ShowWindow(SW_SHOWNOACTIVATE);
    return true;
}

int CFileReceivingDlg::Poll(int* progress)
{
    return m_host->Pass().Functions().PollReceive(m_transferId, progress);
}

void CFileReceivingDlg::StopTransfer() { m_host->Pass().Functions().StopReceive(m_transferId); }

void CFileReceivingDlg::Finished()
{
    const std::string text = "已保存到 " + m_host->GetReceiveFolder();
    m_host->ShowMessage(text.c_str());
}

void CFileReceivingDlg::Failed()
{
    char text[400];
    snprintf(text, sizeof text, "接收文件%s失败!", m_fileName.c_str());
    m_host->ShowMessage(text);
}
