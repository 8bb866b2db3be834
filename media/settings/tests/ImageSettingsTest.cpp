// The image post-processing dialog: its texts, the live preview and what
// reaches the owner's record.
#include "CDlgImgProcConfig.h"
#include "CTestKit.h"
#include "SettingsControls.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <cstring>

using namespace settingstest;
using namespace settingsui;

namespace {
IMG_PROC_SETTING Neutral()
{
    IMG_PROC_SETTING r = {};
    r.field[0] = 0;
    r.field[1] = 64;
    r.field[2] = 150;
    r.field[3] = 25;
    r.field[4] = 1000;
    r.field[5] = 7;
    r.field[6] = 128;
    r.field[7] = 0;
    r.field[8] = 100;
    r.field[9] = 12;
    r.field[10] = 3;
    r.field[11] = 0x00010101; // every switch on
    r.field[12] = 0;
    r.field[13] = 64;
    r.field[14] = 128;
    r.field[15] = 0;
    r.field[16] = 100;
    return r;
}

void MoveSlider(CWnd* dlg, int id, int pos)
{
    SliderSetPos(dlg, id, pos);
    dlg->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos), (LPARAM)Item(dlg, id));
}

std::string LastCall() { return Calls().empty() ? std::string() : Calls().back(); }

std::string SetCall(const IMG_PROC_SETTING& r)
{
    std::string text = "T_SetImgProcSetting";
    for (int i = 0; i < 12; ++i)
        text += " " + std::to_string(r.field[i]);
    return text;
}
} // namespace

TEST(ImageSettings, TextsShowTheValuesAndWhetherTheyAreNeutral)
{
    IMG_PROC_SETTING r = Neutral();
    IMG_PROC_SETTING moved = r;
    moved.field[0] = 1;
    moved.field[1] = 63;
    moved.field[6] = 0;
    moved.field[7] = -5;
    moved.field[8] = 101;
    struct Case
    {
        int field;
        const IMG_PROC_SETTING* record;
        const char* text;
    } cases[] = {
        {0, &r, "Hue:0(off)"},
        {0, &moved, "Hue:1(on)"},
        {1, &r, "Saturation:64(off)"},
        {1, &moved, "Saturation:63(on)"},
        {2, &r, "Denoise3d-Luma:1.50,Chroma:0.25,Time:10.00"},
        {4, &r, "Denoise3d-Luma:1.50,Chroma:0.25,Time:10.00"},
        {5, &r, "Gradual denoise:7"},
        {6, &moved, "Luminance gain:0(on)"},
        {7, &r, "Luminance offset:0(off)"},
        {7, &moved, "Luminance offset:-5(on)"},
        {8, &r, "Gamma correction:1.00(off)"},
        {8, &moved, "Gamma correction:1.01(on)"},
        {9, &r, "Processing strength:12"},
        {10, &r, "Quality control:3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDlgImgProcConfig::FieldText(c.field, *c.record), c.text) << c.field;
    EXPECT_EQ(CDlgImgProcConfig::TextControl(3), IDC_IMG_DENOISE3D);
}

class ImageSettingsDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallMediaFakes();
        Media().defaults = Neutral();
        owner = Neutral();
        owner.field[0] = 30;
        owner.field[9] = 200;
    }
    void TearDown() override { UninstallMediaFakes(); }

    IMG_PROC_SETTING owner;
};

TEST_F(ImageSettingsDialog, SliderMovesPreviewAndCancelTakesThemBack)
{
    IMG_PROC_SETTING before = owner;
    CDlgImgProcConfig dlg(&owner);
    INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
        EXPECT_EQ(SliderPos(&d, IDC_IMG_HUE), 30);
        char text[64] = {};
        d.GetDlgItemText(IDC_IMG_HUE_LABEL, text, sizeof text);
        EXPECT_STREQ(text, "Hue:30(on)");

        MoveSlider(&d, IDC_IMG_HUE, 0);
        d.GetDlgItemText(IDC_IMG_HUE_LABEL, text, sizeof text);
        EXPECT_STREQ(text, "Hue:0(off)");
        IMG_PROC_SETTING preview = before;
        preview.field[0] = 0;
        EXPECT_EQ(LastCall(), SetCall(preview));

        MoveSlider(&d, IDC_IMG_DENOISE_CHROMA, 500);
        preview.field[3] = 500;
        EXPECT_EQ(LastCall(), SetCall(preview));
        d.GetDlgItemText(IDC_IMG_DENOISE3D, text, sizeof text);
        EXPECT_STREQ(text, "Denoise3d-Luma:1.50,Chroma:5.00,Time:10.00");

        SetChecked(&d, IDC_IMG_POST_PROC, false);
        CTestKit::ClickButton(Item(&d, IDC_IMG_POST_PROC));
        preview.field[11] = 0x00000101;
        EXPECT_EQ(LastCall(), SetCall(preview));
        CTestKit::ClickButton(Item(&d, IDCANCEL));
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(LastCall(), SetCall(before)) << "the picture goes back to the owner's record";
    EXPECT_EQ(std::memcmp(&owner, &before, sizeof owner), 0);
}

TEST_F(ImageSettingsDialog, DefaultsKeepTheSwitchesAndReachTheOwnerOnlyOnApply)
{
    IMG_PROC_SETTING before = owner;
    CDlgImgProcConfig dlg(&owner);
    Media().defaults.field[11] = 0; // the library's defaults have every switch off
    CTestKit::RunModal(dlg, [&](CDialog& d) {
        SetChecked(&d, IDC_IMG_GRADUAL_ON, false);
        CTestKit::ClickButton(Item(&d, IDC_IMG_GRADUAL_ON));
        CTestKit::ClickButton(Item(&d, IDC_IMG_DEFAULT));
        IMG_PROC_SETTING shown = Neutral();
        shown.field[11] = 0x00010001; // as the switches stand
        EXPECT_EQ(LastCall(), SetCall(shown));
        EXPECT_EQ(dlg.WorkingCopy().field[11], 0x00010001);
        EXPECT_EQ(SliderPos(&d, IDC_IMG_HUE), 0);
        EXPECT_EQ(SliderPos(&d, IDC_IMG_STRENGTH), 12);
        EXPECT_TRUE(Checked(&d, IDC_IMG_POST_PROC));
        EXPECT_EQ(std::memcmp(&owner, &before, sizeof owner), 0)
            << "defaults are not committed yet";

        MoveSlider(&d, IDC_IMG_GAMMA, 250);
        CTestKit::ClickButton(Item(&d, IDC_IMG_APPLY));
        EXPECT_EQ(owner.field[8], 250);
        EXPECT_EQ(owner.field[0], 0);
        EXPECT_EQ(owner.field[11], 0x00010001);
        EXPECT_EQ(owner.field[16], before.field[16]) << "neutral values are never changed";
        EXPECT_EQ(LastCall(), SetCall(owner));
        CTestKit::ClickButton(Item(&d, IDOK));
    });
    EXPECT_EQ(owner.field[8], 250);
}
