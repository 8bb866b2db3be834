#pragma once
#include "afxwin.h"

#include <ctime>
#include <string>

// Shows how long the meeting recording has run; "完成" hides it and stops
// the recording. Created hidden with the main window, shown per recording.
class CDlgRecordTimer : public CDialog
{
public:
    CDlgRecordTimer(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    // Called right after the recorder started: the clock starts from now.
    void Start();
    // The elapsed-time text: total minutes and seconds ("62:5").
    static std::string FormatElapsed(long seconds);
    // One tick of the clock (the dialog's timer calls it every second).
    void Tick();

    // The clock the dialog reads, for tests.
    void SetClock(time_t (*now)()) { m_now = now; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    time_t (*m_now)();
    time_t m_start = 0;
    std::string m_time;
    std::string m_size = "5k";
};
