#include "CCaptureHotkey.h"

#include "CScreenCapture.h"
#include "ClientUtil.h"
#include "Hook.h"

CCaptureHotkey::CCaptureHotkey() : m_add(&AddHotkey), m_remove(&DeleteHotkey) {}

CCaptureHotkey::CCaptureHotkey(HOTKEY_FN add, HOTKEY_FN remove) : m_add(add), m_remove(remove) {}

void CCaptureHotkey::Disarm(HWND window)
{
    if (m_registration) {
        m_remove(window, KEY, 0);
        m_registration = 0;
    }
}

void CCaptureHotkey::Arm(HWND window)
{
    Disarm(window);
    m_registration = m_add(window, KEY, 0);
    if (!m_registration)
        ShowMessage("启动截图失败");
    ShowMessage("请按F9截图!");
}

std::string CCaptureHotkey::OnHotkey(HWND window, const std::string& folder)
{
    // A press after the capture (the key is gone) does nothing.
    if (!m_registration)
        return std::string();
    const std::string path = CScreenCapture::CaptureToFile(folder);
    Disarm(window);
    return path;
}
