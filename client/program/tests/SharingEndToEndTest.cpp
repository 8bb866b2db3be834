// Two installed clients in one meeting on the stand-in server of this
// process and its file store, driven from outside as their users would:
// a file one sends through the menu arrives whole in the other's receive
// folder, and a picture one shares on the network-disk page shows in the
// other's list and, opened there, on the other's whiteboard.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "ClientWindowKit.h"
#include "TwoClientMeeting.h"

namespace {

using namespace windowkit;

// Start-up under emulation and a loaded machine.
const DWORD kStartMs = 150000;

enum : int {
    ID_SEND_FILE = 32778,
    ID_PAGE_WHITEBOARD = 32812,
    ID_BROADCAST = 2050,
    ID_LEFT_CONTROL = 1004,
    // The recipients dialog.
    ID_RECIPIENTS = 1000,
    ID_SELECT_ALL = 1024,
    // The network-disk page.
    ID_UPLOAD_BOARD_DOCUMENT = 2203,
    ID_DISK_DOCUMENTS = 2208,
};

// A row of a list view with check boxes is ticked.
bool Ticked(HWND list, int row)
{
    return ((SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) &
             LVIS_STATEIMAGEMASK) >>
            12) == 2;
}

// Host and alice in the free room, their main windows shown.
class SharingEndToEnd : public TwoClientMeeting
{
protected:
    void SetUp() override
    {
        TwoClientMeeting::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(nullptr, server->FileStore()) << "no file store";
        ASSERT_TRUE(host.Start("127.0.0.1 \"Room two\" 2 host pw"));
        ASSERT_TRUE(alice.Start("127.0.0.1 \"Room two\" 2 alice a"));
        hostFrame = MainWindow(host, "参与人数2", kStartMs);
        aliceFrame = MainWindow(alice, "参与人数2", kStartMs);
        ASSERT_NE(nullptr, hostFrame) << Describe(host);
        ASSERT_NE(nullptr, aliceFrame) << Describe(alice);
    }

    HWND hostFrame = nullptr, aliceFrame = nullptr;
};

} // namespace

TEST_F(SharingEndToEnd, AFileSentByOneClientArrivesWholeInTheOthersReceiveFolder)
{
    // Some hundred kilobytes in which every position matters.
    std::string content(300000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = (char)((i * 7 + i / 251) & 0xFF);
    const std::string source = host.folder + "minutes 1.dat";
    ASSERT_TRUE(WriteWholeFile(source, content));

    // The host sends it from the menu, without the meeting's data control.
    Command(hostFrame, ID_SEND_FILE);
    HWND chooser = host.WaitForWindow("#32770", 30000);
    ASSERT_NE(nullptr, chooser) << "no file dialog\n" << Describe(host);
    ASSERT_TRUE(AnswerFileDialog(chooser, source));
    HWND recipients = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (recipients = TitledWindow(host, "发送文件")) != nullptr; }, 30000))
        << Describe(host);
    HWND list = Control(recipients, ID_RECIPIENTS), all = Control(recipients, ID_SELECT_ALL);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, all);
    ASSERT_EQ(1, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) << "alice is the one recipient";
    // "全选" starts set with no row ticked: a click clears it, the
    // next one ticks every row.
    for (int click = 0; click < 2 && !Ticked(list, 0); ++click) {
        PostMessageA(all, BM_CLICK, 0, 0);
        WaitUntil([&] { return SendMessageA(all, BM_GETCHECK, 0, 0) == (click ? 1 : 0); }, 5000);
    }
    ASSERT_TRUE(Ticked(list, 0));
    ASSERT_TRUE(ClickControl(recipients, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(recipients); }, 30000)) << Describe(host);

    // Alice is asked, says yes, keeps her receive folder, and is told where
    // the file went.
    HWND question = WaitForBox(alice, "是否接收", 60000);
    ASSERT_NE(nullptr, question) << Describe(alice);
    EXPECT_NE(std::string::npos, BoxText(question).find("host"));
    EXPECT_NE(std::string::npos, BoxText(question).find("minutes 1.dat"));
    ASSERT_TRUE(ClickControl(question, IDYES));
    HWND browser = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND wnd : TopWindows(alice, "#32770"))
                if (wnd != question && IsWindow(wnd) &&
                    FindWindowExA(wnd, nullptr, "SysTreeView32", nullptr))
                    return (browser = wnd) != nullptr;
            return false;
        },
        30000))
        << "no folder browser\n"
        << Describe(alice);
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    HWND saved = WaitForBox(alice, "已保存到 ", 60000);
    ASSERT_NE(nullptr, saved) << Describe(alice);
    std::string folder = BoxText(saved);
    folder = folder.substr(folder.find("已保存到 ") + strlen("已保存到 "));
    folder = folder.substr(0, folder.find('\n'));
    ClickControl(saved, IDOK);
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const std::string received = ReadWholeFile(folder + "\\minutes 1.dat");
    EXPECT_EQ(content.size(), received.size()) << folder;
    EXPECT_TRUE(received == content) << "the received bytes differ";
    DeleteFileA((folder + "\\minutes 1.dat").c_str());
}

TEST_F(SharingEndToEnd, APictureSharedOnTheNetworkDiskOpensOnTheOthersWhiteboard)
{
    HWND aliceBoard = BoardOf(aliceFrame);
    ASSERT_NE(nullptr, aliceBoard);
    HWND aliceDocuments = Control(aliceFrame, ID_DISK_DOCUMENTS, "SysListView32");
    ASSERT_NE(nullptr, aliceDocuments) << "no network-disk page";
    EXPECT_EQ(0, SendMessageA(aliceDocuments, LVM_GETITEMCOUNT, 0, 0));

    // Both show the whiteboard; the host takes the meeting control, granted
    // at once in this free room, which brings the edit right and the upload
    // buttons with it.
    for (HWND frame : {hostFrame, aliceFrame})
        Command(frame, ID_PAGE_WHITEBOARD);
    HWND broadcast = Control(hostFrame, ID_BROADCAST);
    ASSERT_NE(nullptr, broadcast);
    PostMessageA(GetParent(broadcast), WM_COMMAND, MAKEWPARAM(ID_LEFT_CONTROL, BN_CLICKED), 0);
    HWND hostDocuments = Control(hostFrame, ID_DISK_DOCUMENTS, "SysListView32");
    ASSERT_NE(nullptr, hostDocuments);
    HWND upload = GetDlgItem(GetParent(hostDocuments), ID_UPLOAD_BOARD_DOCUMENT);
    ASSERT_NE(nullptr, upload);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(upload) != FALSE; }, 30000))
        << "the upload stays disabled\n"
        << Describe(host);

    // The host uploads a picture as a whiteboard document.
    const std::string picture = host.folder + "plan.bmp";
    ASSERT_TRUE(WritePicture(picture, 240, 180, RGB(0, 160, 0)));
    Click(upload);
    HWND chooser = host.WaitForWindow("#32770", 30000);
    ASSERT_NE(nullptr, chooser) << Describe(host);
    ASSERT_TRUE(AnswerFileDialog(chooser, picture));

    // Alice's list shows it; she opens it, and her board shows the picture.
    ASSERT_TRUE(
        WaitUntil([&] { return SendMessageA(aliceDocuments, LVM_GETITEMCOUNT, 0, 0) == 1; }, 60000))
        << Describe(alice);
    HWND before = ShownPage(aliceBoard);
    PostMessageA(aliceDocuments, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return SendMessageA(aliceDocuments, LVM_GETSELECTIONMARK, 0, 0) == 0; }, 10000));
    PostMessageA(aliceDocuments, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 30));
    int green = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND page = ShownPage(aliceBoard);
            return page && page != before &&
                   (green = CountShown(aliceFrame, page, IsPictureGreen)) > 5000;
        },
        60000))
        << green << " picture pixels on alice's board\n"
        << Describe(alice);
}
