#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CLogFile.h"
#include "RCShareBlock.h"

// The screen-sharing program: opens the block the client made, creates its
// message window and its view window, and carries out the client's
// commands. A sharer sends pictures of the chosen window (or the whole
// screen) to the server's application port; a viewer shows the pictures it
// gets there and, while it may control, sends its mouse and key input back.
class CShellProgram
{
public:
    enum : UINT {
        WM_PICTURE = WM_APP + 1,  // a new picture arrived
        WM_INPUT_IN = WM_APP + 2, // input for the shared screen (lParam: SCREEN_INPUT*)
        WM_LINK_LOST = WM_APP + 3,
    };
    enum : UINT { TIMER_SEND = 1, TIMER_OWNER = 2 };
    enum : UINT { SEND_INTERVAL_MS = 300, OWNER_CHECK_MS = 1000 };

    CShellProgram();
    ~CShellProgram();

    bool Open(const char* blockName);
    int Run();

private:
    static LRESULT CALLBACK MessageProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ViewProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnView(HWND, UINT, WPARAM, LPARAM);

    void OnCommand(uint32_t command);
    void Report(uint32_t status, const char* error = nullptr);
    bool Connect(uint8_t role);
    void Disconnect();
    void ReadLoop(SOCKET s);
    void SendPicture();
    bool Capture(std::vector<uint32_t>& pixels, RECT& area);
    void Inject(const uint8_t* input);
    void ForwardInput(UINT message, LPARAM lParam, WPARAM key);
    void Paint(HDC dc);
    // Where the picture lies in the view, by the display fields of the block.
    RECT PictureRect(int width, int height);

    // The developer log: "Shell-<block>.log" in the temporary folder.
    CLogFile m_log;
    std::string m_blockName;
    HANDLE m_mapping = NULL;
    CRCShareBlock m_block;
    HWND m_messages = NULL;
    HWND m_view = NULL;

    enum State { IDLE, SHARING, VIEWING } m_state = IDLE;
    bool m_control = false;
    SOCKET m_socket = INVALID_SOCKET;
    std::thread m_reader;
    std::atomic<bool> m_stopReading{false};
    std::mutex m_sendLock;
    RECT m_captured = {};

    std::mutex m_pictureLock;
    std::vector<uint32_t> m_picture;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
};
