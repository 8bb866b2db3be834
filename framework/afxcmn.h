#pragma once
// Common controls, image lists and rich edit.
#include "afxwin.h"
#include "CHeaderCtrl.h"
#include "CImageList.h"
#include "CListCtrl.h"
#include "CProgressCtrl.h"
#include "CRichEditCtrl.h"
#include "CSliderCtrl.h"
#include "CSpinButtonCtrl.h"
#include "CTabCtrl.h"
#include "CToolTipCtrl.h"
#include "CTreeCtrl.h"
