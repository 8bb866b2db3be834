// Free functions of the framework: module and resource handles, window
// classes, message boxes and the start-up helpers.
#include "AfxState.h"
#include "CWinApp.h"
#include "CWnd.h"

#include <ole2.h>
#include <richedit.h>
#include <set>
#include <stdio.h>
#include <string>

namespace {
HINSTANCE g_hResource = NULL;
AFX_MSGBOX_HOOK g_msgBoxHook = NULL;
HMODULE g_hRichEdit = NULL;

HINSTANCE ThisModule()
{
    HMODULE h = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(reinterpret_cast<UINT_PTR>(&ThisModule)), &h);
    return h ? (HINSTANCE)h : GetModuleHandleA(NULL);
}
} // namespace

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_hInstance)
        return app->m_hInstance;
    return ThisModule();
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* t = AfxGetThread();
    return t ? t->GetMainWnd() : NULL;
}

BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA existing;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                  HICON hIcon)
{
    static std::set<std::string>* names = new std::set<std::string>;
    static CRITICAL_SECTION* lock = [] {
        CRITICAL_SECTION* cs = new CRITICAL_SECTION;
        InitializeCriticalSection(cs);
        return cs;
    }();
    HINSTANCE hInst = AfxGetInstanceHandle();
    char name[96];
    sprintf(name, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
            (void*)hbrBackground, (void*)hIcon);
    EnterCriticalSection(lock);
    LPCSTR stable = names->insert(name).first->c_str();
    LeaveCriticalSection(lock);
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA; // subclassed by the framework on creation
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = stable;
    AfxRegisterClass(&wc);
    return stable;
}

AFX_MSGBOX_HOOK AFXAPI AfxSetMessageBoxHook(AFX_MSGBOX_HOOK pfn)
{
    AFX_MSGBOX_HOOK old = g_msgBoxHook;
    g_msgBoxHook = pfn;
    return old;
}

int AFXAPI AfxShowMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (g_msgBoxHook)
        return g_msgBoxHook(hOwner, lpszText ? lpszText : "", lpszCaption ? lpszCaption : "",
                            nType);
    return ::MessageBoxA(hOwner, lpszText, lpszCaption, nType);
}

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    CWnd* owner = CWnd::GetSafeOwner(NULL, NULL);
    return AfxShowMessageBox(owner->GetSafeHwnd(), lpszText, "", nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

BOOL AFXAPI AfxInitCommonControls()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                 ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                 ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
    return ::InitCommonControlsEx(&icc);
}

BOOL AFXAPI AfxInitRichEdit()
{
    if (!g_hRichEdit)
        g_hRichEdit = ::LoadLibraryA("riched20.dll");
    if (!g_hRichEdit)
        g_hRichEdit = ::LoadLibraryA("riched32.dll");
    return g_hRichEdit != NULL;
}

BOOL AFXAPI AfxOleInit()
{
    HRESULT hr = ::OleInitialize(NULL);
    return SUCCEEDED(hr);
}

void AFXAPI AfxEnableControlContainer() {}
