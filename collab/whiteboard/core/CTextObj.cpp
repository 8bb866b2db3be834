#include "CTextObj.h"
#include "WbRecords.h"
#include "WireReader.h"
#include "WireWriter.h"

IMPLEMENT_SERIAL(CTextObj, CDrawObj, 0)

CTextObj::CTextObj(DWORD id) : CDrawObj(id, WB_TEXT) {}

void CTextObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CTextObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    LOGFONTA lf = m_logFont;
    lf.lfHeight = Scale(lf.lfHeight, num, den);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    HFONT font = ::CreateFontIndirectA(&lf);
    if (!font)
        return;
    HDC hdc = pDC->GetSafeHdc();
    HGDIOBJ old = ::SelectObject(hdc, font);
    COLORREF oldColor = ::SetTextColor(hdc, m_crColor);
    int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    CRect rc;
    ScaledRect(rc, num, den);
    ::DrawTextA(hdc, m_strText, m_strText.GetLength(), &rc, 0);
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColor);
    ::SelectObject(hdc, old);
    ::DeleteObject(font);
}

int CTextObj::OnRButtonUp(POINT) { return 0; }
int CTextObj::OnRButtonDown(POINT) { return 1; }
int CTextObj::OnLButtonUp(POINT) { return 0; }
int CTextObj::OnMouseMove(POINT) { return 0; }
int CTextObj::OnLButtonDown(POINT) { return 1; }

void CTextObj::Unpack(const BYTE* blob, UINT length)
{
    WireReader in(blob, length);
    WB_TEXT_HEAD h;
    if (!blob || !in.Record(h))
        return;
    m_crColor = h.color;
    m_logFont = h.font;
    // A face name from a peer may come without its terminator.
    m_logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    CRect rc(h.topLeft.x, h.topLeft.y, h.bottomRight.x, h.bottomRight.y);
    rc.NormalizeRect();
    SetRect(rc);
    if (length == sizeof(h) + h.length && length < 260)
        m_strText = CString((LPCSTR)in.Current(), h.length);
}

UINT CTextObj::Pack(BYTE* blob, UINT length)
{
    UINT t = (UINT)m_strText.GetLength();
    if (t > 0xFFFF)
        t = 0xFFFF;
    UINT size = sizeof(WB_TEXT_HEAD) + t;
    if (!blob && length == 0)
        return size;
    if (!blob || length < size || !m_pPoints || m_nPoints < 8)
        return 0;
    WireWriter out(blob, length);
    WB_TEXT_HEAD h;
    h.color = m_crColor;
    h.font = m_logFont;
    h.length = (WORD)t;
    h.topLeft = {m_pPoints[0].x, m_pPoints[0].y};
    h.bottomRight = {m_pPoints[4].x, m_pPoints[4].y};
    out.Record(h);
    out.Bytes((LPCSTR)m_strText, t);
    return out.Ok() ? size : 0;
}
