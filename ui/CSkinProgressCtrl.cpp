#include "CSkinProgressCtrl.h"

#include "CMemoryDC.h"

BEGIN_MESSAGE_MAP(CSkinProgressCtrl, CProgressCtrl)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CSkinProgressCtrl::SetBitmaps(LPCTSTR background, LPCTSTR bar)
{
    if (!background)
        return;
    m_background.LoadFromFile(background, 10, 20, TRUE);
    m_bar.LoadFromFile(bar, 10, 20, TRUE);
    if (m_hWnd)
        FitToBackground();
}

void CSkinProgressCtrl::PreSubclassWindow()
{
    CProgressCtrl::PreSubclassWindow();
    FitToBackground();
}

void CSkinProgressCtrl::FitToBackground()
{
    if (!m_background.IsEmpty()) {
        CRect r;
        GetWindowRect(&r);
        SetWindowPos(NULL, 0, 0, r.Width(), m_background.GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CSkinProgressCtrl::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*)
{
    // No border: the client area is the whole window.
}

void CSkinProgressCtrl::OnNcPaint()
{
    // No border: the whole window is painted by OnPaint.
}

BOOL CSkinProgressCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

int CSkinProgressCtrl::FillWidth(int lower, int upper, int pos, int width)
{
    if (upper <= lower || width <= 0)
        return 0;
    double share = (double)((long long)pos - lower) / ((long long)upper - lower);
    if (share < 0)
        share = 0;
    if (share > 1)
        share = 1;
    return (int)(share * width);
}

void CSkinProgressCtrl::OnPaint()
{
    ValidateRect(NULL);
    int lower = 0, upper = 0;
    GetRange(lower, upper);
    const int pos = GetPos();
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width(), height = window.Height();
    CMemoryDC mem(width, height);

    if (!m_background.IsEmpty())
        m_background.Draw(&mem, 0, 0, width, height);
    else {
        mem.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
        CBrush frame;
        frame.CreateSolidBrush(FRAME_COLOUR);
        CRect r(0, 0, width, height);
        mem.FrameRect(&r, &frame);
        r.DeflateRect(1, 1);
        mem.FrameRect(&r, &frame);
    }

    const int fill = FillWidth(lower, upper, pos, width);
    CRgn clip;
    clip.CreateRectRgn(0, 0, fill, height);
    mem.SelectClipRgn(&clip);
    if (!m_bar.IsEmpty())
        m_bar.Draw(&mem, 0, 0, width, height);
    else {
        CRect inner(0, 0, width, height);
        inner.DeflateRect(1, 1);
        int blockWidth = inner.Height() - 2;
        if (blockWidth < 4)
            blockWidth = 3;
        for (int x = inner.left; x < inner.right && blockWidth > 0; x += blockWidth + 1) {
            const int right = x + blockWidth;
            const int offset = right - inner.left;
            COLORREF c = offset * 10 < inner.Width() * 6   ? GREEN
                         : offset * 10 < inner.Width() * 8 ? YELLOW
                                                           : RED;
            mem.FillSolidRect(x, inner.top, blockWidth, inner.Height(), c);
        }
    }
    ::SelectClipRgn(mem.GetSafeHdc(), NULL);

    HDC hdc = ::GetWindowDC(m_hWnd);
    ::BitBlt(hdc, 0, 0, width, height, mem.GetSafeHdc(), 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, hdc);
}
