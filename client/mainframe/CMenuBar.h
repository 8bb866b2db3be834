#pragma once
#include "CSkinBitmap.h"

#include "afxext.h"

#include <vector>

class CLanguageManager;

// The main window's menu as a row of skinned text buttons: one button per
// top-level item of the window's menu, a popup item's button dropping its
// popup below itself. While a popup is open, moving the cursor onto another
// popup's button switches to that popup.
class CMenuBar : public CToolBar
{
public:
    enum { BUTTON_WIDTH = 50, IMAGE_WIDTH = 43, TRACK_TIMER = 1000, TRACK_MS = 100 };
    static constexpr COLORREF FACE_COLOUR = 0xFF9966;

    CMenuBar();
    ~CMenuBar() override;

    // Creates the bar on the frame, takes over the frame's menu (the frame
    // shows no menu afterwards) and makes its buttons. lang: the texts'
    // language manager (null: none).
    BOOL CreateBar(CFrameWnd* frame, CLanguageManager* lang);
    // Translates the menu from the language file and titles the buttons again.
    void ApplyLanguageTexts(BOOL apply);

    HMENU GetMenuHandle() const { return m_menu; }
    int GetButtonCount() const;
    CString GetButtonTitle(int index) const;
    // The index of the popup button under a screen point, -1 for none (or a
    // plain command button).
    int PopupButtonAt(POINT screen) const;
    // The popup open now, -1 when none.
    int GetOpenPopup() const { return m_openPopup; }
    // Opens the popup of a button below it (returns when it closes); false
    // for a button without a popup.
    bool DropDown(int index);
    // The cursor check of the tracking timer: switches to the popup under
    // the cursor when that is another popup's button. True when it switched.
    bool TrackCursor(POINT screen);

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    afx_msg void OnDropDown(NMHDR* nmhdr, LRESULT* result);
    afx_msg void OnCustomDraw(NMHDR* nmhdr, LRESULT* result);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnNcPaint();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void DrawButton(NMTBCUSTOMDRAW* draw);
    void RetitleButtons();

    std::vector<CString> m_titles;
    HMENU m_menu = nullptr;
    CLanguageManager* m_lang = nullptr;
    CSkinBitmap m_buttonImages;
    CBrush m_background;
    int m_imageHeight = 24;
    int m_openPopup = -1;
    int m_pendingPopup = -1;
};
