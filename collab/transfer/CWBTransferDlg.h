#pragma once
#include <cstdint>

#include "CSkinDialog.h"
#include "CSkinProgressCtrl.h"
#include "CStandardSkinButton.h"

class CWBTransferList;
class IWBTransferHost;

// What the two whiteboard transfer dialogs share: a modeless progress
// dialog that polls its transfer on timer 1000, stops it exactly once on
// every way out (finished, failed, cancelled, taken down by its list or
// destroyed with its owner) and frees itself when its window is gone.
class CWBTransferDlg : public CSkinDialog
{
public:
    enum { TIMER_POLL = 1000 };

    // Creates the window, hidden and unowned.
    BOOL CreateHidden();
    // Stops the transfer and destroys the window without reporting to the
    // list (the list forgets the dialog itself).
    void Abort();

    uint32_t GetDocumentId() const { return m_documentId; }
    DWORD GetHandle() const { return m_handle; }
    bool IsRunning() const { return m_running; }
    CSkinProgressCtrl& Progress() { return m_progress; }

protected:
    CWBTransferDlg(UINT templateId, LPCTSTR section, CWBTransferList* list,
                   IWBTransferHost* host, uint32_t documentId);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void PostNcDestroy() override;

    // The transfer started with this handle: the status text is set and the
    // poll timer runs.
    void Started(DWORD handle, UINT statusId, UINT intervalMs);
    // The shown text of a string id.
    static CString Text(UINT id);

    // One poll: PASS_RUNNING with the progress, PASS_FINISHED, or a failure.
    virtual int Poll(int* progress) = 0;
    virtual void StopTransfer() = 0;
    virtual void ReportDone(BOOL ok) = 0;
    virtual UINT FailureTextId() const = 0;

    // Ends the transfer: stop, report to the list, tell the user of a
    // failure, destroy.
    void End(BOOL ok, BOOL failed);
    void Stop();

    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CWBTransferList* m_list;
    IWBTransferHost* m_host;
    uint32_t m_documentId;
    DWORD m_handle = 0;
    bool m_running = false;
    bool m_ending = false;
    UINT m_templateId;
    CSkinProgressCtrl m_progress;
    CStandardSkinButton m_cancel;
};
