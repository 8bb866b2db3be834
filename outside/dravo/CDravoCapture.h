#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "CNamedThread.h"
#include "Dravo.h"

class CDravoPreview;

// One open synthetic camera: a thread that draws the test picture at the
// size and frame rate of the caller's parameter block, shows it in the
// previews and, while encoding is on, compresses it and hands it to the
// caller's frame callback. The compression quality follows the block's
// target rate and keeps every frame below MAX_FRAME bytes. With the
// environment variable DRAVO_LOCKED_CALLBACK set to 1 when the capture opens,
// the frame callback runs under the capture's own lock, the lock its
// parameter and encoding calls take, as many real engines do.
class CDravoCapture : public CNamedThread
{
public:
    enum { MAX_FRAME = 30000, SOURCE_COUNT = 2 };

    CDravoCapture(const DRAVO_CAPTURE_PARAMS* params, void* context, DravoFrameCallback callback);
    ~CDravoCapture() override;

    bool Open();
    // Stops the thread; returns once no callback runs any more. Must not be
    // called from inside the frame callback.
    void Close();

    // Copies the caller's block as it is now; no block is kept, so the one
    // the capture was opened with may be gone by then.
    bool ReadParams(const DRAVO_CAPTURE_PARAMS* params);
    void EnableEncode(bool on);
    void SetOverlay(int flag);
    bool SetSource(int index);
    void AddPreview(CDravoPreview* preview);
    void RemovePreview(CDravoPreview* preview);

    uint32_t Run() override;

private:
    void CaptureOne();

    void* m_context;
    DravoFrameCallback m_callback;
    HANDLE m_stop;
    CRITICAL_SECTION m_lock;
    DRAVO_CAPTURE_PARAMS m_copy;
    bool m_lockedCallback = false;
    bool m_encode = false;
    bool m_restart = true;
    int m_overlay = 1;
    int m_source = 0;
    int m_quality = 60;
    uint32_t m_frameNumber = 0;
    std::vector<CDravoPreview*> m_previews;
    std::vector<uint8_t> m_picture;
    std::vector<uint8_t> m_encoded;
};
