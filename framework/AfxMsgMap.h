#pragma once
#include "AfxDefs.h"

// Message maps: each class lists the messages and commands it handles in a
// static table chained to its base class's table. The entry records how the
// handler is called (its signature) and a pointer to the member function.

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    // commands and control notifications (WM_COMMAND, WM_NOTIFY, reflections)
    AfxSig_vv,        // void ()
    AfxSig_bv,        // BOOL ()
    AfxSig_vw,        // void (UINT nID)            ranges
    AfxSig_bw,        // BOOL (UINT nID)            ON_COMMAND_EX
    AfxSig_cmdui,     // void (CCmdUI*)
    AfxSig_vNMHDRpl,  // void (NMHDR*, LRESULT*)
    AfxSig_bNMHDRpl,  // BOOL (NMHDR*, LRESULT*)
    AfxSig_vwNMHDRpl, // void (UINT, NMHDR*, LRESULT*)
    AfxSig_bwNMHDRpl, // BOOL (UINT, NMHDR*, LRESULT*)
    // window messages
    AfxSig_lwl,      // LRESULT (WPARAM, LPARAM)
    AfxSig_msg_vv,   // void ()
    AfxSig_is,       // int (LPCREATESTRUCT)
    AfxSig_bD,       // BOOL (CDC*)
    AfxSig_vwii,     // void (UINT, int, int)       OnSize
    AfxSig_vii,      // void (int, int)             OnMove
    AfxSig_vwp,      // void (UINT, CPoint)         mouse, NC mouse
    AfxSig_bwsp,     // BOOL (UINT, short, CPoint)  OnMouseWheel
    AfxSig_vw_msg,   // void (UINT)                 OnTimer
    AfxSig_vwww,     // void (UINT, UINT, UINT)     keys
    AfxSig_vwwW,     // void (UINT, UINT, CScrollBar*) scrolling
    AfxSig_vww,      // void (UINT, UINT)           reflected scrolling
    AfxSig_hDWw,     // HBRUSH (CDC*, CWnd*, UINT)  OnCtlColor
    AfxSig_hDw,      // HBRUSH (CDC*, UINT)         reflected CtlColor
    AfxSig_vOWNER,   // void (int, LPDRAWITEMSTRUCT)
    AfxSig_vMEASURE, // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_vDRAW_R,  // void (LPDRAWITEMSTRUCT)     reflected
    AfxSig_vMEAS_R,  // void (LPMEASUREITEMSTRUCT)  reflected
    AfxSig_vCalc,    // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_wp,       // UINT (CPoint)               OnNcHitTest
    AfxSig_vwWb,     // void (UINT, CWnd*, BOOL)    OnActivate
    AfxSig_bb,       // BOOL (BOOL)                 OnNcActivate
    AfxSig_vW,       // void (CWnd*)                focus, capture
    AfxSig_vbw,      // void (BOOL, UINT)           OnShowWindow
    AfxSig_vMMI,     // void (MINMAXINFO*)
    AfxSig_vPOS,     // void (WINDOWPOS*)
    AfxSig_vwl,      // void (UINT, LPARAM)         OnSysCommand
    AfxSig_vWp,      // void (CWnd*, CPoint)        OnContextMenu
    AfxSig_vMwb,     // void (CMenu*, UINT, BOOL)   OnInitMenuPopup
    AfxSig_vwwh,     // void (UINT, UINT, HMENU)    OnMenuSelect
    AfxSig_bWww,     // BOOL (CWnd*, UINT, UINT)    OnSetCursor
    AfxSig_iWww,     // int (CWnd*, UINT, UINT)     OnMouseActivate
    AfxSig_vh,       // void (HDROP)                OnDropFiles
    AfxSig_bWCDS,    // BOOL (CWnd*, COPYDATASTRUCT*)
    AfxSig_vb,       // void (BOOL)                 OnEnable
    AfxSig_vwSIZING, // void (UINT, LPRECT)         OnSizing
    AfxSig_wv,       // UINT ()                     OnGetDlgCode
    AfxSig_bv_msg,   // BOOL ()                     OnQueryEndSession
    AfxSig_vbh,      // void (BOOL, HTASK)          OnActivateApp (bActive, thread id)
    AfxSig_bs,       // BOOL (LPCREATESTRUCT)       OnNcCreate
    AfxSig_vws,      // void (UINT, LPCSTR)         OnSettingChange
    AfxSig_bwl,      // BOOL (UINT, DWORD_PTR)      OnDeviceChange
    AfxSig_viSTYLE,  // void (int, LPSTYLESTRUCT)   OnStyleChanged/Changing
    AfxSig_bHELP,    // BOOL (HELPINFO*)            OnHelpInfo
    AfxSig_vwW,      // void (UINT, CWnd*)          OnEnterIdle
    AfxSig_iCOMPARE, // int (int, LPCOMPAREITEMSTRUCT) OnCompareItem
    AfxSig_vDELETE,  // void (int, LPDELETEITEMSTRUCT) OnDeleteItem
    AfxSig_iCOMP_R,  // int (LPCOMPAREITEMSTRUCT)   reflected
    AfxSig_vDEL_R,   // void (LPDELETEITEMSTRUCT)   reflected
    AfxSig_lwwM,     // LRESULT (UINT, UINT, CMenu*) OnMenuChar
    AfxSig_vs,       // void (LPCSTR)               OnWinIniChange
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // window message, or WM_COMMAND / WM_NOTIFY for commands
    UINT nCode;    // control code or WM_NOTIFY code
    UINT nID;      // control id (0 for window messages)
    UINT nLastID;  // last id of a range
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The one colour message that stands for every WM_CTLCOLOR* message.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Reflected messages reach the control itself with this offset.
#define WM_REFLECT_BASE 0xBC00

// Framework-private messages.
#define WM_IDLEUPDATECMDUI 0x0363 // wParam = disable controls without handler
#define WM_INITIALUPDATE 0x0364
#define WM_KICKIDLE 0x036A
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_FLOATSTATUS 0x036D
#define WM_RECALCPARENT 0x0368
#define WM_HELPHITTEST 0x0366

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_NOTIFY ((UINT)(-2)) // internal only

struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                           \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                         \
    {                                                                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        (void)sizeof(ThisClass*);                                                                  \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// Casts a handler of the given type to the stored form; a handler with the
// wrong signature does not compile.
#define AFX_MSGFN(type, fn) (reinterpret_cast<AFX_PMSG>(static_cast<type>(fn)))

// ---- commands ----
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, (WORD)(id),                                                           \
     (WORD)(id), AfxSig_vv,  AFX_MSGFN(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_COMMAND_EX(id, memberFxn)                                                               \
    {WM_COMMAND, CN_COMMAND, (WORD)(id),                                                           \
     (WORD)(id), AfxSig_bw,  AFX_MSGFN(BOOL(CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,     CN_COMMAND, (WORD)(id),                                                       \
     (WORD)(idLast), AfxSig_vw,  AFX_MSGFN(void(CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                 \
    {WM_COMMAND,     CN_COMMAND, (WORD)(id),                                                       \
     (WORD)(idLast), AfxSig_bw,  AFX_MSGFN(BOOL(CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    {WM_COMMAND,   CN_UPDATE_COMMAND_UI,                                                           \
     (WORD)(id),   (WORD)(id),                                                                     \
     AfxSig_cmdui, AFX_MSGFN(void(CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                          \
    {WM_COMMAND,   CN_UPDATE_COMMAND_UI,                                                           \
     (WORD)(id),   (WORD)(idLast),                                                                 \
     AfxSig_cmdui, AFX_MSGFN(void(CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)},

// ---- control notifications sent to the parent ----
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id),                                                  \
     (WORD)(id), AfxSig_vv,           AFX_MSGFN(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                       \
    {WM_COMMAND, (WORD)(wNotifyCode),                                                              \
     (WORD)(id), (WORD)(idLast),                                                                   \
     AfxSig_vw,  AFX_MSGFN(void(CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY,       (WORD)(int)(wNotifyCode),                                                    \
     (WORD)(id),      (WORD)(id),                                                                  \
     AfxSig_vNMHDRpl, AFX_MSGFN(void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                        \
    {WM_NOTIFY,                                                                                    \
     (WORD)(int)(wNotifyCode),                                                                     \
     (WORD)(id),                                                                                   \
     (WORD)(idLast),                                                                               \
     AfxSig_vwNMHDRpl,                                                                             \
     AFX_MSGFN(void(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                   \
    {WM_NOTIFY,                                                                                    \
     (WORD)(int)(wNotifyCode),                                                                     \
     (WORD)(id),                                                                                   \
     (WORD)(id),                                                                                   \
     AfxSig_bwNMHDRpl,                                                                             \
     AFX_MSGFN(BOOL(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                     \
    {WM_NOTIFY,                                                                                    \
     (WORD)(int)(wNotifyCode),                                                                     \
     (WORD)(id),                                                                                   \
     (WORD)(idLast),                                                                               \
     AfxSig_bwNMHDRpl,                                                                             \
     AFX_MSGFN(BOOL(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},

// ---- reflected notifications, handled by the control itself ----
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                 \
    {WM_REFLECT_BASE + WM_COMMAND,                                                                 \
     (WORD)(wNotifyCode),                                                                          \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vv,                                                                                    \
     AFX_MSGFN(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                              \
    {WM_REFLECT_BASE + WM_COMMAND,                                                                 \
     (WORD)(wNotifyCode),                                                                          \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_bv,                                                                                    \
     AFX_MSGFN(BOOL(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    {WM_REFLECT_BASE + WM_NOTIFY,                                                                  \
     (WORD)(int)(wNotifyCode),                                                                     \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vNMHDRpl,                                                                              \
     AFX_MSGFN(void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                               \
    {WM_REFLECT_BASE + WM_NOTIFY,                                                                  \
     (WORD)(int)(wNotifyCode),                                                                     \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_bNMHDRpl,                                                                              \
     AFX_MSGFN(BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_REFLECT_BASE + WM_CTLCOLOR,                                                                \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_hDw,                                                                                   \
     AFX_MSGFN(HBRUSH(CWnd::*)(CDC*, UINT), &ThisClass::CtlColor)},
#define ON_WM_DRAWITEM_REFLECT()                                                                   \
    {WM_REFLECT_BASE + WM_DRAWITEM,                                                                \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vDRAW_R,                                                                               \
     AFX_MSGFN(void(CWnd::*)(LPDRAWITEMSTRUCT), &ThisClass::DrawItem)},
#define ON_WM_MEASUREITEM_REFLECT()                                                                \
    {WM_REFLECT_BASE + WM_MEASUREITEM,                                                             \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vMEAS_R,                                                                               \
     AFX_MSGFN(void(CWnd::*)(LPMEASUREITEMSTRUCT), &ThisClass::MeasureItem)},
#define ON_WM_HSCROLL_REFLECT()                                                                    \
    {WM_REFLECT_BASE + WM_HSCROLL,                                                                 \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vww,                                                                                   \
     AFX_MSGFN(void(CWnd::*)(UINT, UINT), &ThisClass::HScroll)},
#define ON_WM_VSCROLL_REFLECT()                                                                    \
    {WM_REFLECT_BASE + WM_VSCROLL,                                                                 \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vww,                                                                                   \
     AFX_MSGFN(void(CWnd::*)(UINT, UINT), &ThisClass::VScroll)},

// ---- user and registered messages ----
#define ON_MESSAGE(message, memberFxn)                                                             \
    {(UINT)(message),                                                                              \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_lwl,                                                                                   \
     AFX_MSGFN(LRESULT(CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                         \
    {0xC000,                                                                                       \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     (UINT_PTR)(UINT*)(&nMessageVariable),                                                         \
     AFX_MSGFN(LRESULT(CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_THREAD_MESSAGE(message, memberFxn)                                                      \
    {(UINT)(message),                                                                              \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vwl,                                                                                   \
     AFX_MSGFN(void(CWinThread::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},

// ---- window messages ----
#define AFX_WM(msg, sig, type, fn) {msg, 0, 0, 0, sig, AFX_MSGFN(type, &ThisClass::fn)},
#define ON_WM_CREATE() AFX_WM(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, AfxSig_msg_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, AfxSig_msg_vv, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, AfxSig_msg_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() AFX_WM(WM_PAINT, AfxSig_msg_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, AfxSig_msg_vv, void (CWnd::*)(), OnNcPaint)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, AfxSig_msg_vv, void (CWnd::*)(), OnCancelMode)
#define ON_WM_SYSCOLORCHANGE()                                                                     \
    AFX_WM(WM_SYSCOLORCHANGE, AfxSig_msg_vv, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_TIMECHANGE() AFX_WM(WM_TIMECHANGE, AfxSig_msg_vv, void (CWnd::*)(), OnTimeChange)
#define ON_WM_ERASEBKGND() AFX_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_WM(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, AfxSig_vw_msg, void (CWnd::*)(UINT), OnTimer)
#define ON_WM_LBUTTONDOWN()                                                                        \
    AFX_WM(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP()                                                                          \
    AFX_WM(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    AFX_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()                                                                        \
    AFX_WM(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP()                                                                          \
    AFX_WM(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK()                                                                      \
    AFX_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN()                                                                        \
    AFX_WM(WM_MBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP()                                                                          \
    AFX_WM(WM_MBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MOUSEMOVE()                                                                          \
    AFX_WM(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL()                                                                         \
    AFX_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_NCLBUTTONDOWN()                                                                      \
    AFX_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()                                                                        \
    AFX_WM(WM_NCLBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK()                                                                    \
    AFX_WM(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN()                                                                      \
    AFX_WM(WM_NCRBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP()                                                                        \
    AFX_WM(WM_NCRBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCMOUSEMOVE()                                                                        \
    AFX_WM(WM_NCMOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_KEYDOWN() AFX_WM(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN()                                                                         \
    AFX_WM(WM_SYSKEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP()                                                                           \
    AFX_WM(WM_SYSKEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_HSCROLL()                                                                            \
    AFX_WM(WM_HSCROLL, AfxSig_vwwW, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL()                                                                            \
    AFX_WM(WM_VSCROLL, AfxSig_vwwW, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CTLCOLOR()                                                                           \
    AFX_WM(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM()                                                                           \
    AFX_WM(WM_DRAWITEM, AfxSig_vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM()                                                                        \
    AFX_WM(WM_MEASUREITEM, AfxSig_vMEASURE, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_NCCALCSIZE()                                                                         \
    AFX_WM(WM_NCCALCSIZE, AfxSig_vCalc, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, AfxSig_wp, UINT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_ACTIVATE()                                                                           \
    AFX_WM(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_NCACTIVATE() AFX_WM(WM_NCACTIVATE, AfxSig_bb, BOOL (CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED()                                                                     \
    AFX_WM(WM_CAPTURECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_SHOWWINDOW()                                                                         \
    AFX_WM(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_GETMINMAXINFO()                                                                      \
    AFX_WM(WM_GETMINMAXINFO, AfxSig_vMMI, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING()                                                                  \
    AFX_WM(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()                                                                   \
    AFX_WM(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_SYSCOMMAND()                                                                         \
    AFX_WM(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_CONTEXTMENU()                                                                        \
    AFX_WM(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_INITMENUPOPUP()                                                                      \
    AFX_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT()                                                                         \
    AFX_WM(WM_MENUSELECT, AfxSig_vwwh, void (CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_SETCURSOR()                                                                          \
    AFX_WM(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE()                                                                      \
    AFX_WM(WM_MOUSEACTIVATE, AfxSig_iWww, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_DROPFILES() AFX_WM(WM_DROPFILES, AfxSig_vh, void (CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_COPYDATA()                                                                           \
    AFX_WM(WM_COPYDATA, AfxSig_bWCDS, BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_ENABLE() AFX_WM(WM_ENABLE, AfxSig_vb, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_SIZING() AFX_WM(WM_SIZING, AfxSig_vwSIZING, void (CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_GETDLGCODE() AFX_WM(WM_GETDLGCODE, AfxSig_wv, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_QUERYENDSESSION()                                                                    \
    AFX_WM(WM_QUERYENDSESSION, AfxSig_bv_msg, BOOL (CWnd::*)(), OnQueryEndSession)
#define ON_WM_ACTIVATEAPP()                                                                        \
    AFX_WM(WM_ACTIVATEAPP, AfxSig_vbh, void (CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_MBUTTONDBLCLK()                                                                      \
    AFX_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_NCRBUTTONDBLCLK()                                                                    \
    AFX_WM(WM_NCRBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcRButtonDblClk)
#define ON_WM_SYSCHAR() AFX_WM(WM_SYSCHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_CHILDACTIVATE()                                                                      \
    AFX_WM(WM_CHILDACTIVATE, AfxSig_msg_vv, void (CWnd::*)(), OnChildActivate)
#define ON_WM_PARENTNOTIFY()                                                                       \
    AFX_WM(WM_PARENTNOTIFY, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_NCCREATE() AFX_WM(WM_NCCREATE, AfxSig_bs, BOOL (CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_SETTINGCHANGE()                                                                      \
    AFX_WM(WM_SETTINGCHANGE, AfxSig_vws, void (CWnd::*)(UINT, LPCSTR), OnSettingChange)
#define ON_WM_DEVICECHANGE()                                                                       \
    AFX_WM(WM_DEVICECHANGE, AfxSig_bwl, BOOL (CWnd::*)(UINT, DWORD_PTR), OnDeviceChange)
#define ON_WM_STYLECHANGED()                                                                       \
    AFX_WM(WM_STYLECHANGED, AfxSig_viSTYLE, void (CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_STYLECHANGING()                                                                      \
    AFX_WM(WM_STYLECHANGING, AfxSig_viSTYLE, void (CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_HELPINFO() AFX_WM(WM_HELP, AfxSig_bHELP, BOOL (CWnd::*)(HELPINFO*), OnHelpInfo)
#define ON_WM_ENTERIDLE() AFX_WM(WM_ENTERIDLE, AfxSig_vwW, void (CWnd::*)(UINT, CWnd*), OnEnterIdle)
#define ON_WM_ENDSESSION() AFX_WM(WM_ENDSESSION, AfxSig_vb, void (CWnd::*)(BOOL), OnEndSession)
#define ON_WM_PALETTECHANGED()                                                                     \
    AFX_WM(WM_PALETTECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE()                                                                    \
    AFX_WM(WM_QUERYNEWPALETTE, AfxSig_bv_msg, BOOL (CWnd::*)(), OnQueryNewPalette)
#define ON_WM_MOVING() AFX_WM(WM_MOVING, AfxSig_vwSIZING, void (CWnd::*)(UINT, LPRECT), OnMoving)
#define ON_WM_COMPAREITEM()                                                                        \
    AFX_WM(WM_COMPAREITEM, AfxSig_iCOMPARE, int (CWnd::*)(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_DELETEITEM()                                                                         \
    AFX_WM(WM_DELETEITEM, AfxSig_vDELETE, void (CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_MENUCHAR()                                                                           \
    AFX_WM(WM_MENUCHAR, AfxSig_lwwM, LRESULT (CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_WININICHANGE()                                                                       \
    AFX_WM(WM_WININICHANGE, AfxSig_vs, void (CWnd::*)(LPCSTR), OnWinIniChange)
#define ON_WM_MOUSELEAVE() AFX_WM(WM_MOUSELEAVE, AfxSig_msg_vv, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_HOTKEY() AFX_WM(WM_HOTKEY, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnHotKey)
#define ON_WM_COMPAREITEM_REFLECT()                                                                \
    {WM_REFLECT_BASE + WM_COMPAREITEM,                                                             \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_iCOMP_R,                                                                               \
     AFX_MSGFN(int(CWnd::*)(LPCOMPAREITEMSTRUCT), &ThisClass::CompareItem)},
#define ON_WM_DELETEITEM_REFLECT()                                                                 \
    {WM_REFLECT_BASE + WM_DELETEITEM,                                                              \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_vDEL_R,                                                                                \
     AFX_MSGFN(void(CWnd::*)(LPDELETEITEMSTRUCT), &ThisClass::DeleteItem)},

// ---- control notification shorthands ----
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
