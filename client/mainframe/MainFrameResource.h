#pragma once
// Resource ids of the main window and its small panes (MainFrame.rc).

// The main window: its menu (replaced by the menu bar) and icon.
#define IDR_MAINFRAME 128

// The popup menus; each is the first submenu of its resource.
#define IDR_MENU_RECEIVED_FILES 133
#define IDR_MENU_WINDOW_MODE 134
#define IDR_MENU_SPLIT 135
#define IDR_MENU_MEETING_MODE 137
#define IDR_MENU_FILE 142
#define IDR_MENU_REQUEST 216
#define IDR_MENU_DATA_WINDOW 232

// Dialogs of the small panes.
#define IDD_BIG_VIDEO 539
#define IDD_RESTORE_BAR 562
#define IDD_VOLUME 581
#define IDD_SPLITTER 584
#define IDD_ARROW_BAR 588

// The splitter's cursor 380 and the hand cursor 379 come with the skinned
// controls (IDC_UI_SPLIT, IDC_UI_HAND).

// Controls.
#define IDC_RESTORE 2083
#define IDC_MIC_MUTE 2106
#define IDC_VOLUME_MUTE 2107
#define IDC_MIC_SLIDER 2108
#define IDC_VOLUME_SLIDER 2109
#define IDC_ARROW_BUTTON 2120
#define IDC_MIC_LABEL 2110
#define IDC_VOLUME_LABEL 2111

// Buttons of the main tab strip.
#define IDC_TAB_FULLSCREEN 101
#define IDC_TAB_RESTORE 102
#define IDC_TAB_OPEN_CHAT 103
#define IDC_TAB_CLOSE_CHAT 104

// Commands of the menus.
#define ID_MINIMIZE_BUTTON 1076
#define ID_SPLIT_4 32773
#define ID_SPLIT_6 32774
#define ID_SPLIT_9 32775
#define ID_SPLIT_12 32776
#define ID_SPLIT_16 32777
#define ID_SPLIT_8 33032
#define ID_SPLIT_25 33042
#define ID_SPLIT_4_FULL 33036
#define ID_SPLIT_9_FULL 33039
#define ID_SPLIT_16_FULL 33041
#define ID_SPLIT_25_FULL 33043
#define ID_SEND_FILE 32778
#define ID_OPEN_RECEIVE_FOLDER 32779
#define ID_CHAIR_MODE 32782
#define ID_MEETING_MODE_1 32783
#define ID_FREE_MODE 32785
#define ID_WINDOW_MODE_1 32787
#define ID_WINDOW_MODE_2 32788
#define ID_WINDOW_MODE_3 32789
#define ID_WINDOW_MODE_4 32790
#define ID_REQUEST_CONTROL 32792
#define ID_RELEASE_CONTROL 32794
#define ID_STOP_CONTROLLED 32797
#define ID_RECORD 32802
#define ID_DATA_WINDOW 32804
#define ID_LOCK_MEETING 32805
#define ID_EXIT 32806
#define ID_SYSTEM_SETTINGS 32807
#define ID_PAGE_WHITEBOARD 32812
#define ID_PAGE_DOCUMENTS 32813
#define ID_PAGE_BROWSING 32814
// The whiteboard tool panel's screen-capture button, passed up by the board.
#define ID_WB_SCREEN_CAPTURE 2135
#define ID_ABOUT 33000
#define ID_OPEN_PLAYER 33030
#define ID_ROOM_LIST 33033
#define ID_RECORDINGS_FOLDER 33044
#define ID_ONLINE_HELP 33047
#define ID_PAN_TILT_SETTINGS 33053
#define ID_SCREEN_SETTINGS 33054
#define ID_MEETING_SETTINGS 33064
#define ID_FORBID_FILES 33074
#define ID_FORBID_PRIVATE_CHAT 33076
#define ID_LANGUAGE_DIALOG 65535
#define ID_LANGUAGE_FIRST 65500
