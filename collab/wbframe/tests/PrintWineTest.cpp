#include "CDlgPrintProc.h"
#include "CStandInPrinterDriver.h"
#include "CTestKit.h"
#include "CVirtualPrinterLink.h"
#include "CWBFrame.h"
#include "WbFrameFakes.h"
#include "WbFrameResource.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <stdio.h>
#include <string>

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string DefaultPrinter()
{
    char name[256] = {0};
    int size = sizeof name;
    BOOL ok = FALSE;
    return GetDefaultPrinterName(name, &size, &ok) ? name : "";
}

// A document type whose print verb is the stand-in printer.
void RegisterDocumentType(const char* extra)
{
    std::string command =
        "\"" + ProgramFolder() + "TanprocPrint.exe\" -mapping WbPrintWineMap " + extra + "\"%1\"";
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".wbprn", &key), ERROR_SUCCESS);
    RegSetValueA(key, NULL, REG_SZ, "Halvern.WbPrintTest", 0);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "Halvern.WbPrintTest\\shell\\print\\command", &key),
              ERROR_SUCCESS);
    RegSetValueA(key, NULL, REG_SZ, command.c_str(), 0);
    RegCloseKey(key);
}

class WbPrintWine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(CStandInPrinterDriver::Install(ProgramFolder(), &error)) << error;
        ASSERT_TRUE(InstallVirtualPrinter());
        ASSERT_TRUE(InstallVirtualPrinter()) << "a second installation finds the printer";
        // Another printer is the default before the whiteboard prints.
        PRINTER_INFO_2A info = {};
        info.pPrinterName = (LPSTR) "WbBeforePrinter";
        info.pPortName = (LPSTR) "FILE:";
        info.pDriverName = (LPSTR) "Lenovo LJ5600";
        info.pPrintProcessor = (LPSTR) "winprint";
        info.pDatatype = (LPSTR) "RAW";
        if (HANDLE added = AddPrinterA(NULL, 2, (BYTE*)&info))
            ClosePrinter(added);
        BOOL ok = FALSE;
        ASSERT_TRUE(SetDefaultPrinterName("WbBeforePrinter", &ok));
        EXPECT_TRUE(ok);
        m_before = DefaultPrinter();
        ASSERT_EQ(m_before, "WbBeforePrinter");
        m_window.reset(new CDlgPrintProc(&m_link));
        ASSERT_TRUE(m_window->CreateHidden());
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "wbprint", WS_POPUP | WS_VISIBLE,
                                      0, 0, 900, 600, NULL, NULL));
        m_frame = new CWBFrame;
        ASSERT_TRUE(
            m_frame->CreateFrame(&m_parent, 1, &m_host, new FakeTransfers(&m_calls), &m_link));
        m_frame->SetSendCallback(&SentRecords::Callback, &m_sent);
        m_frame->SetEditRight(TRUE);
        m_sent.records.clear();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_document = std::string(temp) + "quarterly.report.wbprn";
        FILE* f = fopen(m_document.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs("first page\r\nline two\fsecond page\fthird page", f);
        fclose(f);
    }
    void TearDown() override
    {
        CTestKit::CloseThreadDialogs();
        m_parent.DestroyWindow();
        CTestKit::PumpPending();
        if (m_window)
            m_window->DestroyWindow();
        DeleteFileA(m_document.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Halvern.WbPrintTest\\shell\\print\\command");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Halvern.WbPrintTest\\shell\\print");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Halvern.WbPrintTest\\shell");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Halvern.WbPrintTest");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".wbprn");
    }
    void PrintDocument()
    {
        m_host.files = {m_document};
        m_frame->SendMessage(WM_COMMAND, ID_WB_OPEN);
    }

    CVirtualPrinterLink m_link{"WbPrintWineMap", "Gastrel"};
    std::unique_ptr<CDlgPrintProc> m_window;
    CWnd m_parent;
    FakeHost m_host;
    std::vector<FakeTransfers::Call> m_calls;
    SentRecords m_sent;
    CWBFrame* m_frame = nullptr;
    std::string m_document;
    std::string m_before;
};

} // namespace

TEST_F(WbPrintWine, APrintedDocumentComesBackAsPagesOfANewDocument)
{
    RegisterDocumentType("");
    CTestKit::MessageBoxes boxes;
    PrintDocument();
    ASSERT_TRUE(m_frame->IsPrintBusy()) << (boxes.Shown().empty() ? "" : boxes.Shown()[0].text);
    EXPECT_EQ(DefaultPrinter(), "Gastrel") << "the print goes to the virtual printer";
    // A second print while the first runs is refused.
    PrintDocument();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "系统正忙,请稍后再试!");

    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !m_frame->IsPrintBusy(); }, 60000));
    CWBView* view = m_frame->ActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetPageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const std::string background = (LPCTSTR)view->GetDocument().GetPage(i)->m_strBackground;
        EXPECT_NE(background.find("\\quarterly.report\\" + std::to_string(i + 1) + ".emf"),
                  std::string::npos)
            << background;
    }
    // The pages' pictures are 600 x 800 (give or take the metafile frame's rounding).
    EXPECT_NEAR(view->GetPageSize().cx, 600, 2);
    EXPECT_NEAR(view->GetPageSize().cy, 800, 2);
    EXPECT_EQ(m_sent.Kinds(), (std::vector<int>{2, 4}));
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].what, "upload");
    EXPECT_EQ(m_calls[0].count, 3);
    EXPECT_EQ(m_link.GetStatus(), CVirtualPrinterLink::STATUS_IDLE);
    EXPECT_EQ(boxes.Shown().size(), 1u);

    // The frame's end gives the default printer back.
    m_parent.DestroyWindow();
    CTestKit::PumpPending();
    EXPECT_EQ(DefaultPrinter(), m_before);
}

TEST_F(WbPrintWine, AFailedPrintIsReportedAndTheFrameCanPrintAgain)
{
    RegisterDocumentType("-fail ");
    CTestKit::MessageBoxes boxes;
    PrintDocument();
    ASSERT_TRUE(m_frame->IsPrintBusy());
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !m_frame->IsPrintBusy(); }, 60000));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Print document failed!\n");
    EXPECT_EQ(m_frame->Views()->GetViewCount(), 1) << "only the blank document";
    EXPECT_TRUE(m_sent.records.empty());

    // A file the shell cannot print is refused at once.
    m_host.files = {m_document + ".unknownext"};
    m_frame->SendMessage(WM_COMMAND, ID_WB_OPEN);
    EXPECT_FALSE(m_frame->IsPrintBusy());
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "不支持的文件类型");
}
