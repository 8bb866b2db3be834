#include "CWBTextEdit.h"

#include "CDrawObj.h"
#include "WbSettings.h"

BEGIN_MESSAGE_MAP(CWBTextEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CWBTextEdit::CWBTextEdit() : m_crText(0), m_crBack(RGB(255, 255, 255))
{
    memset(&m_logFont, 0, sizeof(m_logFont));
}

BOOL CWBTextEdit::Open(CWnd* pParent, POINT ptClient, const LOGFONTA& font, COLORREF crText)
{
    Close();
    m_logFont = font;
    m_crText = crText;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(m_crBack);
    CRect rc(ptClient.x, ptClient.y, ptClient.x + 1, ptClient.y + 1);
    if (!Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rc, pParent, 10001))
        return FALSE;
    SetFont(&m_font);
    // No more than a peer takes over from a text object.
    SetLimitText(WB_MAX_TEXT_BYTES);
    FitToText();
    SetFocus();
    return TRUE;
}

void CWBTextEdit::Close()
{
    if (m_hWnd)
        DestroyWindow();
}

CString CWBTextEdit::GetTextNow() const
{
    CString s;
    if (m_hWnd)
        GetWindowText(s);
    return s;
}

void CWBTextEdit::FitToText()
{
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_font);
    CString text = GetTextNow();
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc.GetSafeHdc(), &tm);
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, text.GetLength(), &extent);
    dc.SelectObject(old);
    SetWindowPos(NULL, 0, 0, extent.cx + 2 * tm.tmAveCharWidth + 4, tm.tmHeight + 4,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWBTextEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        GetParent()->PostMessage(WM_WB_TEXT_DONE);
        return;
    }
    Default();
    FitToText();
}

void CWBTextEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    Default();
    if (nChar == VK_DELETE || nChar == VK_BACK)
        FitToText();
}

HBRUSH CWBTextEdit::CtlColor(CDC* pDC, UINT)
{
    pDC->SetTextColor(m_crText);
    pDC->SetBkColor(m_crBack);
    return (HBRUSH)m_brush.GetSafeHandle();
}
