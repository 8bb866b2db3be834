#pragma once
#include "WbSettings.h"

// Messages the whiteboard frame receives from its bars and pages.
const UINT WM_WB_SET_COLOUR = 2025;
const UINT WM_WB_GOTO_PAGE = 1629;
const UINT WM_WB_SET_ZOOM = 1630;
const UINT WM_WB_SET_WIDTH = 1632;
const UINT WM_WB_SET_STYLE = 1633;
const UINT WM_WB_SET_FILL = 1634;
// WM_WB_SCROLLED (1635) comes from the pages (WbSettings.h).
// The language dialog's notice that the texts changed.
const UINT WM_WB_LANGUAGE_CHANGED = 1625;
// Sent by the print processor when a job's pages are written (wParam 3).
const UINT WM_PRINTPROC_DONE = 0x24B2;
