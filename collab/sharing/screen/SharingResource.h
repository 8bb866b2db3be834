#pragma once

// Dialogs of the screen broadcast and of the web pages.
#define IDD_RC_MANAGER 434
#define IDD_RC_OPTION 234
#define IDD_SCREEN_CONFIG 592

// The screen-broadcast page.
#define IDC_RC_OPTIONS 1035
#define IDC_RC_FIT 1036
#define IDC_RC_ORIGINAL 1038
#define IDC_RC_ZOOM_IN 1042
#define IDC_RC_ZOOM_OUT 1039
#define IDC_RC_BROADCAST 1008
#define IDC_RC_STOP 1012
#define IDC_RC_SETTINGS 2123
#define IDC_RC_SAVE_BANDWIDTH 2106

// The sharing options.
#define IDC_RC_WINDOWS 1033
#define IDC_RC_COMPRESS8 1034
#define IDC_RC_FIT_WINDOW 1046
#define IDC_RC_PROMPT 1047

// The screen-broadcast settings.
#define IDC_SC_COMPRESSION 2065
#define IDC_SC_RATE 2067
#define IDC_SC_DELAY 2106
#define IDC_SC_COMPRESSION_LABEL 2064
#define IDC_SC_RATE_LABEL 2066

// The co-browsing browser bar.
#define IDD_WEB_BAR 569
#define IDC_WEB_BACK 2085
#define IDC_WEB_FORWARD 32811
#define IDC_WEB_REFRESH 32813
#define IDC_WEB_STOP 32812
#define IDC_WEB_GO 32815
#define IDC_WEB_ADDRESS 2067
// The commands the bar forwards to its frame.
#define ID_WEB_BACK 32810
#define ID_WEB_FORWARD 32811
#define ID_WEB_REFRESH 32813
#define ID_WEB_STOP 32812
#define ID_WEB_GO 32815
// The tab strips of the two frames.
#define IDC_WEB_TABS 12345
#define IDC_BOARD_TABS 54321
