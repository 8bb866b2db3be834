#include "PaneTestKit.h"

#include "CTestKit.h"
#include "CTcpLink.h"

namespace panetest {

BOOL CParentWnd::CreateTop(int cx, int cy)
{
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return CreateEx(0, cls, "pane test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                    cx, cy, NULL, NULL);
}

bool StartWinsockOnce()
{
    static bool started = StartWinsock();
    return started;
}

bool CMeetingClient::Login(const char* user, const char* password, uint32_t room)
{
    return client.Login(m_server.GetPort(), user, password, room);
}

PANE_CONTEXT CMeetingClient::Context(IPaneHost* host)
{
    PANE_CONTEXT context;
    context.users = &client.users;
    context.login = &client.login;
    context.commands = &client.manager;
    context.language = nullptr;
    context.host = host;
    return context;
}

std::vector<std::vector<uint8_t>> CMeetingClient::SentFrames(uint16_t code)
{
    std::vector<std::vector<uint8_t>> out;
    const size_t before = m_server.GetFrames().size();
    client.manager.SendKeepAlive();
    const uint64_t end = SteadyMs() + 3000;
    for (;;) {
        std::vector<SERVER_FRAME> frames = m_server.GetFrames();
        bool marked = false;
        for (size_t i = before; i < frames.size(); ++i)
            if (frames[i].userId == client.login.userId && frames[i].payload.size() >= 2 &&
                (frames[i].payload[0] | frames[i].payload[1] << 8) == CMD_KEEP_ALIVE)
                marked = true;
        if (marked || SteadyMs() > end) {
            for (const SERVER_FRAME& frame : frames)
                if (frame.userId == client.login.userId && frame.payload.size() >= 2 &&
                    (frame.payload[0] | frame.payload[1] << 8) == code)
                    out.push_back(frame.payload);
            return out;
        }
        Sleep(10);
    }
}

std::vector<uint16_t> CMeetingClient::SentCodes()
{
    SentFrames(CMD_KEEP_ALIVE);
    std::vector<uint16_t> codes;
    for (const SERVER_FRAME& frame : m_server.GetFrames())
        if (frame.userId == client.login.userId && frame.Code() != CMD_KEEP_ALIVE)
            codes.push_back(frame.Code());
    return codes;
}

void CMeetingClient::ClearSent() { m_server.ClearFrames(); }

} // namespace panetest
