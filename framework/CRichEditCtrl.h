#pragma once
#include "CWnd.h"

#include <richedit.h>

// A rich edit control (AfxInitRichEdit loads its library).
class CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    void GetRect(LPRECT lpRect) const { SendMessage(EM_GETRECT, 0, (LPARAM)lpRect); }
    CPoint GetCharPos(long lChar) const
    {
        POINTL pt = {0, 0};
        SendMessage(EM_POSFROMCHAR, (WPARAM)&pt, lChar);
        return CPoint(pt.x, pt.y);
    }
    UINT GetOptions() const { return (UINT)SendMessage(EM_GETOPTIONS); }
    void SetOptions(WORD wOp, DWORD dwFlags) { SendMessage(EM_SETOPTIONS, wOp, dwFlags); }
    int GetLine(int nIndex, LPSTR lpszBuffer) const
    {
        return (int)SendMessage(EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
    }
    BOOL CanPaste(UINT nFormat = 0) const { return (BOOL)SendMessage(EM_CANPASTE, nFormat); }
    void GetSel(long& nStartChar, long& nEndChar) const
    {
        CHARRANGE cr = {0, 0};
        SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr);
        nStartChar = cr.cpMin;
        nEndChar = cr.cpMax;
    }
    void GetSel(CHARRANGE& cr) const { SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr); }
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
    long LineFromChar(long nIndex) const { return (long)SendMessage(EM_EXLINEFROMCHAR, 0, nIndex); }
    void SetSel(long nStartChar, long nEndChar)
    {
        CHARRANGE cr = {nStartChar, nEndChar};
        SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
    }
    void SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr); }
    DWORD GetDefaultCharFormat(CHARFORMATA& cf) const
    {
        cf.cbSize = sizeof(cf);
        return (DWORD)SendMessage(EM_GETCHARFORMAT, 0, (LPARAM)&cf);
    }
    DWORD GetSelectionCharFormat(CHARFORMATA& cf) const
    {
        cf.cbSize = sizeof(cf);
        return (DWORD)SendMessage(EM_GETCHARFORMAT, 1, (LPARAM)&cf);
    }
    long GetEventMask() const { return (long)SendMessage(EM_GETEVENTMASK); }
    long GetLimitText() const { return (long)SendMessage(EM_GETLIMITTEXT); }
    DWORD GetParaFormat(PARAFORMAT& pf) const
    {
        pf.cbSize = sizeof(pf);
        return (DWORD)SendMessage(EM_GETPARAFORMAT, 0, (LPARAM)&pf);
    }
    long GetSelText(LPSTR lpBuf) const
    {
        return (long)SendMessage(EM_GETSELTEXT, 0, (LPARAM)lpBuf);
    }
    CString GetSelText() const;
    WORD GetSelectionType() const { return (WORD)SendMessage(EM_SELECTIONTYPE); }
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr)
    {
        return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, bSysColor, cr);
    }
    BOOL SetDefaultCharFormat(CHARFORMATA& cf)
    {
        cf.cbSize = sizeof(cf);
        return (BOOL)SendMessage(EM_SETCHARFORMAT, 0, (LPARAM)&cf);
    }
    BOOL SetSelectionCharFormat(CHARFORMATA& cf)
    {
        cf.cbSize = sizeof(cf);
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    }
    BOOL SetWordCharFormat(CHARFORMATA& cf)
    {
        cf.cbSize = sizeof(cf);
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, (LPARAM)&cf);
    }
    DWORD SetEventMask(DWORD dwEventMask)
    {
        return (DWORD)SendMessage(EM_SETEVENTMASK, 0, dwEventMask);
    }
    BOOL SetParaFormat(PARAFORMAT& pf)
    {
        pf.cbSize = sizeof(pf);
        return (BOOL)SendMessage(EM_SETPARAFORMAT, 0, (LPARAM)&pf);
    }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
    void SetTargetDevice(HDC hDC, long lLineWidth)
    {
        SendMessage(EM_SETTARGETDEVICE, (WPARAM)hDC, lLineWidth);
    }
    long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH); }
    int GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE); }
    void HideSelection(BOOL bHide, BOOL bPerm) { SendMessage(EM_HIDESELECTION, bHide, bPerm); }
    void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, nChars, nLines); }
    int LineIndex(int nLine = -1) const { return (int)SendMessage(EM_LINEINDEX, nLine); }
    int LineLength(int nLine = -1) const { return (int)SendMessage(EM_LINELENGTH, nLine); }
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void RequestResize() { SendMessage(EM_REQUESTRESIZE); }
    long StreamIn(int nFormat, EDITSTREAM& es)
    {
        return (long)SendMessage(EM_STREAMIN, nFormat, (LPARAM)&es);
    }
    long StreamOut(int nFormat, EDITSTREAM& es)
    {
        return (long)SendMessage(EM_STREAMOUT, nFormat, (LPARAM)&es);
    }
    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};
