#pragma once
#include "afxwin.h"

// Selects a pen and a brush into a device context for one drawing and puts
// back what was there; deletes what it made.
class CWBDrawTools
{
public:
    CWBDrawTools(CDC* pDC, HPEN pen, HBRUSH brush);
    ~CWBDrawTools();
    BOOL Ok() const { return m_ok; }

private:
    HDC m_hDC;
    HPEN m_pen;
    HBRUSH m_brush;
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
    BOOL m_ok;
};
