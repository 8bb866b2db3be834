#include "CLangDialog.h"

#include "CLanguageManager.h"

BEGIN_MESSAGE_MAP(CLangDialog, CDialog)
    ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CLangDialog::CLangDialog(UINT templateId, LPCTSTR section, CWnd* parent)
    : CDialog(templateId, parent), m_strSection(section ? section : "")
{}

void CLangDialog::TranslateTexts(BOOL apply)
{
    if (apply && m_hWnd)
        g_LangManager.TranslateDialog(m_strSection, m_hWnd);
}

LRESULT CLangDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG)
        TranslateTexts(TRUE);
    return result;
}

LRESULT CLangDialog::OnLanguageChanged(WPARAM, LPARAM)
{
    TranslateTexts(TRUE);
    return 0;
}
