#include "CVideoManagerR.h"

#include "WireWriter.h"

CVideoManagerR::CVideoManagerR(IVideoEngine& engine, std::unique_ptr<IDatagramSocket> socket)
    : CNamedThread("VideoManagerR"), m_engine(engine), m_socket(std::move(socket))
{}

CVideoManagerR::~CVideoManagerR() { Destroy(); }

bool CVideoManagerR::Create(WPARAM word, HWND window, UINT message)
{
    m_renderer = m_engine.CreateRenderer(window);
    if (!m_renderer)
        return false;
    m_engine.SetRendererNotify(m_renderer, window, message, word);
    return true;
}

int CVideoManagerR::BindLocalPort(uint32_t wordA, uint32_t wordB, uint32_t third, uint16_t* port)
{
    m_wordA = wordA;
    m_wordB = wordB;
    m_third = third;
    if (m_socket.Open(10000, 0) != CVideoUdpSocket::OK)
        return 0;
    if (port)
        *port = m_socket.GetPort();
    m_stop = 0;
    if (!Start()) {
        m_socket.Close();
        if (port)
            *port = 0;
        return 0;
    }
    return 1;
}

int CVideoManagerR::SendTo(const char* address, int port)
{
    uint32_t host = 0;
    if (!CVideoUdpSocket::ParseAddress(address, host))
        return 0;
    if (m_socket.AddDestination(host, static_cast<uint16_t>(port)) != CVideoUdpSocket::OK)
        return 0;
    SendReport();
    return 1;
}

void CVideoManagerR::SendReport()
{
    uint8_t report[8];
    WireWriter w(report, sizeof report);
    w.U32(m_wordA);
    w.U32(m_wordB);
    if (m_socket.Send(report, sizeof report, VideoWire::PAYLOAD_TYPE, 0,
                      VideoWire::TIMESTAMP_STEP) == CVideoUdpSocket::OK)
        ++m_reportsSent;
}

void CVideoManagerR::StopReceive()
{
    m_stop = 1;
    Stop();
    m_socket.Close();
}

void CVideoManagerR::Destroy()
{
    StopReceive();
    if (m_renderer)
        m_engine.DestroyRenderer(m_renderer);
    m_renderer = 0;
}

void CVideoManagerR::SetRender(int value) { m_engine.SetRender(m_renderer, value); }

void CVideoManagerR::SetPreviewPos(const RECT& rect) { m_engine.SetRendererPos(m_renderer, &rect); }

void CVideoManagerR::OnEraseBk()
{
    if (m_renderer)
        m_engine.EraseBackground(m_renderer);
}

void CVideoManagerR::SetRecord(int flag, void* userData, DravoRecordCallback callback)
{
    if (m_renderer)
        m_engine.SetRendererRecord(m_renderer, flag, userData, callback);
}

int CVideoManagerR::SavePicture(const char* argument)
{
    return m_renderer ? m_engine.SaveRendererPicture(m_renderer, argument) : 0;
}

void CVideoManagerR::Round(uint32_t now)
{
    if (m_lastTick - m_lastReport >= static_cast<uint32_t>(REPORT_MS)) {
        SendReport();
        m_lastReport = m_lastTick;
    }
    m_lastTick = now;
    m_socket.ReceiveStep();
    while (VideoFramePtr f = m_socket.PopFrame()) {
        if (f->payloadLength > 0) {
            m_engine.RenderFrame(m_renderer, f->Payload(), static_cast<int>(f->payloadLength));
            ++m_framesRendered;
        }
        if (f->sourceAddress != m_sourceAddress || f->sourcePort != m_sourcePort) {
            m_sourceAddress = f->sourceAddress;
            m_sourcePort = f->sourcePort;
            m_socket.ReplaceDestinations(m_sourceAddress, m_sourcePort);
        }
    }
}

uint32_t CVideoManagerR::Run()
{
    m_lastReport = m_lastTick = GetTickCount();
    SendReport();
    while (!m_stop) {
        Sleep(ROUND_MS);
        Round(GetTickCount());
    }
    return EXIT_CODE;
}
