#pragma once
#include "afxwin.h"

#include "CIconListBox.h"

// The window-mode popup of the left pane: a borderless white popup holding
// the window-mode pictures; it closes itself once it is deactivated.
class CUserListPanel : public CWnd
{
public:
    CUserListPanel();

    void SetCells(int cells, int columns, UINT bitmapId, int imageWidth);
    // Opens at the top left of anchor (screen), moved up when it would pass
    // the bottom of the screen; nothing when it is open already.
    void Open(CWnd* owner, const RECT& anchor);
    bool IsOpen() const { return m_hWnd != NULL && ::IsWindow(m_hWnd); }
    CIconListBox& GetList() { return m_list; }
    int GetImageHeight() const { return m_imageHeight; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()

private:
    CIconListBox m_list;
    int m_cells = 16;
    int m_columns = 4;
    UINT m_bitmapId = 0;
    int m_imageWidth = 113;
    int m_imageHeight = 85;
};
