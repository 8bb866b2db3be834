#include "CDialog.h"
#include "AfxState.h"
#include "CException.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG) {
        CWnd* p = CWnd::FromHandlePermanent(hWnd);
        CDialog* dlg = DYNAMIC_DOWNCAST(CDialog, p);
        if (!dlg)
            return TRUE;
        // Called from inside the system's dialog code: an exception is
        // reported here, and a modal dialog that could not be set up ends
        // with -1 rather than standing open half made.
        MSG msg = {hWnd, nMsg, wParam, lParam, 0, {0, 0}};
        bool failed = false;
        INT_PTR r = (INT_PTR)AfxCallReportingExceptions(
            msg, [&] { return dlg->OnInitDialog(); }, &failed);
        if (failed && (dlg->m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)))
            dlg->EndDialog(-1);
        return r;
    }
    return FALSE;
}

CDialog::CDialog()
    : m_lpszTemplateName(NULL), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_lpDialogInit(NULL),
      m_pParentWnd(NULL), m_hWndTop(NULL), m_bParentDisabled(FALSE)
{}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (HIWORD((DWORD_PTR)lpszTemplateName) == 0)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    // the dialog procedure calls OnInitDialog from inside the default one
    return Default();
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (!lpDialogTemplate)
        return FALSE;
    HWND hParent = pParentWnd->GetSafeHwnd();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, hParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return hWnd != NULL;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (HIWORD((DWORD_PTR)lpszTemplateName) == 0 && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (!hRes)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    LPCDLGTEMPLATEA tmpl = (LPCDLGTEMPLATEA)::LockResource(hGlobal);
    return CreateDlgIndirect(tmpl, pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetInstanceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd,
                                void* lpDialogInit)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpDialogInit = lpDialogInit;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

HWND CDialog::PreModal()
{
    CWnd* parent = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop);
    return parent->GetSafeHwnd();
}

void CDialog::PostModal() { m_hWndTop = NULL; }

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEA tmpl = m_lpDialogTemplate;
    HINSTANCE hInst = AfxGetResourceHandle();
    if (m_lpszTemplateName) {
        HRSRC hRes = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        if (!hRes)
            return -1;
        tmpl = (LPCDLGTEMPLATEA)::LockResource(::LoadResource(hInst, hRes));
    }
    if (!tmpl)
        return -1;

    HWND hWndParent = PreModal();
    BOOL bEnableParent = FALSE;
    if (hWndParent && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    try {
        if (CreateDlgIndirect(tmpl, CWnd::FromHandle(hWndParent), hInst)) {
            if (m_nFlags & WF_CONTINUEMODAL) {
                DWORD flags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    flags |= MLF_NOIDLEMSG;
                RunModalLoop(flags);
            }
            if (m_hWnd)
                ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE |
                                   SWP_NOZORDER);
        }
    } catch (CException* e) {
        e->Delete();
        m_nModalResult = -1;
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    int result = m_nModalResult;
    if (m_hWnd)
        DestroyWindow();
    PostModal();
    return result;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    m_nModalResult = nResult;
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    BOOL ok = m_lpDialogInit ? ExecuteDlgInit(m_lpDialogInit) : ExecuteDlgInit(m_lpszTemplateName);
    if (!ok) {
        EndDialog(-1);
        return FALSE;
    }
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return; // the refused control has the focus
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                 (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd)
        return FALSE;
    // only for this dialog and its own controls
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (((UINT)nCode != CN_COMMAND && (UINT)nCode != CN_UPDATE_COMMAND_UI) || nID < 0x8000 ||
        nID >= 0xF000)
        return FALSE;
    // the last word on commands goes to the thread (the application)
    CWinThread* t = AfxGetThread();
    return t && t->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
