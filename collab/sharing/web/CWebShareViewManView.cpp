#include "CWebShareViewManView.h"

#include "CWebShareView.h"

CWebViewBase* CWebShareViewManView::MakeView() { return new CWebShareView; }

void CWebShareViewManView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    HDC hdc = dc->GetSafeHdc();
    ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (Active() && Active()->IsWindowVisible())
        return;
    HBITMAP picture = static_cast<HBITMAP>(::LoadImageA(NULL, "Skins\\pptbg.bmp", IMAGE_BITMAP, 0,
                                                        0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!picture)
        return;
    BITMAP info = {};
    ::GetObject(picture, sizeof info, &info);
    HDC memory = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(memory, picture);
    ::BitBlt(hdc, (client.Width() - info.bmWidth) / 2, (client.Height() - info.bmHeight) / 2,
             info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
}
