#pragma once
#include "afxwin.h"

class CWBView;

// Called by a page view for every change it makes: the record to send.
typedef void (*WB_CHANGE_CALLBACK)(void* pContext, CWBView* pView, const BYTE* pRecord,
                                   UINT nLength);

// Window messages of the whiteboard views.
const UINT WM_WB_TEXT_DONE = 1130;
const UINT WM_WB_SCROLLED = 1635;

// The drawing settings one whiteboard window shares with all its pages.
struct WB_SETTINGS
{
    WB_SETTINGS();
    ~WB_SETTINGS();
    // Grows the change buffer to at least nLength bytes; FALSE when it
    // cannot (the buffer keeps what it had).
    BOOL Reserve(UINT nLength);

    COLORREF color;
    LOGFONTA font;
    BYTE width;
    BYTE style;
    BYTE fill;
    int zoomNum; // percent; 0 fits the page to the window width
    int zoomDen;
    int tool;
    WB_CHANGE_CALLBACK pfnChange;
    void* pChangeContext;
    CRITICAL_SECTION lock;
    BYTE* pBuffer;
    UINT nCapacity;
    int nScrollPos; // in units of 10 pixels
    BOOL bRuler;

private:
    WB_SETTINGS(const WB_SETTINGS&) = delete;
    WB_SETTINGS& operator=(const WB_SETTINGS&) = delete;
};
