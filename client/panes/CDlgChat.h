#pragma once
#include "afxcmn.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "CCJFlatComboBox.h"
#include "CColorPaletteButton.h"
#include "CCpuMeter.h"
#include "CFlatEdit.h"
#include "CLangDialog.h"
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "CSkinComboBox.h"
#include "CStandardSkinButton.h"
#include "IChatPane.h"
#include "ChatMessage.h"
#include "PaneContext.h"

// The text-chat pane of the main window: the history of chat lines, the
// notice pane, and the bar with the recipient, colour, face, size, status
// line, input line and send button. Lines go out with command 2088 and show
// at once; relayed lines come in through OnChatReceived. While a recording
// runs every shown line goes to the recorder's chat stream.
class CDlgChat : public CLangDialog, public IChatPane
{
public:
    enum : UINT { IDD = 156 };

    CDlgChat(const PANE_CONTEXT& context, CWnd* parent = NULL);
    ~CDlgChat() override;

    // Creates the pane as a child of parent.
    BOOL CreatePane(CWnd* parent);

    // Sends the input line (the send button and Enter).
    void OnSend();
    // A relayed line: payload is the chat payload of length bytes.
    void OnChatReceived(uint32_t recipientId, uint32_t senderId, uint32_t colour,
                        const char* payload, size_t length) override;
    // Formats and shows one line; hands it to the recorder while recording.
    void AppendChatLine(const char* sender, const char* recipient, const char* text,
                        COLORREF colour, const char* face, int size);
    // A line in the notice pane, in blue.
    void AddNotice(const char* text);
    void AddSystemNotice(const char* text) override { AddNotice(text); }

    // The recipient selector.
    void FillRecipients();
    void AddRecipient(uint32_t userId) override;
    void RemoveRecipient(uint32_t userId) override;
    void SelectRecipient(uint32_t userId);
    void SelectEveryone() override;

    void SetCpuUsage(int percent);
    const std::string& GetStatusText() const { return m_status; }

    CRichEditCtrl& GetHistory() { return m_history; }
    CRichEditCtrl& GetNotices() { return m_notices; }
    CComboBox& GetRecipients() { return m_recipients; }

    void TranslateTexts(BOOL apply) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSendClicked();
    DECLARE_MESSAGE_MAP()

private:
    static void LoadSink(int load);
    void Layout(int cx, int cy);
    void UpdateStatus();
    int FindRecipient(uint32_t userId);

    PANE_CONTEXT m_ctx;
    CRichEditCtrl m_history;
    CRichEditCtrl m_notices;
    CFlatEdit m_input;
    CStandardSkinButton m_send;
    CCJFlatComboBox m_recipients;
    CColorPaletteButton m_colour;
    CSkinComboBox m_face;
    CSkinComboBox m_size;
    CSkinButton m_statusButton;
    CCpuMeter m_cpu;
    CSkinBitmap m_bar;
    CBrush m_background;
    std::string m_lineFormat;
    std::string m_status;
    uint32_t m_cpuLoad = 0;

    static CDlgChat* s_loadTarget;
};
