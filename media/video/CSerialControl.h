#pragma once
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

// The serial-port control of the pan-tilt cameras: a hidden child window
// with the properties the camera back-ends set (port, buffer sizes, line
// settings, thresholds) over the Win32 communications functions. Frames go
// out through Output and replies come in through Input. Failures are
// reported by the results, never thrown.
class CSerialControl : public CWnd
{
public:
    CSerialControl();
    ~CSerialControl() override;

    // The control the back-ends make; tests install a factory of their own.
    typedef CSerialControl* (*Factory)();
    static CSerialControl* Make();
    static void SetFactory(Factory factory);

    // The hidden child window (rectangle 0, 0, 10, 10) with the control id.
    virtual BOOL CreateControl(CWnd* parent, UINT id);

    virtual void SetCommPort(int port) { m_port = port; }
    int GetCommPort() const { return m_port; }
    virtual void SetInBufferSize(int size) { m_inSize = size; }
    virtual void SetOutBufferSize(int size) { m_outSize = size; }
    virtual BOOL GetPortOpen() const;
    // Opens or closes the port; false when that failed.
    virtual BOOL SetPortOpen(BOOL open);
    virtual void SetInputMode(int mode) { m_inputMode = mode; }
    // "baud,parity,data,stop", spaces allowed; false for a text it does not take.
    virtual BOOL SetSettings(const char* settings);
    virtual void SetRThreshold(int threshold) { m_rThreshold = threshold; }
    virtual void SetInputLen(int length) { m_inputLen = length; }
    virtual void SetHandshaking(int handshaking);
    virtual BOOL Output(const uint8_t* bytes, int length);
    virtual int GetInBufferCount();
    // Up to InputLen bytes (0: all) of what arrived.
    virtual std::vector<uint8_t> Input();

    // Parses "9600,n,8,1" (spaces allowed) into a line description.
    static bool ParseSettings(const char* text, DWORD* baud, char* parity, int* dataBits,
                              int* stopBits);

protected:
    void ApplyLine();

    int m_port = 0;
    int m_inSize = 1024;
    int m_outSize = 512;
    int m_inputMode = 0;
    int m_rThreshold = 0;
    int m_inputLen = 0;
    int m_handshaking = 0;
    std::string m_settings = "9600,n,8,1";
    HANDLE m_hPort = INVALID_HANDLE_VALUE;
};
