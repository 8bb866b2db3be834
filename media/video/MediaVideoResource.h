#pragma once
// Resource and control ids of the video windows and the camera dialogs.

#define IDD_VIDEO_WALL 151
#define IDD_CAMERA_PANEL 228
#define IDD_REMOTE_VIDEO 527
#define IDD_CAMERA_CONFIG 532
#define IDD_VIDEO_RENDER 537
#define IDD_LOCAL_VIDEO 541
#define IDD_PAN_TILT_SETTINGS 583

#define IDR_VIDEO_POPUP 433

#define IDB_VIDEO_BACK 608
#define IDB_CAMERA_LEFT 231
#define IDB_CAMERA_RIGHT 511
#define IDB_CAMERA_UP 512
#define IDB_CAMERA_DOWN 513
#define IDB_CAMERA_ZOOM_OUT 514
#define IDB_CAMERA_ZOOM_IN 515
#define IDB_CAMERA_OTHER 516
#define IDC_CAMERA_HAND 379 // the hand cursor of the skinned controls

// Video windows.
#define IDC_VIDEO_START_STOP 1023
#define IDC_VIDEO_ENLARGE 1042
#define IDC_VIDEO_CAMERA 2054
#define IDC_VIDEO_CAPTION 2076

// Camera panel.
#define IDC_CAMERA_UP 1017
#define IDC_CAMERA_LEFT 1018
#define IDC_CAMERA_RIGHT 1019
#define IDC_CAMERA_DOWN 1020
#define IDC_CAMERA_ZOOM_IN 1021
#define IDC_CAMERA_ZOOM_OUT 1022
#define IDC_CAMERA_OTHER 1023

// Camera settings page.
#define IDC_CAMERA_PORT_LIST 1042
#define IDC_CAMERA_MODEL_LIST 1043
#define IDC_CAMERA_BAUD_LIST 1044

// Video popup menu items.
#define ID_VIDEO_CLOSE_USER 32770
#define ID_VIDEO_CAMERA 32808
#define ID_VIDEO_FIRST_WINDOW_MAIN 32809
#define ID_VIDEO_POLLING 32810
#define ID_VIDEO_GRAB 33023
#define ID_VIDEO_DEVICE 33024
#define ID_VIDEO_BIG_SCREEN 33029
#define ID_VIDEO_FULL_SCREEN 33031
#define ID_VIDEO_FIRST_WINDOW 33049
#define ID_VIDEO_DEVICE_2 33058
#define ID_VIDEO_LOCAL_PROPERTIES 33060

// Window messages of the video windows.
#define WM_VIDEO_NOTIFY (WM_USER + 103)      // 0x467, from the video library
#define WM_VIDEO_RENDER_LEFT (WM_USER + 602) // 0x65A
#define WM_VIDEO_RENDER_BACK (WM_USER + 603) // 0x65B
#define WM_CAMERA_PANEL_OTHER (WM_USER + 200) // 0x4C8
