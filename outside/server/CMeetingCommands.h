#pragma once

class CCommandContext;

// Commands about the meeting as a whole: its mode, lock, layout and state,
// the chat and the keep-alive.
class CMeetingCommands
{
public:
    // False when the command is not one of these.
    static bool Handle(CCommandContext& c);
};
