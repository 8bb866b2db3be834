// Dialog data exchange: UpdateData, the DLGINIT lists and the DDX_/DDV_
// functions.
#include "CDataExchange.h"
#include "CException.h"
#include "CWnd.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!h)
        AfxThrowNotSupportedException(); // a control the template lacks
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPCSTR lpszResourceName)
{
    if (!lpszResourceName)
        return TRUE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(240));
    if (!hRes)
        return TRUE; // no list to fill
    DWORD size = ::SizeofResource(hInst, hRes);
    const BYTE* p = (const BYTE*)::LockResource(::LoadResource(hInst, hRes));
    if (!p)
        return FALSE;
    // Records: u16 control id, u16 message, u32 length, data; a zero id ends.
    const BYTE* end = p + size;
    while (p + 2 <= end && *(const WORD*)p != 0) {
        if (p + 8 > end)
            return FALSE;
        WORD id = *(const WORD*)p;
        WORD msg = *(const WORD*)(p + 2);
        DWORD len = *(const DWORD*)(p + 4);
        p += 8;
        if (len > (DWORD)(end - p))
            return FALSE;
        if (msg == 0x0401)
            msg = LB_ADDSTRING;
        else if (msg == 0x0403)
            msg = CB_ADDSTRING;
        if ((msg == LB_ADDSTRING || msg == CB_ADDSTRING) && len > 0 && memchr(p, 0, len)) {
            LRESULT r = ::SendDlgItemMessageA(m_hWnd, id, msg, 0, (LPARAM)p);
            if (r == LB_ERR || r == LB_ERRSPACE)
                return FALSE;
        }
        p += len;
    }
    return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    // an in-memory list: trusted as the caller built it; bounded by its end mark
    const BYTE* p = (const BYTE*)lpResource;
    if (!p)
        return TRUE;
    while (*(const WORD*)p != 0) {
        WORD id = *(const WORD*)p;
        WORD msg = *(const WORD*)(p + 2);
        DWORD len = *(const DWORD*)(p + 4);
        p += 8;
        if (msg == 0x0401)
            msg = LB_ADDSTRING;
        else if (msg == 0x0403)
            msg = CB_ADDSTRING;
        if ((msg == LB_ADDSTRING || msg == CB_ADDSTRING) && len > 0)
            ::SendDlgItemMessageA(m_hWnd, id, msg, 0, (LPARAM)p);
        p += len;
    }
    return TRUE;
}

// ---------------------------------------------------------------- DDX

namespace {
CString GetText(HWND h)
{
    CString s;
    int n = ::GetWindowTextLengthA(h);
    int got = ::GetWindowTextA(h, s.GetBufferSetLength(n), n + 1);
    s.ReleaseBuffer(got);
    return s;
}

void FailWith(CDataExchange* pDX, LPCSTR text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool ParseLong(LPCSTR text, long& v)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (!*text)
        return false;
    char* endp;
    errno = 0;
    v = strtol(text, &endp, 10);
    while (*endp == ' ' || *endp == '\t')
        ++endp;
    return *endp == 0 && errno == 0;
}

bool ParseULong(LPCSTR text, unsigned long& v)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (!*text || *text == '-')
        return false;
    char* endp;
    errno = 0;
    v = strtoul(text, &endp, 10);
    while (*endp == ' ' || *endp == '\t')
        ++endp;
    return *endp == 0 && errno == 0;
}

template <class T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value, long lo, long hi)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long v;
        if (!ParseLong(GetText(h), v) || v < lo || v > hi)
            FailWith(pDX, "请输入一个整数。");
        value = (T)v;
    } else {
        char buf[32];
        sprintf(buf, "%ld", (long)value);
        ::SetWindowTextA(h, buf);
    }
}

template <class T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long hi)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long v;
        if (!ParseULong(GetText(h), v) || v > hi)
            FailWith(pDX, "请输入一个正整数。");
        value = (T)v;
    } else {
        char buf[32];
        sprintf(buf, "%lu", (unsigned long)value);
        ::SetWindowTextA(h, buf);
    }
}

template <class T>
void TextFloat(CDataExchange* pDX, int nIDC, T& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString s = GetText(h);
        LPCSTR text = s;
        char* endp;
        double d = strtod(text, &endp);
        while (*endp == ' ')
            ++endp;
        if (endp == text || *endp)
            FailWith(pDX, "请输入一个数字。");
        value = (T)d;
    } else {
        char buf[64];
        sprintf(buf, "%.*g", sizeof(T) == sizeof(float) ? 7 : 15, (double)value);
        ::SetWindowTextA(h, buf);
    }
}
} // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetText(h);
    else
        ::SetWindowTextA(h, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, LPSTR value, int nMaxLen)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        ::GetWindowTextA(h, value, nMaxLen);
    else
        ::SetWindowTextA(h, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    TextSigned(pDX, nIDC, value, -32768, 32767);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextUnsigned(pDX, nIDC, value, 0xFFFFFFFFul);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    TextUnsigned(pDX, nIDC, value, 0xFFFFFFFFul);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    TextUnsigned(pDX, nIDC, value, 255);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextFloat(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextFloat(pDX, nIDC, value); }

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(h, BM_SETCHECK, (WPARAM)((value < 0 || value > 2) ? 0 : value), 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // nIDC is the first button of a group; the group runs until the next
    // control with WS_GROUP.
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) != 0)
                    value = index;
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongA(h, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(h, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(h, CB_SETCURSEL, index, 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = GetText(h);
    } else if (::SendMessageA(h, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR) {
        ::SetWindowTextA(h, value);
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(h, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(h, LB_SETCURSEL, index, 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int sel = (int)::SendMessageA(h, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (sel != LB_ERR) {
            int n = (int)::SendMessageA(h, LB_GETTEXTLEN, sel, 0);
            ::SendMessageA(h, LB_GETTEXT, sel, (LPARAM)value.GetBufferSetLength(n));
            value.ReleaseBuffer();
        }
    } else {
        ::SendMessageA(h, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value);
    }
}

void AFXAPI DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(h, TBM_GETPOS, 0, 0);
    else
        ::SendMessageA(h, TBM_SETPOS, TRUE, value);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h))
        AfxThrowNotSupportedException();
}

// ---------------------------------------------------------------- DDV

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString text;
            text.Format("输入的文字不能超过 %d 个字符。", nChars);
            FailWith(pDX, text);
        }
    } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, nChars, 0);
    }
}

static void RangeFail(CDataExchange* pDX, LPCSTR fmt, double lo, double hi)
{
    CString text;
    text.Format(fmt, lo, hi);
    FailWith(pDX, text);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        RangeFail(pDX, "请输入 %g 到 %g 之间的数字。", minVal, maxVal);
}

void AFXAPI DDV_MinMaxSlider(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    if (pDX->m_bSaveAndValidate) {
        if (value < minVal || value > maxVal)
            RangeFail(pDX, "请输入 %.0f 到 %.0f 之间的整数。", minVal, maxVal);
    } else if (pDX->m_hWndLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, TBM_SETRANGEMIN, FALSE, (LPARAM)minVal);
        ::SendMessageA(pDX->m_hWndLastControl, TBM_SETRANGEMAX, TRUE, (LPARAM)maxVal);
    }
}
