#include "CWBFrameTransfers.h"

#include "CWBClientTransferHost.h"

CWBFrameTransfers::CWBFrameTransfers(IWBPageSink* sink)
    : CWBFrameTransfers(std::unique_ptr<IWBTransferHost>(
          new CWBClientTransferHost([sink](uint32_t documentId, int pageIndex) {
              if (sink)
                  sink->OnPageArrived(documentId, pageIndex);
          })))
{}

CWBFrameTransfers::CWBFrameTransfers(std::unique_ptr<IWBTransferHost> host)
    : m_host(std::move(host)), m_list(new CWBTransferList(m_host.get()))
{}

CWBFrameTransfers::~CWBFrameTransfers()
{
    // The dialogs still running report to the list and use the host: both
    // go only after every dialog has stopped.
    m_list.reset();
    m_host.reset();
}

bool CWBFrameTransfers::StartUpload(DWORD docId, int folder, bool noAnnouncement, const char* name,
                                    SIZE pageSize, const char* const* paths, int count,
                                    BYTE* uploadFlag, std::string* storedName)
{
    if (!paths || count <= 0)
        return false;
    // A page size below zero never reaches the store: it counts as none.
    const uint32_t width = pageSize.cx > 0 ? static_cast<uint32_t>(pageSize.cx) : 0;
    const uint32_t height = pageSize.cy > 0 ? static_cast<uint32_t>(pageSize.cy) : 0;
    uint8_t flag = 0;
    CString stored;
    if (!m_list->StartUpload(docId, static_cast<uint32_t>(folder), noAnnouncement ? 1 : 0,
                             name ? name : "", width, height, paths, count, &flag, &stored))
        return false;
    if (uploadFlag)
        *uploadFlag = flag;
    if (storedName)
        *storedName = (LPCSTR)stored;
    return true;
}

bool CWBFrameTransfers::StartDownload(const char* server, DWORD docId, BYTE openedHere,
                                      BYTE uploadFlag, const char* const* paths, int count,
                                      const char* storedName)
{
    if (!paths || count <= 0)
        return false;
    return m_list->StartDownload(server, docId, openedHere, uploadFlag, paths, count,
                                 storedName ? storedName : "") != FALSE;
}

void CWBFrameTransfers::CancelUpload(DWORD docId) { m_list->CancelUpload(docId); }

void CWBFrameTransfers::CancelDownload(DWORD docId) { m_list->CancelDownload(docId); }

void CWBFrameTransfers::StopAll() { m_list->StopAll(); }

IWBTransfers* CWBFrameTransfers::MakeForClient(CWnd*, IWBPageSink* sink)
{
    try {
        return new CWBFrameTransfers(sink);
    } catch (...) {
        return nullptr;
    }
}
