#include "CZxDllCamera.h"

#include "CClientSettings.h"

CZxDllCamera::CZxDllCamera(const char* library)
{
    m_hLibrary = ::LoadLibraryA(library);
    if (m_hLibrary)
        m_pControl = (PFN_ZX_Control)::GetProcAddress(m_hLibrary, "ZX_Control");
}

CZxDllCamera::~CZxDllCamera()
{
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
}

BOOL CZxDllCamera::Call(int command)
{
    if (!m_pControl)
        return FALSE;
    m_pControl(command, (int)g_Settings.videoCaptureDev);
    return TRUE;
}
