#include "DeviceTestSupport.h"

#include <cstring>

using namespace SonvexDevice;

CallerProbe::CallerProbe() { InitializeCriticalSection(&m_lock); }
CallerProbe::~CallerProbe() { DeleteCriticalSection(&m_lock); }

void __cdecl CallerProbe::Capture(void* context, CAudioBlock* header, short* pcm, int length)
{
    CallerProbe* self = static_cast<CallerProbe*>(context);
    EnterCriticalSection(&self->m_lock);
    self->m_samples.insert(self->m_samples.end(), pcm, pcm + length / 2);
    self->m_sequences.push_back(header->m_sequence);
    self->m_lengths.push_back(length);
    LeaveCriticalSection(&self->m_lock);
}

int __cdecl CallerProbe::Play(void* context, void*, short* pcm, int length)
{
    CallerProbe* self = static_cast<CallerProbe*>(context);
    EnterCriticalSection(&self->m_lock);
    for (int i = 0; i < length / 2; ++i)
        pcm[i] = self->m_playAt < self->toPlay.size() ? self->toPlay[self->m_playAt++] : 0;
    ++self->m_playRequests;
    LeaveCriticalSection(&self->m_lock);
    return length;
}

int CallerProbe::Captured()
{
    EnterCriticalSection(&m_lock);
    int n = static_cast<int>(m_sequences.size());
    LeaveCriticalSection(&m_lock);
    return n;
}

int CallerProbe::PlayRequests()
{
    EnterCriticalSection(&m_lock);
    int n = m_playRequests;
    LeaveCriticalSection(&m_lock);
    return n;
}

std::vector<int16_t> CallerProbe::CapturedSamples()
{
    EnterCriticalSection(&m_lock);
    std::vector<int16_t> copy = m_samples;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::vector<uint32_t> CallerProbe::CapturedSequences()
{
    EnterCriticalSection(&m_lock);
    std::vector<uint32_t> copy = m_sequences;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::vector<int> CallerProbe::CapturedLengths()
{
    EnterCriticalSection(&m_lock);
    std::vector<int> copy = m_lengths;
    LeaveCriticalSection(&m_lock);
    return copy;
}

bool CallerProbe::WaitFor(int captured, int playRequests, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (Captured() < captured || PlayRequests() < playRequests) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}
