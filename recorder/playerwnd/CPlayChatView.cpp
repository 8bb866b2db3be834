#include "CPlayChatView.h"

BEGIN_MESSAGE_MAP(CPlayChatView, CRichEditCtrl)
    ON_WM_CHAR()
END_MESSAGE_MAP()

void CPlayChatView::OnChar(UINT, UINT, UINT) {}

void CPlayChatView::Append(const char* text, COLORREF colour)
{
    if (!m_hWnd || !text)
        return;
    const long end = ::GetWindowTextLengthA(m_hWnd);
    CHARRANGE at = {end, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    CHARRANGE inserted = {end, -1};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&inserted));
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR | CFM_BOLD | CFM_UNDERLINE;
    cf.dwEffects = 0;
    cf.crTextColor = colour;
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SendMessage(EM_HIDESELECTION, TRUE, 0);
    SendMessage(EM_LINESCROLL, 0, 1);
}

void CPlayChatView::ClearAll()
{
    if (!m_hWnd)
        return;
    CHARRANGE all = {0, -1};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}
