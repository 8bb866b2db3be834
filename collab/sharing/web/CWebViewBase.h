#pragma once
#include "afxhtml.h"

#include <cstdint>
#include <string>
#include <vector>

class CWebFrameBase;

// A browser view of one tab of the shared web pages. The leader's views
// report every navigation to their frame, which tells the others; the
// others' views replay what they are told. Released views wait in their
// container's pool for the next tab.
class CWebViewBase : public CHtmlView
{
public:
    CWebViewBase();

    void Attach(CWebFrameBase* frame) { m_frame = frame; }
    uint32_t GetTabId() const { return m_tabId; }
    void SetTabId(uint32_t id) { m_tabId = id; }
    const std::string& GetAddress() const { return m_address; }
    const std::string& GetLastCompleted() const { return m_lastCompleted; }
    bool WasClicked() const { return m_clicked; }
    void SetClicked(bool clicked) { m_clicked = clicked; }

    // Navigates as a received record says (fields already checked).
    void Replay(uint32_t flags, const std::string& address, const std::string& frame,
                const std::string& headers, const std::vector<uint8_t>& post);
    // Back to an empty page, buffers and flags cleared, hidden.
    virtual void Release();

    // Writes the browser's settings that keep script errors from asking the
    // user (once per process).
    static void WriteBrowserSettings();

    void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR frame, CByteArray& post, LPCSTR headers,
                           BOOL* cancel) override;
    void OnNavigateComplete2(LPCSTR url) override;
    void OnTitleChange(LPCSTR text) override;

protected:
    // After a completed navigation: the script error sink on the page's
    // window and its parent, and no edges around the view.
    void TidyPage();

    CWebFrameBase* m_frame = nullptr;
    uint32_t m_tabId = 0;
    std::string m_address;
    std::string m_target;
    std::string m_headers;
    std::string m_lastCompleted;
    bool m_clicked = false;
};
