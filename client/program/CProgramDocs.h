#pragma once
#include "IDocShareHost.h"
#include "PaneContext.h"

#include <functional>
#include <memory>

class CMainFrame;
class CWnd;
class CDlgNetDisk;
class CWBClientTransferHost;
class CWBTransferList;
class CWBFrame;
class CWebShareFrame;

// The shared documents in the running client: the network-disk page with
// its three lists as the dispatcher's targets, and what they reach of the
// rest of the program (the connection, the user's rights, the tab strip,
// the presentation board and the whiteboard). The main window owns the page.
class CProgramDocs : public IDocShareHost
{
public:
    // presentation: the presentation board while it exists, else null.
    CProgramDocs(CMainFrame* frame, const PANE_CONTEXT& context,
                 std::function<CWebShareFrame*()> presentation);
    ~CProgramDocs() override;

    // Makes the page as a child of the tab strip; null when it cannot.
    CWnd* CreatePage(CWnd* parent);

    bool HasControlRight() override;
    bool RoomForbidsUpload() override;
    void SendDocumentDelete(uint32_t id, uint8_t docClass) override;
    void RequestDocumentList() override;
    bool AnnounceDocumentCategory(uint32_t folderId, const char* name, const char* second,
                                  const char* third) override;
    CPassLibrary& Pass() override;
    std::string ServerAddress() override;
    uint16_t FileTransferPort() override;
    uint32_t RoomId() override;
    std::string ProgramFolder() override;
    void ShowDataPage(int page) override;
    void OpenOnBoard(const char* address) override;
    void OpenInWhiteboard(const SHARED_DOC_RECORD& record) override;
    bool StartDocumentDownload(const char* storedPath, const char* targetPath) override;
    void UploadWhiteboardDocument(uint32_t folderId) override;
    void UploadWhiteboardFile() override;
    void ShowInfo(const char* text) override;
    void ShowPlainMessage(const char* text) override;
    bool ChooseSavePath(const char* title, const char* extension, std::string* path) override;
    bool ChooseDocument(std::string* path, std::string* fileName) override;

private:
    // The whiteboard's document frame, null without one.
    CWBFrame* Board();

    CMainFrame* m_frame;
    PANE_CONTEXT m_ctx;
    std::function<CWebShareFrame*()> m_presentation;
    CDlgNetDisk* m_page = nullptr;
    std::unique_ptr<CWBClientTransferHost> m_downloadHost;
    std::unique_ptr<CWBTransferList> m_downloads;
};
