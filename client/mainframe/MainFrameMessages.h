#pragma once
#include "CLanguageManager.h" // WM_LANGUAGE_CHANGED

// Messages the main window and its small panes exchange.
#define WM_AUTO_DIALOG_RESULT (WM_USER + 106) // wParam 1 OK, 2 Cancel or time-out
#define WM_KEY_NOTICE (WM_USER + 107)         // wParam virtual key, lParam key flags
#define WM_SPLITTER_MOVED (WM_USER + 501)     // wParam the new y of the splitter bar
#define WM_LAYOUT_CODE (WM_USER + 600)        // wParam layout code 0 to 17
#define WM_VIDEO_LEAVE (WM_USER + 602)        // a render window leaves its parent
#define WM_VIDEO_JOIN (WM_USER + 603)         // wParam a render window that joins
