#include "CEviD31Camera.h"

namespace {
typedef CSerialCamera::Frame Frame;
Frame PanTilt(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return Frame{0x81, 0x01, 0x06, 0x01, a, b, c, d, 0xFF, 0x00};
}
Frame ZoomFrame(uint8_t value) { return Frame{0x81, 0x01, 0x04, 0x07, value, 0xFF, 0x00}; }
} // namespace

BOOL CEviD31Camera::Left() { return Move(PanTilt(0x03, 0x10, 0x01, 0x03)); }
BOOL CEviD31Camera::Right() { return Move(PanTilt(0x03, 0x10, 0x02, 0x03)); }
BOOL CEviD31Camera::Up() { return Move(PanTilt(0x03, 0x03, 0x03, 0x01)); }
BOOL CEviD31Camera::Down() { return Move(PanTilt(0x03, 0x03, 0x03, 0x02)); }
BOOL CEviD31Camera::ZoomIn() { return Zoom(ZoomFrame(0x02)); }
BOOL CEviD31Camera::ZoomOut() { return Zoom(ZoomFrame(0x03)); }

BOOL CEviD31Camera::Stop()
{
    StopWith(PanTilt(0x10, 0x10, 0x03, 0x03), ZoomFrame(0x00));
    return TRUE;
}
