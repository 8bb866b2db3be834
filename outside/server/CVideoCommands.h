#pragma once

class CCommandContext;

// Commands about the participants' video: broadcast on and off and the
// width changes. The video relay itself belongs here as it comes.
class CVideoCommands
{
public:
    // False when the command is not one of these.
    static bool Handle(CCommandContext& c);
};
