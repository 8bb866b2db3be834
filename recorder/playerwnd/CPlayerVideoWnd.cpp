#include "CPlayerVideoWnd.h"

#include "PlayerLayout.h"

CPlayerVideoWnd::CPlayerVideoWnd(uint32_t videoId, CPlayerVideoWall* wall, DRAVO_HANDLE renderer)
    : m_videoId(videoId), m_wall(wall), m_renderer(renderer)
{}

CPlayerVideoWnd::~CPlayerVideoWnd()
{
    if (m_renderer)
        Dravo_DestroyRenderer(m_renderer);
}

void CPlayerVideoWnd::SetPos(int left, int top, int right, int bottom)
{
    if (!m_visible)
        return;
    RECT cell = {left, top, right, bottom};
    RECT rc = FitPicture(cell);
    if (rc.left < 0 || rc.top < 0 || rc.right < 0 || rc.bottom < 0)
        return;
    m_rect = rc;
    if (m_renderer)
        Dravo_SetRendererPos(m_renderer, &m_rect);
}

void CPlayerVideoWnd::SetVisible(uint32_t flag)
{
    if (m_renderer)
        Dravo_SetRender(m_renderer, flag ? 1 : 0);
    m_visible = flag;
}

int CPlayerVideoWnd::Render(const unsigned char* frame, int length)
{
    return m_renderer ? Dravo_RenderFrame(m_renderer, frame, length) : 0;
}
