#pragma once

// The network-disk page, the document properties and the conversion dialog.
#define IDD_NET_DISK 540
#define IDD_DOC_PROPERTIES 586
#define IDD_PPT_FILE_SENDING 133

#define IDC_PPT_PROGRESS 1000
#define IDC_PPT_STATUS 1015
#define IDC_DOC_PATH 2067
#define IDC_DOC_NAME 2068
#define IDC_DOC_REMARKS 2069
#define IDC_DOC_BROWSE 2070

#define IDC_NETDISK_UPLOAD_PPT 2201
#define IDC_NETDISK_DOWNLOAD_PPT 2202
#define IDC_NETDISK_UPLOAD_WB 2203
#define IDC_NETDISK_UPLOAD 2204
#define IDC_NETDISK_LABEL 2205
#define IDC_NETDISK_HINT 2206
#define IDC_NETDISK_FILES 2207
#define IDC_NETDISK_DOCS 2208
#define IDC_NETDISK_MEETING_DOCS 2209

// Commands of the lists' context menus.
#define ID_DOC_OPEN 33046
#define ID_DOC_DELETE 33047
#define ID_DOC_UPLOAD 33048
#define ID_DOC_DOWNLOAD 33049
