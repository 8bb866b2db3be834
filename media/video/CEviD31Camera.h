#pragma once
#include "CSerialCamera.h"

// VISCA frames on the serial port, each sent with one trailing 00 byte.
class CEviD31Camera : public CSerialCamera
{
public:
    BOOL Left() override;
    BOOL Right() override;
    BOOL Up() override;
    BOOL Down() override;
    BOOL ZoomIn() override;
    BOOL ZoomOut() override;
    BOOL Stop() override;
};
