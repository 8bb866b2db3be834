#pragma once
#include <cstdint>
#include <string>

#include "CSkinDialog.h"
#include "CSkinProgressCtrl.h"
#include "CStandardSkinButton.h"

class CDocTransfer;
class IDocShareHost;

// The progress of one presentation file: its conversion (told by the
// worker with WM_USER+108), then its upload, polled on timer 1000. On every
// way out the upload stops once, the transfer is told, and the dialog
// destroys and frees itself.
class CPPTFileSendingDlg : public CSkinDialog
{
public:
    enum { TIMER_POLL = 1000, POLL_MS = 200 };

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
    bool IsUploading() const { return m_uploading; }
    int LastPoll() const { return m_lastPoll; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    void PostNcDestroy() override;

    afx_msg LRESULT OnConverted(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void StartUpload();
    void StopUpload();
    // Ends once: the upload stops, the transfer is told, a failure text
    // (if any) is shown, the window goes.
    void Finish(bool ok, const std::string& failure);

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
    bool m_uploading = false;
    bool m_ended = false;
    CSkinProgressCtrl m_progress;
    CStandardSkinButton m_cancel;
};
