#pragma once
#include "CSkinTabCtrl.h"

// The player's tab strip: the page under a released mouse button is always
// selected, and a change of page is never refused.
class CPlayerTabCtrl : public CSkinTabCtrl
{
protected:
    afx_msg BOOL OnSelChanging(NMHDR* hdr, LRESULT* result);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
