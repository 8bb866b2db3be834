#pragma once
#include <memory>

#include "CWBTransferList.h"
#include "IWBTransferHost.h"
#include "IWBTransfers.h"

// The whiteboard frame's document transfers: the frame's calls carried out
// by a transfer list, whose progress dialogs move the page files through
// the file-transfer library. Pages that arrive go to the frame's page sink.
class CWBFrameTransfers : public IWBTransfers
{
public:
    // Over the client's own connection and library (the running program).
    explicit CWBFrameTransfers(IWBPageSink* sink);
    // Over a host of the caller's (tests); the host's page arrivals are its
    // own to pass on.
    explicit CWBFrameTransfers(std::unique_ptr<IWBTransferHost> host);
    ~CWBFrameTransfers() override;

    bool StartUpload(DWORD docId, int folder, bool noAnnouncement, const char* name, SIZE pageSize,
                     const char* const* paths, int count, BYTE* uploadFlag,
                     std::string* storedName) override;
    bool StartDownload(const char* server, DWORD docId, BYTE openedHere, BYTE uploadFlag,
                       const char* const* paths, int count, const char* storedName) override;
    void CancelUpload(DWORD docId) override;
    void CancelDownload(DWORD docId) override;
    void StopAll() override;

    CWBTransferList& List() { return *m_list; }

    // The factory the client program installs for its whiteboard frames.
    static IWBTransfers* MakeForClient(CWnd* frame, IWBPageSink* sink);

private:
    std::unique_ptr<IWBTransferHost> m_host;
    std::unique_ptr<CWBTransferList> m_list;
};
