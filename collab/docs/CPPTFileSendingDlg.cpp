#include "CPPTFileSendingDlg.h"

#include <cstdio>

#include "CDocConversion.h"
#include "CDocTransfer.h"
#include "CPassLibrary.h"
#include "DocsResource.h"
#include "IDocShareHost.h"

BEGIN_MESSAGE_MAP(CPPTFileSendingDlg, CPassProgressDlg)
    ON_MESSAGE(CDocConversion::WM_CONVERTED, OnConverted)
END_MESSAGE_MAP()

namespace {
std::string Format(const char* format, const std::string& name)
{
    std::string text(strlen(format) + name.size() + 1, '\0');
    snprintf(&text[0], text.size(), format, name.c_str());
    text.resize(strlen(text.c_str()));
    return text;
}
} // namespace

CPPTFileSendingDlg::CPPTFileSendingDlg(CDocTransfer* transfer, IDocShareHost* host,
                                       const std::string& fileName, uint32_t category)
    : CPassProgressDlg(IDD_PPT_FILE_SENDING, "CPPTFileSendingDlg"), m_transfer(transfer),
      m_host(host), m_fileName(fileName), m_category(category)
{}

BOOL CPPTFileSendingDlg::CreateShown()
{
    if (!CreateHidden())
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CPPTFileSendingDlg::SetTarget(const std::string& server, uint16_t port,
                                   const std::string& outputPath)
{
    m_server = server;
    m_port = port;
    m_outputPath = outputPath;
}

LRESULT CPPTFileSendingDlg::OnConverted(WPARAM wParam, LPARAM)
{
    try {
        if (IsEnding() || IsRunning())
            return 0;
        if (wParam == 0)
            Fail(Format("转换文档 %s 失败!", m_fileName));
        else if (wParam == 1)
            StartUpload();
    } catch (...) {
        Fail(std::string());
    }
    return 0;
}

void CPPTFileSendingDlg::StartUpload()
{
    const PASS_FUNCTIONS& pass = m_host->Pass().Functions();
    DWORD handle = 0;
    if (!m_host->Pass().IsBound() ||
        !pass.StartDocUpload(m_server.c_str(), m_port, m_host->RoomId(), m_outputPath.c_str(),
                             &handle)) {
        Fail("错误号01!");
        return;
    }
    m_handle = handle;
    CString a, b;
    pass.GetDocUploadValueA(m_handle, &a);
    pass.GetDocUploadValueB(m_handle, &b);
    m_valueA = (LPCSTR)a;
    m_valueB = (LPCSTR)b;
    Started("正在上传文件...", POLL_MS);
}

int CPPTFileSendingDlg::Poll(int* progress)
{
    m_lastPoll = m_host->Pass().Functions().PollDocUpload(m_handle, progress);
    if (m_lastPoll != PASS_RUNNING && m_lastPoll != PASS_FINISHED)
        m_failure = Format("发送文件%s失败!", m_fileName);
    return m_lastPoll;
}

void CPPTFileSendingDlg::StopTransfer()
{
    if (m_host->Pass().IsBound())
        m_host->Pass().Functions().StopDocUpload(m_handle);
}

void CPPTFileSendingDlg::Fail(const std::string& text)
{
    m_failure = text;
    End(FAILED);
}

void CPPTFileSendingDlg::Ended(OUTCOME outcome)
{
    m_transfer->OnDialogDone(this, outcome == FINISHED);
    if (outcome == FAILED && !m_failure.empty())
        m_host->ShowInfo(m_failure.c_str());
}

void CPPTFileSendingDlg::Stop() { End(CANCELLED); }

void CPPTFileSendingDlg::DestroyedUnended() { m_transfer->OnDialogDone(this, false); }
