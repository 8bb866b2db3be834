// The shared-document lists and the network-disk page against a recorded host.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CDlgDocProperties.h"
#include "CDlgNetDisk.h"
#include "CDocName.h"
#include "CDocShareList.h"
#include "CDocTransfer.h"
#include "CMeetingDocList.h"
#include "CTestKit.h"
#include "DocsResource.h"
#include "FakeDocHost.h"

namespace {

typedef std::vector<std::string> Lines;

// A plain parent window for the lists.
class ListParent
{
public:
    ListParent()
    {
        m_wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 400, NULL, NULL,
                                GetModuleHandle(NULL), NULL);
    }
    ~ListParent() { DestroyWindow(m_wnd); }
    CWnd* Wnd() { return CWnd::FromHandle(m_wnd); }

private:
    HWND m_wnd;
};

template <class L>
std::unique_ptr<L> MakeList(FakeDocHost& host, ListParent& parent)
{
    std::unique_ptr<L> list(new L(&host));
    EXPECT_TRUE(list->CreateList(parent.Wnd(), 100, CRect(0, 0, 480, 380)));
    return list;
}

// The centre of a row, in the list's client coordinates.
CPoint RowPoint(CListCtrl& list, int row)
{
    CRect rect;
    list.GetItemRect(row, &rect, LVIR_LABEL);
    return rect.CenterPoint();
}

void Command(CWnd& list, UINT id) { list.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

} // namespace

TEST(DocName, SplitsAtTheFirstDotForRowsAndAtTheLastForSaving)
{
    struct Case
    {
        const char* name;
        const char* rowText;
        const char* rowType;
        const char* saveTitle;
        const char* saveExtension;
    } cases[] = {
        {"plan.ppt", "plan", "ppt", "plan", "ppt"},
        {"plan.v2.ppt", "plan", "v2.ppt", "plan.v2", "ppt"},
        {"README", "README", "", "README", ""},
        {".hidden.txt", ".hidden.txt", "", ".hidden", "txt"},
        {"trailing.", "trailing", "", "trailing", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        std::string text, type, title, extension;
        CDocName::SplitForRow(c.name, &text, &type);
        CDocName::SplitForSave(c.name, &title, &extension);
        EXPECT_EQ(text, c.rowText) << c.name;
        EXPECT_EQ(type, c.rowType) << c.name;
        EXPECT_EQ(title, c.saveTitle) << c.name;
        EXPECT_EQ(extension, c.saveExtension) << c.name;
    }
    const std::pair<const char*, const char*> extensions[] = {
        {"C:\\docs\\Talk.PPT", ".ppt"},
        {"C:\\a.b\\noext", "."},
        {"x.tar.GZ", ".gz"},
        {"C:/mixed/Pic.JpEg", ".jpeg"},
    };
    for (const auto& e : extensions)
        EXPECT_EQ(CDocName::LowerExtension(e.first), e.second) << e.first;
}

TEST(DocLists, RowsShowTheirNamesAndKeepTheirRecords)
{
    FakeDocHost host;
    ListParent parent;
    auto files = MakeList<CDocShareList>(host, parent);
    auto meeting = MakeList<CMeetingDocList>(host, parent);

    files->AddFile(2, 7, 0xFFFFFFFF, 1, "talk.final.ppt", "b", "store/7.htm");
    files->AddDocument(2, 8, 99, 3, 12, 800, 600, "NoDot", "srv", "store/8");
    meeting->AddDocument(2, 9, 1354, 1, 4, 1024, 768, "plan.v2.kqf", "", "store/9");

    ASSERT_EQ(files->GetItemCount(), 2);
    EXPECT_EQ(std::string(files->GetItemText(0, 0)), "talk");
    EXPECT_EQ(std::string(files->GetItemText(0, 1)), "final.ppt");
    EXPECT_EQ(std::string(files->GetItemText(1, 0)), "NoDot");
    EXPECT_EQ(std::string(files->GetItemText(1, 1)), "");
    ASSERT_EQ(meeting->GetItemCount(), 1);
    EXPECT_EQ(std::string(meeting->GetItemText(0, 0)), "plan.v2.kqf");

    const SHARED_DOC_RECORD* file = files->Record(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->docClass, SHARED_DOC_RECORD::CLASS_FILE);
    EXPECT_EQ(file->folderId, 0xFFFFFFFFu);
    EXPECT_EQ(file->value, 0);
    EXPECT_EQ(file->address, "store/7.htm");
    EXPECT_EQ(file->path, "");
    const SHARED_DOC_RECORD* doc = files->Record(1);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->docClass, SHARED_DOC_RECORD::CLASS_DOCUMENT);
    EXPECT_EQ(doc->value, 12);
    EXPECT_EQ(doc->valueA, 800u);
    EXPECT_EQ(doc->valueB, 600u);
    EXPECT_EQ(doc->secondName, "srv");
    EXPECT_EQ(doc->path, "store/8");

    // Names are found by id, cut to 30 characters; unknown ids change nothing.
    files->RenameDocument(8, 1, "a-name-that-is-longer-than-thirty-characters");
    EXPECT_EQ(files->GetDocumentName(8, 1), "a-name-that-is-longer-than-thi");
    files->RenameDocument(55, 1, "ghost");
    files->RemoveDocument(55, 0);
    meeting->RemoveDocument(7, 0);
    EXPECT_EQ(files->GetItemCount(), 2);
    EXPECT_EQ(meeting->GetItemCount(), 1);
    EXPECT_EQ(files->GetDocumentName(55, 0), "");
    EXPECT_EQ(std::string(files->GetItemText(0, 0)), "talk");

    files->RemoveDocument(7, 0);
    ASSERT_EQ(files->GetItemCount(), 1);
    EXPECT_EQ(files->Record(0)->id, 8u);
    EXPECT_EQ(files->FindRow(7), -1);

    // Reload empties the list and asks the server again; Clear only empties.
    meeting->Clear();
    EXPECT_EQ(meeting->GetItemCount(), 0);
    EXPECT_TRUE(host.calls.empty());
    files->Reload();
    EXPECT_EQ(files->GetItemCount(), 0);
    EXPECT_EQ(host.calls, Lines{"list"});
}

TEST(DocLists, OpeningAnItemGoesWhereItsKindSays)
{
    struct Case
    {
        const char* what;
        bool document;
        uint8_t entryKind;
        uint32_t folder;
        bool right;
        bool saveChosen;
        Lines calls;
    } cases[] = {
        {"file with the right",
         false,
         2,
         0xFFFFFFFF,
         true,
         true,
         {"page 1", "board http://h/x.htm"}},
        {"file without the right", false, 2, 0xFFFFFFFF, false, true, {"board http://h/x.htm"}},
        {"document with the right",
         true,
         2,
         5,
         true,
         true,
         {"page 0", "whiteboard 21 3 4 800x600 a.b.kqf srv store/21"}},
        {"document without the right",
         true,
         2,
         5,
         false,
         true,
         {"whiteboard 21 3 4 800x600 a.b.kqf srv store/21"}},
        {"entry not openable", false, 1, 0xFFFFFFFF, true, true, {}},
        {"meeting folder: downloaded",
         true,
         2,
         1354,
         true,
         true,
         {"save a.b kqf", "download store/21 C:\\saved\\file.kqf"}},
        {"meeting folder, save cancelled", true, 2, 1354, true, false, {"save a.b kqf"}},
    };
    ListParent parent;
    for (const Case& c : cases) {
        FakeDocHost host;
        host.controlRight = c.right;
        host.saveChosen = c.saveChosen;
        auto list = MakeList<CDocShareList>(host, parent);
        if (c.document)
            list->AddDocument(c.entryKind, 21, c.folder, 3, 4, 800, 600, "a.b.kqf", "srv",
                              "store/21");
        else
            list->AddFile(c.entryKind, 21, c.folder, 3, "a.b.kqf", "srv", "http://h/x.htm");
        // "打开" on the row under the context menu.
        HMENU menu = list->PrepareMenuAt(RowPoint(*list, 0));
        ASSERT_NE(menu, nullptr) << c.what;
        DestroyMenu(menu);
        Command(*list, ID_DOC_OPEN);
        EXPECT_EQ(host.calls, c.calls) << c.what;
    }
}

TEST(DocLists, DoubleClickOpensTheSelectionOnlyInTheShareLists)
{
    ListParent parent;
    ShowWindow(parent.Wnd()->m_hWnd, SW_SHOWNOACTIVATE);
    FakeDocHost host;
    auto files = MakeList<CDocShareList>(host, parent);
    files->AddFile(2, 1, 0xFFFFFFFF, 0, "one.ppt", "", "addr-one");
    files->AddFile(2, 2, 0xFFFFFFFF, 0, "two.ppt", "", "addr-two");
    files->UpdateWindow();
    CTestKit::DoubleClick(files->m_hWnd, RowPoint(*files, 1));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !host.calls.empty(); }, 3000));
    EXPECT_EQ(host.calls, (Lines{"page 1", "board addr-two"}));

    FakeDocHost meetingHost;
    auto meeting = MakeList<CMeetingDocList>(meetingHost, parent);
    meeting->AddDocument(2, 3, 1354, 0, 1, 0, 0, "x.kqf", "", "store/3");
    meeting->UpdateWindow();
    CTestKit::DoubleClick(meeting->m_hWnd, RowPoint(*meeting, 0));
    CTestKit::PumpFor(200);
    EXPECT_TRUE(meetingHost.calls.empty());
}

TEST(DocLists, ContextMenusDeleteAndDownloadOpenableRowsOnly)
{
    ListParent parent;
    FakeDocHost host;
    auto files = MakeList<CDocShareList>(host, parent);
    auto meeting = MakeList<CMeetingDocList>(host, parent);
    files->AddFile(2, 11, 0xFFFFFFFF, 0, "a.ppt", "", "x");
    files->AddDocument(0, 12, 5, 0, 0, 0, 0, "b.txt", "", "y");
    meeting->AddDocument(2, 13, 1354, 0, 1, 0, 0, "c.kqf", "", "store/13");
    meeting->AddDocument(2, 14, 77, 0, 1, 0, 0, "d.kqf", "", "store/14");

    // No row under the point, no menu.
    EXPECT_EQ(files->PrepareMenuAt(CPoint(5, 370)), nullptr);
    EXPECT_EQ(files->MenuRow(), -1);
    Command(*files, ID_DOC_DELETE);
    EXPECT_TRUE(host.calls.empty());

    struct Case
    {
        CDocListBase* list;
        int row;
        UINT command;
        Lines calls;
    } cases[] = {
        {files.get(), 0, ID_DOC_DELETE, {"delete 11 0"}},
        {files.get(), 1, ID_DOC_DELETE, {}}, // not openable
        {files.get(), 1, ID_DOC_OPEN, {}},
        {meeting.get(), 0, ID_DOC_DELETE, {"delete 13 1"}},
        {meeting.get(),
         0,
         ID_DOC_DOWNLOAD,
         {"save c kqf", "download store/13 C:\\saved\\file.kqf"}},
        {meeting.get(), 1, ID_DOC_DOWNLOAD, {}}, // another folder
        {meeting.get(), 0, ID_DOC_UPLOAD, {"wbfile"}},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        HMENU menu = c.list->PrepareMenuAt(RowPoint(*c.list, c.row));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemCount(menu), 2);
        DestroyMenu(menu);
        EXPECT_EQ(c.list->MenuRow(), c.row);
        Command(*c.list, c.command);
        EXPECT_EQ(host.calls, c.calls) << c.row << " " << c.command;
    }
    // The row stays until the server's answer removes it.
    EXPECT_EQ(files->GetItemCount(), 2);

    // With the acting flag clear nothing is done.
    host.calls.clear();
    meeting->SetActing(false);
    HMENU menu = meeting->PrepareMenuAt(RowPoint(*meeting, 0));
    DestroyMenu(menu);
    Command(*meeting, ID_DOC_DELETE);
    EXPECT_TRUE(host.calls.empty());
}

TEST(NetDiskPage, LaysOutItsListsAndEnablesThemWithItsButtons)
{
    FakeDocHost host;
    CDocTransfer transfer(&host);
    ListParent parent;
    CDlgNetDisk page(&host, &transfer);
    ASSERT_TRUE(page.CreatePage(parent.Wnd()));
    page.MoveWindow(0, 0, 900, 600);

    struct Place
    {
        CWnd* wnd;
        CRect rect;
    } places[] = {
        {&page.Files(), CRect(0, 22, 740, 322)},
        {&page.Documents(), CRect(0, 346, 740, 600)},
        {&page.MeetingDocuments(), CRect(750, 22, 900, 600)},
        {page.GetDlgItem(IDC_NETDISK_UPLOAD_PPT), CRect(3, 3, 103, 22)},
        {page.GetDlgItem(IDC_NETDISK_UPLOAD_WB), CRect(0, 324, 100, 346)},
        {page.GetDlgItem(IDC_NETDISK_UPLOAD), CRect(853, 1, 900, 21)},
    };
    for (const Place& p : places) {
        ASSERT_NE(p.wnd, nullptr);
        CRect rect;
        p.wnd->GetWindowRect(&rect);
        page.ScreenToClient(&rect);
        EXPECT_EQ(rect, p.rect) << p.wnd->GetDlgCtrlID();
    }

    const UINT controls[] = {IDC_NETDISK_UPLOAD_PPT, IDC_NETDISK_UPLOAD_WB,
                             IDC_NETDISK_UPLOAD,     IDC_NETDISK_FILES,
                             IDC_NETDISK_DOCS,       IDC_NETDISK_MEETING_DOCS};
    // Disabled when made, then as the rights go.
    for (int step = 0; step < 3; ++step) {
        const bool enable = step == 1;
        if (step > 0)
            page.EnableControls(enable);
        for (UINT id : controls)
            EXPECT_EQ(page.GetDlgItem(id)->IsWindowEnabled() != FALSE, enable) << id;
        // The button without an action is left as it is.
        EXPECT_TRUE(page.GetDlgItem(IDC_NETDISK_DOWNLOAD_PPT)->IsWindowEnabled());
    }
    page.DestroyWindow();
}

TEST(NetDiskPage, UploadButtonsHonourTheRoomsBan)
{
    struct Case
    {
        UINT button;
        bool forbidden;
        Lines calls;
        size_t plainMessages;
    } cases[] = {
        {IDC_NETDISK_UPLOAD_PPT, false, {"properties"}, 0}, {IDC_NETDISK_UPLOAD_PPT, true, {}, 1},
        {IDC_NETDISK_UPLOAD_WB, false, {"wbdoc -1"}, 0},    {IDC_NETDISK_UPLOAD_WB, true, {}, 1},
        {IDC_NETDISK_UPLOAD, true, {"wbfile"}, 0},
    };
    ListParent parent;
    for (const Case& c : cases) {
        FakeDocHost host;
        host.forbidsUpload = c.forbidden;
        host.documentChosen = false;
        CDocTransfer transfer(&host);
        CDlgNetDisk page(&host, &transfer);
        ASSERT_TRUE(page.CreatePage(parent.Wnd()));
        page.EnableControls(true);
        CTestKit::ClickButton(page.GetDlgItem(c.button)->m_hWnd);
        EXPECT_EQ(host.calls, c.calls) << c.button;
        ASSERT_EQ(host.plainMessages.size(), c.plainMessages) << c.button;
        if (c.plainMessages)
            EXPECT_EQ(host.plainMessages[0], "会议室禁止上传文件!");
        page.DestroyWindow();
    }
}

TEST(DocProperties, OkNeedsAPathAndAName)
{
    CTestKit::MessageBoxes boxes;
    struct Case
    {
        const char* path;
        const char* name;
        INT_PTR result;
    } cases[] = {
        {"", "", IDCANCEL},
        {"C:\\a.txt", "", IDCANCEL},
        {"", "a.txt", IDCANCEL},
        {"C:\\docs\\a.txt", "shown name.txt", IDOK},
    };
    for (const Case& c : cases) {
        size_t before = boxes.Shown().size();
        CDlgDocProperties dlg;
        bool stayed = false;
        INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
            d.SetDlgItemText(IDC_DOC_PATH, c.path);
            d.SetDlgItemText(IDC_DOC_NAME, c.name);
            d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            // Refused: the box was shown and the dialog is still up, so it is cancelled here.
            stayed = boxes.Shown().size() > before && ::IsWindow(d.m_hWnd);
            if (stayed)
                d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(result, c.result) << c.path << "|" << c.name;
        if (c.result == IDOK) {
            EXPECT_EQ(boxes.Shown().size(), before);
            EXPECT_EQ(dlg.m_path, c.path);
            EXPECT_EQ(dlg.m_name, c.name);
        } else {
            EXPECT_TRUE(stayed);
            ASSERT_EQ(boxes.Shown().size(), before + 1);
            EXPECT_EQ(boxes.Shown().back().text, "文件路径和名不能为空");
        }
    }
}
