// A DLL with its own application object, handing strings and string lists
// to the program that loads it.
#include "afxwin.h"

namespace {
int g_state = 0; // 1 after InitInstance, 2 after ExitInstance
}

class CTestDllApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        g_state = 1;
        return TRUE;
    }
    int ExitInstance() override
    {
        g_state = 2;
        return 0;
    }
};

CTestDllApp theDllApp;

extern "C" __declspec(dllexport) int DllAppState() { return g_state; }

extern "C" __declspec(dllexport) void FillStrings(CString* text, CStringList* list)
{
    *text += " and more text appended inside the library, long enough to move the block";
    for (int i = 0; i < 50; ++i) {
        CString s;
        s.Format("item %d", i);
        list->AddTail(s);
    }
}

// Windows the library makes for the program's loop to serve: a frame whose
// pre-translation eats one key and which counts its idle updates, and a
// modeless dialog that Escape ends.
#include "AfxState.h"

namespace {
struct DllWindowLog
{
    int eaten = 0;
    int keys = 0;
    int idleUpdates = 0;
} g_log;

class CDllFrame : public CFrameWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'Q') {
            ++g_log.eaten;
            return TRUE;
        }
        return CFrameWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++g_log.keys; }
    afx_msg LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam)
    {
        ++g_log.idleUpdates;
        return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDllFrame, CFrameWnd)
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CDllModeless : public CDialog
{
protected:
    void OnCancel() override { DestroyWindow(); }
    void PostNcDestroy() override { delete this; }
};

// A dialog with one edit box (id 100), built in memory.
struct DllDialogTemplate
{
    DLGTEMPLATE dlg;
    WORD menu, cls, title;
    DLGITEMTEMPLATE edit;
    WORD editClass[2];
    WORD editTitle, editData;
};
const DllDialogTemplate kTemplate = {
    {WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 1, 0, 0, 120, 40},
    0,
    0,
    0,
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 5, 5, 100, 12, 100},
    {0xFFFF, 0x0081},
    0,
    0};
static_assert(offsetof(DllDialogTemplate, edit) % 4 == 0, "dialog items are DWORD-aligned");

CDllFrame* g_frame = NULL;
CDllModeless* g_dialog = NULL;
} // namespace

// which: 0 the frame, 1 a child of the frame, 2 the dialog, 3 its edit box.
extern "C" __declspec(dllexport) HWND DllOpenWindows(HWND* handles)
{
    g_log = DllWindowLog();
    g_frame = new CDllFrame;
    if (!g_frame->Create(NULL, "library frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         CRect(0, 0, 200, 150)))
        return NULL;
    handles[0] = g_frame->m_hWnd;
    handles[1] = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, g_frame->m_hWnd,
                                 NULL, NULL, NULL);
    g_dialog = new CDllModeless;
    if (!g_dialog->CreateIndirect(&kTemplate.dlg))
        return NULL;
    handles[2] = g_dialog->m_hWnd;
    handles[3] = ::GetDlgItem(g_dialog->m_hWnd, 100);
    return handles[0];
}

// 0 keys eaten by the frame's pre-translation, 1 keys it handled, 2 its idle
// updates.
extern "C" __declspec(dllexport) int DllWindowCount(int what)
{
    switch (what) {
    case 0:
        return g_log.eaten;
    case 1:
        return g_log.keys;
    case 2:
        return g_log.idleUpdates;
    default:
        return -1;
    }
}

// The library's temporary window objects of this thread.
extern "C" __declspec(dllexport) int DllTemporaries()
{
    return (int)AfxGetThreadState()->wndMap.temporary.size();
}

// Makes a temporary window object in the library (as FromHandle does).
extern "C" __declspec(dllexport) void DllMakeTemporary(HWND hWnd) { CWnd::FromHandle(hWnd); }

extern "C" __declspec(dllexport) void DllCloseWindows()
{
    if (g_frame && ::IsWindow(g_frame->m_hWnd))
        g_frame->DestroyWindow(); // a frame frees itself
    if (g_dialog && ::IsWindow(g_dialog->m_hWnd))
        g_dialog->DestroyWindow();
    g_frame = NULL;
    g_dialog = NULL;
}
