// The process's table of modules linking the framework. It lives in a named
// piece of memory private to the process (its name holds the process id), so
// that every module, with its own copy of this code, finds the same table.
#include "AfxState.h"
#include "CWinApp.h"
#include "CWinThread.h"
#include "CWnd.h"

#include <stdio.h>

namespace {
const int kMaxModules = 64;

struct ModuleTable
{
    AFX_MODULE_HOOKS* volatile slots[kMaxModules];
};

BOOL PreTranslateHere(HWND hWnd, MSG* pMsg, BOOL* pFound)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    *pFound = p != NULL;
    if (!p)
        return FALSE;
    bool failed = false;
    MSG msg = *pMsg;
    LRESULT r = AfxCallReportingExceptions(
        msg, [&] { return p->PreTranslateMessage(pMsg); }, &failed);
    return failed || r; // eaten when it threw
}

void IdleUpdateHere(HWND hWndSkip)
{
    HWND hMain = NULL;
    if (CWinThread* t = AfxGetThread())
        hMain = t->m_pMainWnd->GetSafeHwnd();
    // handles first: the updates may make or destroy windows
    std::vector<HWND> tops;
    for (auto& kv : AfxGetThreadState()->wndMap.permanent) {
        HWND h = kv.first;
        if (h == hWndSkip || !::IsWindowVisible(h) || (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
            continue;
        if (h == hMain || kv.second->IsFrameWnd())
            tops.push_back(h);
    }
    for (HWND h : tops) {
        CWnd* p = CWnd::FromHandlePermanent(h);
        if (!p)
            continue;
        MSG msg = {h, WM_IDLEUPDATECMDUI, TRUE, 0, 0, {0, 0}};
        AfxCallReportingExceptions(msg, [&] {
            ::SendMessageA(h, WM_IDLEUPDATECMDUI, TRUE, 0);
            if (CWnd::FromHandlePermanent(h) == p)
                p->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            return 0;
        });
    }
}

AFX_MODULE_HOOKS g_hooks = {PreTranslateHere, IdleUpdateHere, AfxDeleteTempMaps};

class ModuleEntry
{
public:
    ModuleEntry() : m_hMap(NULL), m_table(NULL), m_slot(-1)
    {
        char name[64];
        sprintf(name, "AfxFrameworkModules.%lu", (unsigned long)::GetCurrentProcessId());
        m_hMap = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                      sizeof(ModuleTable), name);
        if (!m_hMap)
            return;
        m_table =
            (ModuleTable*)::MapViewOfFile(m_hMap, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ModuleTable));
        if (!m_table)
            return;
        // a new mapping is zero-filled; free slots are NULL
        for (int i = 0; i < kMaxModules && m_slot < 0; ++i)
            if (InterlockedCompareExchangePointer((PVOID volatile*)&m_table->slots[i], &g_hooks,
                                                  NULL) == NULL)
                m_slot = i;
    }
    ~ModuleEntry()
    {
        if (m_table && m_slot >= 0)
            InterlockedExchangePointer((PVOID volatile*)&m_table->slots[m_slot], NULL);
        if (m_table)
            ::UnmapViewOfFile(m_table);
        if (m_hMap)
            ::CloseHandle(m_hMap);
    }
    ModuleTable* Table() const { return m_table; }

private:
    HANDLE m_hMap;
    ModuleTable* m_table;
    int m_slot;
};

ModuleEntry& Entry()
{
    static ModuleEntry entry;
    return entry;
}

// The hooks of every module entered, this one included.
template <class F>
void ForEachModule(F f)
{
    ModuleTable* table = Entry().Table();
    if (!table) {
        f(&g_hooks);
        return;
    }
    for (int i = 0; i < kMaxModules; ++i)
        if (AFX_MODULE_HOOKS* m = table->slots[i])
            if (f(m))
                return;
}
} // namespace

void AfxRegisterModule() { Entry(); }

BOOL AfxOtherModulesPreTranslate(HWND hWnd, MSG* pMsg)
{
    BOOL eaten = FALSE;
    ForEachModule([&](AFX_MODULE_HOOKS* m) {
        if (m == &g_hooks)
            return false;
        BOOL found = FALSE;
        eaten = m->pfnPreTranslate(hWnd, pMsg, &found);
        return found != FALSE;
    });
    return eaten;
}

void AfxAllModulesIdleUpdate(HWND hWndSkip)
{
    ForEachModule([&](AFX_MODULE_HOOKS* m) {
        m->pfnIdleUpdate(hWndSkip);
        return false;
    });
}

void AfxAllModulesDeleteTempMaps()
{
    ForEachModule([&](AFX_MODULE_HOOKS* m) {
        m->pfnDeleteTempMaps();
        return false;
    });
}
