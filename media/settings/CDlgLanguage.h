#pragma once
#include "CSkinDialog.h"
#include "CStandardSkinButton.h"

// The language dialog: lists the language files; OK with another language
// makes it current and tells every window of the thread.
class CDlgLanguage : public CSkinDialog
{
public:
    CDlgLanguage(CWnd* parent = nullptr);

    // Sends the language-changed message to every window of this thread,
    // children included; gives how many windows got it.
    static int BroadcastLanguageChanged();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CStandardSkinButton m_ok;
    CStandardSkinButton m_cancel;
};
