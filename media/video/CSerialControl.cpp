#include "CSerialControl.h"

#include <cctype>
#include <cstdlib>

namespace {
CSerialControl* MakeReal() { return new CSerialControl; }
CSerialControl::Factory g_factory = &MakeReal;
} // namespace

CSerialControl::CSerialControl() {}

CSerialControl::~CSerialControl()
{
    if (m_hPort != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hPort);
    if (m_hWnd)
        DestroyWindow();
}

CSerialControl* CSerialControl::Make() { return g_factory ? g_factory() : MakeReal(); }

void CSerialControl::SetFactory(Factory factory) { g_factory = factory ? factory : &MakeReal; }

BOOL CSerialControl::CreateControl(CWnd* parent, UINT id)
{
    if (!parent || !parent->m_hWnd)
        return FALSE;
    CRect rc(0, 0, 10, 10);
    return Create("STATIC", "", WS_CHILD, rc, parent, id);
}

BOOL CSerialControl::GetPortOpen() const { return m_hPort != INVALID_HANDLE_VALUE; }

bool CSerialControl::ParseSettings(const char* text, DWORD* baud, char* parity, int* dataBits,
                                   int* stopBits)
{
    if (!text)
        return false;
    std::string compact;
    for (const char* p = text; *p; ++p)
        if (!isspace((unsigned char)*p))
            compact += *p;
    std::string parts[4];
    int n = 0;
    for (char c : compact) {
        if (c == ',') {
            if (++n > 3)
                return false;
        } else {
            parts[n] += c;
        }
    }
    if (n != 3 || parts[0].empty() || parts[1].size() != 1 || parts[2].empty() || parts[3].empty())
        return false;
    char* end = nullptr;
    unsigned long b = strtoul(parts[0].c_str(), &end, 10);
    if (*end || b == 0)
        return false;
    char pa = (char)tolower((unsigned char)parts[1][0]);
    if (pa != 'n' && pa != 'e' && pa != 'o' && pa != 'm' && pa != 's')
        return false;
    int d = atoi(parts[2].c_str());
    int s = atoi(parts[3].c_str());
    if (d < 4 || d > 8 || (s != 1 && s != 2))
        return false;
    *baud = b;
    *parity = pa;
    *dataBits = d;
    *stopBits = s;
    return true;
}

BOOL CSerialControl::SetSettings(const char* settings)
{
    DWORD baud;
    char parity;
    int data, stop;
    if (!ParseSettings(settings, &baud, &parity, &data, &stop))
        return FALSE;
    m_settings = settings;
    ApplyLine();
    return TRUE;
}

void CSerialControl::SetHandshaking(int handshaking)
{
    m_handshaking = handshaking;
    ApplyLine();
}

void CSerialControl::ApplyLine()
{
    if (m_hPort == INVALID_HANDLE_VALUE)
        return;
    DWORD baud;
    char parity;
    int data, stop;
    if (!ParseSettings(m_settings.c_str(), &baud, &parity, &data, &stop))
        return;
    DCB dcb = {};
    dcb.DCBlength = sizeof(dcb);
    if (!::GetCommState(m_hPort, &dcb))
        return;
    dcb.BaudRate = baud;
    dcb.ByteSize = (BYTE)data;
    dcb.StopBits = stop == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.Parity = parity == 'e'   ? EVENPARITY
                 : parity == 'o' ? ODDPARITY
                 : parity == 'm' ? MARKPARITY
                 : parity == 's' ? SPACEPARITY
                                 : NOPARITY;
    dcb.fBinary = TRUE;
    dcb.fOutX = dcb.fInX = (m_handshaking == 1) ? TRUE : FALSE;
    ::SetCommState(m_hPort, &dcb);
}

BOOL CSerialControl::SetPortOpen(BOOL open)
{
    if (!open) {
        if (m_hPort != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hPort);
        m_hPort = INVALID_HANDLE_VALUE;
        return TRUE;
    }
    if (m_hPort != INVALID_HANDLE_VALUE)
        return TRUE;
    if (m_port < 1)
        return FALSE;
    char name[32];
    snprintf(name, sizeof(name), "\\\\.\\COM%d", m_port);
    m_hPort = ::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (m_hPort == INVALID_HANDLE_VALUE)
        return FALSE;
    ::SetupComm(m_hPort, m_inSize, m_outSize);
    // Reads return at once with what has arrived.
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = 500;
    ::SetCommTimeouts(m_hPort, &timeouts);
    ApplyLine();
    return TRUE;
}

BOOL CSerialControl::Output(const uint8_t* bytes, int length)
{
    if (m_hPort == INVALID_HANDLE_VALUE || !bytes || length <= 0)
        return FALSE;
    DWORD written = 0;
    return ::WriteFile(m_hPort, bytes, (DWORD)length, &written, NULL) && written == (DWORD)length;
}

int CSerialControl::GetInBufferCount()
{
    if (m_hPort == INVALID_HANDLE_VALUE)
        return 0;
    DWORD errors = 0;
    COMSTAT stat = {};
    if (!::ClearCommError(m_hPort, &errors, &stat))
        return 0;
    return (int)stat.cbInQue;
}

std::vector<uint8_t> CSerialControl::Input()
{
    std::vector<uint8_t> bytes;
    int count = GetInBufferCount();
    if (m_inputLen > 0 && count > m_inputLen)
        count = m_inputLen;
    if (count <= 0)
        return bytes;
    bytes.resize(count);
    DWORD read = 0;
    if (!::ReadFile(m_hPort, bytes.data(), (DWORD)count, &read, NULL))
        read = 0;
    bytes.resize(read);
    return bytes;
}
