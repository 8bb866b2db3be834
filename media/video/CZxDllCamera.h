#pragma once
#include "CCameraController.h"

#include <string>

// A camera driven by the outside library "CDll.dll" through its one export
// ZX_Control(command, value): 2 left, 3 right, 0 up, 1 down, with the
// capture device index as value.
class CZxDllCamera : public CCameraController
{
public:
    typedef int(__stdcall* PFN_ZX_Control)(int command, int value);

    explicit CZxDllCamera(const char* library = "CDll.dll");
    ~CZxDllCamera() override;

    BOOL Left() override { return Call(2); }
    BOOL Right() override { return Call(3); }
    BOOL Up() override { return Call(0); }
    BOOL Down() override { return Call(1); }

    bool IsLoaded() const { return m_hLibrary != NULL; }

private:
    BOOL Call(int command);

    HMODULE m_hLibrary = NULL;
    PFN_ZX_Control m_pControl = nullptr;
};
