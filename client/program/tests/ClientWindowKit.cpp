#include "ClientWindowKit.h"

#include <cstring>
#include <utility>

namespace windowkit {

namespace {

struct ChildSearch
{
    int id;
    const char* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND wnd, LPARAM param)
{
    ChildSearch* s = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(wnd) != s->id)
        return TRUE;
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls - 1);
    if (!s->cls || strstr(cls, s->cls))
        s->found.push_back(wnd);
    return TRUE;
}

struct TopSearch
{
    DWORD process;
    const char* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND wnd, LPARAM param)
{
    TopSearch* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->process || !IsWindowVisible(wnd))
        return TRUE;
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls - 1);
    if (!s->cls || strcmp(cls, s->cls) == 0)
        s->found.push_back(wnd);
    return TRUE;
}

} // namespace

std::vector<HWND> Controls(HWND top, int id, const char* cls)
{
    ChildSearch s = {id, cls, {}};
    if (top)
        EnumChildWindows(top, CollectChild, (LPARAM)&s);
    return s.found;
}

HWND Control(HWND top, int id, const char* cls)
{
    std::vector<HWND> all = Controls(top, id, cls);
    return all.empty() ? nullptr : all.front();
}

std::string Text(HWND wnd)
{
    std::vector<char> text(65536);
    SendMessageA(wnd, WM_GETTEXT, text.size() - 1, (LPARAM)text.data());
    return text.data();
}

std::vector<LRESULT> ListData(HWND list)
{
    std::vector<LRESULT> data;
    const LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i)
        data.push_back(SendMessageA(list, LB_GETITEMDATA, i, 0));
    return data;
}

std::vector<HWND> TopWindows(const HalvernProcess& client, const char* cls)
{
    TopSearch s = {client.process.dwProcessId, cls, {}};
    EnumWindows(CollectTop, (LPARAM)&s);
    return s.found;
}

HWND TitledWindow(const HalvernProcess& client, const char* text)
{
    for (HWND wnd : TopWindows(client))
        if (HalvernProcess::WindowText(wnd).find(text) != std::string::npos)
            return wnd;
    return nullptr;
}

bool InstallClient(HalvernProcess& client, const std::string& name, const std::string& version,
                   int serverPort, int filePort, std::string* error)
{
    if (!client.Install(name, error))
        return false;
    client.SetIni("Version", version);
    client.SetIni("ServerPort", std::to_string(serverPort));
    if (filePort != 0)
        client.SetIni("FtpServerPort", std::to_string(filePort));
    return true;
}

std::string BoxText(HWND dialog)
{
    std::string text;
    HWND child = nullptr;
    while ((child = FindWindowExA(dialog, child, "Static", nullptr)) != nullptr)
        text += Text(child) + "\n";
    return text;
}

HWND WaitForBox(HalvernProcess& client, const char* text, DWORD timeoutMs)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND wnd : TopWindows(client, "#32770"))
                if (BoxText(wnd).find(text) != std::string::npos) {
                    box = wnd;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return box;
}

HWND MainWindow(HalvernProcess& client, const std::string& count, DWORD timeoutMs)
{
    HWND frame = nullptr;
    WaitUntil(
        [&] {
            frame = nullptr;
            for (HWND wnd : TopWindows(client))
                if (HalvernProcess::WindowText(wnd).find("Halvern--") == 0) {
                    frame = wnd;
                    break;
                }
            return frame && HalvernProcess::WindowText(frame).find(count) != std::string::npos;
        },
        timeoutMs);
    return frame;
}

std::string Describe(HalvernProcess& client)
{
    std::string text;
    for (HWND wnd : TopWindows(client)) {
        char cls[128] = {};
        GetClassNameA(wnd, cls, sizeof cls - 1);
        text += "window \"" + HalvernProcess::WindowText(wnd) + "\" (" + cls + ")\n";
        HWND child = nullptr;
        while ((child = FindWindowExA(wnd, child, "Static", nullptr)) != nullptr)
            text += "  text \"" + HalvernProcess::WindowText(child) + "\"\n";
    }
    return text + "log:\n" + client.ReadFile("Quillet.log");
}

void Click(HWND button)
{
    PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 (LPARAM)button);
}

bool ClickControl(HWND top, int id)
{
    HWND button = Control(top, id);
    if (!button)
        return false;
    Click(button);
    return true;
}

void Command(HWND wnd, int id) { PostMessageA(wnd, WM_COMMAND, id, 0); }

bool Say(HWND frame, const char* line)
{
    enum : int { ID_CHAT_INPUT = 1005, ID_CHAT_SEND = 1006 };
    HWND input = Control(frame, ID_CHAT_INPUT, "Edit"),
         send = Control(frame, ID_CHAT_SEND, "Button");
    if (!input || !send)
        return false;
    SendMessageA(input, WM_SETTEXT, 0, (LPARAM)line);
    Click(send);
    return true;
}

bool Heard(HWND frame, const char* line)
{
    enum : int { ID_CHAT_HISTORY = 1008 };
    HWND history = Control(frame, ID_CHAT_HISTORY);
    return history && Text(history).find(line) != std::string::npos;
}

void DragIn(HWND wnd, POINT from, POINT to)
{
    const int steps = 6;
    for (int i = 0; i <= steps + 1; ++i) {
        const int k = i > steps ? steps : i;
        POINT p = {from.x + (to.x - from.x) * k / steps, from.y + (to.y - from.y) * k / steps};
        POINT screen = p;
        ClientToScreen(wnd, &screen);
        SetCursorPos(screen.x, screen.y);
        const UINT msg = i == 0 ? WM_LBUTTONDOWN : i > steps ? WM_LBUTTONUP : WM_MOUSEMOVE;
        PostMessageA(wnd, msg, i > steps ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
        Sleep(50);
    }
}

bool AnswerFileDialog(HWND dialog, const std::string& path)
{
    // The file name box: an edit of its own, or the edit of a combo box.
    for (int id : {0x47C, 0x480}) {
        std::vector<HWND> boxes = Controls(dialog, id);
        if (boxes.empty())
            continue;
        SendMessageA(boxes.front(), WM_SETTEXT, 0, (LPARAM)path.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     (LPARAM)GetDlgItem(dialog, IDOK));
        return true;
    }
    return false;
}

int CountShown(HWND frame, HWND wnd, const std::function<bool(COLORREF)>& match)
{
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int count = 0;
    if (w > 0 && h > 0) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        SelectObject(dc, old);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels((size_t)w * h);
        if (GetDIBits(dc, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS) == h)
            for (DWORD p : pixels)
                count += match(RGB((p >> 16) & 255, (p >> 8) & 255, p & 255)) ? 1 : 0;
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return count;
}

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }

bool IsPictureGreen(COLORREF c)
{
    return GetRValue(c) < 40 && GetGValue(c) > 130 && GetBValue(c) < 40;
}

HWND BoardOf(HWND frame)
{
    struct Search
    {
        static BOOL CALLBACK Visit(HWND wnd, LPARAM param)
        {
            if (HalvernProcess::WindowText(wnd) != "Whiteboard")
                return TRUE;
            *reinterpret_cast<HWND*>(param) = wnd;
            return FALSE;
        }
    };
    HWND board = nullptr;
    if (frame)
        EnumChildWindows(frame, Search::Visit, (LPARAM)&board);
    return board;
}

HWND ShownPage(HWND board)
{
    // The board's views: one page window per open document, the shown one
    // visible.
    enum : int { ID_WB_VIEWS = 129 };
    HWND views = board ? GetDlgItem(board, ID_WB_VIEWS) : nullptr;
    for (HWND child = views ? GetWindow(views, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            return child;
    return nullptr;
}

bool WritePicture(const std::string& path, int width, int height, COLORREF colour)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = stride * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bits(info.biSizeImage, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bits[y * stride + x * 3] = (char)GetBValue(colour);
            bits[y * stride + x * 3 + 1] = (char)GetGValue(colour);
            bits[y * stride + x * 3 + 2] = (char)GetRValue(colour);
        }
    std::string content(reinterpret_cast<const char*>(&file), sizeof file);
    content.append(reinterpret_cast<const char*>(&info), sizeof info);
    return WriteWholeFile(path, content + bits);
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    const bool ok =
        WriteFile(h, content.data(), (DWORD)content.size(), &put, nullptr) && put == content.size();
    CloseHandle(h);
    return ok;
}

} // namespace windowkit
