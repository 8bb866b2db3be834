#pragma once
#include "CSkinDialog.h"
#include "CSkinProgressCtrl.h"
#include "CStandardSkinButton.h"

#include <string>

class IFileSendHost;

// What the sending and the receiving dialog share: a modeless progress
// dialog that polls its transfer on timer 1000 every 200 ms, stops it
// exactly once on every way out (finished, failed, cancelled, destroyed with
// the program) and frees itself when its window is gone.
class CFileProgressDlg : public CSkinDialog
{
public:
    enum { TIMER_POLL = 1000, POLL_MS = 200 };

    // Creates the window, hidden and unowned, centred and just behind the
    // main window.
    BOOL CreateHidden();

    bool IsRunning() const { return m_running; }
    const std::string& GetFileName() const { return m_fileName; }
    CSkinProgressCtrl& Progress() { return m_progress; }

protected:
    CFileProgressDlg(UINT templateId, LPCTSTR section, IFileSendHost* host,
                     const std::string& fileName);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void PostNcDestroy() override;

    // The transfer runs: the status text is set and the poll timer starts.
    void Started(const char* status);

    // One poll: running (0, with the progress), finished (1) or failed.
    virtual int Poll(int* progress) = 0;
    virtual void StopTransfer() = 0;
    // After the transfer stopped: what the user is told, then the window goes.
    virtual void Finished() {}
    virtual void Failed() {}

    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    IFileSendHost* m_host;
    std::string m_fileName;

private:
    void Stop();
    void End(int result);

    UINT m_templateId;
    bool m_running = false;
    bool m_ending = false;
    CSkinProgressCtrl m_progress;
    CStandardSkinButton m_cancel;
};
