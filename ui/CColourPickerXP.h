#pragma once
#include "afxcmn.h"

// Messages from the colour pickers to their owner: wParam the colour,
// lParam the picker's control id.
#define WM_COLOURPICKER_CHANGED 0x7E9
#define WM_COLOURPICKER_OPENED 0x7EA
#define WM_COLOURPICKER_CLOSED 0x7EB
#define WM_COLOURPICKER_ACCEPTED 0x7EC
#define WM_COLOURPICKER_CANCELLED 0x7ED

#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000
#endif

// A button showing the current colour that drops down a popup of 40 named
// colours with an optional "Automatic" entry and a "More Colors..." entry.
class CColourPickerXP : public CButton
{
    DECLARE_DYNCREATE(CColourPickerXP)
public:
    CColourPickerXP();
    virtual ~CColourPickerXP();

    virtual COLORREF GetColour(BOOL bResolveDefault);
    virtual COLORREF GetColour() { return m_Colour; }
    virtual void SetColour(COLORREF crColour);
    virtual COLORREF GetDefaultColour() const { return m_DefaultColour; }
    virtual void SetDefaultColour(COLORREF crColour);
    virtual void SetCustomText(LPCSTR lpszText);
    virtual void SetDefaultText(LPCSTR lpszText);
    virtual void SetRegSection(LPCSTR lpszRegSection);
    virtual void SetTrackSelection(BOOL bTrack) { m_bTrackSelection = bTrack; }
    virtual BOOL GetTrackSelection() const { return m_bTrackSelection; }
    virtual void SetCaptionText(LPCSTR lpszText);
    virtual void SetCaptionFlag(int nFlag) { m_nCaptionFlag = nFlag; }
    virtual int GetCaptionFlag() const { return m_nCaptionFlag; }

    BOOL IsPopupActive() const { return m_bPopupActive; }
    BOOL IsHot() const { return m_bHot; }
    void SetTransparent(BOOL bTransparent) { m_bTransparent = bTransparent; }
    void SetFlatBorder(BOOL bFlat) { m_bFlatBorder = bFlat; }
    // Opens the popup as a click would.
    void OpenPopup();

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

protected:
    virtual void PreSubclassWindow();
    afx_msg BOOL OnClicked();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    afx_msg LRESULT OnSelEndOK(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSelEndCancel(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSelChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void NotifyOwner(UINT nMessage, COLORREF crColour);

    COLORREF m_Colour;
    COLORREF m_DefaultColour;
    CString m_strDefaultText;
    CString m_strCustomText;
    BOOL m_bPopupActive;
    // The colour the owner was last told while the popup is open (it starts
    // at the colour the popup opened with).
    COLORREF m_crOwnerSees;
    int m_bTrackSelection;
    BOOL m_bHot;
    BOOL m_bFlatMenus;
    int m_nCaptionFlag;
    CString m_strCaption;
    CImageList* m_pArrowImages;
    CString m_strRegSection;
    BOOL m_bTransparent;
    BOOL m_bFlatBorder;
};
