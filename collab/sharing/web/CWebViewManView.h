#pragma once
#include "CWebPoolView.h"

// The co-browsing views' container.
class CWebViewManView : public CWebPoolView
{
public:
    using CWebPoolView::CWebPoolView;

protected:
    CWebViewBase* MakeView() override;
};
