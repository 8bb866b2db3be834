#include "CQuilletBoardPool.h"

#include <algorithm>

CQuilletBoardPool::CQuilletBoardPool(CWebFrameBase* frame, const CQuilletBoardView::Hooks& hooks)
    : CWebShareViewManView(frame), m_hooks(hooks)
{}

CQuilletBoardView* CQuilletBoardPool::FindPage(uint32_t pageId) const
{
    const CWebViewBase* view = Find(pageId);
    if (!view)
        return nullptr;
    for (CQuilletBoardView* page : m_pages)
        if (page == view)
            return page;
    return nullptr;
}

CWebViewBase* CQuilletBoardPool::MakeView()
{
    m_pages.erase(std::remove_if(m_pages.begin(), m_pages.end(),
                                 [this](CQuilletBoardView* page) { return !Holds(page); }),
                  m_pages.end());
    CQuilletBoardView* page = new CQuilletBoardView(m_hooks);
    m_pages.push_back(page);
    return page;
}

bool CQuilletBoardPool::Holds(const CWebViewBase* view) const
{
    return std::find(m_live.begin(), m_live.end(), view) != m_live.end() ||
           std::find(m_pool.begin(), m_pool.end(), view) != m_pool.end();
}
