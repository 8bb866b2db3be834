#pragma once
#include "CFileProgressDlg.h"

#include <cstdint>

// The progress of a file offered by another participant, fetched from the
// server's file store by its transfer id. Hidden until the fetch runs.
class CFileReceivingDlg : public CFileProgressDlg
{
public:
    enum : UINT { IDD = 130 };

    CFileReceivingDlg(IFileSendHost* host, uint32_t transferId, const std::string& fileName);

    // Fetches into targetPath; false (after "错误号01!", with the window
    // destroyed) when the library refuses. The dialog shows while it runs.
    bool Start(const std::string& targetPath);
    uint32_t GetTransferId() const { return m_transferId; }

protected:
    int Poll(int* progress) override;
    void StopTransfer() override;
    void Finished() override;
    void Failed() override;

private:
    uint32_t m_transferId;
};
