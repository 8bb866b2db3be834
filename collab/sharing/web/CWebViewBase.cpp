#include "CWebViewBase.h"

#include <mshtml.h>

#include "CScriptErrorSink.h"
#include "CWebFrameBase.h"

CWebViewBase::CWebViewBase() { WriteBrowserSettings(); }

void CWebViewBase::WriteBrowserSettings()
{
    HKEY key = NULL;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", 0,
                          NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    static const char yes[] = "yes", no[] = "no";
    ::RegSetValueExA(key, "Disable Script Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(yes),
                     sizeof yes);
    ::RegSetValueExA(key, "Error Dlg Displayed On Every Error", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(no), sizeof no);
    ::RegCloseKey(key);
}

void CWebViewBase::Replay(uint32_t flags, const std::string& address, const std::string& frame,
                          const std::string& headers, const std::vector<uint8_t>& post)
{
    m_address = address;
    m_target = frame;
    m_headers = headers;
    if (post.empty())
        Navigate2(m_address.c_str(), flags, m_target.c_str(), m_headers.c_str());
    else
        Navigate2(m_address.c_str(), flags, m_target.c_str(), m_headers.c_str(),
                  const_cast<uint8_t*>(post.data()), static_cast<DWORD>(post.size()));
}

void CWebViewBase::Release()
{
    // No longer a tab: what the empty page reports goes nowhere.
    m_tabId = 0;
    m_address.clear();
    m_target.clear();
    m_headers.clear();
    m_lastCompleted.clear();
    m_clicked = false;
    if (m_hWnd) {
        Navigate2("about:blank");
        ShowWindow(SW_HIDE);
    }
}

void CWebViewBase::OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR frame, CByteArray& post,
                                     LPCSTR headers, BOOL* cancel)
{
    if (m_frame && m_tabId) {
        NAV_FIELDS nav;
        nav.flags = flags;
        nav.address = url ? url : "";
        nav.frame = frame ? frame : "";
        nav.headers = headers ? headers : "";
        if (post.GetSize() > 0)
            nav.post.assign(post.GetData(), post.GetData() + post.GetSize());
        m_frame->OnViewNavigate(this, nav);
    }
    SetSilent(TRUE);
    if (cancel)
        *cancel = FALSE;
}

void CWebViewBase::OnNavigateComplete2(LPCSTR url)
{
    const std::string address = url ? url : "";
    if (m_tabId && address != m_lastCompleted) {
        m_lastCompleted = address;
        if (m_frame)
            m_frame->OnViewCompleted(this, address);
    }
    TidyPage();
}

void CWebViewBase::OnTitleChange(LPCSTR text)
{
    if (m_frame && m_tabId && text)
        m_frame->OnViewTitle(this, text);
}

void CWebViewBase::TidyPage()
{
    if (IDispatch* document = GetHtmlDocument()) {
        IHTMLDocument2* html = NULL;
        if (SUCCEEDED(
                document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) &&
            html) {
            IHTMLWindow2* window = NULL;
            if (SUCCEEDED(html->get_parentWindow(&window)) && window) {
                CScriptErrorSink* sink = CScriptErrorSink::Make();
                VARIANT handler;
                ::VariantInit(&handler);
                handler.vt = VT_DISPATCH;
                handler.pdispVal = sink;
                window->put_onerror(handler);
                IHTMLWindow2* parent = NULL;
                if (SUCCEEDED(window->get_parent(&parent)) && parent) {
                    parent->put_onerror(handler);
                    parent->Release();
                }
                sink->Release();
                window->Release();
            }
            html->Release();
        }
        document->Release();
    }
    if (m_hWnd) {
        ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME, 0);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}
