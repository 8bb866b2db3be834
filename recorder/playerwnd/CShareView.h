#pragma once
#include "afxhtml.h"

#include <string>

// A presentation-board or co-browsing page of the player: it shows and
// navigates, nothing more. Navigation asked for from another thread is
// posted to the view's own thread.
class CShareView : public CHtmlView
{
public:
    CShareView() = default;

    BOOL CreateView(CWnd* parent, UINT id);
    // Any thread: the view navigates to the address on its own thread.
    void PostNavigate(const char* address);
    std::string GetLastAddress() const { return m_lastAddress; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    afx_msg LRESULT OnNavigateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    std::string m_lastAddress;
};
