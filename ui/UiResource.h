#pragma once
// Resource ids of the skinned controls' own resources (UiResources.rc).
#define IDD_AUTO_DIALOG 132
#define IDC_AUTO_ICON 2010
#define IDC_AUTO_TEXT 1015
