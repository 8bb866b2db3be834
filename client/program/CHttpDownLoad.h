#pragma once
#include "afxhtml.h"

// A browser view without behaviour of its own; the application, the main
// window and the document upload dialog each hold one.
class CHttpDownLoad : public CHtmlView
{
    DECLARE_DYNCREATE(CHttpDownLoad)
public:
    CHttpDownLoad();
    ~CHttpDownLoad() override;
};
