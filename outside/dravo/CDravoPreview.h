#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// The local preview of one capture: shows each captured picture in the
// caller's window and keeps the last one for saving.
class CDravoPreview
{
public:
    explicit CDravoPreview(HWND window);
    ~CDravoPreview();

    CDravoPreview(const CDravoPreview&) = delete;
    CDravoPreview& operator=(const CDravoPreview&) = delete;

    void SetRect(const RECT& rect);
    void SetRender(int value);
    void Show(const uint8_t* bgr, int width, int height);
    bool Save(const char* path);

    HWND GetWindow() const { return m_window; }

private:
    HWND m_window;
    CRITICAL_SECTION m_lock;
    RECT m_rect = {0, 0, 0, 0};
    int m_render = 1;
    std::vector<uint8_t> m_last;
    int m_width = 0;
    int m_height = 0;
};
