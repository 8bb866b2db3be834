#pragma once
#include "CWebViewBase.h"

// A presentation-board view: the pages it shows never open new windows.
class CWebShareView : public CWebViewBase
{
public:
    void OnNewWindow2(LPDISPATCH* disp, BOOL* cancel) override;
};
