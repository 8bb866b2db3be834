#include <gtest/gtest.h>

#include "CCJFlatComboBox.h"
#include "CColourPickerXP.h"
#include "CSkinDialog.h"
#include "CSkinSlider.h"
#include "CSkinTabCtrl.h"
#include "CStandardSkinButton.h"
#include "CTestKit.h"
#include "ControlTestKit.h"
#include "SkinNames.h"
#include "SkinTestResource.h"

using namespace controltest;

namespace {
// A skinned dialog carrying one of each of the main skinned controls, as the
// client's dialogs combine them.
class CDemoDialog : public CSkinDialog
{
public:
    CDemoDialog() : CSkinDialog(IDD_SKIN_FULL, "CDemoDialog") {}
    CStandardSkinButton ok, cancel;
    CSkinTabCtrl tabs;
    CWnd pages[2];
    CSkinSlider slider;
    CCJFlatComboBox combo;
    CColourPickerXP picker;

    BOOL OnInitDialog() override
    {
        CSkinDialog::OnInitDialog();
        SetWindowPos(NULL, 40, 40, 440, 320, SWP_NOZORDER | SWP_NOACTIVATE);
        CRect rc;
        GetClientRect(&rc);
        ok.SubclassDlgItem(IDOK, this);
        cancel.SubclassDlgItem(IDCANCEL, this);
        ok.MoveWindow(rc.right - 180, rc.bottom - 34, 80, 23);
        cancel.MoveWindow(rc.right - 90, rc.bottom - 34, 80, 23);
        GetDlgItem(IDC_SKIN_EDIT)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_SKIN_EDIT_RO)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_SKIN_LABEL)->ShowWindow(SW_HIDE);

        tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(10, 10, 250, 150), this, 900);
        for (CWnd& p : pages)
            p.Create("STATIC", "", WS_CHILD | SS_WHITERECT, CRect(0, 0, 10, 10), &tabs, 0);
        tabs.AddPage(pages[0].m_hWnd, 0, "视频");
        tabs.AddPage(pages[1].m_hWnd, 1, "音频");
        tabs.SelectPage(0);

        slider.Create(SKIN_SLIDER_CHANNEL_LEFT, SKIN_SLIDERL_CHANNEL_RIGHT, SKIN_SLIDER_THUMB,
                      CRect(270, 20, 342, 30), this, 901, TRUE);
        slider.SetRange(0, 100, TRUE);
        slider.SetPos(60);
        slider.m_nLevel = 45;

        HWND h = ::CreateWindowA("COMBOBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                                     CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                 270, 50, 140, 120, m_hWnd, (HMENU)902, NULL, NULL);
        combo.SubclassWindow(h);
        combo.AddString("所有人");
        combo.AddString("主持人");
        combo.SetCurSel(0);

        picker.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(270, 90, 330, 112), this,
                      903);
        picker.SetColour(RGB(0, 0, 255));
        return TRUE;
    }
};
} // namespace

TEST(ControlsDemo, SkinnedDialogShowsEveryMainControl)
{
    CDemoDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SKIN_FULL, NULL));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    CTestKit::PumpPending();

    for (CWnd* w : {(CWnd*)&dlg.ok, (CWnd*)&dlg.cancel, (CWnd*)&dlg.tabs, (CWnd*)&dlg.slider,
                    (CWnd*)&dlg.combo, (CWnd*)&dlg.picker})
        EXPECT_TRUE(w->m_hWnd && w->IsWindowVisible());
    EXPECT_TRUE(dlg.CloseButton().IsCreated());
    CRect rc;
    dlg.ok.GetWindowRect(&rc);
    EXPECT_EQ(rc.Height(), dlg.ok.GetStateImage(0).GetHeight()) << "the standard strip's height";

    // The user moves to the second tab and drags the slider.
    dlg.tabs.SetCurSel(1);
    NMHDR hdr = {dlg.tabs.m_hWnd, 900, (UINT)TCN_SELCHANGE};
    dlg.SendMessage(WM_NOTIFY, 900, (LPARAM)&hdr);
    EXPECT_TRUE(dlg.pages[1].GetStyle() & WS_VISIBLE);
    CTestKit::SendMouse(dlg.slider.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{10, 5}, MK_LBUTTON);
    CTestKit::SendMouse(dlg.slider.GetSafeHwnd(), WM_LBUTTONUP, POINT{10, 5});
    EXPECT_LT(dlg.slider.GetPos(), 20);

    // The whole window as it shows, kept beside the tests for a look.
    CTestKit::Snapshot shot = CTestKit::Capture(dlg.m_hWnd, false);
    ASSERT_GT(shot.width, 0);
    EXPECT_NE(shot.At(shot.width / 2, 5), ::GetSysColor(COLOR_BTNFACE)) << "a skinned caption";
    WritePixels("ControlsDemo.bmp", shot.width, shot.height, shot.pixels);
    dlg.DestroyWindow();
    CTestKit::PumpPending();
}
