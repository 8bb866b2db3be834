#pragma once
#include "CLangDialog.h"
#include "CRemoteSettings.h"

// The audio page of another participant's settings: shows his report and
// gives what the user set for the record that goes back to him.
class CDlgAudioConfigRemote : public CLangDialog
{
public:
    CDlgAudioConfigRemote(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    void Fill(const DEVICE_SETTINGS& settings, const REMOTE_NAMES& names);
    // The audio part from the controls; a list without a selection keeps
    // the value of settings.
    void Read(DEVICE_SETTINGS* settings);
    void RestoreValues();

    void TranslateTexts(BOOL apply) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void FillLevelLists();
    void SelectFecMode(bool manual);
    void ValuesToControls();

    DEVICE_SETTINGS m_values = {};
};
