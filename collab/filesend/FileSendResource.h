#pragma once

// The file transfer's dialogs and their controls.
#define IDD_FILE_SENDING 129
#define IDD_FILE_RECEIVING 130
#define IDD_FILE_SEND 131
#define IDC_FILE_PROGRESS 1000
#define IDC_FILE_STATUS 1015
#define IDC_FILE_RECIPIENTS 1000
#define IDC_FILE_BROWSE 1002
#define IDC_FILE_PATH 1004
#define IDC_FILE_SELECT_ALL 1024
