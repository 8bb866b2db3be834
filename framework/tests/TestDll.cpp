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
