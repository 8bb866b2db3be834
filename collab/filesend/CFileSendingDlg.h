#pragma once
#include "CFileProgressDlg.h"

#include <windows.h>

// The progress of a file going up to the server's file store; its pass
// send handle is the transfer id the recipients were told.
class CFileSendingDlg : public CFileProgressDlg
{
public:
    enum : UINT { IDD = 129 };

    CFileSendingDlg(IFileSendHost* host, const std::string& fileName);

    // Starts the upload of path; false (after "错误号01!", with the window
    // destroyed) when the library refuses.
    bool Start(const std::string& path);
    DWORD GetHandle() const { return m_handle; }

protected:
    int Poll(int* progress) override;
    void StopTransfer() override;
    void Failed() override;

private:
    DWORD m_handle = 0;
};
