#include "CDlgPrintProc.h"

#include "CVirtualPrinterLink.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"

BEGIN_MESSAGE_MAP(CDlgPrintProc, CDialog)
    ON_MESSAGE(WM_PRINTPROC_DONE, OnPrintDone)
END_MESSAGE_MAP()

CDlgPrintProc::CDlgPrintProc(CVirtualPrinterLink* link) : CDialog(IDD_PRINT_PROC), m_pLink(link) {}

BOOL CDlgPrintProc::CreateHidden()
{
    if (!Create(IDD_PRINT_PROC, NULL))
        return FALSE;
    ShowWindow(SW_HIDE);
    return TRUE;
}

LRESULT CDlgPrintProc::OnPrintDone(WPARAM wParam, LPARAM)
{
    try {
        return m_pLink ? m_pLink->OnPrintDone(wParam) : CVirtualPrinterLink::STATUS_FAILED;
    } catch (...) {
        return CVirtualPrinterLink::STATUS_FAILED;
    }
}
