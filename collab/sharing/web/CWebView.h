#pragma once
#include "CWebViewBase.h"

// A co-browsing view: also keeps whether back and forward are possible,
// the status text and whether the user clicked into the page; a follower's
// clicks and keys never reach the page.
class CWebView : public CWebViewBase
{
public:
    bool CanGoBack() const { return m_canBack; }
    bool CanGoForward() const { return m_canForward; }
    const std::string& GetStatusText() const { return m_status; }

    void Release() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnCommandStateChange(long command, BOOL enable) override;
    void OnStatusTextChange(LPCSTR text) override;
    void OnNewWindow2(LPDISPATCH* disp, BOOL* cancel) override;
    void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR frame, CByteArray& post, LPCSTR headers,
                           BOOL* cancel) override;

    // Where every view's navigations go before they are made (an edition
    // that records the addresses); null: nowhere.
    static void SetNavigationRecorder(void (*record)(const char* address));

private:
    bool m_canBack = false;
    bool m_canForward = false;
    std::string m_status;
};
