#pragma once
#include "afxwin.h"

class CVirtualPrinterLink;

// The hidden top-level window, captioned "Varn_Print_Proc", to which the
// print processor reports the end of a job (WM_PRINTPROC_DONE).
class CDlgPrintProc : public CDialog
{
public:
    explicit CDlgPrintProc(CVirtualPrinterLink* link);
    // Creates the window without a parent and hides it.
    BOOL CreateHidden();

protected:
    virtual void OnOK() {}
    virtual void OnCancel() {}
    afx_msg LRESULT OnPrintDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CVirtualPrinterLink* m_pLink;
};
