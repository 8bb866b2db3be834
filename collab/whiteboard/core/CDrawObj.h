#pragma once
#include "afxwin.h"

// Type codes of the drawing objects.
enum WBObjectType {
    WB_LINE = 1,
    WB_ARROW = 2,
    WB_RECT = 3,
    WB_RECTFILL = 4,
    WB_ROUNDRECT = 5,
    WB_ROUNDRECTFILL = 6,
    WB_ELLIPSE = 7,
    WB_ELLIPSEFILL = 8,
    WB_POLY = 9,
    WB_TEXT = 10,
    WB_PEN = 11,
    WB_PENCIL = 12,
    WB_ICON = 13,
};

// Limits that keep an object within one change record of a 32768-byte
// buffer: a stroke ends itself at kMaxPoints, a text holds kMaxTextBytes.
const UINT WB_MAX_POINTS = 3000;
const int WB_MAX_TEXT_BYTES = 177;

// One drawing object of a whiteboard page. The base class holds the style
// and the points and gives the behaviour of the rectangle kinds (eight
// handles from the two defining corners 0 and 4); every kind draws itself.
class CDrawObj : public CObject
{
    DECLARE_DYNAMIC(CDrawObj)
public:
    virtual ~CDrawObj();

    // The object of a type code with that id; null for an unknown code.
    static CDrawObj* CreateByType(int type, DWORD id);

    virtual void CopyFrom(const CDrawObj& src);
    virtual int HitHandle(POINT pt);
    virtual BOOL IntersectsRect(const RECT& rc);
    virtual BOOL ContainsPoint(POINT pt);
    virtual void MoveHandle(int index, SIZE offset);
    virtual void Offset(SIZE offset);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual void DrawHandlesScaled(CDC* pDC, int num, int den);
    virtual void DrawHandles(CDC* pDC);
    // Creation by mouse: 1 finished, 0 going on, -1 nothing to do or discard.
    virtual int OnRButtonUp(POINT pt);
    virtual int OnRButtonDown(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void SetRect(const RECT& rc);
    virtual void SetText(LPCTSTR lpszText);
    virtual void SetFont(const LOGFONT& lf);
    virtual void SetColor(const COLORREF& cr);
    virtual void SetWidth(BYTE width);
    virtual void SetStyle(BYTE style);
    virtual void SetFill(BYTE fill);
    virtual DWORD GetId() const;
    virtual int GetType() const;
    virtual LPCTSTR GetText() const;
    virtual void GetFont(LOGFONT* plf) const;
    virtual COLORREF GetColor() const;
    // The blob (wire form): Unpack takes only a blob of the right length.
    virtual void Unpack(const BYTE* blob, UINT length);
    // Pack(NULL, 0) gives the size; otherwise 0 when the buffer is missing or
    // short or the object has no points.
    virtual UINT Pack(BYTE* blob, UINT length);
    virtual int GetHandleCursor(int index);
    virtual void GetUpdateRect(RECT* prc);
    virtual void GetBoundRect(RECT* prc);

    // The archive form: type code, id, blob length, blob.
    virtual void Serialize(CArchive& ar);

    BYTE GetWidth() const { return m_nWidth; }
    BYTE GetStyle() const { return m_nStyle; }
    BYTE GetFill() const { return m_nFill; }
    UINT GetPointCount() const { return m_nPoints; }
    const POINT* GetPoints() const { return m_pPoints; }
    BOOL IsCreating() const { return m_bCreating; }

    // Whether the segment a-b, drawn with that pen width, touches the
    // rectangle.
    static BOOL LineHitsRect(const RECT& rc, POINT a, POINT b, int width);
    static int PenStyleFromCode(BYTE code);     // -1 for a code without a style
    static int FillCodeToHatchStyle(BYTE code); // -1 solid, -2 none

protected:
    CDrawObj(DWORD id, int type);

    // Helpers the kinds share.
    BOOL AllocPoints(UINT count);
    void FreePoints();
    void DeriveHandles();
    BOOL IsRectKind() const;
    void NormalisedRect(CRect& rc) const;
    void ScaledRect(CRect& rc, int num, int den) const;
    static LONG Scale(LONG v, int num, int den);
    static POINT ScalePoint(POINT p, int num, int den);
    int ScaledPenWidth(int num, int den) const;
    // Point lists (polygon, pen, pencil): the points grow by 10 slots.
    BOOL GrowPoints(UINT& capacity, UINT need);
    UINT PackPointList(BYTE* blob, UINT length);
    void UnpackPointList(const BYTE* blob, UINT length, UINT& capacity, UINT spare);
    BOOL PointListIntersectsRect(const RECT& rc);
    void DrawPolyline(CDC* pDC, int num, int den, BOOL closed);
    // Clicked point lists (polygon and pen); spare is the polygon's
    // closing slot.
    int ClickedLButtonDown(POINT pt, UINT& capacity, UINT spare);
    int ClickedMouseMove(POINT pt);
    int ClickedRButtonDown();
    void PointListBoundRect(RECT* prc);
    // Lines and arrows: points 0 and 1.
    int LineLButtonDown(POINT pt);
    int LineMouseMove(POINT pt);
    int LineLButtonUp(POINT pt);
    UINT PackLine(BYTE* blob, UINT length);
    void UnpackLine(const BYTE* blob, UINT length);
    void LineBoundRect(RECT* prc);
    BOOL LineIntersectsRect(const RECT& rc);
    BOOL LineContainsPoint(POINT pt);
    HPEN MakeOutlinePen(int num, int den) const; // null for a style without an entry
    // Filled kinds: a solid pen of width 1 and a solid or hatched brush in
    // the colour, the hatch lined up with the page across scrolling.
    HBRUSH MakeFillBrush() const; // null for a fill code without an entry
    void AlignFillBrush(CDC* pDC, const CRect& rc) const;

public:
    CRect m_rcUpdate;
    DWORD m_dwId;
    int m_nType;
    LOGFONTA m_logFont;
    COLORREF m_crColor;
    BYTE m_nWidth;
    BYTE m_nStyle;
    BYTE m_nFill;
    CString m_strText;
    UINT m_nPoints;
    POINT* m_pPoints;
    BOOL m_bCreating;
};
