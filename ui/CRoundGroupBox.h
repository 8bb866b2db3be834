#pragma once
#include "afxwin.h"

// A group box drawn as a rounded frame with its caption set into the top
// edge. Used by subclassing a dialog's group box.
class CRoundGroupBox : public CButton
{
public:
    static constexpr COLORREF TEXT_COLOUR = 0xA14516;
    static constexpr COLORREF FRAME_COLOUR = 0xBD9E7B;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
