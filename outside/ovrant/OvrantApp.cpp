// Stand-in for the outside recording player Ovrant: a window that opens a
// recording (from its command line or the Open button), plays it through
// the recorder library with a slider, pause and seek, and closes it.
//
//   Ovrant.exe [recording]
#include "afxwin.h"

#include <string>

#include "COvrantLibrary.h"
#include "COvrantWnd.h"

class COvrantApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        if (!m_library.Load()) {
            AfxMessageBox("找不到录像播放库 Caskel.dll", MB_OK | MB_ICONINFORMATION);
            return FALSE;
        }
        COvrantWnd* wnd = new COvrantWnd(m_library);
        if (!wnd->CreatePlayer())
            return FALSE;
        m_pMainWnd = wnd;
        wnd->ShowWindow(m_nCmdShow);
        wnd->UpdateWindow();
        std::string path = m_lpCmdLine ? m_lpCmdLine : "";
        while (!path.empty() && (path.back() == ' ' || path.back() == '"'))
            path.pop_back();
        while (!path.empty() && (path[0] == ' ' || path[0] == '"'))
            path.erase(0, 1);
        if (!path.empty())
            wnd->Open(path.c_str());
        return TRUE;
    }

private:
    COvrantLibrary m_library;
};

COvrantApp theApp;
