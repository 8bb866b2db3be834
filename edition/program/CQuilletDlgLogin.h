#pragma once
#include "CDlgLogin.h"

// The login dialog of this edition: the two fixed servers by name and any
// other text as typed (no name is looked up), the account page behind the
// link, the login-mode tabs of the template.
class CQuilletDlgLogin : public CDlgLogin
{
public:
    explicit CQuilletDlgLogin(CWnd* parent = NULL) : CDlgLogin(parent) {}

    // Trimmed; a fixed server's name becomes its address.
    static CString MapServer(const CString& text);
    CString MapServerText(const CString& text) const override { return MapServer(text); }

    BOOL OnInitDialog() override;
};
