#pragma once

class CCommandContext;

// Commands that carry what participants share: relayed whiteboard and
// browsing records, files, screen broadcast and remote control, camera
// commands and data for listed participants.
class CSharingCommands
{
public:
    // False when the command is not one of these.
    static bool Handle(CCommandContext& c);
};
