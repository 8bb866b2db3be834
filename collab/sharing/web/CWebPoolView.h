#pragma once
#include "afxwin.h"

#include <cstdint>
#include <vector>

class CWebFrameBase;
class CWebViewBase;

// The container of a frame's browser views: the live ones (one per tab),
// the released ones waiting for the next tab, and the active one, which
// fills the container.
class CWebPoolView : public CView
{
public:
    explicit CWebPoolView(CWebFrameBase* frame);
    ~CWebPoolView() override;

    // A view for the tab id: a pooled one or a new one (null when none can
    // be made).
    CWebViewBase* Acquire(uint32_t tabId);
    CWebViewBase* Find(uint32_t tabId) const;
    void Release(uint32_t tabId);
    void ReleaseAll();
    void Activate(CWebViewBase* view);
    CWebViewBase* Active() const { return m_active; }
    size_t LiveCount() const { return m_live.size(); }
    size_t PooledCount() const { return m_pool.size(); }

    void OnDraw(CDC* dc) override;

protected:
    virtual CWebViewBase* MakeView() = 0;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CWebFrameBase* m_frame;
    std::vector<CWebViewBase*> m_live;
    std::vector<CWebViewBase*> m_pool;
    CWebViewBase* m_active = nullptr;
    UINT m_nextId = 1;
};
