// RV_GetErrorMsg hands the text back in the caller's CString, so it is built
// against the framework's string class when the library links it.
#if __has_include("CString.h")
#include "CString.h"
#define CASKEL_HAS_CSTRING 1
#else
class CString;
#endif

#include <windows.h>

#include "CLogFile.h"
#include "CRecorder.h"
#include "CaskelRecorder.h"

extern "C" __cdecl int RvGetErrorMsg(CString& out)
{
    const char* text = nullptr;
    int result = CaskelRecorder().GetErrorMsg(&text);
#ifdef CASKEL_HAS_CSTRING
    if (text)
        out = text;
#else
    (void)out;
    CaskelLog().Write(1, "<RV_GetErrorMsg>, built without the string class: %s\n",
                      text ? text : "");
#endif
    return result;
}
