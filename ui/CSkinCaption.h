#pragma once
#include "CCaptionButton.h"
#include "CSkinBitmap.h"

#include "afxcmn.h"
#include "afxwin.h"

#include <functional>

// The skinned caption and borders of a window that draws its own non-client
// area: the three caption buttons with their tooltips, the border bitmaps,
// the rounded window region, and the sizing, painting and hit testing of
// the non-client area. The window owns one and calls it from its handlers.
class CSkinCaption
{
public:
    enum { BORDER_LEFT = 4, BORDER_TOP = 0, BORDER_RIGHT = 5, BORDER_BOTTOM = 4 };
    enum { CORNER = 11 };

    // Where the buttons sit: rectangles measured leftwards from the window's
    // right edge and down from its top; buttonMargin is the gap between the
    // close button's face and the right edge when painted.
    struct Layout
    {
        RECT close;
        RECT maximize;
        RECT minimize;
        int buttonMargin;
    };
    // The strip files of the buttons' faces.
    struct ButtonSkins
    {
        LPCTSTR close;
        LPCTSTR maximize;
        LPCTSTR restore;
        LPCTSTR minimize;
    };

    CSkinCaption(CWnd& owner, const Layout& layout);

    CSkinCaption(const CSkinCaption&) = delete;
    CSkinCaption& operator=(const CSkinCaption&) = delete;

    // The side borders run vertically, the bottom one horizontally; the
    // edges are those of CSkinBitmap::LoadFromFile.
    void LoadBorders(LPCTSTR left, LPCTSTR right, LPCTSTR bottom, int sideStart, int sideEnd,
                     int bottomStart, int bottomEnd);

    // Creates the tooltip and, as the owner's style asks, the buttons.
    void CreateButtons(const ButtonSkins& skins);
    // Places the buttons and their tool rectangles for the owner's size.
    void LayoutButtons();
    BOOL HasMinMax() const;

    // The client rectangle inside the caption and borders.
    void CalcSize(NCCALCSIZE_PARAMS* params, int captionHeight) const;
    // Paints the caption (drawCaption draws its background and title into
    // a DC of width x captionHeight), the buttons over it and the borders.
    void PaintNonClient(int captionHeight, const std::function<void(CDC*, int width)>& drawCaption);
    // HTCAPTION, HTCLIENT, or 0 when the point is on neither.
    UINT HitTest(CPoint point, int captionHeight) const;

    void RelayToButtons(const MSG* msg);
    void RelayToToolTip(MSG* msg);
    // The rounded region for the owner's new size and the maximise face.
    void OnSize(UINT type);

    CCaptionButton& CloseButton() { return m_btnClose; }
    CCaptionMaxButton& MaxButton() { return m_btnMax; }
    CCaptionButton& MinButton() { return m_btnMin; }
    CToolTipCtrl& ToolTip() { return m_toolTip; }

private:
    CWnd& m_owner;
    Layout m_layout;
    CToolTipCtrl m_toolTip;
    CSkinBitmap m_borderLeft;
    CSkinBitmap m_borderRight;
    CSkinBitmap m_borderBottom;
    CCaptionButton m_btnMin;
    CCaptionMaxButton m_btnMax;
    CCaptionButton m_btnClose;
};
