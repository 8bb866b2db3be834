#include <gtest/gtest.h>

#include "RelayPeer.h"

#include <tlhelp32.h>

namespace {

typedef void* (*StartServerFn)(unsigned);
typedef int (*CloseServerFn)(void**);

int CountThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// A port that nothing listens on right now.
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

class OrvaneLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
        m_module = LoadLibraryA("Orvane.dll");
        ASSERT_NE(nullptr, m_module);
        m_start = reinterpret_cast<StartServerFn>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "Zeltor_StartServer")));
        m_close = reinterpret_cast<CloseServerFn>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "Zeltor_CloseServer")));
        ASSERT_NE(nullptr, m_start);
        ASSERT_NE(nullptr, m_close);
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
        WSACleanup();
    }

    HMODULE m_module = nullptr;
    StartServerFn m_start = nullptr;
    CloseServerFn m_close = nullptr;
};

TEST_F(OrvaneLibraryTest, BadArgumentsGiveNullAndZero)
{
    EXPECT_EQ(nullptr, m_start(0));
    EXPECT_EQ(nullptr, m_start(70000));
    void* none = nullptr;
    EXPECT_EQ(0, m_close(&none));
    EXPECT_EQ(0, m_close(nullptr));
}

// A start that fails gives null. Here the port is taken by a first relay;
// the second bind fails because this host does not let two listening
// sockets share a port even with address reuse.
TEST_F(OrvaneLibraryTest, PortInUseGivesNull)
{
    uint16_t port = FreePort();
    void* server = m_start(port);
    ASSERT_NE(nullptr, server);
    EXPECT_EQ(nullptr, m_start(port));
    EXPECT_EQ(1, m_close(&server));
}

TEST_F(OrvaneLibraryTest, RelaysAndLeavesNoThreadBehind)
{
    // A first round lets the system start whatever threads it keeps for good.
    for (int round = 0; round < 2; ++round) {
        int before = CountThreads();
        uint16_t port = FreePort();
        void* server = m_start(port);
        ASSERT_NE(nullptr, server);
        {
            RelayPeer listener(port), source(port);
            ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), listener.Join(1, 77, 1));
            ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), source.Join(0, 77, 1));
            ASSERT_TRUE(source.Send(Msg::StreamHeader(1)));
            ASSERT_TRUE(source.Send(Msg::Data(1)));
            Bytes got;
            ASSERT_TRUE(listener.Read(got));
            ASSERT_TRUE(listener.Read(got));
            EXPECT_EQ(Msg::Data(1), got);
            EXPECT_GT(CountThreads(), before);

            EXPECT_EQ(1, m_close(&server));
            EXPECT_EQ(nullptr, server);
            EXPECT_TRUE(listener.SeesClose());
            EXPECT_TRUE(source.SeesClose());
        }
        if (round == 1) {
            int after = CountThreads();
            for (DWORD start = GetTickCount(); after > before && GetTickCount() - start < 1000;) {
                Sleep(10);
                after = CountThreads();
            }
            EXPECT_EQ(before, after);
        }
    }
}

TEST_F(OrvaneLibraryTest, ClockReleasesAPendingRefreshWithinATick)
{
    uint16_t port = FreePort();
    void* server = m_start(port);
    ASSERT_NE(nullptr, server);
    {
        RelayPeer l1(port), l2(port), source(port);
        ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), l1.Join(1, 5, 5));
        ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), l2.Join(1, 5, 5));
        ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), source.Join(0, 5, 5));
        ASSERT_TRUE(source.Send(Msg::StreamHeader(1)));
        Bytes got;
        ASSERT_TRUE(l1.Read(got));
        ASSERT_TRUE(l2.Read(got));
        ASSERT_TRUE(l1.Send(Msg::Refresh(1))); // the first goes out at once
        ASSERT_TRUE(source.Read(got));
        // One of two listeners asks: only the 400 ms clock lets it through.
        ASSERT_TRUE(l1.Send(Msg::Refresh(0)));
        DWORD start = GetTickCount();
        ASSERT_TRUE(source.Read(got, 2000));
        EXPECT_LT(GetTickCount() - start, 1000u);
        EXPECT_EQ(RELAY_KIND_REFRESH, got[4]);
        EXPECT_EQ(0, got[5]);
    }
    EXPECT_EQ(1, m_close(&server));
}

} // namespace
