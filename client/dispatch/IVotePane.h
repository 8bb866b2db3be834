#pragma once

// What the dispatcher needs of the vote pane.
class IVotePane
{
public:
    virtual ~IVotePane() = default;

    // Rebuilds the pane from the meeting-state record the main window holds.
    virtual void Refresh() = 0;
};
