#pragma once
#include "afxcmn.h"

#include "CSkinButton.h"
#include "CSkinTabCtrl.h"
#include "PaneContext.h"

// The users tab of the left pane: page 0 the participants list with the
// head-count button (its sort menu) and the meeting-room button above it,
// page 1 the window-mode pictures.
class CUserTabCtrl : public CSkinTabCtrl
{
public:
    explicit CUserTabCtrl(const PANE_CONTEXT& context);

    BOOL CreateTab(CWnd* parent, const RECT& rect, UINT id);
    // "当前%d人次" on the head-count button.
    void SetHeadCount(int count);

    void ResizeCurrentPage() override;
    void SelectPage(int nIndex) override;
    void GetPageRect(RECT* pRect) override;

    CSkinButton& GetHeadCountButton() { return m_headCount; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    void ShowButtons(bool show);

    PANE_CONTEXT m_ctx;
    CSkinButton m_headCount;
    CSkinButton m_rooms;
    CMenu m_sortMenu;
};
