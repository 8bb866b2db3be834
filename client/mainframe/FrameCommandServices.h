#pragma once

class IFrameCommandTargets;
class IFrameRecorder;
class IFrameSenders;

// What the main window's commands work with beyond the frame itself; each
// null member takes the program's own (the command connection's senders, the
// recorder over the bound functions, the targets the frame has by itself).
struct FRAME_COMMAND_SERVICES
{
    IFrameSenders* senders = nullptr;
    IFrameRecorder* recorder = nullptr;
    IFrameCommandTargets* targets = nullptr;
};
