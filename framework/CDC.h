#pragma once
#include "CBitmap.h"
#include "CBrush.h"
#include "CFont.h"
#include "CPalette.h"
#include "CPen.h"
#include "CRect.h"
#include "CRgn.h"
#include "CString.h"

class CWnd;

// A device context. A CDC made by CreateCompatibleDC owns its DC and deletes
// it; one attached from elsewhere is only forgotten by Detach.
class CDC : public CObject
{
    DECLARE_DYNCREATE(CDC)
public:
    CDC();
    virtual ~CDC();

    HDC m_hDC;
    HDC m_hAttribDC;
    BOOL m_bPrinting;
    operator HDC() const { return GetSafeHdc(); }
    HDC GetSafeHdc() const;

    static CDC* PASCAL FromHandle(HDC hDC);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                  const void* lpInitData);
    BOOL CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                  const void* lpInitData);
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    CWnd* GetWindow() const;
    BOOL IsPrinting() const { return m_bPrinting; }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Selection; each returns the object it replaced (a temporary wrapper).
    CGdiObject* SelectStockObject(int nIndex)
    {
        return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
    }
    CPen* SelectObject(CPen* pPen) { return (CPen*)SelectGdiObject(pPen->GetSafeHandle()); }
    CBrush* SelectObject(CBrush* pBrush)
    {
        return (CBrush*)SelectGdiObject(pBrush->GetSafeHandle());
    }
    CFont* SelectObject(CFont* pFont) { return (CFont*)SelectGdiObject(pFont->GetSafeHandle()); }
    CBitmap* SelectObject(CBitmap* pBitmap)
    {
        return (CBitmap*)SelectGdiObject(pBitmap->GetSafeHandle());
    }
    CGdiObject* SelectObject(CGdiObject* pObject)
    {
        return SelectGdiObject(pObject->GetSafeHandle());
    }
    int SelectObject(CRgn* pRgn)
    {
        return (int)(INT_PTR)::SelectObject(m_hDC, pRgn->GetSafeHandle());
    }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground)
    {
        return CPalette::FromHandle(
            ::SelectPalette(m_hDC, (HPALETTE)pPalette->GetSafeHandle(), bForceBackground));
    }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const
    {
        return (CPen*)CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_PEN));
    }
    CBrush* GetCurrentBrush() const
    {
        return (CBrush*)CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_BRUSH));
    }
    CFont* GetCurrentFont() const
    {
        return (CFont*)CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_FONT));
    }
    CBitmap* GetCurrentBitmap() const
    {
        return (CBitmap*)CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_BITMAP));
    }

    // Colours and modes
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
    int SetPolyFillMode(int nPolyFillMode) { return ::SetPolyFillMode(m_hDC, nPolyFillMode); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    int SetTextCharacterExtra(int nCharExtra) { return ::SetTextCharacterExtra(m_hDC, nCharExtra); }
    COLORREF GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hDC, crColor); }

    // Coordinates
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CPoint SetViewportOrg(int x, int y)
    {
        POINT p = {0, 0};
        ::SetViewportOrgEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const
    {
        POINT p = {0, 0};
        ::GetViewportOrgEx(m_hDC, &p);
        return p;
    }
    CPoint OffsetViewportOrg(int nWidth, int nHeight)
    {
        POINT p = {0, 0};
        ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &p);
        return p;
    }
    CPoint SetWindowOrg(int x, int y)
    {
        POINT p = {0, 0};
        ::SetWindowOrgEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const
    {
        POINT p = {0, 0};
        ::GetWindowOrgEx(m_hDC, &p);
        return p;
    }
    CPoint OffsetWindowOrg(int nWidth, int nHeight)
    {
        POINT p = {0, 0};
        ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &p);
        return p;
    }
    CSize SetViewportExt(int x, int y)
    {
        SIZE s = {0, 0};
        ::SetViewportExtEx(m_hDC, x, y, &s);
        return s;
    }
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize GetViewportExt() const
    {
        SIZE s = {0, 0};
        ::GetViewportExtEx(m_hDC, &s);
        return s;
    }
    CSize SetWindowExt(int x, int y)
    {
        SIZE s = {0, 0};
        ::SetWindowExtEx(m_hDC, x, y, &s);
        return s;
    }
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize GetWindowExt() const
    {
        SIZE s = {0, 0};
        ::GetWindowExtEx(m_hDC, &s);
        return s;
    }
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const { ::DPtoLP(m_hDC, lpPoints, nCount); }
    void DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hDC, (LPPOINT)lpRect, 2); }
    void DPtoLP(LPSIZE lpSize) const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const { ::LPtoDP(m_hDC, lpPoints, nCount); }
    void LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hDC, (LPPOINT)lpRect, 2); }
    void LPtoDP(LPSIZE lpSize) const;

    // Clipping
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
    int SelectClipRgn(CRgn* pRgn, int nMode)
    {
        return ::ExtSelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), nMode);
    }
    int IntersectClipRect(int x1, int y1, int x2, int y2)
    {
        return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    }
    int IntersectClipRect(LPCRECT r)
    {
        return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom);
    }
    int ExcludeClipRect(int x1, int y1, int x2, int y2)
    {
        return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    }
    int ExcludeClipRect(LPCRECT r)
    {
        return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom);
    }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

    // Lines and shapes
    CPoint MoveTo(int x, int y)
    {
        POINT p = {0, 0};
        ::MoveToEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const
    {
        POINT p = {0, 0};
        ::GetCurrentPositionEx(m_hDC, &p);
        return p;
    }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL PolyBezier(const POINT* lpPoints, int nCount)
    {
        return ::PolyBezier(m_hDC, lpPoints, nCount);
    }
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
    }
    BOOL RoundRect(LPCRECT r, POINT p)
    {
        return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, p.x, p.y);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF SetPixel(POINT point, COLORREF crColor)
    {
        return ::SetPixel(m_hDC, point.x, point.y, crColor);
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }

    // Filling
    void FillRect(LPCRECT lpRect, CBrush* pBrush)
    {
        ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle());
    }
    void FrameRect(LPCRECT lpRect, CBrush* pBrush)
    {
        ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle());
    }
    void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags)
    {
        return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
    }
    void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
    {
        return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
    }
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush)
    {
        return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
    }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
    {
        return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(),
                          nWidth, nHeight);
    }
    BOOL PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
    BOOL InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
    BOOL FloodFill(int x, int y, COLORREF crColor) { return ::FloodFill(m_hDC, x, y, crColor); }
    BOOL ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType)
    {
        return ::ExtFloodFill(m_hDC, x, y, crColor, nFillType);
    }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush = NULL)
    {
        return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), NULL, (LPARAM)hIcon, 0, pt.x,
                            pt.y, size.cx, size.cy, nFlags | DST_ICON);
    }
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = NULL)
    {
        return ::DrawStateA(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy,
                            nFlags | DST_BITMAP);
    }
    BOOL DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE,
                   int nTextLen = 0, CBrush* pBrush = NULL)
    {
        return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), NULL, (LPARAM)lpszText,
                            nTextLen, pt.x, pt.y, size.cx, size.cy,
                            nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
    }

    // Bitmaps
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
    {
        return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
    }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop)
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc,
                            nSrcWidth, nSrcHeight, dwRop);
    }
    BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                        int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent);

    // Text
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount)
    {
        return ::TextOutA(m_hDC, x, y, lpszString, nCount);
    }
    BOOL TextOut(int x, int y, const CString& str)
    {
        return ::TextOutA(m_hDC, x, y, str, str.GetLength());
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount,
                    LPINT lpDxWidths)
    {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                    LPINT lpDxWidths)
    {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, str, str.GetLength(), lpDxWidths);
    }
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, str, str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCSTR lpszString, int nCount) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &s);
        return s;
    }
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }
    BOOL GetTextMetrics(LPTEXTMETRICA lpMetrics) const
    {
        return ::GetTextMetricsA(m_hDC, lpMetrics);
    }
    int GetTextFace(int nCount, LPSTR lpszFacename) const
    {
        return ::GetTextFaceA(m_hDC, nCount, lpszFacename);
    }
    BOOL GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                    int nCount, int x, int y, int nWidth, int nHeight)
    {
        return ::GrayStringA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), lpfnOutput, lpData, nCount, x,
                             y, nWidth, nHeight);
    }

protected:
    CGdiObject* SelectGdiObject(HGDIOBJ h);
    BOOL m_bOwnsDC;
};
