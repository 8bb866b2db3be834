#pragma once
#include "CDialog.h"

// The base of the system's standard dialogs (file, colour, font).
class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd)
    {
        m_lpszTemplateName = NULL;
    }
};
