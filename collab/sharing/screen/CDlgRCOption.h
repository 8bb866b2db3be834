#pragma once
#include "CLangDialog.h"

#include <string>
#include <utility>
#include <vector>

// The sharing options: which top-level window to share, 8-bit compression
// and fitting the picture to the viewer's window.
class CDlgRCOption : public CLangDialog
{
public:
    enum : UINT { IDD = 234 };

    explicit CDlgRCOption(CWnd* parent = NULL);

    // The windows a user can choose: visible, at least 1 x 1 pixel, without
    // parent, with a title, and not the desktop's program manager; in the
    // order the system lists them.
    static std::vector<std::pair<HWND, std::string>> ListShareableWindows();

    HWND GetChosenWindow() const { return m_chosen; }
    bool GetCompress8() const { return m_compress8; }
    bool GetFit() const { return m_fit; }

    void OnOK() override;

protected:
    BOOL OnInitDialog() override;
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_list;
    HWND m_chosen = NULL;
    bool m_compress8 = false;
    bool m_fit = true;
};
