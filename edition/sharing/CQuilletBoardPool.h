#pragma once
#include "CQuilletBoardView.h"
#include "CWebShareViewManView.h"

// The container of this edition's board pages.
class CQuilletBoardPool : public CWebShareViewManView
{
public:
    CQuilletBoardPool(CWebFrameBase* frame, const CQuilletBoardView::Hooks& hooks)
        : CWebShareViewManView(frame), m_hooks(hooks)
    {}

protected:
    CWebViewBase* MakeView() override { return new CQuilletBoardView(m_hooks); }

private:
    CQuilletBoardView::Hooks m_hooks;
};
