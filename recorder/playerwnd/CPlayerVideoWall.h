#pragma once
#include "afxwin.h"

#include <cstdint>
#include <vector>

#include "CPlayerVideoWnd.h"

#define WM_VIDEOWALL_LAYOUT (WM_USER + 100)

// The player's video area: one video window per participant, laid out by
// the recorded split mode. Operations come from the play thread and only
// post the relayout; moving and painting happen on the window's thread.
class CPlayerVideoWall : public CWnd
{
public:
    CPlayerVideoWall();
    ~CPlayerVideoWall() override;

    BOOL Create(CWnd* parent, UINT id);

    void AddVideo(uint32_t id);
    void DelVideo(uint32_t id);
    void MainVideo(uint32_t id);
    void LastVideo(uint32_t id);
    void SwapVideo(uint32_t id1, uint32_t id2);
    bool FullVideo(uint32_t id, uint32_t flag);
    void SetSplit(int mode, bool relayout);
    void RemoveAll();
    bool RenderFrame(uint32_t id, const unsigned char* frame, int length);

    // For the layout and tests: ids in display order, and each window's
    // picture and visibility.
    std::vector<uint32_t> VideoIds();
    bool GetVideoPlace(uint32_t id, RECT* rect, uint32_t* visible);
    int GetSplit();
    // Lays the windows out now.
    void LayOut();

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnLayoutMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    int Find(uint32_t id) const;
    void PostLayout();

    int m_split = 0;
    CPlayerVideoWnd* m_full = nullptr;
    std::vector<CPlayerVideoWnd*> m_windows;
    CRITICAL_SECTION m_lock;
    bool m_lockAlive = false;
};
