#pragma once

class CCommandContext;

// Commands about the participants: devices, speech, the meeting control,
// removal, roles and rights.
class CParticipantCommands
{
public:
    // False when the command is not one of these.
    static bool Handle(CCommandContext& c);
};
