#pragma once
#include "CSkinDialog.h"
#include "CSkinProgressCtrl.h"
#include "CStandardSkinButton.h"

// A modeless progress dialog over one transfer of the file-transfer
// library: it polls the transfer on timer 1000, moves its progress bar,
// stops the transfer exactly once on every way out (finished, failed,
// cancelled, aborted by its owner, destroyed with the program) and frees
// itself when its window is gone. The transfer runs on its own; the poll
// only looks at it.
class CPassProgressDlg : public CSkinDialog
{
public:
    enum { TIMER_POLL = 1000, IDC_PROGRESS_BAR = 1000, IDC_STATUS_TEXT = 1015 };
    // How a transfer ended.
    enum OUTCOME { FINISHED, FAILED, CANCELLED };

    // Creates the window, hidden and unowned, centred and just behind the
    // main window.
    BOOL CreateHidden();
    // Stops the transfer and destroys the window; nothing is reported.
    void Abort();

    bool IsRunning() const { return m_running; }
    CSkinProgressCtrl& Progress() { return m_progress; }

protected:
    CPassProgressDlg(UINT templateId, LPCTSTR section);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void PostNcDestroy() override;

    // The transfer runs: the status text is set and the poll timer starts.
    void Started(const char* status, UINT pollMs);
    // Ends once: the transfer stops, Ended is told, the window goes.
    void End(OUTCOME outcome);
    bool IsEnding() const { return m_ending; }

    // The window the dialog stands just behind.
    virtual HWND MainWindow() = 0;
    // One poll: PASS_RUNNING with the progress, PASS_FINISHED, or a failure.
    virtual int Poll(int* progress) = 0;
    virtual void StopTransfer() = 0;
    // After the transfer stopped, before the window goes: what the owner
    // and the user are told. The window may go meanwhile (with the program,
    // while a box is up).
    virtual void Ended(OUTCOME) {}
    // The window goes before the dialog ended (with the program); the
    // transfer has stopped.
    virtual void DestroyedUnended() {}

    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Stop();

    UINT m_templateId;
    bool m_running = false;
    bool m_ending = false;
    CSkinProgressCtrl m_progress;
    CStandardSkinButton m_cancel;
};
