#include "CSerialCamera.h"

CSerialCamera::CSerialCamera() {}

CSerialCamera::~CSerialCamera() { delete m_pControl; }

BOOL CSerialCamera::Create(CWnd* parent)
{
    if (!m_pControl)
        m_pControl = CSerialControl::Make();
    if (!m_pControl)
        return FALSE;
    if (m_pControl->m_hWnd)
        return TRUE;
    return m_pControl->CreateControl(parent, ControlId());
}

BOOL CSerialCamera::Open(int port)
{
    if (port == m_port || port < 1 || port > 2 || !m_pControl)
        return TRUE;
    m_port = port;
    if (m_pControl->GetPortOpen())
        m_pControl->SetPortOpen(FALSE);
    m_pControl->SetCommPort(port);
    ConfigurePort();
    return TRUE;
}

void CSerialCamera::ConfigurePort()
{
    m_pControl->SetInBufferSize(1024);
    m_pControl->SetOutBufferSize(512);
    if (!m_pControl->GetPortOpen())
        m_pControl->SetPortOpen(TRUE);
    m_pControl->SetInputMode(1);
    m_pControl->SetSettings("9600,n,8,1");
    m_pControl->SetRThreshold(1);
    m_pControl->SetInputLen(0);
}

void CSerialCamera::Send(const Frame& frame)
{
    if (m_pControl && !frame.empty())
        m_pControl->Output(frame.data(), (int)frame.size());
}

BOOL CSerialCamera::Move(const Frame& frame)
{
    if (m_bMoving)
        return FALSE;
    Send(frame);
    m_bMoving = true;
    return TRUE;
}

BOOL CSerialCamera::Zoom(const Frame& frame)
{
    if (m_bZooming)
        return FALSE;
    Send(frame);
    m_bZooming = true;
    return TRUE;
}

void CSerialCamera::StopWith(const Frame& panTiltStop, const Frame& zoomStop)
{
    if (m_bMoving)
        Send(panTiltStop);
    if (m_bZooming)
        Send(zoomStop);
    m_bMoving = false;
    m_bZooming = false;
}
