#pragma once
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "CSkinTabCtrl.h"

class IFrameHost;

// The main window's page tab strip: skinned tabs over a header band, the
// full-screen and restore buttons at the header's right end and the chat
// pane's open and close buttons beside them.
class CMainTabStrip : public CSkinTabCtrl
{
public:
    static constexpr COLORREF BACKGROUND = 0xEFEFEF;
    enum {
        BUTTON_HEIGHT = 23,
        SCREEN_BUTTON_WIDTH = 40,
        CHAT_BUTTON_WIDTH = 90,
        RIGHT_MARGIN = 5,
        BUTTON_GAP = 8,
        PAGE_GAP = 5
    };

    CMainTabStrip();
    ~CMainTabStrip() override;

    // Creates the strip as a child of the main window (host) with its buttons.
    BOOL CreateStrip(CWnd* parent, IFrameHost* host, const RECT& rect, UINT id);

    void GetPageRect(RECT* pRect) override;
    // With a nonzero flag, the full-screen and restore buttons are titled again.
    virtual void ApplyTexts(BOOL apply);

    // The full-screen button shows, or the restore button in its place.
    void ShowFullScreenButton(bool fullScreen);
    // The chat pane's buttons follow the chat pane being shown.
    void ShowChatButtons(bool chatShown);
    CSkinButton& Button(UINT id);
    // The height of the normal tab image (the tab row).
    int GetTabHeight() const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg LRESULT OnLanguageChanged(WPARAM, LPARAM);
    afx_msg void OnFullScreen();
    afx_msg void OnRestore();
    afx_msg void OnOpenChat();
    afx_msg void OnCloseChat();
    DECLARE_MESSAGE_MAP()

    void LayoutButtons();
    void DrawTab(CDC* dc, int index, bool selected);

    IFrameHost* m_host = nullptr;
    CSkinBitmap m_tabNormal;
    CSkinBitmap m_tabSelected;
    CSkinBitmap m_tabDisabled;
    CSkinBitmap m_header;
    CSkinButton m_fullScreen;
    CSkinButton m_restore;
    CSkinButton m_openChat;
    CSkinButton m_closeChat;
    HCURSOR m_hand = nullptr;
    HCURSOR m_arrow = nullptr;
    HCURSOR m_split = nullptr;
};
