#include "CWinApp.h"
#include "AfxState.h"
#include "CWnd.h"

#include <stdio.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = NULL;
}

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(NULL), m_pszExeName(NULL), m_pszRegistryKey(NULL), m_pszProfileName(NULL),
      m_pszHelpFilePath(NULL), m_hInstance(NULL), m_hPrevInstance(NULL), m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL)
{
    if (lpszAppName)
        SetOwnedString(m_pszAppName, lpszAppName);
    g_pApp = this;
    m_bAutoDelete = FALSE;
    m_nThreadID = GetCurrentThreadId();
    m_hThread = GetCurrentThread();
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = NULL;
    free((void*)m_pszAppName);
    free((void*)m_pszExeName);
    free((void*)m_pszRegistryKey);
    free((void*)m_pszProfileName);
    free((void*)m_pszHelpFilePath);
    m_hThread = NULL; // the pseudo handle is not closed
}

void CWinApp::SetOwnedString(LPCSTR& member, LPCSTR value)
{
    free((void*)member);
    member = value ? _strdup(value) : NULL;
}

void CWinApp::InitModule(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    char path[MAX_PATH];
    GetModuleFileNameA(hInstance, path, MAX_PATH);
    char* name = strrchr(path, '\\');
    name = name ? name + 1 : path;
    char* dot = strrchr(name, '.');
    if (dot)
        *dot = 0;
    if (!m_pszExeName)
        SetOwnedString(m_pszExeName, name);
    if (!m_pszAppName) {
        char title[256];
        if (::LoadStringA(hInstance, AFX_IDS_APP_TITLE, title, sizeof(title)) > 0)
            SetOwnedString(m_pszAppName, title);
        else
            SetOwnedString(m_pszAppName, m_pszExeName);
    }
    if (!m_pszProfileName) {
        // <program folder>\<exe>.INI until a registry key is set
        GetModuleFileNameA(hInstance, path, MAX_PATH);
        char* ext = strrchr(path, '.');
        if (ext)
            strcpy(ext, ".INI");
        SetOwnedString(m_pszProfileName, path);
    }
}

int CWinApp::ExitInstance() { return (int)m_msgCur.wParam; }

int CWinApp::Run()
{
    if (!m_pMainWnd) {
        // nothing to run without a main window
        AfxPostQuitMessage(0);
    }
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    HWND owner = NULL;
    CWnd* top = CWnd::GetSafeOwner(NULL, NULL);
    if (top)
        owner = top->m_hWnd;
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        case MB_ABORTRETRYIGNORE:
        case MB_RETRYCANCEL:
            break;
        }
    }
    return AfxShowMessageBox(owner, lpszPrompt, m_pszAppName ? m_pszAppName : "", nType);
}

// ---------------------------------------------------------------- settings

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    SetOwnedString(m_pszRegistryKey, lpszRegistryKey);
    SetOwnedString(m_pszProfileName, m_pszAppName ? m_pszAppName : m_pszExeName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    char key[256];
    if (::LoadStringA(AfxGetResourceHandle(), nIDRegistryKey, key, sizeof(key)) > 0)
        SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return NULL;
    HKEY software = NULL, company = NULL, app = NULL;
    DWORD disp;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &software) ==
        ERROR_SUCCESS) {
        if (RegCreateKeyExA(software, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE | KEY_READ, NULL, &company, &disp) == ERROR_SUCCESS) {
            RegCreateKeyExA(company, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE | KEY_READ, NULL, &app, &disp);
            RegCloseKey(company);
        }
        RegCloseKey(software);
    }
    return app;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return NULL;
    HKEY section = NULL;
    DWORD disp;
    RegCreateKeyExA(app, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL,
                    &section, &disp);
    RegCloseKey(app);
    return section;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return (UINT)nDefault;
        DWORD value = 0, type = 0, size = sizeof(value);
        LONG r = RegQueryValueExA(key, lpszEntry, NULL, &type, (LPBYTE)&value, &size);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS || type != REG_DWORD)
            return (UINT)nDefault;
        return value;
    }
    return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return FALSE;
        DWORD v = (DWORD)nValue;
        LONG r = RegSetValueExA(key, lpszEntry, 0, REG_DWORD, (const BYTE*)&v, sizeof(v));
        RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }
    char text[16];
    sprintf(text, "%d", nValue);
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString def(lpszDefault);
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return def;
        DWORD type = 0, size = 0;
        CString value;
        LONG r = RegQueryValueExA(key, lpszEntry, NULL, &type, NULL, &size);
        if (r == ERROR_SUCCESS && type == REG_SZ && size < 0x100000) {
            // The value may have grown since its size was asked (another
            // instance writing it): then the read fails and nothing is
            // written past the buffer.
            DWORD room = size;
            LPSTR p = value.GetBuffer((int)room + 1);
            r = RegQueryValueExA(key, lpszEntry, NULL, &type, (LPBYTE)p, &size);
            p[r == ERROR_SUCCESS && size <= room ? size : 0] = 0;
            value.ReleaseBuffer();
        }
        RegCloseKey(key);
        return (r == ERROR_SUCCESS && type == REG_SZ) ? value : def;
    }
    char buf[4096];
    ::GetPrivateProfileStringA(lpszSection, lpszEntry, def, buf, sizeof(buf), m_pszProfileName);
    return CString(buf);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_pszRegistryKey) {
        if (!lpszEntry) {
            // remove the whole section
            HKEY app = GetAppRegistryKey();
            if (!app)
                return FALSE;
            LONG r = RegDeleteKeyA(app, lpszSection);
            RegCloseKey(app);
            return r == ERROR_SUCCESS;
        }
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return FALSE;
        LONG r;
        if (!lpszValue)
            r = RegDeleteValueA(key, lpszEntry);
        else
            r = RegSetValueExA(key, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                               (DWORD)strlen(lpszValue) + 1);
        RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = NULL;
    *pBytes = 0;
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return FALSE;
        DWORD type = 0, size = 0;
        LONG r = RegQueryValueExA(key, lpszEntry, NULL, &type, NULL, &size);
        if (r == ERROR_SUCCESS && type == REG_BINARY && size > 0) {
            *ppData = new BYTE[size];
            r = RegQueryValueExA(key, lpszEntry, NULL, &type, *ppData, &size);
            if (r == ERROR_SUCCESS) {
                *pBytes = size;
            } else {
                delete[] * ppData;
                *ppData = NULL;
            }
        }
        RegCloseKey(key);
        return *ppData != NULL;
    }
    // in the INI file as hex digits, 'A' + nibble as the framework writes it
    CString hex = GetProfileString(lpszSection, lpszEntry, NULL);
    int n = hex.GetLength() / 2;
    if (n == 0 || hex.GetLength() % 2)
        return FALSE;
    for (int i = 0; i < 2 * n; ++i)
        if (hex[i] < 'A' || hex[i] > 'P')
            return FALSE; // not written by WriteProfileBinary: no data rather than made-up bytes
    *ppData = new BYTE[n];
    for (int i = 0; i < n; ++i)
        (*ppData)[i] = (BYTE)(((hex[2 * i] - 'A') << 4) | ((hex[2 * i + 1] - 'A') & 0x0F));
    *pBytes = n;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey) {
        HKEY key = GetSectionKey(lpszSection);
        if (!key)
            return FALSE;
        LONG r = RegSetValueExA(key, lpszEntry, 0, REG_BINARY, pData, nBytes);
        RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }
    CString hex;
    for (UINT i = 0; i < nBytes; ++i) {
        hex += (char)('A' + (pData[i] >> 4));
        hex += (char)('A' + (pData[i] & 0x0F));
    }
    return WriteProfileString(lpszSection, lpszEntry, hex);
}

// ---------------------------------------------------------------- program and DLL entry

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hPrevInstance = hPrevInstance;
    app->InitModule(hInstance, lpCmdLine, nCmdShow);
    AfxInitCommonControls();
    int code;
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    AfxDeleteTempMaps();
    return code;
}

BOOL AFXAPI AfxDllProcessAttach(HINSTANCE hInstance)
{
    AfxSetResourceHandle(hInstance);
    CWinApp* app = AfxGetApp();
    if (!app)
        return TRUE;
    app->InitModule(hInstance, NULL, SW_SHOWNORMAL);
    return app->InitApplication() && app->InitInstance();
}

void AFXAPI AfxDllProcessDetach()
{
    if (CWinApp* app = AfxGetApp())
        app->ExitInstance();
}
