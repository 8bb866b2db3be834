#pragma once
#include <cstdint>

#include "CBitmapTabCtrl.h"
#include "CHyperLink.h"
#include "CSkinComboBox.h"
#include "CSkinDialog.h"
#include "CSkinEdit.h"
#include "CStandardSkinButton.h"
#include "CWin32SettingsStore.h"

class CDlgSelectConf;
class ISettingsStore;

// The registry keys of the login history and the remembered user.
#define LOGIN_HISTORY_KEY "SOFTWARE\\Brovik\\LOCAL"
#define LOGIN_PASSWORD_KEY                                                                         \
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindExtensions\\Static\\HardFind"

// The login dialog: server, user name and password; checks the server's
// version and fetches the room list; keeps the server history and the
// remembered user in the registry. Start-up reads the next state after it
// ended: 0 cancelled, 1 back to the login, 2 on to the room choice.
class CDlgLogin : public CSkinDialog
{
public:
    enum { MAX_USER = 20, MAX_PASSWORD = 15, MAX_SERVER = 15, HISTORY_COUNT = 10 };

    // The two fixed servers offered by name, and the product's alias whose
    // address a name look-up gives.
    static const char* const DEFAULT_SERVERS[2];
    static const char* const DEFAULT_SERVER_LABELS[2];
    static const char* const SERVER_ALIAS;
    static const char* const SERVER_HOST_NAME;

    explicit CDlgLogin(CWnd* parent = NULL);
    ~CDlgLogin() override;

    void SetSelectConf(CDlgSelectConf* rooms) { m_pSelectConf = rooms; }
    uint32_t GetNextState() const { return m_nNextState; }
    void SetNextState(uint32_t state) { m_nNextState = state; }
    // The registry by default.
    void SetSettingsStore(ISettingsStore* store);

    void LoadServerHistory();
    void SaveServerHistory(const char* server);
    void LoadUserSettings();
    void SaveUserSettings();

    // A server label back to its address, the alias to the address its host
    // name has; any other text as it is.
    static CString ResolveServerText(const CString& text);
    // The server text as the login uses it (the edition decides).
    virtual CString MapServerText(const CString& text) const { return ResolveServerText(text); }

    BOOL OnInitDialog() override;

    CString m_strUserName;
    CString m_strPassword;
    CString m_strServer;
    int m_nRemember = 0;

    CSkinComboBox m_comboServer;
    CSkinEdit m_editUserName;
    CSkinEdit m_editPassword;
    CBitmapTabCtrl m_tabs;
    CHyperLink m_linkMore;
    CStandardSkinButton m_btnBack;
    CStandardSkinButton m_btnLogin;
    CStandardSkinButton m_btnCancel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnBack();
    afx_msg void OnLogin();
    afx_msg LRESULT OnTabChanged(WPARAM index, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void UpgradeAndQuit();

    uint32_t m_nNextState = 0;
    CDlgSelectConf* m_pSelectConf = nullptr;
    CWin32SettingsStore m_registry;
    ISettingsStore* m_store;
};
