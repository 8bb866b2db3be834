#pragma once
#include "CSkinDialog.h"
#include "CStandardSkinButton.h"
#include "SettingsCalls.h"

#include <string>

// The image post-processing settings of the local video: eleven sliders
// and three switches over a working copy of the owner's record; every move
// goes to the video library at once, "应用" and OK commit it to the owner's
// record, Cancel puts the owner's record back.
class CDlgImgProcConfig : public CSkinDialog
{
public:
    CDlgImgProcConfig(IMG_PROC_SETTING* owner, CWnd* parent = nullptr);

    // The text shown for a field (0 to 10) of a record.
    static std::string FieldText(int field, const IMG_PROC_SETTING& record);
    // The control that shows a field's text.
    static int TextControl(int field);

    const IMG_PROC_SETTING& WorkingCopy() const { return m_work; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyToOwner();
    void SetDefaults();
    void ShowValues(const IMG_PROC_SETTING& record);
    void ShowText(int field, const IMG_PROC_SETTING& record);
    void OnSliderMoved(HWND slider);
    void ReadSwitches(IMG_PROC_SETTING& record);

    IMG_PROC_SETTING* m_owner;
    IMG_PROC_SETTING m_work;
    CStandardSkinButton m_buttons[4];
};
