#include "C301PCamera.h"

C301PCamera::C301PCamera(const char* library)
{
    m_hLibrary = ::LoadLibraryA(library);
    if (!m_hLibrary)
        return;
    auto get = [this](const char* name) { return ::GetProcAddress(m_hLibrary, name); };
    m_pUp = (PFN_Move)get("?MotoUp@@YAXXZ");
    m_pDown = (PFN_Move)get("?MotoDown@@YAXXZ");
    m_pRight = (PFN_Move)get("?MotoRight@@YAXXZ");
    m_pLeft = (PFN_Move)get("?MotoLeft@@YAXXZ");
    m_pOpenCam = (PFN_OpenCam)get("?OpenCam@@YA_NH@Z");
    m_pCloseCam = (PFN_CloseCam)get("?CloseCam@@YA_NXZ");
    m_pGetCamNum = (PFN_GetCamNum)get("?GetCamNum@@YAHXZ");
    m_pGetCamName = (PFN_GetCamName)get("?GetCamName@@YA_NHPAD@Z");
}

C301PCamera::~C301PCamera()
{
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
}

BOOL C301PCamera::Move(PFN_Move move)
{
    if (!m_hLibrary)
        return FALSE;
    if (m_pGetCamNum)
        m_pGetCamNum();
    char name[512] = {};
    if (m_pGetCamName)
        m_pGetCamName(0, name);
    if (m_pOpenCam)
        m_pOpenCam(0);
    if (!move) {
        if (m_pCloseCam)
            m_pCloseCam();
        return FALSE;
    }
    move();
    return TRUE;
}
