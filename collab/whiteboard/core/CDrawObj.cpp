#include "CDrawObj.h"

#include "CArrowObj.h"
#include "CEllipseObj.h"
#include "CEllipsefillObj.h"
#include "CIconObj.h"
#include "CLineObj.h"
#include "CPenObj.h"
#include "CPencilObj.h"
#include "CPolyObj.h"
#include "CRectObj.h"
#include "CRectfillObj.h"
#include "CRoundrectObj.h"
#include "CRoundrectfillObj.h"
#include "CScaledPointBuffer.h"
#include "CWBDrawTools.h"
#include "CTextObj.h"
#include "WbRecords.h"
#include "WireReader.h"
#include "WireWriter.h"

#include <new>
#include <string.h>
#include <vector>

IMPLEMENT_DYNAMIC(CDrawObj, CObject)

CDrawObj::CDrawObj(DWORD id, int type)
    : m_dwId(id), m_nType(type), m_crColor(0), m_nWidth(1), m_nStyle(0), m_nFill(0), m_nPoints(0),
      m_pPoints(NULL), m_bCreating(FALSE)
{
    // The font is given by SetFont or a blob before a text is drawn; it
    // starts zeroed so that nothing undefined ever reaches a file.
    memset(&m_logFont, 0, sizeof(m_logFont));
}

CDrawObj::~CDrawObj() { FreePoints(); }

CDrawObj* CDrawObj::CreateByType(int type, DWORD id)
{
    switch (type) {
    case WB_LINE:
        return new (std::nothrow) CLineObj(id);
    case WB_ARROW:
        return new (std::nothrow) CArrowObj(id);
    case WB_RECT:
        return new (std::nothrow) CRectObj(id);
    case WB_RECTFILL:
        return new (std::nothrow) CRectfillObj(id);
    case WB_ROUNDRECT:
        return new (std::nothrow) CRoundrectObj(id);
    case WB_ROUNDRECTFILL:
        return new (std::nothrow) CRoundrectfillObj(id);
    case WB_ELLIPSE:
        return new (std::nothrow) CEllipseObj(id);
    case WB_ELLIPSEFILL:
        return new (std::nothrow) CEllipsefillObj(id);
    case WB_POLY:
        return new (std::nothrow) CPolyObj(id);
    case WB_TEXT:
        return new (std::nothrow) CTextObj(id);
    case WB_PEN:
        return new (std::nothrow) CPenObj(id);
    case WB_PENCIL:
        return new (std::nothrow) CPencilObj(id);
    case WB_ICON:
        return new (std::nothrow) CIconObj(id);
    default:
        return NULL;
    }
}

// ---------------------------------------------------------------- helpers

BOOL CDrawObj::AllocPoints(UINT count)
{
    FreePoints();
    POINT* p = new (std::nothrow) POINT[count ? count : 1];
    if (!p)
        return FALSE;
    memset(p, 0, sizeof(POINT) * (count ? count : 1));
    m_pPoints = p;
    m_nPoints = count;
    return TRUE;
}

void CDrawObj::FreePoints()
{
    delete[] m_pPoints;
    m_pPoints = NULL;
    m_nPoints = 0;
}

BOOL CDrawObj::IsRectKind() const
{
    return (m_nType >= WB_RECT && m_nType <= WB_ELLIPSEFILL) || m_nType == WB_TEXT ||
           m_nType == WB_ICON;
}

void CDrawObj::DeriveHandles()
{
    if (!m_pPoints || m_nPoints < 8)
        return;
    LONG left = m_pPoints[0].x, top = m_pPoints[0].y;
    LONG right = m_pPoints[4].x, bottom = m_pPoints[4].y;
    LONG w = (LONG)(((LONGLONG)right - left) / 2), h = (LONG)(((LONGLONG)bottom - top) / 2);
    m_pPoints[1] = {left + w, top};
    m_pPoints[2] = {right, top};
    m_pPoints[3] = {right, top + h};
    m_pPoints[5] = {left + w, bottom};
    m_pPoints[6] = {left, bottom};
    m_pPoints[7] = {left, top + h};
}

void CDrawObj::NormalisedRect(CRect& rc) const
{
    rc.SetRect(m_pPoints[0].x, m_pPoints[0].y, m_pPoints[4].x, m_pPoints[4].y);
    rc.NormalizeRect();
}

LONG CDrawObj::Scale(LONG v, int num, int den)
{
    // In 64 bits: coordinates from a peer can be anything.
    LONGLONG r = (LONGLONG)v * num / den;
    if (r > 0x3FFFFFFF)
        r = 0x3FFFFFFF;
    if (r < -0x3FFFFFFF)
        r = -0x3FFFFFFF;
    return (LONG)r;
}

POINT CDrawObj::ScalePoint(POINT p, int num, int den)
{
    POINT r = {Scale(p.x, num, den), Scale(p.y, num, den)};
    return r;
}

void CDrawObj::ScaledRect(CRect& rc, int num, int den) const
{
    NormalisedRect(rc);
    rc.SetRect(Scale(rc.left, num, den), Scale(rc.top, num, den), Scale(rc.right, num, den),
               Scale(rc.bottom, num, den));
}

int CDrawObj::ScaledPenWidth(int num, int den) const
{
    int w = (int)((LONGLONG)m_nWidth * num / den);
    return w < 1 ? 1 : w;
}

int CDrawObj::PenStyleFromCode(BYTE code)
{
    switch (code) {
    case 0:
        return PS_SOLID;
    case 1:
        return PS_DASH;
    case 2:
        return PS_DOT;
    case 3:
        return PS_DASHDOT;
    case 4:
        return PS_DASHDOTDOT;
    default:
        return -1;
    }
}

int CDrawObj::FillCodeToHatchStyle(BYTE code)
{
    switch (code) {
    case 0:
        return -1;
    case 1:
        return HS_BDIAGONAL;
    case 2:
        return HS_CROSS;
    case 3:
        return HS_DIAGCROSS;
    case 4:
        return HS_FDIAGONAL;
    case 5:
        return HS_HORIZONTAL;
    case 6:
        return HS_VERTICAL;
    default:
        return -2;
    }
}

BOOL CDrawObj::LineHitsRect(const RECT& rc, POINT a, POINT b, int width)
{
    CRect r(rc);
    r.NormalizeRect();
    CRect s(a.x, a.y, b.x, b.y);
    s.NormalizeRect();
    int grow = width / 2 + 1;
    s.InflateRect(grow, grow);
    CRect u;
    u.UnionRect(&r, &s);
    if (u == r)
        return TRUE;
    CRect i;
    if (!i.IntersectRect(&r, &s))
        return FALSE;
    if (a.x == b.x || a.y == b.y)
        return TRUE;
    double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    int h = width / 2;
    CRect box;
    if ((dy < 0 ? -dy : dy) >= (dx < 0 ? -dx : dx)) {
        double k = dx / dy, c = b.x - b.y * k;
        for (LONGLONG y = r.top; y <= r.bottom; ++y) {
            LONG x = (LONG)(y * k + c);
            CRect t((int)(x - h - 1), (int)(y - h - 1), (int)(x + h + 1), (int)(y + h + 1));
            if (box.IntersectRect(&t, &r))
                return TRUE;
        }
    } else {
        double k = dy / dx, c = b.y - b.x * k;
        for (LONGLONG x = r.left; x <= r.right; ++x) {
            LONG y = (LONG)(x * k + c);
            CRect t((int)(x - h - 1), (int)(y - h - 1), (int)(x + h + 1), (int)(y + h + 1));
            if (box.IntersectRect(&t, &r))
                return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------- virtuals

void CDrawObj::CopyFrom(const CDrawObj& src)
{
    m_nType = src.m_nType;
    m_crColor = src.m_crColor;
    m_nFill = src.m_nFill;
    m_nStyle = src.m_nStyle;
    m_nWidth = src.m_nWidth;
    m_logFont = src.m_logFont;
    m_strText = src.m_strText;
    if (src.m_nPoints && src.m_pPoints && AllocPoints(src.m_nPoints))
        memcpy(m_pPoints, src.m_pPoints, sizeof(POINT) * src.m_nPoints);
}

int CDrawObj::HitHandle(POINT pt)
{
    for (UINT i = 0; m_pPoints && i < m_nPoints; ++i) {
        const POINT& p = m_pPoints[i];
        if ((LONGLONG)pt.x >= (LONGLONG)p.x - 5 && (LONGLONG)pt.x < (LONGLONG)p.x + 5 &&
            (LONGLONG)pt.y >= (LONGLONG)p.y - 5 && (LONGLONG)pt.y < (LONGLONG)p.y + 5)
            return (int)i;
    }
    return -1;
}

BOOL CDrawObj::IntersectsRect(const RECT& rc)
{
    if (!m_pPoints)
        return FALSE;
    CRect bound, out;
    GetBoundRect(&bound);
    return out.IntersectRect(&bound, &rc);
}

BOOL CDrawObj::ContainsPoint(POINT pt)
{
    if (!m_pPoints)
        return FALSE;
    CRect bound;
    GetBoundRect(&bound);
    return bound.PtInRect(pt);
}

void CDrawObj::MoveHandle(int index, SIZE offset)
{
    if (!m_pPoints || index < 0 || (UINT)index >= m_nPoints)
        return;
    POINT& p = m_pPoints[index];
    p.x = (LONG)((DWORD)p.x + (DWORD)offset.cx);
    p.y = (LONG)((DWORD)p.y + (DWORD)offset.cy);
    if (!IsRectKind() || m_nPoints < 8)
        return;
    switch (index) {
    case 1:
        m_pPoints[0].y = p.y;
        break;
    case 2:
        m_pPoints[0].y = p.y;
        m_pPoints[4].x = p.x;
        break;
    case 3:
        m_pPoints[4].x = p.x;
        break;
    case 5:
        m_pPoints[4].y = p.y;
        break;
    case 6:
        m_pPoints[0].x = p.x;
        m_pPoints[4].y = p.y;
        break;
    case 7:
        m_pPoints[0].x = p.x;
        break;
    default:
        break;
    }
    DeriveHandles();
    if (m_nType == WB_TEXT) {
        LONG h = m_pPoints[4].y - m_pPoints[0].y;
        m_logFont.lfHeight = h < 0 ? -h : h;
    }
}

void CDrawObj::Offset(SIZE offset)
{
    for (UINT i = 0; m_pPoints && i < m_nPoints; ++i) {
        m_pPoints[i].x = (LONG)((DWORD)m_pPoints[i].x + (DWORD)offset.cx);
        m_pPoints[i].y = (LONG)((DWORD)m_pPoints[i].y + (DWORD)offset.cy);
    }
}

void CDrawObj::DrawScaled(CDC*, int, int) {}

void CDrawObj::Draw(CDC*) {}

void CDrawObj::DrawHandlesScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints)
        return;
    int s = (int)((10LL * num) / (2LL * den));
    for (UINT i = 0; i < m_nPoints; ++i) {
        POINT p = ScalePoint(m_pPoints[i], num, den);
        pDC->PatBlt(p.x - s, p.y - s, 2 * s, 2 * s, DSTINVERT);
    }
}

void CDrawObj::DrawHandles(CDC* pDC)
{
    if (!pDC || !m_pPoints)
        return;
    for (UINT i = 0; i < m_nPoints; ++i)
        pDC->PatBlt(m_pPoints[i].x - 5, m_pPoints[i].y - 5, 10, 10, DSTINVERT);
}

int CDrawObj::OnRButtonUp(POINT) { return -1; }

int CDrawObj::OnRButtonDown(POINT) { return -1; }

// The rectangle kinds: a drag from one corner to the other.
int CDrawObj::OnLButtonDown(POINT pt)
{
    if (m_pPoints)
        return 0;
    if (!AllocPoints(8))
        return -1;
    m_pPoints[0] = m_pPoints[4] = pt;
    DeriveHandles();
    m_bCreating = TRUE;
    return 0;
}

int CDrawObj::OnMouseMove(POINT pt)
{
    if (!m_bCreating || !m_pPoints)
        return -1;
    m_pPoints[4] = pt;
    DeriveHandles();
    return 0;
}

int CDrawObj::OnLButtonUp(POINT pt)
{
    if (!m_bCreating || !m_pPoints)
        return -1;
    POINT a = m_pPoints[0];
    m_pPoints[0] = {a.x < pt.x ? a.x : pt.x, a.y < pt.y ? a.y : pt.y};
    m_pPoints[4] = {a.x > pt.x ? a.x : pt.x, a.y > pt.y ? a.y : pt.y};
    DeriveHandles();
    m_bCreating = FALSE;
    return 1;
}

void CDrawObj::SetRect(const RECT& rc)
{
    if (!AllocPoints(8))
        return;
    m_pPoints[0] = {rc.left, rc.top};
    m_pPoints[4] = {rc.right, rc.bottom};
    DeriveHandles();
}

void CDrawObj::SetText(LPCTSTR lpszText)
{
    // Longer texts would not survive the trip to a peer: keep the bytes
    // that fit, never half of a double-byte character.
    const char* s = lpszText ? lpszText : "";
    int n = 0;
    while (s[n]) {
        int step = (IsDBCSLeadByte((BYTE)s[n]) && s[n + 1]) ? 2 : 1;
        if (n + step > WB_MAX_TEXT_BYTES)
            break;
        n += step;
    }
    m_strText = CString(s, n);
}

void CDrawObj::SetFont(const LOGFONT& lf)
{
    m_logFont = lf;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = 0;
}

void CDrawObj::SetColor(const COLORREF& cr) { m_crColor = cr; }
void CDrawObj::SetWidth(BYTE width) { m_nWidth = width; }
void CDrawObj::SetStyle(BYTE style) { m_nStyle = style; }
void CDrawObj::SetFill(BYTE fill) { m_nFill = fill; }
DWORD CDrawObj::GetId() const { return m_dwId; }
int CDrawObj::GetType() const { return m_nType; }
LPCTSTR CDrawObj::GetText() const { return m_strText; }

void CDrawObj::GetFont(LOGFONT* plf) const
{
    if (plf)
        *plf = m_logFont;
}

COLORREF CDrawObj::GetColor() const { return m_crColor; }

static BOOL IsFilledKind(int type)
{
    return type == WB_RECTFILL || type == WB_ROUNDRECTFILL || type == WB_ELLIPSEFILL;
}

void CDrawObj::Unpack(const BYTE* blob, UINT length)
{
    if (m_nType < WB_RECT || m_nType > WB_ELLIPSEFILL || !blob)
        return;
    WireReader in(blob, length);
    RECT rc;
    if (IsFilledKind(m_nType)) {
        WB_FILL_BLOB b;
        if (length != sizeof(b) || !in.Record(b))
            return;
        m_crColor = b.color;
        m_nFill = b.fill;
        rc = {b.topLeft.x, b.topLeft.y, b.bottomRight.x, b.bottomRight.y};
    } else {
        WB_OUTLINE_BLOB b;
        if (length != sizeof(b) || !in.Record(b))
            return;
        m_crColor = b.color;
        m_nStyle = b.style;
        m_nWidth = b.width;
        rc = {b.from.x, b.from.y, b.to.x, b.to.y};
    }
    CRect n(rc);
    n.NormalizeRect();
    SetRect(n);
}

UINT CDrawObj::Pack(BYTE* blob, UINT length)
{
    if (m_nType < WB_RECT || m_nType > WB_ELLIPSEFILL)
        return 0;
    UINT size = IsFilledKind(m_nType) ? sizeof(WB_FILL_BLOB) : sizeof(WB_OUTLINE_BLOB);
    if (!blob && length == 0)
        return size;
    if (!blob || length < size || !m_pPoints || m_nPoints < 8)
        return 0;
    WireWriter out(blob, length);
    if (IsFilledKind(m_nType)) {
        WB_FILL_BLOB b = {
            m_crColor, m_nFill, {m_pPoints[0].x, m_pPoints[0].y}, {m_pPoints[4].x, m_pPoints[4].y}};
        out.Record(b);
    } else {
        WB_OUTLINE_BLOB b = {m_crColor,
                             m_nStyle,
                             m_nWidth,
                             {m_pPoints[0].x, m_pPoints[0].y},
                             {m_pPoints[4].x, m_pPoints[4].y}};
        out.Record(b);
    }
    return out.Ok() ? size : 0;
}

int CDrawObj::GetHandleCursor(int index)
{
    if (!m_pPoints || index < 0 || (UINT)index >= m_nPoints)
        return 0;
    if (m_nType == WB_ICON)
        return 0;
    if (!IsRectKind() || m_nPoints < 8)
        return 4;
    switch (index) {
    case 1:
    case 5:
        return 2;
    case 3:
    case 7:
        return 3;
    default:
        break;
    }
    LONGLONG d =
        ((LONGLONG)m_pPoints[0].y - m_pPoints[4].y) * ((LONGLONG)m_pPoints[0].x - m_pPoints[4].x);
    if (index == 0 || index == 4)
        return d >= 0 ? 4 : 5;
    return d >= 0 ? 5 : 4;
}

void CDrawObj::GetUpdateRect(RECT* prc)
{
    CRect bound;
    GetBoundRect(&bound);
    bound.NormalizeRect();
    CRect out;
    out.UnionRect(&bound, &m_rcUpdate);
    out.InflateRect(10, 10);
    if (prc)
        *prc = out;
    GetBoundRect(&m_rcUpdate);
}

void CDrawObj::GetBoundRect(RECT* prc)
{
    if (!prc)
        return;
    if (!m_pPoints || m_nPoints < 5) {
        ::SetRectEmpty(prc);
        return;
    }
    CRect rc;
    NormalisedRect(rc);
    rc.InflateRect(1, 1);
    *prc = rc;
}

void CDrawObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (BYTE)m_nType << (DWORD)m_dwId;
        UINT size = Pack(NULL, 0);
        std::vector<BYTE> blob;
        UINT length = 0;
        if (size) {
            try {
                blob.resize(size);
                length = Pack(blob.data(), size);
            } catch (const std::bad_alloc&) {
                length = 0;
            }
        }
        ar << (DWORD)length;
        if (length)
            ar.Write(blob.data(), length);
        return;
    }
    BYTE type;
    DWORD id, length;
    ar >> type >> id >> length;
    // A class carries its own kind: a record that claims another is not
    // one of ours.
    if (type != (BYTE)m_nType)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    m_dwId = id;
    if (length == 0)
        return;
    if (length > ar.GetRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    std::vector<BYTE> blob(length);
    if (ar.Read(blob.data(), length) != length)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    Unpack(blob.data(), length);
}

// ---------------------------------------------------------------- point lists

BOOL CDrawObj::GrowPoints(UINT& capacity, UINT need)
{
    if (need <= capacity && m_pPoints)
        return TRUE;
    UINT slots = capacity;
    while (slots < need)
        slots += 10;
    POINT* p = new (std::nothrow) POINT[slots];
    if (!p)
        return FALSE;
    if (m_pPoints && m_nPoints)
        memcpy(p, m_pPoints, sizeof(POINT) * m_nPoints);
    delete[] m_pPoints;
    m_pPoints = p;
    capacity = slots;
    return TRUE;
}

UINT CDrawObj::PackPointList(BYTE* blob, UINT length)
{
    UINT size = sizeof(WB_POINTS_HEAD) + sizeof(WB_POINT) * m_nPoints;
    if (!blob && length == 0)
        return size;
    if (!blob || length < size || !m_pPoints || !m_nPoints)
        return 0;
    WireWriter out(blob, length);
    WB_POINTS_HEAD h = {m_crColor, m_nStyle, m_nWidth, m_nPoints};
    out.Record(h);
    for (UINT i = 0; i < m_nPoints; ++i) {
        out.I32(m_pPoints[i].x);
        out.I32(m_pPoints[i].y);
    }
    return out.Ok() ? size : 0;
}

void CDrawObj::UnpackPointList(const BYTE* blob, UINT length, UINT& capacity, UINT spare)
{
    WireReader in(blob, length);
    WB_POINTS_HEAD h;
    if (!blob || !in.Record(h))
        return;
    m_crColor = h.color;
    m_nStyle = h.style;
    m_nWidth = h.width;
    // The count is checked against the bytes there are before anything is
    // multiplied by it.
    UINT room = (length - sizeof(h)) / sizeof(WB_POINT);
    if (h.count > room || length != sizeof(h) + sizeof(WB_POINT) * h.count)
        return;
    POINT* p = new (std::nothrow) POINT[h.count + spare];
    if (!p)
        return;
    for (UINT i = 0; i < h.count; ++i) {
        int32_t x = 0, y = 0;
        in.I32(x);
        in.I32(y);
        p[i].x = x;
        p[i].y = y;
    }
    for (UINT i = h.count; i < h.count + spare; ++i)
        p[i] = h.count ? p[0] : POINT{0, 0};
    delete[] m_pPoints;
    m_pPoints = p;
    m_nPoints = h.count;
    capacity = h.count + spare;
}

BOOL CDrawObj::PointListIntersectsRect(const RECT& rc)
{
    if (!m_pPoints || !m_nPoints)
        return FALSE;
    CRect r(rc);
    r.NormalizeRect();
    CRect bound, u;
    GetBoundRect(&bound);
    u.UnionRect(&r, &bound);
    if (u == r)
        return TRUE;
    if (m_nPoints == 2)
        return LineHitsRect(r, m_pPoints[0], m_pPoints[1], m_nWidth);
    CRect quick;
    if (!quick.IntersectRect(&r, &bound))
        return FALSE;
    // The enclosed area, and the drawn line itself, which a stroke along a
    // straight path has without enclosing anything.
    if (m_nPoints >= 3) {
        HRGN rgn = ::CreatePolygonRgn(m_pPoints, (int)m_nPoints, ALTERNATE);
        if (rgn) {
            BOOL in = ::RectInRegion(rgn, &r);
            ::DeleteObject(rgn);
            if (in)
                return TRUE;
        }
    }
    for (UINT i = 0; i + 1 < m_nPoints; ++i)
        if (LineHitsRect(r, m_pPoints[i], m_pPoints[i + 1], m_nWidth))
            return TRUE;
    return FALSE;
}

void CDrawObj::DrawPolyline(CDC* pDC, int num, int den, BOOL closed)
{
    if (!pDC || den <= 0 || !m_pPoints || !m_nPoints)
        return;
    CWBDrawTools tools(pDC, MakeOutlinePen(num, den), NULL);
    if (!tools.Ok())
        return;
    if (closed && m_nPoints == 2) {
        POINT a = ScalePoint(m_pPoints[0], num, den), b = ScalePoint(m_pPoints[1], num, den);
        pDC->MoveTo(a);
        pDC->LineTo(b);
        return;
    }
    UINT n = m_nPoints + (closed ? 1 : 0);
    CScaledPointBuffer& buffer = CScaledPointBuffer::Instance();
    POINT* p = buffer.Lock(n);
    if (!p)
        return;
    for (UINT i = 0; i < m_nPoints; ++i)
        p[i] = ScalePoint(m_pPoints[i], num, den);
    if (closed)
        p[m_nPoints] = p[0];
    pDC->Polyline(p, (int)n);
    buffer.Unlock();
}

HPEN CDrawObj::MakeOutlinePen(int num, int den) const
{
    int style = PenStyleFromCode(m_nStyle);
    if (style < 0)
        return NULL;
    return ::CreatePen(style, ScaledPenWidth(num, den), m_crColor);
}

int CDrawObj::ClickedLButtonDown(POINT pt, UINT& capacity, UINT spare)
{
    if (!m_pPoints) {
        capacity = 0;
        if (!GrowPoints(capacity, 10))
            return -1;
        m_pPoints[0] = m_pPoints[1] = pt;
        m_nPoints = 2;
        m_bCreating = TRUE;
        return 0;
    }
    if (!m_bCreating)
        return 0;
    // At the longest a record can carry the click ends the line.
    if (m_nPoints >= WB_MAX_POINTS) {
        m_pPoints[m_nPoints - 1] = pt;
        return 1;
    }
    if (!GrowPoints(capacity, m_nPoints + 1 + spare))
        return 0;
    m_pPoints[m_nPoints - 1] = pt;
    m_pPoints[m_nPoints] = pt;
    ++m_nPoints;
    return 0;
}

int CDrawObj::ClickedMouseMove(POINT pt)
{
    if (m_bCreating && m_pPoints && m_nPoints)
        m_pPoints[m_nPoints - 1] = pt;
    return 0;
}

int CDrawObj::ClickedRButtonDown()
{
    if (!m_bCreating)
        return 1;
    if (m_nPoints)
        --m_nPoints;
    return m_nPoints >= 2 ? 1 : -1;
}

void CDrawObj::PointListBoundRect(RECT* prc)
{
    if (!prc)
        return;
    if (!m_pPoints || !m_nPoints) {
        ::SetRectEmpty(prc);
        return;
    }
    CRect rc(m_pPoints[0].x, m_pPoints[0].y, m_pPoints[0].x, m_pPoints[0].y);
    for (UINT i = 1; i < m_nPoints; ++i) {
        const POINT& p = m_pPoints[i];
        if (p.x < rc.left)
            rc.left = p.x;
        if (p.x > rc.right)
            rc.right = p.x;
        if (p.y < rc.top)
            rc.top = p.y;
        if (p.y > rc.bottom)
            rc.bottom = p.y;
    }
    rc.InflateRect(1, 1);
    *prc = rc;
}

int CDrawObj::LineLButtonDown(POINT pt)
{
    if (m_pPoints)
        return 0;
    if (!AllocPoints(2))
        return -1;
    m_pPoints[0] = m_pPoints[1] = pt;
    m_bCreating = TRUE;
    return 0;
}

int CDrawObj::LineMouseMove(POINT pt)
{
    if (!m_bCreating || !m_pPoints)
        return -1;
    m_pPoints[1] = pt;
    return 0;
}

int CDrawObj::LineLButtonUp(POINT pt)
{
    if (!m_bCreating || !m_pPoints)
        return -1;
    m_pPoints[1] = pt;
    m_bCreating = FALSE;
    return 1;
}

UINT CDrawObj::PackLine(BYTE* blob, UINT length)
{
    UINT size = sizeof(WB_OUTLINE_BLOB);
    if (!blob && length == 0)
        return size;
    if (!blob || length < size || !m_pPoints || m_nPoints < 2)
        return 0;
    WireWriter out(blob, length);
    WB_OUTLINE_BLOB b = {m_crColor,
                         m_nStyle,
                         m_nWidth,
                         {m_pPoints[0].x, m_pPoints[0].y},
                         {m_pPoints[1].x, m_pPoints[1].y}};
    return out.Record(b) ? size : 0;
}

void CDrawObj::UnpackLine(const BYTE* blob, UINT length)
{
    WireReader in(blob, length);
    WB_OUTLINE_BLOB b;
    if (!blob || length != sizeof(b) || !in.Record(b) || !AllocPoints(2))
        return;
    m_crColor = b.color;
    m_nStyle = b.style;
    m_nWidth = b.width;
    m_pPoints[0] = {b.from.x, b.from.y};
    m_pPoints[1] = {b.to.x, b.to.y};
}

void CDrawObj::LineBoundRect(RECT* prc)
{
    if (!prc)
        return;
    if (!m_pPoints || m_nPoints < 2) {
        ::SetRectEmpty(prc);
        return;
    }
    CRect rc(m_pPoints[0].x, m_pPoints[0].y, m_pPoints[1].x, m_pPoints[1].y);
    rc.NormalizeRect();
    rc.InflateRect(1, 1);
    *prc = rc;
}

BOOL CDrawObj::LineIntersectsRect(const RECT& rc)
{
    if (!m_pPoints || m_nPoints < 2)
        return FALSE;
    return LineHitsRect(rc, m_pPoints[0], m_pPoints[1], m_nWidth);
}

BOOL CDrawObj::LineContainsPoint(POINT pt)
{
    if (!m_pPoints || m_nPoints < 2)
        return FALSE;
    RECT box = {pt.x - 1, pt.y - 1, pt.x + 1, pt.y + 1};
    return LineHitsRect(box, m_pPoints[0], m_pPoints[1], m_nWidth);
}

HBRUSH CDrawObj::MakeFillBrush() const
{
    int hatch = FillCodeToHatchStyle(m_nFill);
    if (hatch == -2)
        return NULL;
    return hatch == -1 ? ::CreateSolidBrush(m_crColor) : ::CreateHatchBrush(hatch, m_crColor);
}

void CDrawObj::AlignFillBrush(CDC* pDC, const CRect& rc) const
{
    CPoint org = pDC->GetViewportOrg();
    ::SetBrushOrgEx(pDC->GetSafeHdc(), (int)(((LONGLONG)org.x + rc.left) % 8),
                    (int)(((LONGLONG)org.y + rc.top) % 8), NULL);
}
