#pragma once
#include "CPassProgressDlg.h"

#include <string>

class IFileSendHost;

// What the sending and the receiving dialog share: the host, the file's
// name for the texts, and the poll every 200 ms. A finished or failed
// transfer is told to the user; a cancelled one goes silently.
class CFileProgressDlg : public CPassProgressDlg
{
public:
    enum { POLL_MS = 200 };

    const std::string& GetFileName() const { return m_fileName; }

protected:
    CFileProgressDlg(UINT templateId, LPCTSTR section, IFileSendHost* host,
                     const std::string& fileName);

    // The transfer runs: the status text is set and the poll timer starts.
    void Started(const char* status) { CPassProgressDlg::Started(status, POLL_MS); }

    // After the transfer stopped: what the user is told, then the window goes.
    virtual void Finished() {}
    virtual void Failed() {}

    HWND MainWindow() override;
    void Ended(OUTCOME outcome) override;

    IFileSendHost* m_host;
    std::string m_fileName;
};
