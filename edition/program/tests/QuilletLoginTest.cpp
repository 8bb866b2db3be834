// The earlier edition's start-up and login differences: the fixed servers,
// the login-mode tabs of the template, the setup download on another server
// version, the result texts and the binding that ends start-up.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgSelectConf.h"
#include "CLanguageManager.h"
#include "CQuilletApp.h"
#include "CQuilletDlgLogin.h"
#include "CQuilletResultCodes.h"
#include "CTcpLink.h"
#include "CTestKit.h"
#include "FakeLauncher.h"
#include "ILibraryLoader.h"
#include "MemorySettingsStore.h"
#include "ProgramResource.h"
#include "QuilletConfig.h"
#include "StandInTestKit.h"

namespace {

std::string Text(CWnd& dlg, int id)
{
    CString text;
    dlg.GetDlgItemText(id, text);
    return static_cast<LPCSTR>(text);
}

void SetText(CWnd& dlg, int id, const char* text) { dlg.SetDlgItemText(id, text); }

void Click(CWnd& dlg, int id)
{
    CTestKit::ClickButton(dlg.GetDlgItem(id)->GetSafeHwnd());
    CTestKit::PumpPending();
}

std::string LoadId(UINT id)
{
    std::string text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

class QuilletLogin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        CServerConfig config = StandInTestConfig();
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        memset(&g_LoginInfo, 0, sizeof g_LoginInfo);
        g_LoginInfo.serverPort = server->GetPort();
        g_Settings = CClientSettings();
        g_Settings.version = config.version;
        g_CmdManager.SetReplyWaits(5, 5);
        FreeConferenceList(g_ConfList);
        app.SetProcessLauncher(&launcher);
        app.SetAppFolder("C:\\Quillet Test\\");
        g_pClientApp = &app;
        store.strings[MemorySettingsStore::Path(LOGIN_HISTORY_KEY, "IP0")] = "127.0.0.1";
    }
    void TearDown() override
    {
        g_CmdManager.Close();
        FreeConferenceList(g_ConfList);
        g_pClientApp = nullptr;
        server->Stop();
        WSACleanup();
    }

    INT_PTR RunLogin(CDlgLogin& dlg, const std::function<void(CDlgLogin&)>& action)
    {
        dlg.SetSettingsStore(&store);
        return CTestKit::RunModal(
            dlg, [&](CDialog&) { action(dlg); }, 20000);
    }

    std::unique_ptr<CStandInServer> server;
    CQuilletApp app;
    FakeLauncher launcher;
    MemorySettingsStore store;
};

// Loads every library and resolves every name but one.
class LoaderWithout : public ILibraryLoader
{
public:
    explicit LoaderWithout(const char* missing) : m_missing(missing) {}
    HMODULE Load(const char* path) override
    {
        loads.push_back(path);
        return reinterpret_cast<HMODULE>(static_cast<INT_PTR>(loads.size()));
    }
    FARPROC Resolve(HMODULE, const char* name) override
    {
        resolved.push_back(name);
        return m_missing == name ? nullptr : reinterpret_cast<FARPROC>(&LoaderWithout::Dummy);
    }
    static int Dummy() { return 0; }
    std::vector<std::string> loads;
    std::vector<std::string> resolved;

private:
    std::string m_missing;
};

} // namespace

TEST(QuilletServerText, FixedNamesAreTrimmedAndMappedOtherTextsStayAsTyped)
{
    struct Case
    {
        const char* typed;
        const char* used;
    } cases[] = {
        {"双线服务器", QUILLET_SERVER_ADDRESS_1},
        {"  双线服务器 \t", QUILLET_SERVER_ADDRESS_1},
        {" 电信服务器", QUILLET_SERVER_ADDRESS_2},
        {"10.1.2.3", "10.1.2.3"},
        {"meeting.example.com", "meeting.example.com"},
        {"brovik", "brovik"}, // no name is looked up in this edition
        {"双线服务器2", "双线服务器2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(CQuilletDlgLogin::MapServer(c.typed)), c.used) << c.typed;
}

TEST(QuilletResultTexts, EveryCodeHasItsTextAndOthersTheUnknownOne)
{
    struct Case
    {
        uint16_t code;
        UINT id;
    } cases[] = {
        {0, 61455},   {2, 61457},    {257, 61458},  {260, 61461},   {261, 61462},
        {262, 61463}, {265, 61466},  {272, 61467},  {277, 61472},   {280, 61607},
        {284, 61611}, {2064, 61612}, {4097, 61473}, {4098, 61474},  {32771, 61615},
        {3, 61475},   {266, 61475},  {278, 61475},  {65535, 61475},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuilletResultCodes::TextId(c.code), c.id) << c.code;

    // The connection's texts follow the edition's table once it is set.
    CCommandManager manager;
    char text[CCommandManager::TEXT_SIZE] = {};
    manager.GetResultText(261, text);
    EXPECT_EQ(std::string(text), LoadId(61475))
        << "the current edition has no text of its own for 261";
    manager.SetResultTextIds(&CQuilletResultCodes::TextId);
    manager.GetResultText(261, text);
    EXPECT_EQ(std::string(text), "用户无权访问该会议室!");
}

TEST_F(QuilletLogin, TemplateTabsRefuseOtherLoginModesAndNothingIsSent)
{
    CDlgSelectConf rooms;
    CQuilletDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDOK);
    RunLogin(dlg, [&](CDlgLogin& d) {
        // The tab strip is the template's own control.
        EXPECT_EQ(d.GetDlgItem(IDC_LOGIN_TABS)->GetSafeHwnd(), d.m_tabs.GetSafeHwnd());
        EXPECT_EQ(d.m_tabs.GetItemCount(), 3);
        EXPECT_EQ(Text(d, IDC_SERVER_LABEL), "服务器IP:");
        for (int tab : {1, 2}) {
            d.m_tabs.SetCurSel(tab);
            SetText(d, IDC_USER_NAME, "host");
            SetText(d, IDC_PASSWORD, "pw");
            Click(d, IDC_NEXT);
            EXPECT_EQ(d.GetNextState(), 0u);
        }
        d.EndDialog(IDCANCEL);
    });
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "登陆失败");
    EXPECT_EQ(g_ConfList.GetSize(), 0) << "nothing was asked of the server";

    // The first mode logs in.
    CQuilletDlgLogin first;
    first.SetSelectConf(&rooms);
    RunLogin(first, [&](CDlgLogin& d) {
        SetText(d, IDC_USER_NAME, "host");
        SetText(d, IDC_PASSWORD, "pw");
        Click(d, IDC_NEXT);
    });
    EXPECT_EQ(first.GetNextState(), 2u);
    EXPECT_EQ(g_ConfList.GetSize(), 2);
}

TEST_F(QuilletLogin, AnotherVersionOpensTheSetupDownloadAndStartsNoUpdater)
{
    g_Settings.version = "01.00.00.00";
    CDlgSelectConf rooms;
    CQuilletDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDCANCEL);
    RunLogin(dlg, [&](CDlgLogin& d) {
        d.SetNextState(5);
        Click(d, IDC_NEXT);
        EXPECT_EQ(d.GetNextState(), 5u) << "Cancel keeps the dialog";
        d.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(launcher.opened.empty());

    boxes.SetAnswer(IDOK);
    CQuilletDlgLogin upgrade;
    upgrade.SetSelectConf(&rooms);
    INT_PTR result = RunLogin(upgrade, [&](CDlgLogin& d) { Click(d, IDC_NEXT); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(upgrade.GetNextState(), 0u);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, LoadId(61595));
    EXPECT_EQ(launcher.opened, std::vector<std::string>{QUILLET_SETUP_ADDRESS});
    EXPECT_TRUE(launcher.started.empty()) << "no updater";
}

TEST(QuilletApp, MissingRavoTMNameEndsStartUpBeforeAnyAudioCall)
{
    CQuilletApp app;
    LoaderWithout loader("D_G_GetPlayEnergy");
    MemorySettingsStore store;
    app.SetLibraryLoader(&loader);
    app.SetSettingsStore(&store);
    app.SetAppFolder("C:\\Quillet Missing\\");
    CTestKit::MessageBoxes boxes(IDOK);
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "请重新安装系统！");
    EXPECT_EQ(loader.loads.size(), 3u);
    EXPECT_TRUE(loader.loads[0].find("RavoTM.dll") != std::string::npos) << loader.loads[0];
    ASSERT_FALSE(loader.resolved.empty());
    EXPECT_EQ(loader.resolved.back(), "D_G_GetPlayEnergy");
    EXPECT_EQ(loader.resolved.size(), 21u);
    EXPECT_EQ(app.Audio(), nullptr);
    g_CmdManager.SetResultTextIds(nullptr);
}
