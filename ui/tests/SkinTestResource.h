#pragma once
// Test resources of the skinned dialogs, frame, menu and bars (31xx).
#define IDD_SKIN_FULL 3101
#define IDD_SKIN_MINONLY 3102
#define IDD_SKIN_NOSYSMENU 3103
#define IDC_SKIN_LABEL 3110
#define IDC_SKIN_EDIT 3111
#define IDC_SKIN_EDIT_RO 3112
#define IDR_SKIN_TOOLBAR 3120
#define IDB_SKIN_TOOLBAR 3121
#define IDR_SKIN_MENU 3122
#define ID_SKIN_CMD_A 3130
#define ID_SKIN_CMD_B 3131
#define ID_SKIN_CMD_C 3132
#define IDD_SKIN_COMBOS 3104
#define IDC_SKIN_FLAT_COMBO 3113
#define IDC_SKIN_SKIN_COMBO 3114
