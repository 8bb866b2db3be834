#pragma once
#include "afxcmn.h"
#include "afxext.h"

// A tool bar whose button images come from a 24-bit bitmap (0xC0C0C0 is
// transparent), whose background is tiled from the skin file
// "Skins\\ssBkgnd.bmp" (the button face without it), and whose buttons can
// carry the short names of their command strings.
class CTrueColorToolBar : public CToolBar
{
public:
    CTrueColorToolBar();
    ~CTrueColorToolBar() override;

    // Loads the tool-bar resource, replaces its images by those of the
    // bitmap resource, and with withText gives each button the short name of
    // its command string. FALSE when the tool bar or its images fail.
    BOOL LoadTrueColorToolBar(UINT toolBarId, UINT bitmapId, BOOL withText);

    static constexpr COLORREF MASK_COLOUR = 0xC0C0C0;
    // The short name of a command string: the text after its first line
    // feed, or the whole string when it has none.
    static CString ShortName(const CString& commandString);

protected:
    BOOL SetTrueColorImages(UINT bitmapId);
    void SetButtonTexts();
    CSize ImageSize() const;

    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomDraw(NMHDR* nmhdr, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    CBrush m_brushBackground;
    HIMAGELIST m_hImages; // the images given to the tool bar, owned here
};
