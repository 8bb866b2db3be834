#pragma once
#include <functional>

#include "IWBTransferHost.h"

// The transfers' host in the running client: the logged-in connection, the
// file-transfer port of the settings, the client's own file-transfer
// library, the command connection for announcements and the client's
// message boxes. Pages that arrived go to the function the frame gives.
class CWBClientTransferHost : public IWBTransferHost
{
public:
    typedef std::function<void(uint32_t documentId, int pageIndex)> PageArrived;
    explicit CWBClientTransferHost(PageArrived pageArrived);

    CPassLibrary& Pass() override;
    std::string ServerAddress() override;
    uint16_t FileTransferPort() override;
    uint32_t RoomId() override;
    HWND MainWindow() override;
    void OnPageArrived(uint32_t documentId, int pageIndex) override;
    void AnnounceDocument(const WB_UPLOADED_DOCUMENT& document) override;
    void ShowMessage(const char* text) override;

private:
    PageArrived m_pageArrived;
};
