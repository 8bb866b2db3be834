#pragma once
#include "CLangDialog.h"
#include "CRemoteSettings.h"

class CStringList;

// The video page of another participant's settings.
class CDlgVideoConfigRemote : public CLangDialog
{
public:
    CDlgVideoConfigRemote(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    void Fill(const DEVICE_SETTINGS& settings, const REMOTE_NAMES& names);
    // The video part from the controls; a list without a selection keeps
    // the value of settings.
    void Read(DEVICE_SETTINGS* settings);
    void RestoreValues();
    // The input list takes these names (settings applied at this terminal).
    int SetInputs(CStringList& inputs);
    void SelectInput(int index);

    void TranslateTexts(BOOL apply) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowRateLabel();
    void ValuesToControls();

    DEVICE_SETTINGS m_values = {};
};
