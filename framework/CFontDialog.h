#pragma once
#include "CCommonDialog.h"

#include <commdlg.h>

class CDC;

class CFontDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFontDialog)
public:
    explicit CFontDialog(LPLOGFONTA lplfInitial = NULL, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = NULL, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal();
    void GetCurrentFont(LPLOGFONTA lplf);
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    int GetSize() const { return m_cf.iPointSize; }
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return (int)m_lf.lfWeight; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut; }
    BOOL IsUnderline() const { return m_lf.lfUnderline; }
    BOOL IsBold() const { return m_lf.lfWeight == FW_BOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic; }

    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;
};
