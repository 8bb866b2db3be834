#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "CNamedThread.h"
#include "IRecordSource.h"

// Reads stream blocks of a recording on a thread of its own, through its
// own handle on the file. Each of the five streams has one request slot:
// the play thread asks for a block into a buffer it owns and later waits for
// it, so that the next block of a stream is read while the current one is
// played. A read the file cannot satisfy ends the thread, and every wait then
// fails.
class CBlockLoader : public CNamedThread
{
public:
    enum { SLOT_COUNT = 5 };

    CBlockLoader();
    ~CBlockLoader() override;

    // Opens the file and starts the thread; refused when a file is open or
    // the thread runs.
    bool Open(const char* path);
    bool Open(std::unique_ptr<IRecordSource> source);
    // Asks for length bytes at offset into buffer.
    bool Request(int slot, unsigned char* buffer, uint32_t offset, uint32_t length);
    // Waits for the slot's request; false when the thread ended first.
    bool Wait(int slot);
    // Sets the quit event and waits for the thread.
    void Stop() override;

    bool Ended() const;
    std::string Error() const;

protected:
    uint32_t Run() override;

private:
    struct Slot
    {
        unsigned char* buffer = nullptr;
        uint32_t offset = 0;
        uint32_t length = 0;
        HANDLE request = nullptr;
        HANDLE done = nullptr;
    };
    void SetError(const std::string& text);

    Slot m_slots[SLOT_COUNT];
    HANDLE m_quit;
    std::unique_ptr<IRecordSource> m_source;
    mutable CRITICAL_SECTION m_errorLock;
    std::string m_error;
};
