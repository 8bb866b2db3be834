#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "DispatchTargets.h"

class WireReader;

// Turns each message the conference server sent into its effect on the
// participant table, the shared meeting values and the panes. Runs on the UI
// thread, one message at a time in arrival order; keeps no state of its own
// beyond the targets it was given. A message of a code it does not take, or
// whose length does not fit its command's layout, is dropped with a log line
// and nothing is read outside it.
class CServerDispatcher
{
public:
    explicit CServerDispatcher(const DISPATCH_TARGETS& targets);

    // Replaces the targets (as parts of the main window come and go).
    void SetTargets(const DISPATCH_TARGETS& targets) { m_t = targets; }
    const DISPATCH_TARGETS& Targets() const { return m_t; }

    // One received message (the frame's payload, command code first). True
    // when it was taken, false when it was dropped.
    bool Dispatch(const void* data, size_t length);

    // The reserved name of the hidden participant, whose coming and going is
    // not announced.
    static const char* const kHiddenUser;

private:
    typedef const unsigned char* Bytes;

    // Participants.
    bool OnUserJoined(Bytes m, size_t len);
    bool OnUserDevices(Bytes m, size_t len);
    bool OnUserQuit(Bytes m, size_t len);
    bool OnSpeakState(Bytes m, size_t len);
    bool OnRole(Bytes m, size_t len);
    bool OnRight(uint16_t code, Bytes m, size_t len);
    // The meeting.
    bool OnMeetingMode(Bytes m, size_t len);
    bool OnMeetingLocked(Bytes m, size_t len);
    bool OnKicked(Bytes m, size_t len);
    bool OnDataControl(Bytes m, size_t len);
    bool OnWindowLayout(Bytes m, size_t len);
    bool OnMeetingState(Bytes m, size_t len);
    bool OnForcedLeave(Bytes m, size_t len);
    bool OnChat(Bytes m, size_t len);
    // Video and devices.
    bool OnReceiveVideoReply(Bytes m, size_t len);
    bool OnStopVideo(Bytes m, size_t len);
    bool OnStartSendVideo(Bytes m, size_t len);
    bool OnVideoWidth(Bytes m, size_t len);
    bool OnCameraCommand(Bytes m, size_t len);
    bool OnDeviceState(Bytes m, size_t len);
    bool OnParticipantData(Bytes m, size_t len);
    // Sharing.
    bool OnRelay(Bytes m, size_t len);
    bool OnRelayRun(Bytes m, size_t len);
    bool OnFileOffer(Bytes m, size_t len);
    bool OnScreenBroadcast(Bytes m, size_t len);
    bool OnRemoteControl(uint16_t code, Bytes m, size_t len);
    bool OnDocumentAdded(Bytes m, size_t len);
    bool OnDocumentDeleted(Bytes m, size_t len);
    bool OnDocumentRenamed(Bytes m, size_t len);
    bool OnDocumentList(Bytes m, size_t len);
    bool OnDocumentMoved(Bytes m, size_t len);

    // Reads one document item from in (at its current offset) and hands it to
    // its list; false when the item does not lie whole within the message.
    bool ReadDocumentItem(WireReader& in);
    std::string DocumentName(uint32_t id, uint8_t kind);
    // The relay target of a record's first byte, or null.
    size_t HandRelayRecord(Bytes record, size_t length, bool* known);

    bool IsOwn(uint32_t userId) const;
    bool Recording() const;
    int UserCount() const;
    void Notice(uint32_t textId, const char* argument);
    void Message(uint32_t textId, const char* argument);
    std::string Format(uint32_t textId, const char* argument) const;
    void Log(int level, const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(gnu_printf, 3, 4)))
#endif
        ;

    DISPATCH_TARGETS m_t;
};
