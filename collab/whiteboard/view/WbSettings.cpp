#include "WbSettings.h"

#include <new>
#include <string.h>

WB_SETTINGS::WB_SETTINGS()
    : color(0x00FF0000), width(2), style(0), fill(0), zoomNum(0), zoomDen(100), tool(2),
      pfnChange(NULL), pChangeContext(NULL), pBuffer(NULL), nCapacity(0), nScrollPos(0),
      bRuler(FALSE)
{
    memset(&font, 0, sizeof(font));
    font.lfHeight = -15;
    font.lfWeight = 400;
    font.lfPitchAndFamily = 0x30;
    strcpy(font.lfFaceName, "宋体");
    InitializeCriticalSection(&lock);
}

WB_SETTINGS::~WB_SETTINGS()
{
    delete[] pBuffer;
    DeleteCriticalSection(&lock);
}

BOOL WB_SETTINGS::Reserve(UINT nLength)
{
    if (nLength <= nCapacity && pBuffer)
        return TRUE;
    BYTE* p = new (std::nothrow) BYTE[nLength ? nLength : 1];
    if (!p)
        return FALSE;
    delete[] pBuffer;
    pBuffer = p;
    nCapacity = nLength;
    return TRUE;
}
