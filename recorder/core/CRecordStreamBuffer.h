#pragma once
#include <windows.h>

#include <cstdint>

// The records of one stream gathered in memory until the buffer is full or
// the recording stops; then the whole run is handed to the writer as one
// block. Guarded by its own lock, taken after the recorder's.
class CRecordStreamBuffer
{
public:
    CRecordStreamBuffer(uint32_t kind, uint32_t capacity);
    ~CRecordStreamBuffer();

    CRecordStreamBuffer(const CRecordStreamBuffer&) = delete;
    CRecordStreamBuffer& operator=(const CRecordStreamBuffer&) = delete;

    // False when the buffer could not be allocated.
    bool IsValid() const { return m_buffer != nullptr; }

    CRITICAL_SECTION* Lock() { return &m_lock; }

    uint32_t Kind() const { return m_kind; }
    uint32_t Capacity() const { return m_capacity; }
    uint32_t Used() const { return m_used; }
    uint32_t FirstTime() const { return m_firstTime; }
    const unsigned char* Data() const { return m_buffer; }

    // Whether a record with a body of length bytes fits behind what is held.
    bool Fits(uint32_t length) const;
    // Appends one record (head, optional prefix word, payload); the caller
    // has checked that it fits and holds the lock.
    void Put(uint32_t time, const uint32_t* prefix, const void* payload, uint32_t payloadLength);
    // Forgets the records held, after they were handed on.
    void Clear() { m_used = 0; }
    // Puts an empty block of Capacity() bytes in place of the one holding
    // the records and returns that one; the records are the returned
    // block's, the buffer then holds none. Swapping the same block back
    // undoes it (Restore).
    unsigned char* Swap(unsigned char* fresh);
    unsigned char* Restore(unsigned char* full, uint32_t used);

private:
    uint32_t m_firstTime = 0;
    uint32_t m_kind;
    uint32_t m_capacity;
    CRITICAL_SECTION m_lock;
    unsigned char* m_buffer;
    uint32_t m_used = 0;
};
