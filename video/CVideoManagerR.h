#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "CNamedThread.h"
#include "CVideoUdpSocket.h"
#include "IVideoEngine.h"

// The receive side of one remote video window: a renderer of the engine
// drawing into the caller's window and an endpoint whose thread announces
// the receiver once a second, takes in the pieces that arrive and renders
// every complete frame. Reports follow the source of the frames.
class CVideoManagerR : public CNamedThread
{
public:
    enum { EXIT_CODE = 10013, ROUND_MS = 15, REPORT_MS = 1000 };

    CVideoManagerR(IVideoEngine& engine, std::unique_ptr<IDatagramSocket> socket);
    ~CVideoManagerR() override;

    // Makes the renderer; false when the engine gives none.
    bool Create(WPARAM word, HWND window, UINT message);
    int BindLocalPort(uint32_t wordA, uint32_t wordB, uint32_t third, uint16_t* port);
    int SendTo(const char* address, int port);
    void StopReceive();
    // Stops receiving and destroys the renderer.
    void Destroy();

    void SetRender(int value);
    void SetPreviewPos(const RECT& rect);
    void OnEraseBk();
    void SetRecord(int flag, void* userData, DravoRecordCallback callback);
    int SavePicture(const char* argument);

    uint32_t Run() override;

    // For tests.
    CVideoUdpSocket& Socket() { return m_socket; }
    DRAVO_HANDLE GetRenderer() const { return m_renderer; }
    uint32_t GetFramesRendered() const { return m_framesRendered; }
    uint32_t GetReportsSent() const { return m_reportsSent; }
    // One round of the receive loop at tick now; public so that tests can
    // drive it without the thread.
    void Round(uint32_t now);
    void SendReport();

private:
    IVideoEngine& m_engine;
    CVideoUdpSocket m_socket;
    DRAVO_HANDLE m_renderer = 0;
    volatile uint32_t m_stop = 0;
    uint32_t m_wordA = 0;
    uint32_t m_wordB = 0;
    uint32_t m_third = 0;
    uint32_t m_sourceAddress = 0;
    uint16_t m_sourcePort = 0;
    uint32_t m_lastReport = 0;
    uint32_t m_lastTick = 0;
    volatile uint32_t m_framesRendered = 0;
    volatile uint32_t m_reportsSent = 0;
};
