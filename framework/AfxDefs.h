#pragma once
// Common definitions of the framework: the Windows headers in their ANSI form,
// the diagnostic macros, POSITION and the allocator shared by every module.
#ifndef STRICT
#define STRICT
#endif
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>
// The Windows headers spell GetNextWindow as a macro; the framework has a
// member of that name.
#undef GetNextWindow
#include <stddef.h>
#include <stdarg.h>
#include <tchar.h>

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef afx_msg
#define afx_msg
#endif
#ifndef AFX_EXT_CLASS
#define AFX_EXT_CLASS
#endif
#ifndef AFX_DATA
#define AFX_DATA
#endif

// Diagnostics: cheap checks that never stop a release build.
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#define TRACE0(s) ((void)0)
#define TRACE1(s, a) ((void)0)
#define TRACE2(s, a, b) ((void)0)
#endif
#ifndef DEBUG_NEW
#define DEBUG_NEW new
#endif
#ifndef UNUSED_ALWAYS
#define UNUSED_ALWAYS(x) ((void)(x))
#endif

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// A position inside a list or map; opaque to callers.
struct __POSITION
{};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// Every block that may change hands between modules (string data, list
// nodes) comes from the process heap, so a string filled in one DLL can be
// grown or freed in another.
void* AFXAPI AfxAlloc(size_t n);
void AFXAPI AfxFree(void* p);

class CObject;
class CRuntimeClass;
class CArchive;
class CString;
class CWnd;
class CDC;
class CWinApp;
class CWinThread;
class CCmdTarget;
class CCmdUI;
class CMenu;
class CFrameWnd;
class CView;
class CDocument;
class CScrollBar;
class CDataExchange;
