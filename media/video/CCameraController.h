#pragma once
#include "afxwin.h"

// A pan-tilt-zoom camera controller. The defaults: Create and Open succeed
// without doing anything, the movements report 1, Stop does nothing.
class CCameraController
{
public:
    virtual ~CCameraController() {}
    virtual BOOL Create(CWnd* parent) { return TRUE; }
    virtual BOOL Open(int port) { return TRUE; }
    virtual BOOL Left() { return TRUE; }
    virtual BOOL Right() { return TRUE; }
    virtual BOOL Up() { return TRUE; }
    virtual BOOL Down() { return TRUE; }
    virtual BOOL ZoomIn() { return TRUE; }
    virtual BOOL ZoomOut() { return TRUE; }
    virtual BOOL Stop() { return TRUE; }
};
