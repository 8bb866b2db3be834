#pragma once
#include <cstdint>

#include "CRoomListCtrl.h"
#include "CSkinDialog.h"
#include "CStandardSkinButton.h"

// The room choice after the login dialog: the rooms the server listed, and
// the login into the chosen one. Start-up reads the next state after it
// ended: 0 cancelled, 1 back to the login, 4 logged in.
class CDlgSelectConf : public CSkinDialog
{
public:
    explicit CDlgSelectConf(CWnd* parent = NULL);
    ~CDlgSelectConf() override;

    uint32_t GetNextState() const { return m_nNextState; }
    void SetNextState(uint32_t state) { m_nNextState = state; }

    BOOL OnInitDialog() override;

    CRoomListCtrl m_listRooms;
    CStandardSkinButton m_btnBack;
    CStandardSkinButton m_btnOk;
    CStandardSkinButton m_btnCancel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnBack();
    afx_msg void OnEnter();
    afx_msg void OnDblclkRooms(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    uint32_t m_nNextState = 0;
};
