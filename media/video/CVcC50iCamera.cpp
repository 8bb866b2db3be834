#include "CVcC50iCamera.h"

namespace {
typedef CSerialCamera::Frame Frame;
Frame Vc(uint8_t a, uint8_t b) { return Frame{0xFF, 0x30, 0x30, 0x00, a, b, 0xEF}; }
} // namespace

void CVcC50iCamera::Send(const Frame& frame)
{
    CSerialCamera::Send(frame);
    if (m_pControl)
        m_pControl->Input();
}

void CVcC50iCamera::Prepare()
{
    Send(Vc(0x90, 0x30));
    Send(Vc(0xA0, 0x31));
}

void CVcC50iCamera::Release() { Send(Vc(0x90, 0x31)); }

BOOL CVcC50iCamera::PreparedMove(uint8_t a, uint8_t b)
{
    if (m_bMoving)
        return FALSE;
    Prepare();
    return Move(Vc(a, b));
}

BOOL CVcC50iCamera::PreparedZoom(uint8_t a, uint8_t b)
{
    if (m_bZooming)
        return FALSE;
    Prepare();
    return Zoom(Vc(a, b));
}

BOOL CVcC50iCamera::Left() { return PreparedMove(0x53, 0x32); }
BOOL CVcC50iCamera::Right() { return PreparedMove(0x53, 0x31); }
BOOL CVcC50iCamera::Up() { return PreparedMove(0x53, 0x33); }
BOOL CVcC50iCamera::Down() { return PreparedMove(0x53, 0x34); }
BOOL CVcC50iCamera::ZoomIn() { return PreparedZoom(0xA2, 0x32); }
BOOL CVcC50iCamera::ZoomOut() { return PreparedZoom(0xA2, 0x31); }

BOOL CVcC50iCamera::Stop()
{
    StopWith(Vc(0x53, 0x30), Vc(0xA2, 0x30));
    Release();
    return TRUE;
}
