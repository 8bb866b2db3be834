#pragma once
#include "CSerialCamera.h"

// Seven-byte frames FF 30 30 00 .. .. EF; every movement is preceded by the
// "prepare" pair, Stop ends with the "release" frame, and what the camera
// answers after each write is read and discarded.
class CVcC50iCamera : public CSerialCamera
{
public:
    BOOL Left() override;
    BOOL Right() override;
    BOOL Up() override;
    BOOL Down() override;
    BOOL ZoomIn() override;
    BOOL ZoomOut() override;
    BOOL Stop() override;
    virtual void Prepare();
    virtual void Release();

protected:
    void Send(const Frame& frame) override;

private:
    BOOL PreparedMove(uint8_t a, uint8_t b);
    BOOL PreparedZoom(uint8_t a, uint8_t b);
};
