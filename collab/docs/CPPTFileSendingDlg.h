#pragma once
#include <cstdint>
#include <string>

#include "CPassProgressDlg.h"

class CDocTransfer;
class IDocShareHost;

// The progress of one presentation file: its conversion (told by the
// worker with WM_USER+108), then its upload, polled every 200 ms. On every
// way out the upload stops once, the transfer is told, and the dialog
// destroys and frees itself.
class CPPTFileSendingDlg : public CPassProgressDlg
{
public:
    enum { POLL_MS = 200 };

    CPPTFileSendingDlg(CDocTransfer* transfer, IDocShareHost* host, const std::string& fileName,
                       uint32_t category);

    // Creates the modeless window and shows it.
    BOOL CreateShown();
    void SetTarget(const std::string& server, uint16_t port, const std::string& outputPath);
    // Stops the upload and destroys the window; the transfer is told of a failure.
    void Stop();

    const std::string& FileName() const { return m_fileName; }
    uint32_t Category() const { return m_category; }
    const std::string& ValueA() const { return m_valueA; }
    const std::string& ValueB() const { return m_valueB; }
    bool IsUploading() const { return IsRunning(); }
    int LastPoll() const { return m_lastPoll; }

protected:
    afx_msg LRESULT OnConverted(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Not placed in the main window's order.
    HWND MainWindow() override { return NULL; }
    int Poll(int* progress) override;
    void StopTransfer() override;
    // The transfer is told; a failure's text (if any) is shown.
    void Ended(OUTCOME outcome) override;
    void DestroyedUnended() override;

private:
    void StartUpload();
    // Ends as failed with that text for the user (none: nothing shown).
    void Fail(const std::string& text);

    CDocTransfer* m_transfer;
    IDocShareHost* m_host;
    std::string m_fileName;
    uint32_t m_category;
    std::string m_server;
    uint16_t m_port = 0;
    std::string m_outputPath;
    std::string m_valueA;
    std::string m_valueB;
    DWORD m_handle = 0;
    int m_lastPoll = 0;
    std::string m_failure;
};
