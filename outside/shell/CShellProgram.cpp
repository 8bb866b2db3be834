#include "CShellProgram.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

#include "CScreenCodec.h"
#include "ScreenRelayWire.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {

const char* const MESSAGE_CLASS = "HalvernShellMessages";
const char* const VIEW_CLASS = "HalvernShellView";
const int MAX_CAPTURE_WIDTH = 1600, MAX_CAPTURE_HEIGHT = 1200;

// Reads exactly length bytes; false when the connection ends or stop is
// set (checked every 100 ms: a blocked read is not always woken by a
// shutdown of its socket).
bool ReceiveAll(SOCKET s, void* data, size_t length, const std::atomic<bool>* stop = nullptr)
{
    char* p = static_cast<char*>(data);
    while (length) {
        if (stop) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(s, &ready);
            timeval wait = {0, 100 * 1000};
            const int state = select(0, &ready, nullptr, nullptr, &wait);
            if (*stop || state < 0)
                return false;
            if (state == 0)
                continue;
        }
        const int n = recv(s, p, static_cast<int>(std::min<size_t>(length, 1 << 20)), 0);
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool SendAll(SOCKET s, const void* data, size_t length)
{
    const char* p = static_cast<const char*>(data);
    while (length) {
        const int n = send(s, p, static_cast<int>(std::min<size_t>(length, 1 << 20)), 0);
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

HWND AsWindow(uint32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(value)); }

uint32_t AsValue(HWND hWnd) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hWnd)); }

} // namespace

CShellProgram::CShellProgram() {}

CShellProgram::~CShellProgram()
{
    Disconnect();
    if (m_block.IsMapped())
        ::UnmapViewOfFile(m_block.Data());
    if (m_mapping)
        ::CloseHandle(m_mapping);
}

bool CShellProgram::Open(const char* blockName)
{
    m_blockName = blockName ? blockName : "";
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_log.SetFile((std::string(temp) + "Shell-" + m_blockName + ".log").c_str(), 0);
    m_log.SetLevel(1);
    m_mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, m_blockName.c_str());
    if (!m_mapping)
        return false;
    void* view = ::MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RC_SHARE_BLOCK));
    if (!view)
        return false;
    m_block.Attach(view);

    HINSTANCE instance = ::GetModuleHandle(NULL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MessageProc;
    wc.hInstance = instance;
    wc.lpszClassName = MESSAGE_CLASS;
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = ViewProc;
    wc.lpszClassName = VIEW_CLASS;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = NULL;
    ::RegisterClassA(&wc);

    m_messages =
        ::CreateWindowA(MESSAGE_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, instance, this);
    m_view = ::CreateWindowA(VIEW_CLASS, "Shell", WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS,
                             CW_USEDEFAULT, 0, 320, 240, NULL, NULL, instance, this);
    if (!m_messages || !m_view)
        return false;
    m_block.SetU32(RC_OFF_MESSAGE_WINDOW, AsValue(m_messages));
    m_block.SetU32(RC_OFF_VIEW_WINDOW, AsValue(m_view));
    ::SetTimer(m_messages, TIMER_OWNER, OWNER_CHECK_MS, NULL);
    return true;
}

int CShellProgram::Run()
{
    MSG msg;
    while (::GetMessage(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    return 0;
}

LRESULT CALLBACK CShellProgram::MessageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<CShellProgram*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    return self ? self->OnMessage(hWnd, message, wParam, lParam)
                : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CShellProgram::ViewProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<CShellProgram*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    return self ? self->OnView(hWnd, message, wParam, lParam)
                : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CShellProgram::OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RC_NOTIFY:
        // Several notices may arrive for one written command: the slot is
        // emptied when it is taken, so each command is carried out once.
        OnCommand(m_block.TakeCommand());
        return 0;
    case WM_TIMER:
        if (wParam == TIMER_SEND)
            SendPicture();
        else if (wParam == TIMER_OWNER && !::IsWindow(AsWindow(m_block.U32(RC_OFF_OWNER_WINDOW))))
            ::PostQuitMessage(0); // the client is gone
        return 0;
    case WM_INPUT_IN: {
        auto* input = reinterpret_cast<uint8_t*>(lParam);
        if (m_state == SHARING)
            Inject(input);
        delete[] input;
        return 0;
    }
    case WM_LINK_LOST:
        if (static_cast<SOCKET>(wParam) == m_socket) {
            const State was = m_state;
            Disconnect();
            Report(was == SHARING ? RC_STATUS_ENDED : RC_STATUS_ENDED2,
                   "The server closed the connection");
        }
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

void CShellProgram::Report(uint32_t status, const char* error)
{
    m_log.Write(0, "status %u%s%s\n", status, error ? ": " : "", error ? error : "");
    if (error)
        m_block.SetErrorText(error);
    m_block.SetU32(RC_OFF_STATUS, status);
    HWND owner = AsWindow(m_block.U32(RC_OFF_OWNER_WINDOW));
    if (::IsWindow(owner))
        ::PostMessage(owner, WM_RC_NOTIFY, 0, 0);
}

void CShellProgram::OnCommand(uint32_t command)
{
    if (command)
        m_log.Write(0, "command %u in state %d\n", command, static_cast<int>(m_state));
    switch (command) {
    case RC_CMD_SHARE:
        // A new share replaces whatever ran, without an end notice (the
        // client has already moved on).
        Disconnect();
        if (Connect(SCREEN_ROLE_SHARER)) {
            m_state = SHARING;
            Report(RC_STATUS_STARTED);
            SendPicture();
            ::SetTimer(m_messages, TIMER_SEND, SEND_INTERVAL_MS, NULL);
        } else {
            Report(RC_STATUS_SHARE_FAILED);
        }
        break;
    case RC_CMD_VIEW:
        Disconnect();
        m_control = false;
        {
            std::lock_guard<std::mutex> guard(m_pictureLock);
            m_picture.clear();
            m_pictureWidth = m_pictureHeight = 0;
        }
        if (Connect(SCREEN_ROLE_VIEWER)) {
            m_state = VIEWING;
            ::InvalidateRect(m_view, NULL, TRUE);
            Report(RC_STATUS_VIEW_READY);
        } else {
            Report(RC_STATUS_VIEW_FAILED);
        }
        break;
    case RC_CMD_STOP: {
        const State was = m_state;
        Disconnect();
        Report(was == SHARING ? RC_STATUS_ENDED : RC_STATUS_ENDED2);
        break;
    }
    case RC_CMD_QUIT:
        Disconnect();
        ::PostQuitMessage(0);
        break;
    case RC_CMD_CONTROL_GRANTED:
        m_control = true;
        break;
    case RC_CMD_CONTROL_REVOKED:
        m_control = false;
        break;
    case RC_CMD_APPLY_OPTIONS:
        ::InvalidateRect(m_view, NULL, TRUE);
        if (m_state == SHARING)
            SendPicture();
        break;
    default:
        break;
    }
}

bool CShellProgram::Connect(uint8_t role)
{
    const std::string address = m_block.GetServerAddress();
    const uint16_t port = m_block.U16(RC_OFF_SERVER_PORT);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr(address.c_str());
    if (a.sin_addr.s_addr == INADDR_NONE || port == 0) {
        m_block.SetErrorText("No server address");
        return false;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return false;
    DWORD timeout = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    uint8_t hello[sizeof(SCREEN_RELAY_HEAD) + sizeof(SCREEN_HELLO)];
    WireWriter w(hello, sizeof hello);
    w.U32(sizeof(SCREEN_HELLO));
    w.U8(SCREEN_RELAY_HELLO);
    w.Zeros(3);
    w.U32(m_block.U32(RC_OFF_ROOM_ID));
    w.U32(m_block.U32(RC_OFF_USER_ID));
    w.U8(role);
    w.Zeros(3);
    uint8_t answer[sizeof(SCREEN_RELAY_HEAD)] = {};
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        !SendAll(s, hello, sizeof hello) || !ReceiveAll(s, answer, sizeof answer) ||
        answer[4] != SCREEN_RELAY_WELCOME) {
        m_block.SetErrorText("The server did not take the screen connection");
        closesocket(s);
        return false;
    }
    timeout = 0;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    m_socket = s;
    m_reader = std::thread(&CShellProgram::ReadLoop, this, s);
    return true;
}

void CShellProgram::Disconnect()
{
    if (m_messages)
        ::KillTimer(m_messages, TIMER_SEND);
    m_stopReading = true;
    if (m_socket != INVALID_SOCKET)
        shutdown(m_socket, SD_BOTH);
    if (m_reader.joinable())
        m_reader.join();
    m_stopReading = false;
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    m_state = IDLE;
    m_control = false;
}

void CShellProgram::ReadLoop(SOCKET s)
{
    for (;;) {
        uint8_t head[sizeof(SCREEN_RELAY_HEAD)];
        if (!ReceiveAll(s, head, sizeof head, &m_stopReading))
            break;
        WireReader r(head, sizeof head);
        uint32_t length = 0;
        uint8_t kind = 0;
        r.U32(length);
        r.U8(kind);
        if (length > SCREEN_RELAY_MAX_BODY)
            break;
        std::vector<uint8_t> body(length);
        if (!ReceiveAll(s, body.data(), length, &m_stopReading))
            break;
        if (kind == SCREEN_RELAY_PICTURE && body.size() >= sizeof(SCREEN_PICTURE)) {
            WireReader p(body.data(), body.size());
            uint32_t sender = 0;
            uint16_t width = 0, height = 0;
            uint8_t format = 0;
            p.U32(sender);
            p.U16(width);
            p.U16(height);
            p.U8(format);
            std::vector<uint32_t> pixels;
            // A picture that does not decode is skipped; the next one may.
            if (CScreenCodec::Decode(body.data() + sizeof(SCREEN_PICTURE),
                                     body.size() - sizeof(SCREEN_PICTURE), width, height, format,
                                     pixels)) {
                {
                    std::lock_guard<std::mutex> guard(m_pictureLock);
                    m_picture.swap(pixels);
                    m_pictureWidth = width;
                    m_pictureHeight = height;
                }
                ::PostMessage(m_view, WM_PICTURE, 0, 0);
                m_log.Write(1, "picture %ux%u from %u\n", width, height, sender);
            }
        } else if (kind == SCREEN_RELAY_INPUT && body.size() == sizeof(SCREEN_INPUT)) {
            uint8_t* input = new uint8_t[sizeof(SCREEN_INPUT)];
            memcpy(input, body.data(), sizeof(SCREEN_INPUT));
            if (!::PostMessage(m_messages, WM_INPUT_IN, 0, reinterpret_cast<LPARAM>(input)))
                delete[] input;
        }
    }
    ::PostMessage(m_messages, WM_LINK_LOST, static_cast<WPARAM>(s), 0);
}

bool CShellProgram::Capture(std::vector<uint32_t>& pixels, RECT& area)
{
    HWND shared = AsWindow(m_block.U32(RC_OFF_SHARED_WINDOW));
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    area = screen;
    if (shared && shared != ::GetDesktopWindow() && ::IsWindow(shared)) {
        RECT r;
        ::GetWindowRect(shared, &r);
        if (!::IntersectRect(&area, &r, &screen))
            return false;
    }
    area.right = std::min<LONG>(area.right, area.left + MAX_CAPTURE_WIDTH);
    area.bottom = std::min<LONG>(area.bottom, area.top + MAX_CAPTURE_HEIGHT);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC source = ::GetDC(NULL);
    HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = false;
    if (dib) {
        HGDIOBJ old = ::SelectObject(memory, dib);
        ok = ::BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        if (ok) {
            const uint32_t* p = static_cast<const uint32_t*>(bits);
            pixels.assign(p, p + static_cast<size_t>(width) * height);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(dib);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(NULL, source);
    return ok;
}

void CShellProgram::SendPicture()
{
    if (m_state != SHARING || m_socket == INVALID_SOCKET)
        return;
    std::vector<uint32_t> pixels;
    RECT area;
    if (!Capture(pixels, area)) {
        m_log.Write(0, "nothing to capture\n");
        return;
    }
    m_captured = area;
    const uint16_t width = static_cast<uint16_t>(area.right - area.left);
    const uint16_t height = static_cast<uint16_t>(area.bottom - area.top);
    const uint8_t format =
        m_block.U8(RC_OFF_COMPRESS8) ? SCREEN_FORMAT_RUNS8 : SCREEN_FORMAT_RUNS24;
    const std::vector<uint8_t> runs = CScreenCodec::Encode(pixels.data(), width, height, format);
    const size_t body = sizeof(SCREEN_PICTURE) + runs.size();
    if (body > SCREEN_RELAY_MAX_BODY)
        return;
    std::vector<uint8_t> message(sizeof(SCREEN_RELAY_HEAD) + body);
    WireWriter w(message.data(), message.size());
    w.U32(static_cast<uint32_t>(body));
    w.U8(SCREEN_RELAY_PICTURE);
    w.Zeros(3);
    w.U32(m_block.U32(RC_OFF_USER_ID));
    w.U16(width);
    w.U16(height);
    w.U8(format);
    w.Zeros(3);
    w.Bytes(runs.data(), runs.size());
    std::lock_guard<std::mutex> guard(m_sendLock);
    if (!SendAll(m_socket, message.data(), message.size()))
        m_log.Write(0, "a picture could not be sent\n");
    else
        m_log.Write(1, "picture %ux%u at %d,%d sent, %u bytes\n", width, height,
                    static_cast<int>(area.left), static_cast<int>(area.top),
                    static_cast<unsigned>(message.size()));
}

void CShellProgram::Inject(const uint8_t* data)
{
    WireReader r(data, sizeof(SCREEN_INPUT));
    uint32_t message = 0, key = 0;
    int32_t x = 0, y = 0;
    r.U32(message);
    r.I32(x);
    r.I32(y);
    r.U32(key);
    const int width = m_captured.right - m_captured.left,
              height = m_captured.bottom - m_captured.top;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    INPUT in = {};
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        ::SetCursorPos(m_captured.left + x, m_captured.top + y);
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = message == WM_LBUTTONDOWN   ? MOUSEEVENTF_LEFTDOWN
                        : message == WM_LBUTTONUP   ? MOUSEEVENTF_LEFTUP
                        : message == WM_RBUTTONDOWN ? MOUSEEVENTF_RIGHTDOWN
                        : message == WM_RBUTTONUP   ? MOUSEEVENTF_RIGHTUP
                                                    : 0;
        if (in.mi.dwFlags)
            ::SendInput(1, &in, sizeof in);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = static_cast<WORD>(key & 0xFF);
        in.ki.dwFlags = message == WM_KEYUP ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &in, sizeof in);
        break;
    default:
        break;
    }
}

RECT CShellProgram::PictureRect(int width, int height)
{
    RECT client;
    ::GetClientRect(m_view, &client);
    RECT out = {0, 0, width, height};
    if (width <= 0 || height <= 0)
        return out;
    if (m_block.U8(RC_OFF_FIT)) {
        // The whole picture in the view, its proportions kept, centred.
        const int cw = client.right, ch = client.bottom;
        int w = cw, h = static_cast<int>(static_cast<int64_t>(height) * cw / width);
        if (h > ch) {
            h = ch;
            w = static_cast<int>(static_cast<int64_t>(width) * ch / height);
        }
        out.left = (cw - w) / 2;
        out.top = (ch - h) / 2;
        out.right = out.left + w;
        out.bottom = out.top + h;
    } else if (m_block.U8(RC_OFF_SCALED)) {
        const uint32_t num = std::max<uint32_t>(1, m_block.U32(RC_OFF_SCALE_NUM));
        const uint32_t den = std::max<uint32_t>(1, m_block.U32(RC_OFF_SCALE_DEN));
        out.right = static_cast<LONG>(static_cast<int64_t>(width) * num / den);
        out.bottom = static_cast<LONG>(static_cast<int64_t>(height) * num / den);
    }
    return out;
}

void CShellProgram::Paint(HDC dc)
{
    RECT client;
    ::GetClientRect(m_view, &client);
    std::lock_guard<std::mutex> guard(m_pictureLock);
    const RECT at = PictureRect(m_pictureWidth, m_pictureHeight);
    m_log.Write(1, "paint %dx%d into %d,%d-%d,%d\n", m_pictureWidth, m_pictureHeight,
                static_cast<int>(at.left), static_cast<int>(at.top), static_cast<int>(at.right),
                static_cast<int>(at.bottom));
    // White around the picture.
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    RECT parts[4] = {{0, 0, client.right, at.top},
                     {0, at.bottom, client.right, client.bottom},
                     {0, at.top, at.left, at.bottom},
                     {at.right, at.top, client.right, at.bottom}};
    if (m_picture.empty()) {
        ::FillRect(dc, &client, white);
        return;
    }
    for (RECT& r : parts)
        if (r.right > r.left && r.bottom > r.top)
            ::FillRect(dc, &r, white);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = m_pictureWidth;
    bi.bmiHeader.biHeight = -m_pictureHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0,
                    m_pictureWidth, m_pictureHeight, m_picture.data(), &bi, DIB_RGB_COLORS,
                    SRCCOPY);
}

void CShellProgram::ForwardInput(UINT message, LPARAM lParam, WPARAM key)
{
    if (m_state != VIEWING || !m_control || m_socket == INVALID_SOCKET)
        return;
    int width = 0, height = 0;
    {
        std::lock_guard<std::mutex> guard(m_pictureLock);
        width = m_pictureWidth;
        height = m_pictureHeight;
    }
    const RECT at = PictureRect(width, height);
    int32_t x = 0, y = 0;
    if (message != WM_KEYDOWN && message != WM_KEYUP) {
        const int vx = static_cast<short>(LOWORD(lParam)), vy = static_cast<short>(HIWORD(lParam));
        if (at.right <= at.left || at.bottom <= at.top || vx < at.left || vy < at.top ||
            vx >= at.right || vy >= at.bottom)
            return;
        x = static_cast<int32_t>(static_cast<int64_t>(vx - at.left) * width / (at.right - at.left));
        y = static_cast<int32_t>(static_cast<int64_t>(vy - at.top) * height / (at.bottom - at.top));
    }
    uint8_t m[sizeof(SCREEN_RELAY_HEAD) + sizeof(SCREEN_INPUT)];
    WireWriter w(m, sizeof m);
    w.U32(sizeof(SCREEN_INPUT));
    w.U8(SCREEN_RELAY_INPUT);
    w.Zeros(3);
    w.U32(message);
    w.I32(x);
    w.I32(y);
    w.U32(static_cast<uint32_t>(key));
    std::lock_guard<std::mutex> guard(m_sendLock);
    SendAll(m_socket, m, sizeof m);
}

LRESULT CShellProgram::OnView(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PICTURE:
        ::InvalidateRect(hWnd, NULL, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hWnd, &ps);
        Paint(dc);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_SIZE:
        ::InvalidateRect(hWnd, NULL, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
        ForwardInput(message, lParam, 0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        ForwardInput(message, 0, wParam);
        return 0;
    case WM_CLOSE:
        // The view belongs to the client's page; it is not closed by itself.
        ::ShowWindow(hWnd, SW_HIDE);
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
