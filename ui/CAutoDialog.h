#pragma once
#include "CLangDialog.h"

// The prompt's answer, posted to its owner: wParam 1 OK, 2 Cancel or time-out.
enum : UINT { WM_AUTODIALOG_RESULT = WM_USER + 106 };

// A modeless question that answers Cancel by itself after a number of
// seconds. The creator allocates it, calls Create(IDD_AUTO_DIALOG, NULL)
// and frees it; the dialog only destroys its window.
class CAutoDialog : public CLangDialog
{
public:
    enum { IDD = 132, TIMER_ANSWER = 1000 };
    enum { RESULT_NONE = 0, RESULT_OK = 1, RESULT_CANCEL = 2 };

    CAutoDialog(int seconds, LPCTSTR text, CWnd* owner);

    BOOL OnInitDialog() override;
    int GetResult() const { return m_nResult; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnTimer(UINT id);
    DECLARE_MESSAGE_MAP()

    void Answer(int result, BOOL hideFirst);

    CStatic m_icon;
    CStatic m_textCtrl;
    CString m_strText;
    HICON m_hIcon;
    CButton m_btnOK;
    CButton m_btnCancel;
    int m_nSeconds;
    int m_nResult;
    CWnd* m_pOwner;
};
