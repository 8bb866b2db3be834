#pragma once
#include "CSkinBitmap.h"
#include "afxwin.h"

// A window for up to five labelled percentage bars. The owner fills the
// entries directly and repaints.
class CPercentProgress : public CWnd
{
public:
    enum { MAX_ENTRIES = 5 };
    struct Entry
    {
        char label[1024];
        int value;
        BOOL used;
    };

    CPercentProgress();
    virtual ~CPercentProgress();

    // The bar height of a value in a client area of the given height: the
    // room above the label line, scaled by the value (kept within 0..100).
    static int BarHeight(int nValue, int nClientHeight);

    Entry m_entries[MAX_ENTRIES];

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    CSkinBitmap m_bar;
    int m_nScale;
};
