#include "CPPTFileSendingDlg.h"

#include <cstdio>

#include "CDocConversion.h"
#include "CDocTransfer.h"
#include "CPassLibrary.h"
#include "DocsResource.h"
#include "IDocShareHost.h"

BEGIN_MESSAGE_MAP(CPPTFileSendingDlg, CSkinDialog)
    ON_MESSAGE(CDocConversion::WM_CONVERTED, OnConverted)
    ON_WM_TIMER()
    ON_WM_DESTROY()
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
    : CSkinDialog(IDD_PPT_FILE_SENDING, "CPPTFileSendingDlg", NULL), m_transfer(transfer),
      m_host(host), m_fileName(fileName), m_category(category)
{
}

BOOL CPPTFileSendingDlg::CreateShown()
{
    if (!Create(IDD_PPT_FILE_SENDING, NULL))
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

BOOL CPPTFileSendingDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_progress.SubclassDlgItem(IDC_PPT_PROGRESS, this);
    m_progress.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    CenterWindow();
    return TRUE;
}

LRESULT CPPTFileSendingDlg::OnConverted(WPARAM wParam, LPARAM)
{
    try {
        if (m_ended || m_uploading)
            return 0;
        if (wParam == 0)
            Finish(false, Format("转换文档 %s 失败!", m_fileName));
        else if (wParam == 1)
            StartUpload();
    } catch (...) {
        Finish(false, std::string());
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
        Finish(false, "错误号01!");
        return;
    }
    m_handle = handle;
    m_uploading = true;
    CString a, b;
    pass.GetDocUploadValueA(m_handle, &a);
    pass.GetDocUploadValueB(m_handle, &b);
    m_valueA = (LPCSTR)a;
    m_valueB = (LPCSTR)b;
    SetDlgItemText(IDC_PPT_STATUS, "正在上传文件...");
    SetTimer(TIMER_POLL, POLL_MS, NULL);
}

void CPPTFileSendingDlg::StopUpload()
{
    if (m_hWnd)
        KillTimer(TIMER_POLL);
    if (m_uploading) {
        m_uploading = false;
        if (m_host->Pass().IsBound())
            m_host->Pass().Functions().StopDocUpload(m_handle);
    }
}

void CPPTFileSendingDlg::OnTimer(UINT_PTR id)
{
    if (id != TIMER_POLL || !m_uploading || m_ended)
        return;
    int progress = 0;
    m_lastPoll = m_host->Pass().Functions().PollDocUpload(m_handle, &progress);
    if (m_lastPoll == 0) {
        m_progress.SetPos(progress < 0 ? 0 : progress > 100 ? 100 : progress);
        return;
    }
    if (m_lastPoll == 1)
        Finish(true, std::string());
    else
        Finish(false, Format("发送文件%s失败!", m_fileName));
}

void CPPTFileSendingDlg::Finish(bool ok, const std::string& failure)
{
    if (m_ended)
        return;
    m_ended = true;
    StopUpload();
    m_transfer->OnDialogDone(this, ok);
    if (!failure.empty())
        m_host->ShowInfo(failure.c_str());
    if (m_hWnd)
        DestroyWindow();
}

void CPPTFileSendingDlg::OnCancel() { Finish(false, std::string()); }

void CPPTFileSendingDlg::Stop() { Finish(false, std::string()); }

void CPPTFileSendingDlg::OnDestroy()
{
    // Destroyed some other way (with the program): still stopped and told once.
    if (!m_ended) {
        m_ended = true;
        StopUpload();
        m_transfer->OnDialogDone(this, false);
    }
    CSkinDialog::OnDestroy();
}

void CPPTFileSendingDlg::PostNcDestroy() { delete this; }
