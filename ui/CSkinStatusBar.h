#pragma once
#include "CSkinBitmap.h"

#include "afxext.h"

// A status bar painted over its own skin background, each pane's text in
// two colours: the part up to and including the first colon in the label
// colour, the rest in the value colour. The owner sets the background and
// the colours.
class CSkinStatusBar : public CStatusBar
{
public:
    CSkinStatusBar();

    void SetColours(COLORREF label, COLORREF value)
    {
        m_clrLabel = label;
        m_clrValue = value;
    }
    CSkinBitmap& Background() { return m_background; }

    // Splits a pane text after its first colon.
    static void SplitText(const CString& text, CString& label, CString& value);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    COLORREF m_clrLabel;
    COLORREF m_clrValue;
    CSkinBitmap m_background;
};
