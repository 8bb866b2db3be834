#pragma once
// The HTML view and its engine seam.
#include "afxwin.h"
#include "CHtmlEngine.h"
#include "CHtmlView.h"
#include "CWebBrowserEngine.h"
