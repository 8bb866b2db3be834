#pragma once
#include "CColourPickerXP.h"

// The drop-down palette of CColourPickerXP: 40 named colours in 8 columns,
// an optional default box above them and a custom box below them that opens
// the system colour dialog. It holds the mouse capture while it is open,
// reports every change of the current cell to its picker and ends with an
// accept or a cancel; it deletes itself when its window is destroyed.
class CColourPopupXP : public CWnd
{
public:
    enum { DEFAULT_BOX_VALUE = -3, CUSTOM_BOX_VALUE = -2, INVALID_COLOUR = -1 };
    enum { MAX_COLOURS = 100, NUM_COLOURS = 40, NUM_COLUMNS = 8 };

    struct ColourTableEntry
    {
        COLORREF crColour;
        LPCSTR szName;
    };
    static const ColourTableEntry m_crColours[NUM_COLOURS];
    static const char* const CLASS_NAME;

    CColourPopupXP();
    virtual ~CColourPopupXP();

    BOOL Create(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCSTR szDefaultText = NULL,
                LPCSTR szCustomText = NULL, LPCSTR szRegSection = NULL);

    int GetCurrentCell() const { return m_nCurrentSel; }
    COLORREF GetChosenColour() const { return m_crColour; }
    CRect GetCellRect(int nIndex) const;
    int GetCellAt(CPoint point) const;

    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    virtual void PostNcDestroy();

    afx_msg void OnNcDestroy();
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    DECLARE_MESSAGE_MAP()

    void Initialise();
    void SetWindowSize();
    void CreateToolTips();
    void ChangeSelection(int nIndex);
    void EndSelection(int nMessage);
    void DrawCell(CDC* pDC, int nIndex);
    void FindCellFromColour(COLORREF crColour);
    int MoveSelection(int nIndex, UINT nKey) const;
    BOOL HasDefault() const { return !m_strDefaultText.IsEmpty(); }
    BOOL HasCustom() const { return !m_strCustomText.IsEmpty(); }
    void Notify(UINT nMessage, COLORREF crColour);

    int m_nNumColumns, m_nNumRows;
    int m_nBoxSize, m_nMargin;
    int m_nCurrentSel;
    int m_nChosenColourSel;
    CString m_strDefaultText;
    CString m_strCustomText;
    CRect m_CustomTextRect, m_DefaultTextRect, m_WindowRect, m_BoxesRect;
    CFont m_Font;
    CPalette m_Palette;
    COLORREF m_crInitialColour, m_crColour;
    CToolTipCtrl m_ToolTip;
    CWnd* m_pParent;
    BOOL m_bChildWindowVisible;
    BOOL m_bIsXP;
    BOOL m_bFlatMenus;
    COLORREF m_clrBackground, m_clrHiLightBorder, m_clrHiLight, m_clrLoLight, m_clrHiLightText,
        m_clrText;
    CString m_strRegSection;
    int m_nNumColours;
};
