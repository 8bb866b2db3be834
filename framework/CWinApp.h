#pragma once
#include "CString.h"
#include "CWinThread.h"

#define AFX_IDS_APP_TITLE 0xE000

// The application: one object per program (or per DLL that has one).
// InitInstance creates the main window; Run is the message loop; the profile
// functions keep settings under HKCU\Software\<registry key>\<application>
// once SetRegistryKey was called, else in <program>.INI.
class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    virtual ~CWinApp();

    virtual BOOL InitApplication() { return TRUE; }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL OnIdle(LONG lCount);
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    HICON LoadIcon(LPCSTR lpszResourceName) const
    {
        return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
    }
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(NULL, lpszIconName); }
    HICON LoadOEMIcon(UINT nIDIcon) const { return ::LoadIconA(NULL, MAKEINTRESOURCEA(nIDIcon)); }
    HCURSOR LoadCursor(LPCSTR lpszResourceName) const
    {
        return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName);
    }
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const
    {
        return ::LoadCursorA(NULL, lpszCursorName);
    }
    HCURSOR LoadOEMCursor(UINT nIDCursor) const
    {
        return ::LoadCursorA(NULL, MAKEINTRESOURCEA(nIDCursor));
    }

    // Settings
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR lpszSection);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // *ppData is allocated with new[]; the caller deletes it.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);
    void LoadStdProfileSettings(UINT nMaxMRU = 4) {}

    // Kept for callers of older systems; nothing to do on these systems.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void SetDialogBkColor(COLORREF = RGB(192, 192, 192), COLORREF = RGB(0, 0, 0)) {}

    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName;
    LPCSTR m_pszRegistryKey;
    LPCSTR m_pszProfileName;
    LPCSTR m_pszHelpFilePath;
    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;

    // Fills the members from the module and command line (AfxWinMain and
    // the DLL entry call it).
    void InitModule(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

private:
    void SetOwnedString(LPCSTR& member, LPCSTR value);
    BOOL m_bOwnsAppName = FALSE;
};

CWinApp* AFXAPI AfxGetApp();
HINSTANCE AFXAPI AfxGetInstanceHandle();
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
BOOL AFXAPI AfxInitRichEdit();
BOOL AFXAPI AfxOleInit();
void AFXAPI AfxEnableControlContainer();
BOOL AFXAPI AfxInitCommonControls();
// For a DLL with its own application object: call from DllMain.
BOOL AFXAPI AfxDllProcessAttach(HINSTANCE hInstance);
void AFXAPI AfxDllProcessDetach();
