#pragma once
#include "CWBMeetingFrame.h"

// The whiteboard page of this edition: its online-documents pane starts
// hidden, every drawing-style byte starts at 0 and changes only with the
// tool commands (the style and colour lists are not followed), its tool
// commands choose other tools, and the screen-capture button goes to the
// main window.
class CQuilletWBFrame : public CWBMeetingFrame
{
public:
    CQuilletWBFrame();

    // The tool a command chooses here, -1 for a command that keeps the tool.
    static int ToolOfCommand(UINT id);
    static CWBMeetingFrame* Make() { return new CQuilletWBFrame; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Every command: the first style byte to 4, then the command's tool and styles.
    void ChooseTool(UINT id);
};
