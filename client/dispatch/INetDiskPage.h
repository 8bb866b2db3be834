#pragma once

// What the dispatcher needs of the network-disk page.
class INetDiskPage
{
public:
    virtual ~INetDiskPage() = default;

    virtual void EnableControls(bool enable) = 0;
    // Stops a running document upload.
    virtual void StopDocumentUpload() = 0;
};
