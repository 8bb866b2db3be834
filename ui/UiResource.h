#pragma once
// Resource ids of the skinned controls' own resources (UiResources.rc).
#define IDD_AUTO_DIALOG 132
#define IDC_AUTO_ICON 2010
#define IDC_AUTO_TEXT 1015
// The hand cursor of links, tabs and icon buttons.
#define IDC_UI_HAND 379
#define IDC_UI_SPLIT 380
// The whiteboard page's cursors: drawing, and choosing or erasing.
#define IDC_UI_WB_DRAW 518
#define IDC_UI_WB_SELECT 520
// The drop button of the flat combo box: four 15 x 16 images (normal, hot,
// pressed, unused), black transparent.
#define IDB_UI_COMBO_BUTTON 523
// The skinned edit box's background.
#define IDB_UI_EDIT_BACK 612
// The flat header's background pattern.
#define IDB_UI_HEADER_BACK 614
