#pragma once
// Resource ids of the program's own resources (Halvern.rc). The main window's
// resources (128 and its menus) come with the main window.

#define IDD_ABOUTBOX 100
#define IDD_LOGIN 107
#define IDD_SELECT_CONF 108
#define IDD_ROOM_LIST 590

#define IDI_HALVERN 101
// The icon the whiteboard's stamp tool puts on a page.
#define IDI_WB_STAMP 136

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Controls of the login, room and about dialogs.
#define IDC_BACK 1000
#define IDC_NEXT 1001
#define IDC_SERVER 1010
#define IDC_ROOM_LIST 1014
#define IDC_USER_NAME 1016
#define IDC_PASSWORD 1017
#define IDC_REMEMBER 1068
#define IDC_SERVER_LABEL 2015
#define IDC_USER_LABEL 2017
#define IDC_MORE_LINK 2092
#define IDC_LOGIN_TABS 2114
#define IDC_ABOUT_VERSION 2093

// The standard About command.
#define ID_APP_ABOUT 0xE140
