#include "CDocTransfer.h"

#include <new>

#include "CDocConversion.h"
#include "CDocName.h"
#include "CPPTFileSendingDlg.h"
#include "IDocShareHost.h"

CDocTransfer::CDocTransfer(IDocShareHost* host) : m_host(host) {}

CDocTransfer::~CDocTransfer() { Stop(); }

CDocTransfer& CDocTransfer::Instance()
{
    static CDocTransfer transfer;
    return transfer;
}

std::string CDocTransfer::MakeOutputPath(const std::string& programFolder,
                                         const std::string& extension, DWORD tick)
{
    return programFolder + "temp\\PPTFile" + std::to_string(static_cast<int>(tick)) +
           (extension == ".dwg" ? ".dwg" : ".htm");
}

bool CDocTransfer::RefuseWhileBusy()
{
    if (!IsBusy())
        return false;
    m_host->ShowInfo("对不起,正在进行的文档传输还没有完成!");
    return true;
}

void CDocTransfer::StartPresentationUpload(uint32_t category)
{
    if (!m_host || RefuseWhileBusy())
        return;
    std::string path, name;
    if (!m_host->ChooseDocument(&path, &name))
        return;
    Begin(path, name, category);
}

bool CDocTransfer::Begin(const std::string& sourcePath, const std::string& fileName,
                         uint32_t category)
{
    if (!m_host || RefuseWhileBusy())
        return false;
    const std::string folder = m_host->ProgramFolder();
    m_extension = CDocName::LowerExtension(sourcePath);
    m_sourcePath = sourcePath;
    m_outputPath = MakeOutputPath(folder, m_extension, GetTickCount());
    // The converter writes into the temp folder, which a fresh install lacks.
    CreateDirectoryA((folder + "temp").c_str(), NULL);

    CPPTFileSendingDlg* dialog =
        new (std::nothrow) CPPTFileSendingDlg(this, m_host, fileName, category);
    if (!dialog) {
        m_host->ShowInfo("创建文档共享发送对象失败!");
        return false;
    }
    if (!dialog->CreateShown()) {
        if (dialog->m_hWnd)
            dialog->DestroyWindow(); // frees itself
        else
            delete dialog;
        return false;
    }
    dialog->SetTarget(m_host->ServerAddress(), m_host->FileTransferPort(), m_outputPath);
    m_dialog = dialog;
    if (!CDocConversion::Start(dialog->m_hWnd, folder, m_extension, m_sourcePath, m_outputPath)) {
        dialog->Stop();
        return false;
    }
    return true;
}

void CDocTransfer::Stop()
{
    if (m_dialog)
        m_dialog->Stop();
}

void CDocTransfer::OnDialogDone(CPPTFileSendingDlg* dialog, bool ok)
{
    if (!dialog || dialog != m_dialog)
        return;
    m_dialog = nullptr;
    if (!ok)
        return;
    // The room learns of it: file name, then the two values of the upload.
    m_host->AnnounceDocumentCategory(dialog->Category(), dialog->FileName().c_str(),
                                     dialog->ValueB().c_str(), dialog->ValueA().c_str());
}
