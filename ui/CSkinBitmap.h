#pragma once
#include "afxwin.h"

// A skin image in three pieces along one axis: a start piece, a middle piece
// repeated as often as needed, and an end piece. Drawn to any length along
// its axis without distorting its ends; across the axis it is stretched to
// the target's thickness. Without its pieces it paints the button-face
// colour instead, so a missing skin file never fails a window.
class CSkinBitmap
{
public:
    CSkinBitmap();
    virtual ~CSkinBitmap();

    CSkinBitmap(const CSkinBitmap&) = delete;
    CSkinBitmap& operator=(const CSkinBitmap&) = delete;

    // Loads a bitmap file from disk (relative to the current directory) and
    // cuts it at the two edges. A file that cannot be loaded leaves the
    // pieces as they were; the edges and orientation are set in any case.
    BOOL LoadFromFile(LPCTSTR file, int startEdge, int endEdge, BOOL horizontal);
    // The same from a bitmap the caller keeps owning.
    void SetBitmap(HBITMAP bitmap, int startEdge, int endEdge, BOOL horizontal);

    void Draw(CDC* dc, int x, int y, int cx, int cy);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    BOOL IsEmpty() const;
    BOOL IsHorizontal() const { return m_bHorizontal; }
    // The edges as used for cutting (clamped into the bitmap).
    int GetStartEdge() const { return m_nStartEdge; }
    int GetEndEdge() const { return m_nEndEdge; }

private:
    void SplitBitmap(CBitmap* source);
    void DeletePieces();

    BOOL m_bHorizontal;
    int m_nWidth;
    int m_nHeight;
    CBitmap m_middle;
    CBitmap m_start;
    CBitmap m_end;
    int m_nStartEdge;
    int m_nEndEdge;
};
