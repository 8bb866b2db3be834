#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CClientSettings.h"
#include "CTestKit.h"
#include "CUpgradePath.h"
#include "IProcessLauncher.h"
#include "CTcpLink.h"
#include "StandInTestKit.h"

namespace {

class FakeLauncher : public IProcessLauncher
{
public:
    bool Start(const char* program, const std::string& commandLine) override
    {
        started.push_back((program ? std::string(program) : "<search>") + "|" + commandLine);
        return startWorks;
    }
    bool ShellOpen(const char* target) override
    {
        opened.push_back(target);
        return true;
    }
    std::vector<std::string> started;
    std::vector<std::string> opened;
    bool startWorks = true;
};

std::vector<std::string> Items(const CStringList& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<LPCSTR>(list.GetNext(pos)));
    return out;
}

class UpgradePathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.version = "01.02.03.04";
        settings.versionId = 1003;
        settings.upgradeServerPort = 7002;
        login = {};
        strcpy(login.serverVersion, "03.06.00.01");
    }

    FakeLauncher launcher;
    CClientSettings settings;
    LOGIN_INFO login;
};

} // namespace

TEST_F(UpgradePathTest, UpdaterCommandLineNamesEveryServer)
{
    CUpgradePath path(&launcher, nullptr, &settings, &login);
    CStringList servers;
    EXPECT_FALSE(path.StartUpdater(&servers, 8000, "C:\\Halvern\\", 936));
    EXPECT_TRUE(launcher.started.empty());

    servers.AddTail("10.0.0.1");
    servers.AddTail("10.0.0.2");
    EXPECT_TRUE(path.StartUpdater(&servers, 8000, "C:\\Program Files\\Halvern\\", 936));
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0],
              "C:\\Program Files\\Halvern\\Updater.exe|\"C:\\Program Files\\Halvern\\Updater.exe\""
              " /LANGFILE:english.ini /PRODUCTNAME:1003 /VERSIONTO:03.06.00.01"
              " /VERSIONFROM:01.02.03.04 /FILESERVER:10.0.0.1@10.0.0.1@8000"
              " /FILESERVER:10.0.0.2@10.0.0.2@8000");
    // Only code page 950 has a language file of its own; every other one gets English.
    EXPECT_NE(path.BuildUpdaterCommandLine("u", servers, 1, 950).find("/LANGFILE:trachinese.ini "),
              std::string::npos);
    EXPECT_NE(path.BuildUpdaterCommandLine("u", servers, 1, 1252).find("/LANGFILE:english.ini "),
              std::string::npos);

    launcher.startWorks = false;
    EXPECT_FALSE(path.StartUpdater(&servers, 8000, "C:\\Halvern\\", 936));
}

TEST_F(UpgradePathTest, OldServersAreTheirOwnUpdateServer)
{
    CUpgradePath path(&launcher, nullptr, &settings, &login);
    CStringList servers;
    servers.AddTail("stale");
    uint16_t port = 0;
    for (const char* version : {"03.06.00.00", "03.05.99.99", ""}) {
        strcpy(login.serverVersion, version);
        ASSERT_TRUE(path.GetUpdateServers("1.2.3.4", &servers, &port)) << version;
        EXPECT_EQ(Items(servers), (std::vector<std::string>{"1.2.3.4"}));
        EXPECT_EQ(port, 7002);
    }
}

TEST_F(UpgradePathTest, NewServersAreAskedForTheirUpdateServers)
{
    ASSERT_TRUE(StartWinsock());
    {
        CStandInServer server(StandInTestConfig());
        ASSERT_TRUE(server.Start(0));
        login.serverPort = server.GetPort();
        CCommandManager manager(nullptr, &login);
        CUpgradePath path(&launcher, &manager, &settings, &login);
        CStringList servers;
        uint16_t port = 0;
        ASSERT_TRUE(path.GetUpdateServers("127.0.0.1", &servers, &port));
        EXPECT_EQ(Items(servers), (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
        EXPECT_EQ(port, 8123);

        // A failed request shows its text and gives false.
        server.Stop();
        CTestKit::MessageBoxes boxes;
        EXPECT_FALSE(path.GetUpdateServers("127.0.0.1", &servers, &port));
        EXPECT_EQ(boxes.Shown().size(), 1u);
    }
    WSACleanup();
}

TEST_F(UpgradePathTest, BrowserFirstThenTheShellOnlyWhenItFails)
{
    CUpgradePath path(&launcher, nullptr, &settings, &login);
    EXPECT_TRUE(path.OpenDownloadPageInBrowser());
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_TRUE(launcher.opened.empty());

    launcher.startWorks = false;
    EXPECT_TRUE(path.OpenDownloadPageInBrowser());
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{PRODUCT_DOWNLOAD_ADDRESS}));
    EXPECT_TRUE(CUpgradePath::IsSameVersion("1.0", "1.0"));
    EXPECT_FALSE(CUpgradePath::IsSameVersion("1.0", "1.0 "));
}
