#pragma once
#include <cstdint>

#include "CWBTransferDlg.h"

// The download of a whiteboard document's page files from the file store:
// a hidden progress dialog that tells the frame of each page file as it
// becomes complete.
class CDlgWbFileReceiving : public CWBTransferDlg
{
public:
    enum { IDD = 530 };

    CDlgWbFileReceiving(CWBTransferList* list, IWBTransferHost* host, uint32_t documentId);

    // Starts the download into the page paths (the window exists); FALSE
    // after telling the user.
    BOOL Start(const char* server, uint8_t openedHere, uint8_t uploadFlag, const LPCSTR* paths,
               int count, const char* storedName);

    int GetPageFiles() const { return m_pageFiles; }
    int GetReceived() const { return m_received; }

protected:
    int Poll(int* progress) override;
    void StopTransfer() override;
    void ReportDone(BOOL ok) override;
    UINT FailureTextId() const override;

private:
    // Tells the frame of the pages from m_received up to (not including) end.
    void ReportPages(int end);

    int m_pageFiles = 0;
    int m_received = 0;
};
