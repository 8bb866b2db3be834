#pragma once
#include "CLangDialog.h"

// The About box: the picture "Skins\\About.bmp", the dialog sized to it.
class CAboutDlg : public CLangDialog
{
public:
    explicit CAboutDlg(CWnd* parent = NULL);
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;
    // The picture's size, (0, 0) when the file could not be loaded.
    CSize GetPictureSize() const { return m_pictureSize; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    HBITMAP m_picture = NULL;
    CSize m_pictureSize;
};
