#pragma once
// The skin file names, shared by every window that paints skins. The names
// are relative to the current directory: all but two lie in the folder
// "Skins"; the two progress-bar files lie in the current directory itself.
// Plain C++ so that the skin image generator can read the same table.
// Each source file that includes this header gets its own copies.

static const char* const SKIN_STANDARD_BUTTON = "Skins\\StandardButton.bmp";            // 0
static const char* const SKIN_TOP = "Skins\\top.bmp";                                   // 1
static const char* const SKIN_SS = "Skins\\ss.bmp";                                     // 2
static const char* const SKIN_CLOSESD = "Skins\\Closesd.bmp";                           // 3
static const char* const SKIN_S_BTN = "Skins\\sBtn.bmp";                                // 4
static const char* const SKIN_CLOSES = "Skins\\Closes.bmp";                             // 5
static const char* const SKIN_BORDER2 = "Skins\\Border2.bmp";                           // 6
static const char* const SKIN_BORDER3 = "Skins\\Border3.bmp";                           // 7
static const char* const SKIN_BORDER1 = "Skins\\Border1.bmp";                           // 8
static const char* const SKIN_SMALL_VIDEO_BKGND = "Skins\\SmallVideoBkgnd.bmp";         // 9
static const char* const SKIN_BAR0 = "Skins\\Bar0.bmp";                                 // 10
static const char* const SKIN_RIGHT_BAR_BK0 = "Skins\\RightBarBk0.bmp";                 // 11
static const char* const SKIN_MAIN_TOP = "Skins\\MainTop.bmp";                          // 12
static const char* const SKIN_MAIN_TITLE = "Skins\\MainTitle.bmp";                      // 13
static const char* const SKIN_MIN_BUTTON = "Skins\\MinButton.bmp";                      // 14
static const char* const SKIN_MAX_BUTTON = "Skins\\MaxButton.bmp";                      // 15
static const char* const SKIN_RESTORE_BUTTON = "Skins\\RestoreButton.bmp";              // 16
static const char* const SKIN_MAIN_CLOSE_BTN = "Skins\\MainCloseBtn.bmp";               // 17
static const char* const SKIN_MAIN_BORDER_LEFT = "Skins\\MainBorderLeft.bmp";           // 18
static const char* const SKIN_MAIN_BORDER_RIGHT = "Skins\\MainBorderRight.bmp";         // 19
static const char* const SKIN_MAIN_BORDER_BOTTOM = "Skins\\MainBorderBottom.bmp";       // 20
static const char* const SKIN_DBSTATUS_BAR_BKGND = "Skins\\DBStatusBarBkgnd.bmp";       // 21
static const char* const SKIN_DLG_CHAT_SEND_BTN = "Skins\\DlgChatSendBtn.bmp";          // 22
static const char* const SKIN_CHAT_BOTTOM_BAR = "Skins\\ChatBottomBar.bmp";             // 23
static const char* const SKIN_BTN0 = "Skins\\Btn0.bmp";                                 // 24
static const char* const SKIN_BTN1 = "Skins\\Btn1.bmp";                                 // 25
static const char* const SKIN_SLIDER_THUMB = "Skins\\SliderThumb.bmp";                  // 26
static const char* const SKIN_SLIDER_CHANNEL_LEFT = "Skins\\SliderChannelLeft.bmp";     // 27
static const char* const SKIN_SLIDERL_CHANNEL_RIGHT = "Skins\\SliderlChannelRight.bmp"; // 28
static const char* const SKIN_PROGRESS_CTRL_LEFT = "ProgressCtrlLeft.bmp";              // 29
static const char* const SKIN_DBPROGRESS_CTRL = "DBProgressCtrl.bmp";                   // 30
static const char* const SKIN_MIC = "Skins\\Mic.bmp";                                   // 31
static const char* const SKIN_SOUND = "Skins\\Sound.bmp";                               // 32
static const char* const SKIN_CTRL_BTN0 = "Skins\\CtrlBtn0.bmp";                        // 33
static const char* const SKIN_CTRL_BTN1 = "Skins\\CtrlBtn1.bmp";                        // 34
static const char* const SKIN_MENU_BK = "Skins\\MenuBk.bmp";                            // 35
static const char* const SKIN_MENU_BUTTON = "Skins\\MenuButton.bmp";                    // 36
static const char* const SKIN_CTRL_BTNS = "Skins\\CtrlBtns.bmp";                        // 37
static const char* const SKIN_CTRL_BTNSS = "Skins\\CtrlBtnss.bmp";                      // 38
static const char* const SKIN_CTRL_BTN2D = "Skins\\CtrlBtn2d.bmp";                      // 39
static const char* const SKIN_TAB_CTRL_BOTTOM = "Skins\\TabCtrlBottom.bmp";             // 40
static const char* const SKIN_HEADER_BKGND = "Skins\\HeaderBkgnd.bmp";                  // 41
static const char* const SKIN_SS_BKGND = "Skins\\ssBkgnd.bmp";                          // 42
static const char* const SKIN_LBOTTOM_BKGND = "Skins\\LBottomBkgnd.bmp";                // 43
static const char* const SKIN_SCROLL1 = "Skins\\Scroll1.bmp";                           // 44
static const char* const SKIN_SCROLL2 = "Skins\\Scroll2.bmp";                           // 45
static const char* const SKIN_HLEFT = "Skins\\HLeft.bmp";                               // 46
static const char* const SKIN_LEFT_SEL = "Skins\\LeftSel.bmp";                          // 47
static const char* const SKIN_BTN_RIGHT = "Skins\\BtnRight.bmp";                        // 48
static const char* const SKIN_HSEL = "Skins\\HSel.bmp";                                 // 49
static const char* const SKIN_HPPER = "Skins\\Hpper.bmp";                               // 50
static const char* const SKIN_SD = "Skins\\sd.bmp";                                     // 51
static const char* const SKIN_BODYD_SEL = "Skins\\BodydSel.bmp";                        // 52
static const char* const SKIN_S_DOWN = "Skins\\sDown.bmp";                              // 53
static const char* const SKIN_F_SEL = "Skins\\fSel.bmp";                                // 54
static const char* const SKIN_SDFP = "Skins\\sdfp.bmp";                                 // 55
static const char* const SKIN_WWP_SEL = "Skins\\wwpSel.bmp";                            // 56
static const char* const SKIN_WERIPPER = "Skins\\weripper.bmp";                         // 57
static const char* const SKIN_DLG_SYS_INFO_TIP_BKGND = "Skins\\DlgSysInfoTipBkgnd.bmp"; // 58
static const char* const SKIN_INFO_CLOSE_BTN = "Skins\\InfoCloseBtn.bmp";               // 59
static const char* const SKIN_DLG_SYS_INFO_MSG = "Skins\\DlgSysInfoMsg.bmp";            // 60
static const char* const SKIN_ACTIVE = "Skins\\Active.bmp";                             // 61
static const char* const SKIN_WL_BTN_INDFGIVE = "Skins\\WlBtnIndfgive.bmp";             // 62
static const char* const SKIN_WER_BKGND = "Skins\\werBkgnd.bmp";                        // 63
static const char* const SKIN_EEL_BTN_CLOW = "Skins\\eelBtnClow.bmp";                   // 64
static const char* const SKIN_WER_TAWERN_PREV = "Skins\\werTawernPrev.bmp";             // 65
static const char* const SKIN_SDFXT = "Skins\\sdfxt.bmp";                               // 66
static const char* const SKIN_ABOUT = "Skins\\About.bmp";                               // 67
static const char* const SKIN_WB_BTN_CHECK = "Skins\\WbBtnCheck.bmp";                   // 68
static const char* const SKIN_WBTOPBAR = "Skins\\wbtopbar.bmp";                         // 69
static const char* const SKIN_WBLEFTBAR = "Skins\\wbleftbar.bmp";                       // 70
static const char* const SKIN_VIDEO_TOP_BAR = "Skins\\VIDEO_TOP_BAR.bmp";               // 71
static const char* const SKIN_VIDEO_NAME = "Skins\\VIDEO_NAME.bmp";                     // 72
static const char* const SKIN_VIDEO_CLOSE = "Skins\\VIDEO_CLOSE.bmp";                   // 73
static const char* const SKIN_VIDEO_CLOSE_ME = "Skins\\VIDEO_CLOSE_ME.bmp";             // 74
static const char* const SKIN_VIDEO_BIG = "Skins\\VIDEO_BIG.bmp";                       // 75
static const char* const SKIN_VIDEO_CONTROL = "Skins\\VIDEO_CONTROL.bmp";               // 76
static const char* const SKIN_BTN_CHECK = "Skins\\BTN_CHECK.bmp";                       // 77
static const char* const SKIN_BTN_UPFILE = "Skins\\BTN_UPFILE.bmp";                     // 78
static const char* const SKIN_BTN_DOWNFILE = "Skins\\BTN_DOWNFILE.bmp";                 // 79
static const char* const SKIN_WB_SEL = "Skins\\Wb_Sel.bmp";                             // 80
static const char* const SKIN_WB_BRUSH = "Skins\\Wb_Brush.bmp";                         // 81
static const char* const SKIN_WB_STRONG_PEN = "Skins\\Wb_StrongPen.bmp";                // 82
static const char* const SKIN_WB_THIN_PEN = "Skins\\Wb_ThinPen.bmp";                    // 83
static const char* const SKIN_WB_LINE = "Skins\\Wb_Line.bmp";                           // 84
static const char* const SKIN_WB_PIN_PEN = "Skins\\Wb_PinPen.bmp";                      // 85
static const char* const SKIN_WB_SQUA = "Skins\\Wb_Squa.bmp";                           // 86
static const char* const SKIN_WB_SOLID_SQUA = "Skins\\Wb_SolidSqua.bmp";                // 87
static const char* const SKIN_WB_SQUA_LIN = "Skins\\Wb_SquaLin.bmp";                    // 88
static const char* const SKIN_WB_SOLID_SQUA_LIN = "Skins\\Wb_SolidSquaLin.bmp";         // 89
static const char* const SKIN_WB_ROUND = "Skins\\Wb_Round.bmp";                         // 90
static const char* const SKIN_WB_SOLID_ROUND = "Skins\\Wb_SolidRound.bmp";              // 91
static const char* const SKIN_WB_EDIT = "Skins\\Wb_Edit.bmp";                           // 92
static const char* const SKIN_WB_POLY = "Skins\\Wb_Poly.bmp";                           // 93
static const char* const SKIN_HAND = "Skins\\hand.bmp";                                 // 94
static const char* const SKIN_WB_FONT = "Skins\\Wb_Font.bmp";                           // 95
static const char* const SKIN_WB_SHARE = "Skins\\Wb_Share.bmp";                         // 96
static const char* const SKIN_WB_SAVE = "Skins\\WB_SAVE.bmp";                           // 97
static const char* const SKIN_WB_PRE = "Skins\\WB_PRE.bmp";                             // 98
static const char* const SKIN_WB_OPEN = "Skins\\WB_OPEN.bmp";                           // 99
static const char* const SKIN_WB_NEXT = "Skins\\Wb_NEXT.bmp";                           // 100
static const char* const SKIN_WB_GOTO = "Skins\\WB_GOTO.bmp";                           // 101
static const char* const SKIN_WB_FILE = "Skins\\WB_FILE.bmp";                           // 102
static const char* const SKIN_BUTTON_BACK = "Skins\\button_back.bmp";                   // 103
static const char* const SKIN_BUTTON_FORE = "Skins\\button_fore.bmp";                   // 104
static const char* const SKIN_BUTTON_REFRESH = "Skins\\button_refresh.bmp";             // 105
static const char* const SKIN_BUTTON_CANCEL = "Skins\\button_cancel.bmp";               // 106
static const char* const SKIN_BUTTON_GO = "Skins\\button_go.bmp";                       // 107

enum { SKIN_NAME_COUNT = 108 };

// The table in its fixed order.
static const char* const g_SkinNames[SKIN_NAME_COUNT] = {
    SKIN_STANDARD_BUTTON,
    SKIN_TOP,
    SKIN_SS,
    SKIN_CLOSESD,
    SKIN_S_BTN,
    SKIN_CLOSES,
    SKIN_BORDER2,
    SKIN_BORDER3,
    SKIN_BORDER1,
    SKIN_SMALL_VIDEO_BKGND,
    SKIN_BAR0,
    SKIN_RIGHT_BAR_BK0,
    SKIN_MAIN_TOP,
    SKIN_MAIN_TITLE,
    SKIN_MIN_BUTTON,
    SKIN_MAX_BUTTON,
    SKIN_RESTORE_BUTTON,
    SKIN_MAIN_CLOSE_BTN,
    SKIN_MAIN_BORDER_LEFT,
    SKIN_MAIN_BORDER_RIGHT,
    SKIN_MAIN_BORDER_BOTTOM,
    SKIN_DBSTATUS_BAR_BKGND,
    SKIN_DLG_CHAT_SEND_BTN,
    SKIN_CHAT_BOTTOM_BAR,
    SKIN_BTN0,
    SKIN_BTN1,
    SKIN_SLIDER_THUMB,
    SKIN_SLIDER_CHANNEL_LEFT,
    SKIN_SLIDERL_CHANNEL_RIGHT,
    SKIN_PROGRESS_CTRL_LEFT,
    SKIN_DBPROGRESS_CTRL,
    SKIN_MIC,
    SKIN_SOUND,
    SKIN_CTRL_BTN0,
    SKIN_CTRL_BTN1,
    SKIN_MENU_BK,
    SKIN_MENU_BUTTON,
    SKIN_CTRL_BTNS,
    SKIN_CTRL_BTNSS,
    SKIN_CTRL_BTN2D,
    SKIN_TAB_CTRL_BOTTOM,
    SKIN_HEADER_BKGND,
    SKIN_SS_BKGND,
    SKIN_LBOTTOM_BKGND,
    SKIN_SCROLL1,
    SKIN_SCROLL2,
    SKIN_HLEFT,
    SKIN_LEFT_SEL,
    SKIN_BTN_RIGHT,
    SKIN_HSEL,
    SKIN_HPPER,
    SKIN_SD,
    SKIN_BODYD_SEL,
    SKIN_S_DOWN,
    SKIN_F_SEL,
    SKIN_SDFP,
    SKIN_WWP_SEL,
    SKIN_WERIPPER,
    SKIN_DLG_SYS_INFO_TIP_BKGND,
    SKIN_INFO_CLOSE_BTN,
    SKIN_DLG_SYS_INFO_MSG,
    SKIN_ACTIVE,
    SKIN_WL_BTN_INDFGIVE,
    SKIN_WER_BKGND,
    SKIN_EEL_BTN_CLOW,
    SKIN_WER_TAWERN_PREV,
    SKIN_SDFXT,
    SKIN_ABOUT,
    SKIN_WB_BTN_CHECK,
    SKIN_WBTOPBAR,
    SKIN_WBLEFTBAR,
    SKIN_VIDEO_TOP_BAR,
    SKIN_VIDEO_NAME,
    SKIN_VIDEO_CLOSE,
    SKIN_VIDEO_CLOSE_ME,
    SKIN_VIDEO_BIG,
    SKIN_VIDEO_CONTROL,
    SKIN_BTN_CHECK,
    SKIN_BTN_UPFILE,
    SKIN_BTN_DOWNFILE,
    SKIN_WB_SEL,
    SKIN_WB_BRUSH,
    SKIN_WB_STRONG_PEN,
    SKIN_WB_THIN_PEN,
    SKIN_WB_LINE,
    SKIN_WB_PIN_PEN,
    SKIN_WB_SQUA,
    SKIN_WB_SOLID_SQUA,
    SKIN_WB_SQUA_LIN,
    SKIN_WB_SOLID_SQUA_LIN,
    SKIN_WB_ROUND,
    SKIN_WB_SOLID_ROUND,
    SKIN_WB_EDIT,
    SKIN_WB_POLY,
    SKIN_HAND,
    SKIN_WB_FONT,
    SKIN_WB_SHARE,
    SKIN_WB_SAVE,
    SKIN_WB_PRE,
    SKIN_WB_OPEN,
    SKIN_WB_NEXT,
    SKIN_WB_GOTO,
    SKIN_WB_FILE,
    SKIN_BUTTON_BACK,
    SKIN_BUTTON_FORE,
    SKIN_BUTTON_REFRESH,
    SKIN_BUTTON_CANCEL,
    SKIN_BUTTON_GO,
};
