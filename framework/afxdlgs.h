#pragma once
// The system's standard dialogs.
#include "afxwin.h"
#include "CColorDialog.h"
#include "CCommonDialog.h"
#include "CFileDialog.h"
#include "CFontDialog.h"
