#include "CWBDrawTools.h"

CWBDrawTools::CWBDrawTools(CDC* pDC, HPEN pen, HBRUSH brush)
    : m_hDC(pDC ? pDC->GetSafeHdc() : NULL), m_pen(pen), m_brush(brush), m_oldPen(NULL),
      m_oldBrush(NULL), m_ok(FALSE)
{
    if (!m_hDC || !m_pen)
        return;
    m_oldPen = ::SelectObject(m_hDC, m_pen);
    if (m_brush)
        m_oldBrush = ::SelectObject(m_hDC, m_brush);
    m_ok = TRUE;
}

CWBDrawTools::~CWBDrawTools()
{
    if (m_hDC && m_oldPen)
        ::SelectObject(m_hDC, m_oldPen);
    if (m_hDC && m_oldBrush)
        ::SelectObject(m_hDC, m_oldBrush);
    if (m_pen)
        ::DeleteObject(m_pen);
    if (m_brush)
        ::DeleteObject(m_brush);
}
