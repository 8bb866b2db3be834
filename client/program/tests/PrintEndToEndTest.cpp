// Two freshly installed clients in one meeting on the stand-in server of this
// process and its file store: each installs the virtual printer at its
// first start, and a document one of them opens on the whiteboard is
// printed through that printer (the print verb of the document's type is
// the stand-in print program) and becomes pages of a new whiteboard
// document on both.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "ClientWindowKit.h"
#include "HalvernProcess.h"
#include "TwoClientMeeting.h"

namespace {

using namespace windowkit;

// Start-up under emulation and a loaded machine.
const DWORD kStartMs = 150000;

enum : int {
    ID_PAGE_WHITEBOARD = 32812,
    ID_BROADCAST = 2050,
    ID_LEFT_CONTROL = 1004,
    ID_WB_OPEN = 32773,
    ID_WB_PAGE_COUNT = 2071,
};

const char kDocumentType[] = ".hvprint";
const char kDocumentClass[] = "Halvern.PrintEndToEnd";

std::string DefaultPrinter()
{
    char name[256] = {};
    DWORD size = sizeof name;
    return GetDefaultPrinterA(name, &size) ? name : "";
}

struct PRINTER
{
    bool found;
    std::string port, driver, processor;
};

PRINTER Printer(const char* name)
{
    PRINTER printer = {false, "", "", ""};
    HANDLE handle = nullptr;
    if (!OpenPrinterA((LPSTR)name, &handle, nullptr))
        return printer;
    DWORD needed = 0;
    GetPrinterA(handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (needed && GetPrinterA(handle, 2, info.data(), needed, &needed)) {
        const PRINTER_INFO_2A* pi = (const PRINTER_INFO_2A*)info.data();
        printer = {true, pi->pPortName ? pi->pPortName : "", pi->pDriverName ? pi->pDriverName : "",
                   pi->pPrintProcessor ? pi->pPrintProcessor : ""};
    }
    ClosePrinter(handle);
    return printer;
}

// Documents of the test's type print through the stand-in print program.
bool RegisterDocumentType()
{
    const std::string command = "\"" + HalvernProcess::BinFolder() + "TanprocPrint.exe\" \"%1\"";
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, kDocumentType, &key) != ERROR_SUCCESS)
        return false;
    RegSetValueA(key, nullptr, REG_SZ, kDocumentClass, 0);
    RegCloseKey(key);
    const std::string verb = std::string(kDocumentClass) + "\\shell\\print\\command";
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, verb.c_str(), &key) != ERROR_SUCCESS)
        return false;
    RegSetValueA(key, nullptr, REG_SZ, command.c_str(), 0);
    RegCloseKey(key);
    return true;
}

void UnregisterDocumentType()
{
    const std::string base = kDocumentClass;
    for (const std::string& key :
         {base + "\\shell\\print\\command", base + "\\shell\\print", base + "\\shell", base})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kDocumentType);
}

// The dark lines and letters of a printed page.
bool IsInk(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

// The meeting's two clients, freshly installed, with the test's document
// type registered; the system's default printer is given back at the end.
class PrintEndToEnd : public TwoClientMeeting
{
protected:
    void SetUp() override
    {
        defaultPrinter = DefaultPrinter();
        TwoClientMeeting::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_NE(nullptr, server->FileStore()) << "no file store";
        for (HalvernProcess* c : {&host, &alice})
            ASSERT_EQ(0u, GetPrivateProfileIntA("Dorvane", "InitPrinter", 9,
                                                (c->folder + "Dorvane.ini").c_str()))
                << "a fresh installation has not installed the printer yet";
        ASSERT_TRUE(RegisterDocumentType());
    }
    void TearDown() override
    {
        TwoClientMeeting::TearDown();
        UnregisterDocumentType();
        // A client killed while it printed leaves the virtual printer the default.
        if (!defaultPrinter.empty())
            SetDefaultPrinterA(defaultPrinter.c_str());
    }

    std::string defaultPrinter;
};

} // namespace

TEST_F(PrintEndToEnd, ADocumentPrintedOnOneClientBecomesWhiteboardPagesOnBoth)
{
    // Both clients of this machine share the printer's one link record; the
    // one whose whiteboard comes last holds it, so alice comes first.
    ASSERT_TRUE(alice.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND aliceFrame = MainWindow(alice, "参与人数1", kStartMs);
    ASSERT_NE(nullptr, aliceFrame) << Describe(alice);
    ASSERT_TRUE(host.Start("127.0.0.1 \"Room two\" 2 host pw"));
    HWND hostFrame = MainWindow(host, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, hostFrame) << Describe(host);
    ASSERT_NE(nullptr, MainWindow(alice, "参与人数2", 30000)) << Describe(alice);

    // Each first start installed the printer and noted it.
    for (HalvernProcess* c : {&host, &alice})
        EXPECT_EQ(1u, GetPrivateProfileIntA("Dorvane", "InitPrinter", 9,
                                            (c->folder + "Dorvane.ini").c_str()))
            << Describe(*c);
    const PRINTER printer = Printer("Gastrel");
    ASSERT_TRUE(printer.found) << "no virtual printer";
    EXPECT_EQ(printer.port, "LPT3:");
    EXPECT_EQ(printer.driver, "Lenovo LJ5600");
    EXPECT_EQ(printer.processor, "tanproc");

    // Both show their whiteboard; the host takes the meeting control, which
    // brings the edit right, and his board opens a blank document.
    HWND hostBoard = BoardOf(hostFrame), aliceBoard = BoardOf(aliceFrame);
    ASSERT_NE(nullptr, hostBoard);
    ASSERT_NE(nullptr, aliceBoard);
    for (HWND frame : {hostFrame, aliceFrame})
        Command(frame, ID_PAGE_WHITEBOARD);
    HWND broadcast = Control(hostFrame, ID_BROADCAST);
    ASSERT_NE(nullptr, broadcast);
    PostMessageA(GetParent(broadcast), WM_COMMAND, MAKEWPARAM(ID_LEFT_CONTROL, BN_CLICKED), 0);
    HWND blankPage = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (blankPage = ShownPage(aliceBoard)) != nullptr; }, 30000))
        << "alice's board shows no document\n"
        << Describe(alice);
    ASSERT_NE(nullptr, ShownPage(hostBoard));
    // The page's frame (scroll bar arrows are dark too).
    const int blankInk = CountShown(aliceFrame, blankPage, IsInk);

    // A three-page document opened on the host's board is printed.
    const std::string document = host.folder + "minutes." + std::string(kDocumentType + 1);
    ASSERT_TRUE(WriteWholeFile(document, "opening\r\nagenda\fbudget\fclosing remarks"));
    Command(hostBoard, ID_WB_OPEN);
    HWND chooser = host.WaitForWindow("#32770", 60000);
    ASSERT_NE(nullptr, chooser) << Describe(host);
    ASSERT_TRUE(AnswerFileDialog(chooser, document))
        << "no file name box in " << HalvernProcess::WindowText(chooser);

    // Its pages come back as a new document of the host's, which alice's
    // board shows too.
    HWND hostCount = Control(hostBoard, ID_WB_PAGE_COUNT),
         aliceCount = Control(aliceBoard, ID_WB_PAGE_COUNT);
    ASSERT_NE(nullptr, hostCount);
    ASSERT_NE(nullptr, aliceCount);
    EXPECT_TRUE(WaitUntil([&] { return Text(hostCount) == "共3页"; }, 60000))
        << Text(hostCount) << "\n"
        << Describe(host);
    EXPECT_EQ(DefaultPrinter(), "Gastrel") << "the print went to the virtual printer";
    int ink = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND page = ShownPage(aliceBoard);
            return page && page != blankPage && Text(aliceCount) == "共3页" &&
                   (ink = CountShown(aliceFrame, page, IsInk)) > blankInk + 500;
        },
        60000))
        << Text(aliceCount) << ", " << ink << " ink pixels on alice's page, " << blankInk
        << " on the blank one\n"
        << Describe(alice);
    EXPECT_GT(CountShown(hostFrame, ShownPage(hostBoard), IsInk), blankInk + 500)
        << "the host's own page";
}
