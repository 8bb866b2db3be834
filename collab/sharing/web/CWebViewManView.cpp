#include "CWebViewManView.h"

#include "CWebView.h"

CWebViewBase* CWebViewManView::MakeView() { return new CWebView; }
