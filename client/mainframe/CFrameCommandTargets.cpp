#include "CFrameCommandTargets.h"

#include "CCommandManager.h"
#include "CDlgMeetingSettings.h"
#include "MeetingState.h"
#include "afxdlgs.h"
#include "afxwin.h"

namespace {
// The about command the application answers.
const UINT kAppAboutCommand = 0xE140;
} // namespace

bool CFrameCommandTargets::AskRecordingPath(CWnd* owner, const std::string& defaultName,
                                            std::string* path)
{
    CFileDialog dlg(FALSE, "Pellrund", defaultName.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Record Files (*.Pellrund)|*.Pellrund||", owner);
    if (dlg.DoModal() != IDOK)
        return false;
    *path = (LPCSTR)dlg.GetPathName();
    return !path->empty();
}

void CFrameCommandTargets::ShowAbout()
{
    if (CWinApp* app = AfxGetApp())
        app->OnCmdMsg(kAppAboutCommand, CN_COMMAND, nullptr, nullptr);
}

void CFrameCommandTargets::ShowMeetingSettings(unsigned char* record, CWnd* owner)
{
    static_assert(sizeof(MEETING_STATE) == MEETING_STATE_SIZE,
                  "the held record is a MEETING_STATE");
    // The record is packed (alignment 1): the bytes are the structure.
    CDlgMeetingSettings dlg(*reinterpret_cast<MEETING_STATE*>(record), &g_CmdManager, owner);
    dlg.DoModal();
}

void CFrameCommandTargets::TrackPopup(CMenu* menu, POINT screen, CWnd* owner)
{
    if (menu)
        menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner);
}
