#include <gtest/gtest.h>

#include "CTestKit.h"
#include "TestResources.h"
#include "afxcmn.h"
#include "afxwin.h"

// Dialogs from resource templates: modal and modeless life cycles, data
// exchange both ways, refused input, DLGINIT lists, bounded test runs.
namespace {

class CSettingsDlg : public CDialog
{
public:
    CSettingsDlg() : CDialog(IDD_SETTINGS) {}
    CString m_name = "alice";
    int m_enable = 1;
    int m_mode = 2;
    int m_codec = 1;
    int m_level = 30;
    int m_count = 5;
    CSliderCtrl m_slider;
    int initCalls = 0;
    int selfDeletes = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_LEVEL, m_slider);
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Check(pDX, IDC_ENABLE, m_enable);
        DDX_Radio(pDX, IDC_MODE_A, m_mode);
        DDX_CBIndex(pDX, IDC_CODEC, m_codec);
        DDX_Slider(pDX, IDC_LEVEL, m_level);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 10);
    }
    BOOL OnInitDialog() override
    {
        ++initCalls;
        m_slider.m_hWnd = NULL; // subclassed by DDX_Control below
        return CDialog::OnInitDialog();
    }
};

void SetText(CDialog& d, int id, LPCSTR text) { d.SetDlgItemText(id, text); }

} // namespace

TEST(FrameworkDialog, ModalDialogExchangesDataBothWays)
{
    CSettingsDlg dlg;
    dlg.m_level = 20;
    bool loaded = false;
    INT_PTR r = CTestKit::RunModal(dlg, [&](CDialog& d) {
        CString name;
        d.GetDlgItemText(IDC_NAME, name);
        CComboBox* combo = (CComboBox*)d.GetDlgItem(IDC_CODEC);
        loaded = name == "alice" && d.IsDlgButtonChecked(IDC_ENABLE) &&
                 d.IsDlgButtonChecked(IDC_MODE_C) && combo->GetCount() == 3 &&
                 combo->GetCurSel() == 1 && ((CSliderCtrl*)d.GetDlgItem(IDC_LEVEL))->GetPos() == 20;
        SetText(d, IDC_NAME, "bob");
        d.CheckDlgButton(IDC_ENABLE, 0);
        d.CheckRadioButton(IDC_MODE_A, IDC_MODE_C, IDC_MODE_A);
        combo->SetCurSel(2);
        ((CSliderCtrl*)d.GetDlgItem(IDC_LEVEL))->SetPos(65);
        SetText(d, IDC_COUNT, "7");
        CTestKit::ClickButton(d.GetDlgItem(IDOK)->m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_TRUE(loaded) << "OnInitDialog filled the controls and the DLGINIT list";
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_STREQ(dlg.m_name, "bob");
    EXPECT_EQ(dlg.m_enable, 0);
    EXPECT_EQ(dlg.m_mode, 0);
    EXPECT_EQ(dlg.m_codec, 2);
    EXPECT_EQ(dlg.m_count, 7);
    EXPECT_EQ(dlg.m_level, 65) << "read back from the slider";
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the window is gone after DoModal";
    EXPECT_EQ(dlg.m_slider.m_hWnd, nullptr) << "the subclassed control went with it";
}

TEST(FrameworkDialog, RefusedInputKeepsTheDialogOpen)
{
    struct Case
    {
        const char* name;
        const char* count;
    } cases[] = {{"way too long name", "5"}, {"ok", "abc"}, {"ok", "11"}, {"ok", ""}};
    for (const Case& c : cases) {
        CTestKit::MessageBoxes boxes;
        CSettingsDlg dlg;
        bool stillOpen = false;
        INT_PTR r = CTestKit::RunModal(dlg, [&](CDialog& d) {
            SetText(d, IDC_NAME, c.name);
            SetText(d, IDC_COUNT, c.count);
            CTestKit::ClickButton(d.GetDlgItem(IDOK)->m_hWnd);
            stillOpen = ::IsWindow(d.m_hWnd) && (d.m_nFlags & WF_CONTINUEMODAL);
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(r, IDCANCEL) << c.count;
        EXPECT_TRUE(stillOpen) << c.name << "/" << c.count;
        EXPECT_EQ(boxes.Shown().size(), 1u) << "one message tells the user";
    }
}

TEST(FrameworkDialog, ModalRunIsBoundedAndOwnerIsReEnabled)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 300, 200, NULL, NULL));
    CSettingsDlg dlg;
    dlg.m_pParentWnd = &owner;
    bool ownerDisabled = false;
    DWORD start = GetTickCount();
    INT_PTR r = CTestKit::RunModal(
        dlg, [&](CDialog&) { ownerDisabled = !owner.IsWindowEnabled(); }, 500);
    EXPECT_EQ(r, IDABORT) << "left alone, the run ends the dialog itself";
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());

    // A message box left open inside the dialog is closed too.
    CSettingsDlg dlg2;
    r = CTestKit::RunModal(
        dlg2, [&](CDialog& d) { ::MessageBoxA(d.m_hWnd, "open", "box", MB_OK); }, 500);
    EXPECT_EQ(r, IDABORT);
    EXPECT_EQ(CTestKit::FindThreadWindow("#32770", NULL), nullptr);
    owner.DestroyWindow();
}

namespace {
int g_modelessGone = 0;
class CModeless : public CSettingsDlg
{
protected:
    void OnCancel() override { DestroyWindow(); }
    void PostNcDestroy() override
    {
        ++g_modelessGone;
        delete this;
    }
};
} // namespace

TEST(FrameworkDialog, ModelessDialogLivesUntilItDestroysItself)
{
    g_modelessGone = 0;
    CModeless* dlg = new CModeless;
    ASSERT_TRUE(dlg->Create(IDD_SETTINGS));
    EXPECT_EQ(dlg->initCalls, 1);
    dlg->ShowWindow(SW_SHOW);
    HWND h = dlg->m_hWnd;
    CString name;
    dlg->GetDlgItemText(IDC_NAME, name);
    EXPECT_STREQ(name, "alice");
    // Escape in the dialog ends it (IsDialogMessage through pre-translation).
    CTestKit::KeyPress(dlg->GetDlgItem(IDC_NAME)->m_hWnd, VK_ESCAPE);
    EXPECT_TRUE(CTestKit::PumpUntil([] { return g_modelessGone == 1; }, 2000));
    EXPECT_FALSE(IsWindow(h));

    CDialog missing(9999);
    EXPECT_EQ(missing.DoModal(), -1) << "a template that does not exist";
    EXPECT_FALSE(missing.Create(9999));
}
