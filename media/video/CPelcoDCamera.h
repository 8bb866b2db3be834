#pragma once
#include "CSerialCamera.h"

// Pelco-D frames: FF, address 0, two command bytes, two data bytes and the
// sum of bytes 1 to 5 modulo 256.
class CPelcoDCamera : public CSerialCamera
{
public:
    static Frame MakeFrame(uint8_t command1, uint8_t command2, uint8_t data1, uint8_t data2);

    BOOL Left() override;
    BOOL Right() override;
    BOOL Up() override;
    BOOL Down() override;
    BOOL ZoomIn() override;
    BOOL ZoomOut() override;
    BOOL Stop() override;
    // Further operations of this protocol's interface; the first three
    // report 1, the fourth does nothing.
    virtual BOOL AuxFirst() { return TRUE; }
    virtual BOOL AuxSecond() { return TRUE; }
    virtual BOOL AuxThird() { return TRUE; }
    virtual void AuxFourth() {}
};
