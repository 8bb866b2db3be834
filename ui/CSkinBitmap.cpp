#include "CSkinBitmap.h"

#include "CMemoryDC.h"

CSkinBitmap::CSkinBitmap()
    : m_bHorizontal(TRUE), m_nWidth(0), m_nHeight(0), m_nStartEdge(0), m_nEndEdge(0)
{}

CSkinBitmap::~CSkinBitmap() = default;

BOOL CSkinBitmap::LoadFromFile(LPCTSTR file, int startEdge, int endEdge, BOOL horizontal)
{
    m_nStartEdge = startEdge;
    m_nEndEdge = endEdge;
    m_bHorizontal = horizontal;
    if (!file)
        return FALSE;
    HBITMAP loaded = (HBITMAP)::LoadImageA(NULL, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!loaded)
        return FALSE;
    CBitmap source;
    source.Attach(loaded);
    SplitBitmap(&source);
    return TRUE; // source deletes the loaded bitmap
}

void CSkinBitmap::SetBitmap(HBITMAP bitmap, int startEdge, int endEdge, BOOL horizontal)
{
    m_nStartEdge = startEdge;
    m_nEndEdge = endEdge;
    m_bHorizontal = horizontal;
    if (!bitmap)
        return;
    CBitmap source;
    source.Attach(bitmap);
    SplitBitmap(&source);
    source.Detach(); // the caller keeps it
}

BOOL CSkinBitmap::IsEmpty() const
{
    return !m_start.GetSafeHandle() || !m_middle.GetSafeHandle() || !m_end.GetSafeHandle();
}

void CSkinBitmap::DeletePieces()
{
    m_start.DeleteObject();
    m_middle.DeleteObject();
    m_end.DeleteObject();
}

void CSkinBitmap::SplitBitmap(CBitmap* source)
{
    DeletePieces();
    BITMAP bm = {};
    if (!source->GetBitmap(&bm))
        return;
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;

    // Edges that do not fit the bitmap are brought into it, so that the
    // pieces never have a negative length.
    const int size = m_bHorizontal ? m_nWidth : m_nHeight;
    m_nStartEdge = m_nStartEdge < 0 ? 0 : (m_nStartEdge > size ? size : m_nStartEdge);
    m_nEndEdge = m_nEndEdge < m_nStartEdge ? m_nStartEdge : (m_nEndEdge > size ? size : m_nEndEdge);
    const int lengths[3] = {m_nStartEdge, m_nEndEdge - m_nStartEdge, size - m_nEndEdge};
    const int offsets[3] = {0, m_nStartEdge, m_nEndEdge};
    CBitmap* pieces[3] = {&m_start, &m_middle, &m_end};

    HWND desktop = ::GetDesktopWindow();
    HDC screen = ::GetDC(desktop);
    HDC src = ::CreateCompatibleDC(screen);
    HDC dst = ::CreateCompatibleDC(screen);
    HGDIOBJ oldSrc = ::SelectObject(src, source->GetSafeHandle());
    for (int i = 0; i < 3; ++i) {
        const int w = m_bHorizontal ? lengths[i] : m_nWidth;
        const int h = m_bHorizontal ? m_nHeight : lengths[i];
        // An empty piece still exists (1 x 1) so that the image counts as
        // loaded; Draw never draws a piece of length 0.
        HBITMAP piece = ::CreateCompatibleBitmap(screen, w > 0 ? w : 1, h > 0 ? h : 1);
        if (!piece)
            continue;
        pieces[i]->Attach(piece);
        if (w > 0 && h > 0) {
            HGDIOBJ old = ::SelectObject(dst, piece);
            ::BitBlt(dst, 0, 0, w, h, src, m_bHorizontal ? offsets[i] : 0,
                     m_bHorizontal ? 0 : offsets[i], SRCCOPY);
            ::SelectObject(dst, old);
        }
    }
    ::SelectObject(src, oldSrc);
    ::DeleteDC(dst);
    ::DeleteDC(src);
    ::ReleaseDC(desktop, screen);
    if (IsEmpty())
        DeletePieces();
}

namespace {
// Copies a piece of the given length into the strip at pos along the axis,
// clipped to limit (exclusive) and never stretched.
void DrawPiece(HDC strip, HDC pieceDC, HBITMAP piece, BOOL horizontal, int pos, int length,
               int thickness, int limit)
{
    int n = length;
    if (pos + n > limit)
        n = limit - pos;
    if (n <= 0 || (pos < 0 && pos + n <= 0))
        return;
    HGDIOBJ old = ::SelectObject(pieceDC, piece);
    if (horizontal)
        ::BitBlt(strip, pos, 0, n, thickness, pieceDC, 0, 0, SRCCOPY);
    else
        ::BitBlt(strip, 0, pos, thickness, n, pieceDC, 0, 0, SRCCOPY);
    ::SelectObject(pieceDC, old);
}
} // namespace

void CSkinBitmap::Draw(CDC* dc, int x, int y, int cx, int cy)
{
    if (!dc || !dc->GetSafeHdc() || cx <= 0 || cy <= 0)
        return;
    if (IsEmpty()) {
        dc->FillSolidRect(x, y, cx, cy, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
    const int L = m_bHorizontal ? cx : cy;
    const int T = m_bHorizontal ? m_nHeight : m_nWidth;
    const int size = m_bHorizontal ? m_nWidth : m_nHeight;
    const int S = m_nStartEdge;
    const int E = size - m_nEndEdge;
    const int M = m_nEndEdge - m_nStartEdge;
    const int m = S < E ? S : E;

    CMemoryDC strip(m_bHorizontal ? L : T, m_bHorizontal ? T : L);
    HDC pieceDC = ::CreateCompatibleDC(strip.GetSafeHdc());
    HDC s = strip.GetSafeHdc();
    HBITMAP start = (HBITMAP)m_start.GetSafeHandle();
    HBITMAP middle = (HBITMAP)m_middle.GetSafeHandle();
    HBITMAP end = (HBITMAP)m_end.GetSafeHandle();

    if (L <= 2 * m) {
        DrawPiece(s, pieceDC, end, m_bHorizontal, L - E, E, T, L);
        DrawPiece(s, pieceDC, start, m_bHorizontal, 0, S, T, L / 2);
    } else if (L > S + E) {
        DrawPiece(s, pieceDC, start, m_bHorizontal, 0, S, T, L);
        // An empty middle piece cannot fill the gap: the gap keeps the
        // button-face colour rather than tiling for ever.
        if (M > 0) {
            // The middle piece once, then the run of copies doubled from the
            // strip itself: the same picture as one copy per repeat, with
            // far fewer copies.
            DrawPiece(s, pieceDC, middle, m_bHorizontal, S, M, T, L);
            for (int run = M; S + run < L; run *= 2) {
                int n = run;
                if (S + run + n > L)
                    n = L - S - run;
                if (m_bHorizontal)
                    ::BitBlt(s, S + run, 0, n, T, s, S, 0, SRCCOPY);
                else
                    ::BitBlt(s, 0, S + run, T, n, s, 0, S, SRCCOPY);
            }
        } else {
            RECT gap = m_bHorizontal ? RECT{S, 0, L - E, T} : RECT{0, S, T, L - E};
            ::SetBkColor(s, ::GetSysColor(COLOR_BTNFACE));
            ::ExtTextOutA(s, 0, 0, ETO_OPAQUE, &gap, NULL, 0, NULL);
        }
        DrawPiece(s, pieceDC, end, m_bHorizontal, L - E, E, T, L);
    } else if (S <= E) {
        DrawPiece(s, pieceDC, end, m_bHorizontal, L - E, E, T, L);
        DrawPiece(s, pieceDC, start, m_bHorizontal, 0, S, T, L);
    } else {
        DrawPiece(s, pieceDC, start, m_bHorizontal, 0, S, T, L);
        DrawPiece(s, pieceDC, end, m_bHorizontal, L - E, E, T, L);
    }
    ::DeleteDC(pieceDC);

    const int oldMode = dc->SetStretchBltMode(COLORONCOLOR);
    if (m_bHorizontal)
        dc->StretchBlt(x, y, cx, cy, &strip, 0, 0, L, T, SRCCOPY);
    else
        dc->StretchBlt(x, y, cx, cy, &strip, 0, 0, T, L, SRCCOPY);
    dc->SetStretchBltMode(oldMode);
}
