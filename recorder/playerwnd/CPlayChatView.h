#pragma once
#include "afxcmn.h"

// The player's chat pane: a rich edit control that only the recording
// writes into; typing changes nothing.
class CPlayChatView : public CRichEditCtrl
{
public:
    // Appends text in the colour, at the end, and scrolls it into view.
    void Append(const char* text, COLORREF colour);
    void ClearAll();

protected:
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()
};
