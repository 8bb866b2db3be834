#include "UiFont.h"

#include <cstring>

CFont g_UiFont;

void CreateUiFont()
{
    if (g_UiFont.GetSafeHandle())
        return;
    LOGFONTA lf = {};
    if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0) &&
        g_UiFont.Attach(::CreateFontIndirectA(&lf)))
        return;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -11;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "System");
    g_UiFont.Attach(::CreateFontIndirectA(&lf));
}

CFont* GetUiFont()
{
    CreateUiFont();
    return &g_UiFont;
}
