#pragma once
#include "CSerialCamera.h"

// Seven-byte frames beginning 0xFA, sent as stored; Stop always sends the
// one stop frame.
class CPwtCamera : public CSerialCamera
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
