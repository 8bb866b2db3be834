#pragma once
#include "afxwin.h"

// The caption commands that the caption buttons post to their owner.
enum : UINT {
    ID_CAPTION_CLOSE = 0xFFD8,
    ID_CAPTION_RESTORE = 0xFFD9,
    ID_CAPTION_MAXIMIZE = 0xFFDA,
    ID_CAPTION_MINIMIZE = 0xFFDB,
};

// A windowless button painted into its owner's caption from a strip of four
// frames (normal, pressed, hover, disabled) and fed with the owner's mouse
// messages through RelayEvent. A click posts WM_COMMAND with its command to
// the owner. While one caption button holds the mouse capture, the others
// ignore the mouse.
class CCaptionButton
{
public:
    enum State { STATE_NORMAL = 0, STATE_PRESSED = 1, STATE_HOVER = 2, STATE_DISABLED = 3 };

    CCaptionButton();
    virtual ~CCaptionButton();

    CCaptionButton(const CCaptionButton&) = delete;
    CCaptionButton& operator=(const CCaptionButton&) = delete;

    // size: the hit rectangle in the owner's client coordinates.
    BOOL Create(const RECT& size, CWnd* owner, UINT command, LPCTSTR stripFile);
    // Draws the current frame at (x, y), given in the owner's client
    // coordinates, into dc, a DC on the owner's whole window.
    virtual void Paint(int x, int y, CDC* dc);
    virtual void Redraw(int x, int y);
    void RedrawLast() { Redraw(m_nLastX, m_nLastY); }
    CSize GetSize() const;
    void Enable(BOOL enable);
    BOOL IsEnabled() const { return m_nState != STATE_DISABLED; }
    void RelayEvent(const MSG* msg);

    void SetRect(const RECT& rect) { m_rect = rect; }
    const RECT& GetRect() const { return m_rect; }
    UINT GetCommand() const { return m_nCommand; }
    int GetState() const { return m_nState; }
    BOOL IsCreated() const { return m_nCommand != 0; }

    // The button that holds the mouse capture, or null.
    static CCaptionButton* GetCaptured() { return s_pCaptured; }

protected:
    static BOOL LoadStrip(LPCTSTR file, CBitmap frames[4]);
    void ReleaseIfCaptured();

    CBitmap m_frames[4];
    UINT m_nCommand;
    BOOL m_bButtonDown;
    int m_nState;
    RECT m_rect;
    CWnd* m_pOwner;
    int m_nLastX;
    int m_nLastY;

    static CCaptionButton* s_pCaptured;
};

// The two-faced maximise/restore button.
class CCaptionMaxButton : public CCaptionButton
{
public:
    CCaptionMaxButton();

    BOOL Create(const RECT& size, CWnd* owner, UINT maximizeCommand, UINT restoreCommand,
                LPCTSTR maximizeStrip, LPCTSTR restoreStrip);
    // Swaps the maximise and restore faces.
    void Toggle();
    BOOL ShowsRestore() const { return m_bRestoreFace; }

    // The owner's window state, kept by its WM_SIZE handling.
    BOOL m_bMinimized;
    BOOL m_bMaximized;

    // Brings the face in line with a WM_SIZE of the owner; TRUE when the
    // face changed (the caption then wants repainting).
    BOOL TrackSize(UINT type);

protected:
    UINT m_nOtherCommand;
    CBitmap m_otherFrames[4];
    BOOL m_bRestoreFace;
};
