#pragma once
#include "afxwin.h"

// Samples the processor load on a timer, draws it as a column of horizontal
// lines (free lines from the top, used lines from the bottom) and hands each
// sample to the load sink the client installs (its chat pane's status line).
class CCpuMeter : public CWnd
{
public:
    typedef void (*PFN_LOAD_SINK)(int nLoad);

    CCpuMeter();
    virtual ~CCpuMeter();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetInterval(UINT nMilliseconds);
    int GetLoad() const { return m_nLoad; }
    static void SetLoadSink(PFN_LOAD_SINK pfn);

    // The load in percent from two samples of the idle and system times
    // (100 ns units) on nProcessors processors, rounded and kept within 0 to
    // 100. Without elapsed time (or with counters that ran backwards) the
    // previous load stands.
    static int ComputeLoad(ULONGLONG prevIdle, ULONGLONG prevTime, ULONGLONG idle, ULONGLONG time,
                           int nProcessors, int nPreviousLoad);

protected:
    afx_msg void OnPaint();
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    void Sample();
    void SampleNT();
    void Sample9x();

    COLORREF m_crLabel, m_crValue;
    COLORREF m_crBackground, m_crFreeLine, m_crUsedLine;
    int m_nPitch;
    int m_nLines;
    UINT m_nInterval;
    int m_nLoad;
    LARGE_INTEGER m_prevIdle;
    LARGE_INTEGER m_prevTime;
    static PFN_LOAD_SINK s_pfnSink;
};
