#pragma once
// Application, windows and message maps, dialogs and data exchange, menus,
// GDI, frames and views, and the basic controls.
#include "afx.h"
#include "AfxMsgMap.h"
#include "CBitmap.h"
#include "CBrush.h"
#include "CButton.h"
#include "CCmdTarget.h"
#include "CCmdUI.h"
#include "CClientDC.h"
#include "CComboBox.h"
#include "CDC.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CFont.h"
#include "CGdiObject.h"
#include "CListBox.h"
#include "CMenu.h"
#include "CPaintDC.h"
#include "CPalette.h"
#include "CPen.h"
#include "CRgn.h"
#include "CScrollBar.h"
#include "CStatic.h"
#include "CWinApp.h"
#include "CWinThread.h"
#include "CWindowDC.h"
#include "CWnd.h"
#if __has_include("CFrameWnd.h")
#include "CFrameWnd.h"
#endif
#if __has_include("CView.h")
#include "CView.h"
#include "CDocument.h"
#endif
