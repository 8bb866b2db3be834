#include "CPwtCamera.h"

namespace {
typedef CSerialCamera::Frame Frame;
Frame Pwt(uint8_t command, uint8_t check)
{
    return Frame{0xFA, command, 0x00, 0x00, 0x60, 0x00, check};
}
} // namespace

BOOL CPwtCamera::Left() { return Move(Pwt(0x03, 0x5D)); }
BOOL CPwtCamera::Right() { return Move(Pwt(0x04, 0x5E)); }
BOOL CPwtCamera::Up() { return Move(Pwt(0x01, 0x5B)); }
BOOL CPwtCamera::Down() { return Move(Pwt(0x02, 0x5C)); }
BOOL CPwtCamera::ZoomIn() { return Zoom(Pwt(0x0C, 0x66)); }
BOOL CPwtCamera::ZoomOut() { return Zoom(Pwt(0x0B, 0x65)); }

BOOL CPwtCamera::Stop()
{
    Send(Frame{0xFA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x7B});
    m_bMoving = false;
    m_bZooming = false;
    return FALSE;
}
