#pragma once
#include "afxcmn.h"

// The common slider made to look transparent on skinned dialogs: behind its
// channel and thumb it shows a copy of the parent's background, taken once
// at the first drawing of the channel and kept while the control lives.
class CSkinSliderCtrl : public CSliderCtrl
{
public:
    CSkinSliderCtrl();
    virtual ~CSkinSliderCtrl();
    BOOL HasBackground() const { return m_background.m_hObject != NULL; }

protected:
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    void TakeBackground();
    CBitmap m_background;
};
