#include "CHyperLink.h"

#include <shellapi.h>
#include <string.h>

#define TOOLTIP_ID 1

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_crLinkColour(0xEE0000), m_crVisitedColour(0x8B1A55), m_crHoverColour(0x0000FF),
      m_bOverControl(FALSE), m_bVisited(FALSE), m_nUnderline(-1), m_bAdjustToFit(TRUE),
      m_hLinkCursor(NULL), m_nTimerID(100)
{}

CHyperLink::~CHyperLink()
{
    if (m_hLinkCursor)
        ::DestroyCursor(m_hLinkCursor);
}

BOOL CHyperLink::DestroyWindow()
{
    KillTimer(m_nTimerID);
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    if (m_strURL.IsEmpty())
        GetWindowText(m_strURL);
    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) {
        SetWindowText(m_strURL);
    }
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    if (!hFont)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (!hFont)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    LOGFONTA lf = {};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    m_StdFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_UnderlineFont.CreateFontIndirect(&lf);

    PositionWindow();
    SetDefaultCursor();
    m_nUnderline = -1;

    CRect rc;
    GetClientRect(&rc);
    m_ToolTip.Create(this);
    m_ToolTip.AddTool(this, m_strURL, &rc, TOOLTIP_ID);
    CStatic::PreSubclassWindow();
}

void CHyperLink::SetURL(LPCSTR lpszURL)
{
    m_strURL = lpszURL;
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        PositionWindow();
        if (m_ToolTip.m_hWnd)
            m_ToolTip.UpdateTipText(m_strURL, this, TOOLTIP_ID);
    }
}

void CHyperLink::SetVisited(BOOL bVisited)
{
    m_bVisited = bVisited;
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate();
}

void CHyperLink::PositionWindow()
{
    if (!m_bAdjustToFit || !m_hWnd || !::IsWindow(m_hWnd))
        return;
    CRect wnd, client;
    GetWindowRect(&wnd);
    GetClientRect(&client);
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->ScreenToClient(&wnd);
    CString text;
    GetWindowText(text);
    CDC* pDC = GetDC();
    CFont* pOld = m_UnderlineFont.m_hObject ? pDC->SelectObject(&m_UnderlineFont) : NULL;
    CSize ext = pDC->GetTextExtent(text);
    if (pOld)
        pDC->SelectObject(pOld);
    ReleaseDC(pDC);
    ext.cx += wnd.Width() - client.Width();
    ext.cy += wnd.Height() - client.Height();

    DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        int dy = (wnd.Height() - ext.cy) / 2;
        wnd.top += dy;
        wnd.bottom = wnd.top + ext.cy;
    } else {
        wnd.bottom = wnd.top + ext.cy;
    }
    UINT align = style & SS_TYPEMASK;
    if (align == SS_CENTER) {
        int dx = (wnd.Width() - ext.cx) / 2;
        wnd.left += dx;
        wnd.right = wnd.left + ext.cx;
    } else if (align == SS_RIGHT) {
        wnd.left = wnd.right - ext.cx;
    } else {
        wnd.right = wnd.left + ext.cx;
    }
    SetWindowPos(NULL, wnd.left, wnd.top, wnd.Width(), wnd.Height(), SWP_NOZORDER);
}

void CHyperLink::SetDefaultCursor()
{
    if (m_hLinkCursor)
        return;
    char path[MAX_PATH] = "";
    ::GetWindowsDirectoryA(path, MAX_PATH);
    strncat(path, "\\winhlp32.exe", MAX_PATH - strlen(path) - 1);
    HMODULE hModule = ::LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule) {
        HCURSOR hHand = ::LoadCursorA(hModule, MAKEINTRESOURCEA(106));
        if (hHand)
            m_hLinkCursor = (HCURSOR)::CopyIcon((HICON)hHand);
        ::FreeLibrary(hModule);
    }
    if (!m_hLinkCursor) {
        // Where the help program has no hand cursor, the system's own.
        HCURSOR hHand = ::LoadCursorA(NULL, IDC_HAND);
        if (hHand)
            m_hLinkCursor = (HCURSOR)::CopyIcon((HICON)hHand);
    }
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hLinkCursor) {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return FALSE;
}

HBRUSH CHyperLink::CtlColor(CDC* pDC, UINT)
{
    if (m_bOverControl)
        pDC->SetTextColor(m_crHoverColour);
    else if (m_bVisited)
        pDC->SetTextColor(m_crVisitedColour);
    else
        pDC->SetTextColor(m_crLinkColour);
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CHyperLink::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bOverControl) {
        m_bOverControl = TRUE;
        if (m_nUnderline == -1)
            SetFont(&m_UnderlineFont);
        Invalidate();
        SetTimer(m_nTimerID, 100, NULL);
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CHyperLink::OnTimer(UINT nIDEvent)
{
    if (nIDEvent != m_nTimerID) {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    DWORD pos = ::GetMessagePos();
    CPoint pt((short)LOWORD(pos), (short)HIWORD(pos));
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(pt)) {
        m_bOverControl = FALSE;
        KillTimer(m_nTimerID);
        if (m_nUnderline != 1)
            SetFont(&m_StdFont);
        rc.bottom += 10;
        InvalidateRect(&rc);
    }
}

BOOL CHyperLink::OnClicked()
{
    FollowLink();
    return FALSE;
}

void CHyperLink::FollowLink()
{
    HCURSOR hOld = ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
    m_bOverControl = FALSE;
    INT_PTR result = GotoURL(m_strURL, SW_SHOW);
    ::SetCursor(hOld);
    if (result > 32) {
        SetVisited(TRUE);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    CString msg = "Unable to open hyperlink:\n\n" + GetErrorText((int)result);
    AfxMessageBox(msg, MB_ICONEXCLAMATION | MB_OK);
}

CString CHyperLink::GetErrorText(int nResult)
{
    switch (nResult) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF:
        return "The specified file was not found.";
    case SE_ERR_PNF:
        return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED:
        return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM:
        return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE:
        return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE:
        return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL:
        return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
               "being processed.";
    case SE_ERR_NOASSOC:
        return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND:
        return "The specified dynamic-link library was not found.";
    default: {
        CString s;
        s.Format("Unknown Error (%d) occurred.", nResult);
        return s;
    }
    }
}

LONG CHyperLink::GetRegKey(HKEY key, LPCSTR subkey, LPSTR retdata)
{
    HKEY hKey;
    LONG ret = ::RegOpenKeyExA(key, subkey, 0, KEY_QUERY_VALUE, &hKey);
    if (ret != ERROR_SUCCESS)
        return ret;
    LONG size = MAX_PATH;
    ret = ::RegQueryValueA(hKey, NULL, retdata, &size);
    ::RegCloseKey(hKey);
    if (ret == ERROR_SUCCESS)
        retdata[MAX_PATH - 1] = '\0';
    return ret;
}

INT_PTR CHyperLink::GotoURL(LPCSTR lpszURL, int nShowCmd)
{
    INT_PTR result = (INT_PTR)::ShellExecuteA(NULL, "open", lpszURL, NULL, NULL, nShowCmd);
    if (result > 32)
        return result;
    char key[MAX_PATH + MAX_PATH] = "";
    if (GetRegKey(HKEY_CLASSES_ROOT, ".htm", key) != ERROR_SUCCESS)
        return result;
    strncat(key, "\\shell\\open\\command", sizeof(key) - strlen(key) - 1);
    char command[MAX_PATH + 1] = "";
    if (GetRegKey(HKEY_CLASSES_ROOT, key, command) != ERROR_SUCCESS)
        return result;
    char* pos = strstr(command, "\"%1\"");
    if (!pos)
        pos = strstr(command, "%1");
    if (pos)
        *pos = '\0';
    CString line = command;
    line += " ";
    line += lpszURL;
    return (INT_PTR)::WinExec(line, nShowCmd);
}
