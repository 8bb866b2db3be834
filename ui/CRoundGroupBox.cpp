#include "CRoundGroupBox.h"

BEGIN_MESSAGE_MAP(CRoundGroupBox, CButton)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CRoundGroupBox::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : NULL;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TEXT_COLOUR);

    CString text;
    GetWindowText(text);
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
    RECT textBox = {client.left + 20, client.top + 5, client.left + 20 + extent.cx,
                    client.top + 5 + extent.cy};
    ::DrawTextA(dc, text, text.GetLength(), &textBox, DT_CENTER);
    ::ExcludeClipRect(dc, textBox.left, textBox.top, textBox.right, textBox.bottom);

    HPEN pen = ::CreatePen(PS_SOLID, 1, FRAME_COLOUR);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, client.left, client.top + extent.cy / 2 + 5, client.right, client.bottom, 10,
                10);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    if (oldFont)
        ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
}
