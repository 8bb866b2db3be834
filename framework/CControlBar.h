#pragma once
#include "CWnd.h"

class CFrameWnd;

#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_NOALIGN 0x00000000L
#define CBRS_ALL 0x0040FFFFL

// A bar along one edge of its frame (tool bar, status bar, dialog bar).
// It takes its strip when the frame lays out (WM_SIZEPARENT) and updates its
// items' state from the frame's update handlers at idle time.
class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    virtual ~CControlBar();

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    BOOL IsFloating() const { return FALSE; }
    int GetCount() const { return m_nCount; }
    CFrameWnd* GetDockingFrame() const { return GetParentFrame(); }
    BOOL IsVisible() const { return IsWindowVisible(); }

    // The bar's size along and across its edge.
    // Shows or hides the bar at the next idle time (CFrameWnd::ShowControlBar
    // with bDelay).
    void DelayShow(BOOL bShow);
    enum StateFlags { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags;

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Updates the items from the target's ON_UPDATE_COMMAND_UI handlers; the
    // target is the bar's owner (else its parent), else its parent frame.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void PostNcDestroy();

    BOOL m_bAutoDelete;
    int m_cxLeftBorder, m_cxRightBorder, m_cyTopBorder, m_cyBottomBorder;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle;
    DWORD m_dwDockStyle;
    int m_nCount;
};

// The layout parameters a frame hands to its bars.
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};
