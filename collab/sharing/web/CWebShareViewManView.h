#pragma once
#include "CWebPoolView.h"

// The presentation board's views' container; while no view covers it, it
// shows the board's background picture centred.
class CWebShareViewManView : public CWebPoolView
{
public:
    using CWebPoolView::CWebPoolView;
    void OnDraw(CDC* dc) override;

protected:
    CWebViewBase* MakeView() override;
};
