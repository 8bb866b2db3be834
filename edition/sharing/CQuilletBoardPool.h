#pragma once
#include "CQuilletBoardView.h"
#include "CWebShareViewManView.h"

#include <vector>

// The container of this edition's board pages. It keeps the pages it made
// with their own type, so the frame reaches a page's key and mode without
// asking the view what it is.
class CQuilletBoardPool : public CWebShareViewManView
{
public:
    CQuilletBoardPool(CWebFrameBase* frame, const CQuilletBoardView::Hooks& hooks);

    // The live page of a page id, or null.
    CQuilletBoardView* FindPage(uint32_t pageId) const;

protected:
    CWebViewBase* MakeView() override;

private:
    // The view is live or pooled here (one whose window could not be made
    // has freed itself and is neither).
    bool Holds(const CWebViewBase* view) const;

    CQuilletBoardView::Hooks m_hooks;
    std::vector<CQuilletBoardView*> m_pages; // the views made here that may still be alive
};
