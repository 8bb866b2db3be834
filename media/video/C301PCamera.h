#pragma once
#include "CCameraController.h"

// A camera driven by the outside library "CDLL_301P.dll", whose functions
// are taken by their decorated names. Each movement opens camera 0 first
// (the count, name and open functions are used where the library has them)
// and fails when the library or the movement's function is missing.
class C301PCamera : public CCameraController
{
public:
    typedef void(__cdecl* PFN_Move)();
    typedef bool(__cdecl* PFN_OpenCam)(int index);
    typedef bool(__cdecl* PFN_CloseCam)();
    typedef int(__cdecl* PFN_GetCamNum)();
    typedef bool(__cdecl* PFN_GetCamName)(int index, char* name);

    explicit C301PCamera(const char* library = "CDLL_301P.dll");
    ~C301PCamera() override;

    BOOL Left() override { return Move(m_pLeft); }
    BOOL Right() override { return Move(m_pRight); }
    BOOL Up() override { return Move(m_pUp); }
    BOOL Down() override { return Move(m_pDown); }
    BOOL ZoomIn() override { return TRUE; }
    BOOL ZoomOut() override { return TRUE; }

    bool IsLoaded() const { return m_hLibrary != NULL; }

private:
    BOOL Move(PFN_Move move);

    HMODULE m_hLibrary = NULL;
    PFN_Move m_pUp = nullptr;
    PFN_Move m_pDown = nullptr;
    PFN_Move m_pRight = nullptr;
    PFN_Move m_pLeft = nullptr;
    PFN_OpenCam m_pOpenCam = nullptr;
    PFN_CloseCam m_pCloseCam = nullptr;
    PFN_GetCamNum m_pGetCamNum = nullptr;
    PFN_GetCamName m_pGetCamName = nullptr;
};
