// The system's standard dialogs behind the framework's classes.
#include "CColorDialog.h"
#include "CDC.h"
#include "CFileDialog.h"
#include "CFontDialog.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

namespace {
// Runs a system dialog with its owner disabled like DoModal does.
template <class F>
INT_PTR RunSystemDialog(CWnd* parent, F show)
{
    CWnd* owner = CWnd::GetSafeOwner(parent, NULL);
    HWND hOwner = owner->GetSafeHwnd();
    BOOL ok = show(hOwner);
    if (hOwner && ::IsWindow(hOwner))
        ::SetActiveWindow(hOwner);
    return ok ? IDOK : IDCANCEL;
}
} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = 0;
    m_szFileTitle[0] = 0;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (lpszFileName)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter) {
        // '|' separates the parts; the system wants zeros
        m_strFilter = lpszFilter;
        int n = m_strFilter.GetLength();
        LPSTR p = m_strFilter.GetBuffer(n + 2);
        for (int i = 0; i < n; ++i) {
            if (AfxIsDbcsLeadByte((BYTE)p[i]) && i + 1 < n)
                ++i;
            else if (p[i] == '|')
                p[i] = 0;
        }
        p[n] = 0;
        p[n + 1] = 0;
        m_strFilter.ReleaseBuffer(n);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    return RunSystemDialog(m_pParentWnd, [this](HWND hOwner) {
        m_ofn.hwndOwner = hOwner;
        return m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    });
}

CString CFileDialog::GetPathName() const
{
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 &&
        m_szFileName[m_ofn.nFileOffset - 1] == 0) {
        // several files: the first one
        POSITION pos = GetStartPosition();
        return GetNextPathName(pos);
    }
    return CString(m_szFileName);
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    int slash = path.ReverseFind('\\');
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    LPCSTR p = (LPCSTR)pos;
    if (!p || !*p) {
        pos = NULL;
        return CString();
    }
    if (p == m_szFileName && m_ofn.nFileOffset > 0 && m_szFileName[m_ofn.nFileOffset - 1] != 0) {
        pos = NULL; // a single file
        return CString(m_szFileName);
    }
    CString folder(m_szFileName);
    if (p == m_szFileName)
        p += strlen(p) + 1; // skip the folder
    CString name(p);
    p += strlen(p) + 1;
    pos = *p ? (POSITION)p : NULL;
    if (folder.Right(1) != "\\")
        folder += '\\';
    return folder + name;
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    return RunSystemDialog(m_pParentWnd, [this](HWND hOwner) {
        m_cc.hwndOwner = hOwner;
        return ::ChooseColorA(&m_cc);
    });
}

CFontDialog::CFontDialog(LPLOGFONTA lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_lf, 0, sizeof(m_lf));
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    if (lplfInitial) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (pdcPrinter) {
        m_cf.hDC = pdcPrinter->m_hAttribDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal()
{
    return RunSystemDialog(m_pParentWnd, [this](HWND hOwner) {
        m_cf.hwndOwner = hOwner;
        return ::ChooseFontA(&m_cf);
    });
}

void CFontDialog::GetCurrentFont(LPLOGFONTA lplf)
{
    if (m_hWnd)
        SendMessage(WM_CHOOSEFONT_GETLOGFONT, 0, (LPARAM)lplf);
    else
        *lplf = m_lf;
}
