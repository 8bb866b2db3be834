#pragma once
#include <cstddef>
#include <cstdint>

// What the dispatcher needs of the chat pane.
class IChatPane
{
public:
    virtual ~IChatPane() = default;

    // A line in the notice pane.
    virtual void AddSystemNotice(const char* text) = 0;
    // The recipient selector follows the participants.
    virtual void AddRecipient(uint32_t userId) = 0;
    virtual void RemoveRecipient(uint32_t userId) = 0;
    // The recipient selector goes back to its first entry (everybody).
    virtual void SelectEveryone() = 0;
    // A relayed chat line; payload is a private copy of the chat payload of
    // length bytes with one NUL after it (payload[length] == 0).
    virtual void OnChatReceived(uint32_t recipientId, uint32_t senderId, uint32_t colour,
                                const char* payload, size_t length) = 0;
};
