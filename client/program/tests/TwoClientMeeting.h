#pragma once
// Two installed clients, "host" and "alice", ready to start against a
// stand-in server (with its file store) of the test process. The clients
// hear the stand-in audio manager's tone: Wine has no sound devices here
// (the clients inherit the variable).
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CFileStore.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "ClientWindowKit.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

class TwoClientMeeting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        SetEnvironmentVariableA("KADREL_TEST_TONE", "440,8000");
        config = StandInTestConfig();
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        const int filePort = server->FileStore() ? server->FileStore()->GetPort() : 0;
        for (HalvernProcess* c : {&host, &alice}) {
            std::string error;
            ASSERT_TRUE(
                windowkit::InstallClient(*c, c == &host ? "halvern_e2e_host" : "halvern_e2e_alice",
                                         config.version, server->GetPort(), filePort, &error))
                << error;
        }
    }
    void TearDown() override
    {
        alice.Stop();
        host.Stop();
        server->Stop();
        SetEnvironmentVariableA("KADREL_TEST_TONE", nullptr);
        WSACleanup();
    }

    CServerConfig config;
    std::unique_ptr<CStandInServer> server;
    HalvernProcess host, alice;
};
