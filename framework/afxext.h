#pragma once
// Control bars, scroll view and rect tracker.
#include "afxwin.h"
#include "CControlBar.h"
#include "CScrollView.h"
#include "CStatusBar.h"
#include "CToolBar.h"
#include "CToolBarCtrl.h"
#include "CRectTracker.h"
