#pragma once
// The presentation board's history bar.
#define IDD_HISTORY_FILE 604
#define IDC_HISTORY_FILES 2132
#define IDC_HISTORY_CLOSE 1023
