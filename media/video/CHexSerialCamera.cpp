#include "CHexSerialCamera.h"

CHexSerialCamera::~CHexSerialCamera()
{
    if (m_pControl)
        Stop();
}

std::string CHexSerialCamera::Checksum(const uint8_t* bytes)
{
    unsigned sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += bytes[i];
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text += digits[(sum >> 4) & 0xF];
    text += digits[sum & 0xF];
    return text;
}

CSerialCamera::Frame CHexSerialCamera::MakeRequest(const uint8_t command[6], const bool set[6])
{
    Frame frame(11, '0');
    frame[0] = '*';
    for (int i = 0; i < 6; ++i)
        if (set[i])
            frame[3 + i] = command[i];
    std::string sum = Checksum(frame.data());
    frame[9] = (uint8_t)sum[0];
    frame[10] = (uint8_t)sum[1];
    return frame;
}

void CHexSerialCamera::ConfigurePort()
{
    m_pControl->SetInBufferSize(512);
    m_pControl->SetOutBufferSize(512);
    if (!m_pControl->GetPortOpen())
        m_pControl->SetPortOpen(TRUE);
    m_pControl->SetInputMode(1);
    m_pControl->SetSettings("9600, n , 8, 1");
    m_pControl->SetRThreshold(0);
    m_pControl->SetInputLen(0);
    m_pControl->SetHandshaking(1);
}

BOOL CHexSerialCamera::Request(const Frame& request)
{
    m_reply.clear();
    if (!m_pControl)
        return FALSE;
    Send(request);
    ::Sleep(2);
    DWORD start = ::GetTickCount();
    while (m_pControl->GetInBufferCount() < 11 && ::GetTickCount() - start < 200)
        ::Sleep(2);
    if (m_pControl->GetInBufferCount() < 1)
        return FALSE;
    Frame reply = m_pControl->Input();
    if (reply.empty())
        return FALSE;
    if (reply.size() > 11) {
        m_reply.assign(reply.begin(), reply.begin() + 10);
        m_reply.push_back(reply[10]);
        return TRUE;
    }
    m_reply = reply;
    if (reply.size() < 11)
        return FALSE;
    std::string sum = Checksum(reply.data());
    return reply[9] == (uint8_t)sum[0] && reply[10] == (uint8_t)sum[1];
}

BOOL CHexSerialCamera::Command(std::initializer_list<std::pair<int, uint8_t>> bytes)
{
    uint8_t command[6] = {};
    bool set[6] = {};
    for (auto& b : bytes) {
        command[b.first - 3] = b.second;
        set[b.first - 3] = true;
    }
    return Request(MakeRequest(command, set));
}

BOOL CHexSerialCamera::Left() { return Command({{3, '6'}, {4, 0x03}, {7, '2'}, {8, 0x00}}); }
BOOL CHexSerialCamera::Right() { return Command({{3, '6'}, {4, 0x04}, {7, '2'}, {8, 0x00}}); }
BOOL CHexSerialCamera::Up() { return Command({{3, '6'}, {4, 0x01}, {5, '2'}, {6, 0x00}}); }
BOOL CHexSerialCamera::Down() { return Command({{3, '6'}, {4, 0x02}, {5, '2'}, {6, 0x00}}); }
BOOL CHexSerialCamera::ZoomIn() { return Command({{3, '7'}, {4, '5'}, {5, '0'}, {6, '2'}}); }
BOOL CHexSerialCamera::ZoomOut() { return Command({{3, '7'}, {4, '5'}, {5, '0'}, {6, '4'}}); }
BOOL CHexSerialCamera::Stop() { return Command({{3, '7'}, {4, '5'}, {5, '0'}, {6, '9'}}); }
