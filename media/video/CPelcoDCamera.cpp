#include "CPelcoDCamera.h"

CSerialCamera::Frame CPelcoDCamera::MakeFrame(uint8_t command1, uint8_t command2, uint8_t data1,
                                              uint8_t data2)
{
    Frame frame{0xFF, 0x00, command1, command2, data1, data2, 0};
    unsigned sum = 0;
    for (int i = 1; i <= 5; ++i)
        sum += frame[i];
    frame[6] = (uint8_t)(sum & 0xFF);
    return frame;
}

BOOL CPelcoDCamera::Left() { return Move(MakeFrame(0x00, 0x04, 0x20, 0x00)); }
BOOL CPelcoDCamera::Right() { return Move(MakeFrame(0x00, 0x02, 0x20, 0x00)); }
BOOL CPelcoDCamera::Up() { return Move(MakeFrame(0x00, 0x08, 0x00, 0x20)); }
BOOL CPelcoDCamera::Down() { return Move(MakeFrame(0x00, 0x10, 0x00, 0x20)); }
BOOL CPelcoDCamera::ZoomIn() { return Zoom(MakeFrame(0x04, 0x00, 0x00, 0x00)); }
BOOL CPelcoDCamera::ZoomOut() { return Zoom(MakeFrame(0x02, 0x00, 0x00, 0x00)); }

BOOL CPelcoDCamera::Stop()
{
    StopWith(MakeFrame(0, 0, 0, 0), MakeFrame(0, 0, 0, 0));
    return TRUE;
}
