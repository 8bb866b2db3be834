#pragma once

// Dialogs of the transfers and their controls.
#define IDD_WB_FILE_SENDING 529
#define IDD_WB_FILE_RECEIVING 530
#define IDC_TRANSFER_PROGRESS 1000
#define IDC_TRANSFER_STATUS 1015
