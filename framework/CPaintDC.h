#pragma once
#include "CDC.h"

// The DC of a WM_PAINT handler: BeginPaint on construction, EndPaint on
// destruction. While the window answers WM_PRINTCLIENT, it is the DC the
// window is printed into, the whole client area to paint.
class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    virtual ~CPaintDC();

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
    BOOL m_bPrinting;
};
