#include "CDlgLogin.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <string>

#include "CClientApp.h"
#include "CCommandManager.h"
#include "CUpgradePath.h"
#include "ClientUtil.h"
#include "ProgramResource.h"

const char* const CDlgLogin::DEFAULT_SERVERS[2] = {"61.155.20.77", "218.4.58.130"};
const char* const CDlgLogin::DEFAULT_SERVER_LABELS[2] = {"双线服务器", "电信服务器"};
const char* const CDlgLogin::SERVER_ALIAS = "brovik";
const char* const CDlgLogin::SERVER_HOST_NAME = "meeting.brovik.com";

namespace {

// Copies text into a fixed field; false (and nothing copied) when it does not fit.
template <size_t N>
bool CopyBounded(char (&field)[N], const CString& text)
{
    if (static_cast<size_t>(text.GetLength()) >= N)
        return false;
    memcpy(field, static_cast<LPCSTR>(text), text.GetLength() + 1);
    return true;
}

CString LastAddressOf(const char* host)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return CString();
    CString last;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr)
            continue;
        const sockaddr_in* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        const unsigned char* b = reinterpret_cast<const unsigned char*>(&in->sin_addr);
        last.Format("%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    }
    freeaddrinfo(found);
    return last;
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgLogin, CSkinDialog)
    ON_BN_CLICKED(IDC_BACK, OnBack)
    ON_BN_CLICKED(IDC_NEXT, OnLogin)
    ON_MESSAGE(WM_TAB_PAGE_CHANGED, OnTabChanged)
END_MESSAGE_MAP()

CDlgLogin::CDlgLogin(CWnd* parent)
    : CSkinDialog(IDD_LOGIN, "CDlgLogin", parent), m_registry(""), m_store(&m_registry)
{}

CDlgLogin::~CDlgLogin() {}

void CDlgLogin::SetSettingsStore(ISettingsStore* store) { m_store = store ? store : &m_registry; }

void CDlgLogin::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SERVER, m_comboServer);
    DDX_Control(pDX, IDC_USER_NAME, m_editUserName);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Control(pDX, IDC_MORE_LINK, m_linkMore);
    DDX_Control(pDX, IDC_BACK, m_btnBack);
    DDX_Control(pDX, IDC_NEXT, m_btnLogin);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_CBString(pDX, IDC_SERVER, m_strServer);
    DDX_Text(pDX, IDC_USER_NAME, m_strUserName);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Check(pDX, IDC_REMEMBER, m_nRemember);
}

BOOL CDlgLogin::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_editUserName.LimitText(MAX_USER);
    m_editPassword.LimitText(MAX_PASSWORD);

    m_comboServer.ResetContent();
    LoadServerHistory();
    if (m_comboServer.GetCount() > 0) {
        m_comboServer.SetCurSel(0);
        m_comboServer.GetLBText(0, m_strServer);
    }
    LoadUserSettings();
    SaveServerHistory(m_strServer);
    m_linkMore.SetURL(PRODUCT_WEB_ADDRESS);
    UpdateData(FALSE);

    // The tab strip is the template's when it has one; otherwise it lies
    // along the top of the dialog.
    CRect tabs(7, 4, 223, 22);
    MapDialogRect(&tabs);
    const bool tabsMade =
        GetDlgItem(IDC_LOGIN_TABS)
            ? m_tabs.SubclassDlgItem(IDC_LOGIN_TABS, this) != FALSE
            : m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER, tabs, this,
                            IDC_LOGIN_TABS) != FALSE;
    if (tabsMade) {
        m_tabs.InsertItem(0, "普通登陆");
        m_tabs.InsertItem(1, "email登陆");
        m_tabs.InsertItem(2, "手机号登陆");
        m_tabs.SetCurSel(0);
    }
    return TRUE;
}

void CDlgLogin::LoadServerHistory()
{
    for (int i = 0; i < HISTORY_COUNT; ++i) {
        char name[8];
        snprintf(name, sizeof name, "IP%d", i);
        std::string server;
        if (m_store->ReadString(LOGIN_HISTORY_KEY, name, 255, &server))
            m_comboServer.AddString(server.c_str());
    }
}

void CDlgLogin::SaveServerHistory(const char* server)
{
    CString saved = server ? server : "";
    for (int i = 0; i < 2; ++i) {
        if (saved == DEFAULT_SERVERS[i]) {
            m_strServer = DEFAULT_SERVER_LABELS[i];
            if (m_comboServer.GetSafeHwnd())
                m_comboServer.SetWindowText(m_strServer);
        }
    }
    m_store->WriteString(LOGIN_HISTORY_KEY, "IP0", saved, true);
    if (!m_comboServer.GetSafeHwnd())
        return;
    int next = 1;
    for (int i = 0; i < m_comboServer.GetCount(); ++i) {
        CString item;
        m_comboServer.GetLBText(i, item);
        if (item == saved)
            continue;
        char name[16];
        snprintf(name, sizeof name, "IP%d", next++);
        m_store->WriteString(LOGIN_HISTORY_KEY, name, item, true);
    }
}

void CDlgLogin::LoadUserSettings()
{
    std::string user;
    if (m_store->ReadString(LOGIN_HISTORY_KEY, "UserName", 30, &user))
        m_strUserName = user.c_str();
    DWORD remember = 0;
    if (m_store->ReadDword(LOGIN_HISTORY_KEY, "Reserve", &remember))
        m_nRemember = remember ? 1 : 0;
    if (m_nRemember) {
        std::string password;
        if (m_store->ReadString(LOGIN_PASSWORD_KEY, "UserPWD", 256, &password))
            m_strPassword = password.c_str();
    }
}

void CDlgLogin::SaveUserSettings()
{
    m_store->WriteString(LOGIN_HISTORY_KEY, "UserName", m_strUserName, true);
    m_store->WriteDword(LOGIN_HISTORY_KEY, "Reserve", m_nRemember ? 1 : 0);
    if (m_nRemember)
        m_store->WriteString(LOGIN_PASSWORD_KEY, "UserPWD", m_strPassword, true);
    else
        m_store->DeleteValue(LOGIN_PASSWORD_KEY, "UserPWD"); // forgotten when no longer wanted
}

CString CDlgLogin::ResolveServerText(const CString& text)
{
    for (int i = 0; i < 2; ++i) {
        if (text == DEFAULT_SERVER_LABELS[i])
            return DEFAULT_SERVERS[i];
    }
    if (text == SERVER_ALIAS) {
        CString address = LastAddressOf(SERVER_HOST_NAME);
        if (!address.IsEmpty())
            return address;
    }
    return text;
}

LRESULT CDlgLogin::OnTabChanged(WPARAM index, LPARAM)
{
    static const char* const labels[] = {"帐号：", "e-mail：", "手机号："};
    if (index < 3)
        SetDlgItemText(IDC_USER_LABEL, labels[index]);
    return 0;
}

void CDlgLogin::OnOK() { OnLogin(); }

void CDlgLogin::OnLogin()
{
    if (m_tabs.GetSafeHwnd() && m_tabs.GetCurSel() > 0) {
        ShowMessage("登陆失败");
        return;
    }
    if (!UpdateData(TRUE))
        return;
    m_strServer.TrimLeft();
    m_strServer.TrimRight();
    if (m_strServer.IsEmpty()) {
        m_comboServer.SetFocus();
        return;
    }
    CString address = MapServerText(m_strServer);
    if (address.GetLength() > MAX_SERVER) {
        // No address is that long; the field could not hold it.
        m_comboServer.SetFocus();
        return;
    }
    CClientApp* app = g_pClientApp;
    if (!app) {
        ShowMessageById(61480);
        return;
    }
    if (!app->CheckServerVersion(address)) {
        ShowMessageById(61481);
        return;
    }
    if (!app->IsSameVersion()) {
        if (AskMainWindowById(61595) != IDCANCEL)
            UpgradeAndQuit();
        return;
    }
    CopyBounded(g_LoginInfo.serverAddress, address);
    SaveServerHistory(address);
    if (!m_pSelectConf) {
        ShowMessageById(61480);
        return;
    }
    if (m_strUserName.IsEmpty()) {
        m_editUserName.SetFocus();
        return;
    }
    if (m_strPassword.IsEmpty()) {
        m_editPassword.SetFocus();
        return;
    }
    if (!CopyBounded(g_LoginInfo.userName, m_strUserName)) {
        m_editUserName.SetFocus();
        return;
    }
    if (!CopyBounded(g_LoginInfo.password, m_strPassword)) {
        m_editPassword.SetFocus();
        return;
    }
    // A second login replaces the rooms of the first.
    FreeConferenceList(g_ConfList);
    char text[CCommandManager::TEXT_SIZE] = {};
    if (!g_CmdManager.GetConferenceList(
            g_LoginInfo.serverAddress, g_LoginInfo.userName, g_LoginInfo.password,
            static_cast<uint16_t>(g_LoginInfo.serverPort), &g_ConfList, text)) {
        ShowMessage(text);
        return;
    }
    m_nNextState = 2;
    SaveUserSettings();
    EndDialog(IDOK);
}

void CDlgLogin::UpgradeAndQuit()
{
    g_pClientApp->Upgrade(MapServerText(m_strServer), true);
    m_nNextState = 0;
    EndDialog(IDCANCEL);
}

void CDlgLogin::OnBack()
{
    m_nNextState = 1;
    EndDialog(IDOK);
}

void CDlgLogin::OnCancel()
{
    m_nNextState = 0;
    EndDialog(IDCANCEL);
}
