#include "CQuilletWBFrame.h"

#include "WbFrameMessages.h"
#include "WbFrameResource.h"

namespace {
struct ToolChoice
{
    UINT id;
    int tool;
    int firstStyle;  // -1: stays 4
    int secondStyle; // -1: unchanged
};
const ToolChoice kTools[] = {
    {IDC_WB_T_PENCIL, 4, 10, -1}, {IDC_WB_T_PEN, 4, -1, -1},       {ID_WB_LINE, 4, -1, -1},
    {IDC_WB_T_LINE, 4, -1, 2},    {IDC_WB_T_POLY, 15, 6, -1},      {IDC_WB_T_ICON, 15, -1, -1},
    {32804, 15, -1, -1},          {ID_WB_ERASER, 1, -1, -1},       {ID_WB_SELECT, 2, -1, -1},
    {32794, 3, -1, -1},           {ID_WB_ARROW, 5, 2, -1},         {ID_WB_RECT, 6, -1, -1},
    {ID_WB_RECTFILL, 7, -1, -1},  {ID_WB_ROUNDRECT, 8, -1, -1},    {ID_WB_ROUNDRECTFILL, 9, -1, -1},
    {ID_WB_ELLIPSE, 10, -1, -1},  {ID_WB_ELLIPSEFILL, 11, -1, -1}, {32802, 13, -1, -1},
    {ID_WB_PEN, 14, -1, -1},      {ID_WB_TEXT, 12, -1, -1},
};
const ToolChoice* Find(UINT id)
{
    for (const ToolChoice& t : kTools)
        if (t.id == id)
            return &t;
    return nullptr;
}
} // namespace

CQuilletWBFrame::CQuilletWBFrame()
{
    m_settings.width = 0;
    m_settings.style = 0;
    m_settings.fill = 0;
    m_bOnlinePane = FALSE;
}

int CQuilletWBFrame::ToolOfCommand(UINT id)
{
    const ToolChoice* t = Find(id);
    return t ? t->tool : -1;
}

void CQuilletWBFrame::ChooseTool(UINT id)
{
    const int before = m_settings.tool;
    m_settings.width = 4;
    const ToolChoice* t = Find(id);
    if (!t)
        return;
    m_settings.tool = t->tool;
    if (t->firstStyle >= 0)
        m_settings.width = static_cast<BYTE>(t->firstStyle);
    if (t->secondStyle >= 0)
        m_settings.style = static_cast<BYTE>(t->secondStyle);
    if (m_settings.tool != before) {
        if (m_pViews)
            m_pViews->CancelToolActions();
        if (m_toolPanel.m_hWnd)
            m_toolPanel.ShowTool(m_settings.tool);
    }
}

BOOL CQuilletWBFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    try {
        ChooseTool(id);
        // The tools of either table end here, so that the other edition's
        // choice does not follow.
        if (Find(id) || CWBFrame::ToolOfCommand(static_cast<UINT>(id)) >= 0)
            return TRUE;
    } catch (...) {
        return TRUE;
    }
    return CWBMeetingFrame::OnCommand(wParam, lParam);
}

LRESULT CQuilletWBFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The colour, width and style lists have no handler in this edition.
    if (message == WM_WB_SET_COLOUR || message == WM_WB_SET_WIDTH || message == WM_WB_SET_STYLE)
        return 0;
    try {
        return CWBMeetingFrame::WindowProc(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
