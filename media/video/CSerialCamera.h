#pragma once
#include "CCameraController.h"
#include "CSerialControl.h"

#include <cstdint>
#include <vector>

// The common part of the cameras on a serial port: the port in use (-1
// before the first Open), the serial control, and the moving and zooming
// flags by which a movement is sent once until Stop.
class CSerialCamera : public CCameraController
{
public:
    typedef std::vector<uint8_t> Frame;

    CSerialCamera();
    ~CSerialCamera() override;

    BOOL Create(CWnd* parent) override;
    BOOL Open(int port) override;

    int GetPort() const { return m_port; }
    bool IsMoving() const { return m_bMoving; }
    bool IsZooming() const { return m_bZooming; }
    CSerialControl* GetControl() const { return m_pControl; }

protected:
    virtual UINT ControlId() const { return 10000; }
    // Port settings after the port is chosen.
    virtual void ConfigurePort();
    // Writes one frame through the control; errors are swallowed.
    virtual void Send(const Frame& frame);
    // A pan/tilt or zoom frame under the movement rule: sent only while the
    // flag is clear, which it then sets; 0 when it was set already.
    BOOL Move(const Frame& frame);
    BOOL Zoom(const Frame& frame);
    // The stop frames for what runs, then both flags cleared.
    void StopWith(const Frame& panTiltStop, const Frame& zoomStop);

    int m_port = -1;
    CSerialControl* m_pControl = nullptr;
    bool m_bMoving = false;
    bool m_bZooming = false;
};
