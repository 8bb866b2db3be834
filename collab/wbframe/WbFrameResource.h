#pragma once
// Resource and control ids of the whiteboard frame (WbFrame.rc).
#define IDR_WB_TOOLBAR 135
#define IDD_WB_TOOL_PANEL 543
#define IDD_WB_TOP_BAR 545
#define IDD_PRINT_PROC 566
#define IDB_WB_EMPTY 607

// Commands of the frame.
#define ID_WB_NEW 32771
#define ID_WB_SAVE 32772
#define ID_WB_OPEN 32773
#define ID_WB_ERASER 32775
#define ID_WB_SELECT 32779
#define ID_WB_LINE 32780
#define ID_WB_FONT 32782
#define ID_WB_STYLE 32783
#define ID_WB_FILL 32785
#define ID_WB_PREV 32790
#define ID_WB_NEXT 32792
#define ID_WB_ARROW 32795
#define ID_WB_RECT 32796
#define ID_WB_RECTFILL 32797
#define ID_WB_ROUNDRECT 32798
#define ID_WB_ROUNDRECTFILL 32799
#define ID_WB_ELLIPSE 32800
#define ID_WB_ELLIPSEFILL 32801
#define ID_WB_PEN 32803
#define ID_WB_TEXT 32805
#define ID_WB_WIDTH 32806
#define ID_WB_DRAWING 32808

// The online-documents pane.
#define IDC_WB_DOCS_GROUP 123
#define IDC_WB_DOCS_OPEN 124
#define IDC_WB_DOCS_CLOSE 125
#define IDC_WB_DOCS_LIST 126
#define IDC_WB_TABS 50000
#define IDC_WB_TOOL_PANEL 127
#define IDC_WB_TOP_BAR 128
#define IDC_WB_VIEWS 129
#define IDC_WB_TOOLBAR 130

// The tool panel's controls.
#define IDC_WB_T_SELECT 2061
#define IDC_WB_T_ERASER 2062
#define IDC_WB_T_ZOOM 2068
#define IDC_WB_T_COLOUR 2069
#define IDC_WB_T_FONT 2070
#define IDC_WB_T_PENCIL 2086
#define IDC_WB_T_PEN 2087
#define IDC_WB_T_LINE 2088
#define IDC_WB_T_ARROW 2089
#define IDC_WB_T_RECT 2090
#define IDC_WB_T_ROUNDRECT 2091
#define IDC_WB_T_ELLIPSE 2092
#define IDC_WB_T_POLY 2093
#define IDC_WB_T_RECTFILL 2094
#define IDC_WB_T_ROUNDRECTFILL 2095
#define IDC_WB_T_ELLIPSEFILL 2096
#define IDC_WB_T_TEXT 2097
#define IDC_WB_T_ICON 2098
#define IDC_WB_T_RULER 2116
#define IDC_WB_T_CAPTURE 2135

// The top bar's controls.
#define IDC_WB_B_NEW 2060
#define IDC_WB_B_OPEN 2061
#define IDC_WB_B_SAVE 2062
#define IDC_WB_B_PREV 2063
#define IDC_WB_B_OPEN2 2064
#define IDC_WB_B_GOTO 2065
#define IDC_WB_B_NEXT 2066
#define IDC_WB_B_PAGE 2067
#define IDC_WB_B_PAGES 2071

// The print processor's report window.
#define IDC_PRINT_PROC_TEXT 1000
