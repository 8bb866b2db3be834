// WindowShot: starts a program and waits (bounded) until a visible top-level
// window of that process carries a text in its title, then saves a picture
// of the window as a 24-bit BMP file and prints the title. The program keeps
// running; with -close the window is asked to close afterwards.
//
//   WindowShot.exe -out <file.bmp> -title <text> [-wait <seconds>] [-settle <ms>] [-close]
//                  [-shown <text> <file>] [-after <id>] [-click <id>]... [-ready <file>]
//                  [-when <file>] [-board <file.bmp> [-board-when <file>]... [-draw <file>]
//                  [-drawn <file>]]
//                  -- <program> [arguments...]
//
// -shown: as soon as a window of the program shows the other text in its
// title (say, the program's name), the file is created (empty), so that a
// script can wait for the window before it goes on.
// -click: once the title shows, the button with that control id somewhere in
// the window is clicked (as a user's click tells its parent), after (-after)
// a control with the other id has shown enabled there; -ready: then
// the file is created; -when: the picture waits (within the same time limit)
// until that file exists, so that a script can let the meeting go on first.
// -board: after the picture, the window's whiteboard page is shown and, once
// it shows a thick red line and a blue filled ellipse (read back off the
// screen, within two minutes), a second picture of the window is saved to
// that file; a line starting "whiteboard:" says what the page showed.
// -board-when: the whiteboard step waits until each such file exists (say,
// the other clients' pictures, so that none is taken while the board changes).
// -draw: this client takes the meeting control and draws those shapes on
// its board first, then creates the file; -drawn: the board is read once
// that file exists (another client's -draw).
//
// Exit code 0: saved; 1: bad arguments; 2: the program did not start;
// 3: no such window in time; 4: the picture could not be written; 5: the
// whiteboard did not show the drawing.
#include "CWhiteboardDriver.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
struct Search
{
    DWORD process;
    const char* text;
    HWND found;
    char title[512];
};

BOOL CALLBACK Visit(HWND wnd, LPARAM param)
{
    Search* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->process || !::IsWindowVisible(wnd) || ::GetWindow(wnd, GW_OWNER))
        return TRUE;
    char title[512] = {};
    ::GetWindowTextA(wnd, title, sizeof title - 1);
    if (!strstr(title, s->text))
        return TRUE;
    s->found = wnd;
    strcpy(s->title, title);
    return FALSE;
}

BOOL CALLBACK Describe(HWND wnd, LPARAM param)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != (DWORD)param || !::IsWindowVisible(wnd))
        return TRUE;
    char title[512] = {}, cls[128] = {};
    ::GetWindowTextA(wnd, title, sizeof title - 1);
    ::GetClassNameA(wnd, cls, sizeof cls - 1);
    fprintf(stderr, "WindowShot:   window \"%s\" (%s)\n", title, cls);
    // A box shows its text in a static child.
    HWND child = nullptr;
    while ((child = ::FindWindowExA(wnd, child, "Static", nullptr)) != nullptr) {
        char text[512] = {};
        ::GetWindowTextA(child, text, sizeof text - 1);
        if (text[0])
            fprintf(stderr, "WindowShot:     text \"%s\"\n", text);
    }
    return TRUE;
}

bool SaveWindow(HWND wnd, const char* path)
{
    RECT r;
    if (!::GetWindowRect(wnd, &r))
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC windowDc = ::GetWindowDC(wnd);
    HDC mem = ::CreateCompatibleDC(windowDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bmp) {
        HGDIOBJ old = ::SelectObject(mem, bmp);
        ::BitBlt(mem, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
        const DWORD size = stride * (DWORD)h;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + size;
        FILE* f = fopen(path, "wb");
        if (f) {
            ok = fwrite(&file, sizeof file, 1, f) == 1 &&
                 fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
                 fwrite(bits, 1, size, f) == size;
            ok = fclose(f) == 0 && ok;
        }
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
    }
    ::DeleteDC(mem);
    ::ReleaseDC(wnd, windowDc);
    return ok;
}

std::string Quote(const char* arg)
{
    std::string a = arg;
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos)
        return a;
    std::string out = "\"";
    for (char c : a) {
        if (c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

struct ControlSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK VisitControl(HWND wnd, LPARAM param)
{
    ControlSearch* s = reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgCtrlID(wnd) == s->id && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// Clicks the shown button with the id inside the window; false when none.
bool ClickControl(HWND top, int id)
{
    ControlSearch s = {id, nullptr};
    ::EnumChildWindows(top, VisitControl, (LPARAM)&s);
    if (!s.found)
        return false;
    ::PostMessageA(::GetParent(s.found), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)s.found);
    return true;
}

bool FileExists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void CreateEmptyFile(const char* path)
{
    if (FILE* f = fopen(path, "wb"))
        fclose(f);
}

// Saves the picture with the window raised above the others' windows: the
// picture is read off the screen, one shot at a time on the display.
bool SaveRaised(HWND wnd, const char* path, HANDLE turn)
{
    if (turn)
        ::WaitForSingleObject(turn, 30000);
    ::SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(500);
    const bool saved = SaveWindow(wnd, path);
    ::SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (turn)
        ::ReleaseMutex(turn);
    return saved;
}

// The whiteboard step: 0 when the page showed the drawing and its picture
// was saved, 5 when it did not show, 4 when the picture was not written.
int ShowBoard(HWND wnd, HANDLE turn, const char* out, const std::vector<const char*>& boardWhen,
              const char* drawFile, const char* drawnFile)
{
    const DWORD deadline = ::GetTickCount() + 120000;
    for (const char* file : boardWhen)
        while (!FileExists(file) && (int)(deadline - ::GetTickCount()) > 0)
            ::Sleep(200);
    CWhiteboardDriver board(wnd, turn);
    if (drawFile) {
        std::string error;
        if (!board.Draw(deadline, &error)) {
            printf("whiteboard: nothing drawn: %s\n", error.c_str());
            return 5;
        }
        CreateEmptyFile(drawFile);
    } else {
        board.ShowPage();
    }
    while (drawnFile && !FileExists(drawnFile) && (int)(deadline - ::GetTickCount()) > 0)
        ::Sleep(200);
    CWhiteboardDriver::Drawing drawing;
    const bool shown =
        (!drawnFile || FileExists(drawnFile)) && board.WaitForDrawing(deadline, &drawing);
    const bool saved = SaveRaised(wnd, out, turn);
    if (shown)
        printf("whiteboard: shows the drawing (%d red and %d blue pixels)\n", drawing.red,
               drawing.blue);
    else if (drawnFile && !FileExists(drawnFile))
        printf("whiteboard: nothing was drawn on the other board in time\n");
    else
        printf("whiteboard: the drawing did not show in time (%d red and %d blue pixels)\n",
               drawing.red, drawing.blue);
    fflush(stdout);
    return !shown ? 5 : saved ? 0 : 4;
}

int Usage()
{
    fprintf(
        stderr,
        "usage: WindowShot.exe -out <file.bmp> -title <text> [-wait <s>] [-settle <ms>] [-close] "
        "[-shown <text> <file>] [-after <id>] [-click <id>]... [-ready <file>] [-when <file>] "
        "[-board <file.bmp> [-board-when <file>]... [-draw <file>] [-drawn <file>]] -- <program> "
        "[arguments...]\n");
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    const char* out = nullptr;
    const char* text = nullptr;
    int waitSeconds = 60, settleMs = 1000;
    bool close = false;
    const char* shownText = nullptr;
    const char* shownFile = nullptr;
    std::vector<int> clicks;
    int after = 0;
    const char* readyFile = nullptr;
    const char* whenFile = nullptr;
    const char* boardOut = nullptr;
    const char* drawFile = nullptr;
    const char* drawnFile = nullptr;
    std::vector<const char*> boardWhen;
    int i = 1;
    for (; i < argc; ++i) {
        if (!strcmp(argv[i], "--")) {
            ++i;
            break;
        }
        if (!strcmp(argv[i], "-out") && i + 1 < argc)
            out = argv[++i];
        else if (!strcmp(argv[i], "-title") && i + 1 < argc)
            text = argv[++i];
        else if (!strcmp(argv[i], "-wait") && i + 1 < argc)
            waitSeconds = atoi(argv[++i]);
        else if (!strcmp(argv[i], "-settle") && i + 1 < argc)
            settleMs = atoi(argv[++i]);
        else if (!strcmp(argv[i], "-click") && i + 1 < argc)
            clicks.push_back(atoi(argv[++i]));
        else if (!strcmp(argv[i], "-after") && i + 1 < argc)
            after = atoi(argv[++i]);
        else if (!strcmp(argv[i], "-ready") && i + 1 < argc)
            readyFile = argv[++i];
        else if (!strcmp(argv[i], "-when") && i + 1 < argc)
            whenFile = argv[++i];
        else if (!strcmp(argv[i], "-board") && i + 1 < argc)
            boardOut = argv[++i];
        else if (!strcmp(argv[i], "-board-when") && i + 1 < argc)
            boardWhen.push_back(argv[++i]);
        else if (!strcmp(argv[i], "-draw") && i + 1 < argc)
            drawFile = argv[++i];
        else if (!strcmp(argv[i], "-drawn") && i + 1 < argc)
            drawnFile = argv[++i];
        else if (!strcmp(argv[i], "-close"))
            close = true;
        else if (!strcmp(argv[i], "-shown") && i + 2 < argc) {
            shownText = argv[++i];
            shownFile = argv[++i];
        } else
            return Usage();
    }
    if (!out || !text || i >= argc || waitSeconds <= 0 || settleMs < 0 ||
        ((drawFile || drawnFile || !boardWhen.empty()) && !boardOut))
        return Usage();
    std::string line;
    for (int k = i; k < argc; ++k)
        line += (line.empty() ? "" : " ") + Quote(argv[k]);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        fprintf(stderr, "WindowShot: could not start %s (error %lu)\n", argv[i], ::GetLastError());
        return 2;
    }
    ::CloseHandle(process.hThread);
    Search s = {process.dwProcessId, text, nullptr, {}};
    const DWORD deadline = ::GetTickCount() + (DWORD)waitSeconds * 1000;
    while (!s.found && (int)(deadline - ::GetTickCount()) > 0) {
        if (::WaitForSingleObject(process.hProcess, 200) == WAIT_OBJECT_0)
            break;
        ::EnumWindows(Visit, (LPARAM)&s);
        if (shownText) {
            Search shown = {process.dwProcessId, shownText, nullptr, {}};
            ::EnumWindows(Visit, (LPARAM)&shown);
            if (shown.found || s.found) {
                if (FILE* f = fopen(shownFile, "wb"))
                    fclose(f);
                shownText = nullptr;
            }
        }
    }
    if (!s.found) {
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        fprintf(stderr, "WindowShot: no window of %s showed \"%s\" in its title (%s)\n", argv[i],
                text, code == STILL_ACTIVE ? "still running" : "ended");
        if (code == STILL_ACTIVE)
            ::EnumWindows(Describe, (LPARAM)process.dwProcessId);
        ::CloseHandle(process.hProcess);
        return 3;
    }
    if (after) {
        ControlSearch ready = {after, nullptr};
        while (!ready.found && (int)(deadline - ::GetTickCount()) > 0) {
            ::EnumChildWindows(s.found, VisitControl, (LPARAM)&ready);
            if (!ready.found)
                ::Sleep(200);
        }
        if (!ready.found)
            fprintf(stderr, "WindowShot: control %d did not show in time\n", after);
    }
    for (int id : clicks) {
        // The window's panes may still be settling: a few tries.
        bool clicked = false;
        for (int attempt = 0; attempt < 20 && !(clicked = ClickControl(s.found, id)); ++attempt)
            ::Sleep(250);
        if (!clicked)
            fprintf(stderr, "WindowShot: no button %d to click in the window\n", id);
    }
    if (readyFile) {
        if (FILE* f = fopen(readyFile, "wb"))
            fclose(f);
    }
    while (whenFile && !FileExists(whenFile) && (int)(deadline - ::GetTickCount()) > 0)
        ::Sleep(200);
    if (whenFile && !FileExists(whenFile))
        fprintf(stderr, "WindowShot: %s did not come in time; the picture is taken now\n",
                whenFile);
    // Let it finish painting, then take the picture.
    ::Sleep((DWORD)settleMs);
    ::GetWindowTextA(s.found, s.title, sizeof s.title - 1);
    // The windows of the clients share the display: one of them is raised
    // and read at a time.
    HANDLE turn = ::CreateMutexA(nullptr, FALSE, "HalvernWindowShotTurn");
    const bool saved = SaveRaised(s.found, out, turn);
    printf("%s\n", s.title);
    fflush(stdout);
    const int boardResult =
        saved && boardOut ? ShowBoard(s.found, turn, boardOut, boardWhen, drawFile, drawnFile) : 0;
    if (boardResult == 5) {
        // What the client shows instead (a box, or nothing: it ended).
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        if (code == STILL_ACTIVE)
            ::EnumWindows(Describe, (LPARAM)process.dwProcessId);
        else
            fprintf(stderr, "WindowShot: %s ended (exit code %lu)\n", argv[i], code);
    }
    if (turn)
        ::CloseHandle(turn);
    if (close)
        ::PostMessageA(s.found, WM_CLOSE, 0, 0);
    ::CloseHandle(process.hProcess);
    return !saved ? 4 : boardResult;
}
