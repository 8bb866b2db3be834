#include <gtest/gtest.h>

#include <string>

#include "RelayPeer.h"

namespace {

// Runs OrvaneHost with the arguments; the process is always ended.
class HostProcess
{
public:
    explicit HostProcess(const std::string& arguments)
    {
        std::string line = "OrvaneHost.exe " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        m_started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_process) != 0;
    }
    ~HostProcess()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    bool Started() const { return m_started; }
    // The exit code, or -1 when the process is still running after waitMs.
    long WaitExit(DWORD waitMs)
    {
        if (WaitForSingleObject(m_process.hProcess, waitMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_process.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
};

uint16_t FreePort()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return ntohs(address.sin_port);
}

class OrvaneHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    }
    void TearDown() override { WSACleanup(); }
};

TEST_F(OrvaneHostTest, RunsTheRelayAndStopsOnItsEvent)
{
    uint16_t port = FreePort();
    std::string event = "OrvaneHostTestStop" + std::to_string(GetCurrentProcessId());
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    HostProcess host(std::to_string(port) + " --stop-event " + event);
    ASSERT_TRUE(host.Started());

    // Wait, bounded, until the relay answers.
    std::unique_ptr<RelayPeer> listener;
    int answer = -1;
    for (DWORD start = GetTickCount(); answer < 0 && GetTickCount() - start < 5000; Sleep(20)) {
        listener.reset(new RelayPeer(port));
        if (listener->Connected())
            answer = listener->Join(RELAY_ROLE_LISTENER, 1, 2);
    }
    ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), answer);
    RelayPeer source(port);
    ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), source.Join(RELAY_ROLE_SOURCE, 1, 2));
    ASSERT_TRUE(source.Send(Msg::StreamHeader(5)));
    Bytes got;
    ASSERT_TRUE(listener->Read(got));
    EXPECT_EQ(Msg::StreamHeader(5), got);

    SetEvent(stop);
    EXPECT_EQ(0, host.WaitExit(5000));
    EXPECT_TRUE(listener->SeesClose());
    CloseHandle(stop);
}

TEST_F(OrvaneHostTest, RefusesBadArguments)
{
    for (const char* arguments : {"", "0", "70000", "12x", "5000 --seconds", "5000 --bogus 1"}) {
        SCOPED_TRACE(arguments);
        HostProcess host(arguments);
        ASSERT_TRUE(host.Started());
        EXPECT_EQ(1, host.WaitExit(5000));
    }
}

} // namespace
