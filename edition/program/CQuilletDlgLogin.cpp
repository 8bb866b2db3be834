#include "CQuilletDlgLogin.h"

#include "QuilletConfig.h"

CString CQuilletDlgLogin::MapServer(const CString& text)
{
    CString server = text;
    server.TrimLeft();
    server.TrimRight();
    if (server == QUILLET_SERVER_NAME_1)
        return QUILLET_SERVER_ADDRESS_1;
    if (server == QUILLET_SERVER_NAME_2)
        return QUILLET_SERVER_ADDRESS_2;
    return server;
}

BOOL CQuilletDlgLogin::OnInitDialog()
{
    CDlgLogin::OnInitDialog();
    m_linkMore.SetURL(QUILLET_ACCOUNT_PAGE);
    return TRUE;
}
