#include "WbAllocCounter.h"

#include <stdlib.h>
#include <new>
#include <windows.h>

// Every allocation of the test program is counted, so that a test can see
// that a refused file or record left nothing behind.
static volatile LONG g_live = 0;

long WbLiveAllocations() { return g_live; }

void* operator new(size_t n)
{
    void* p = malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    InterlockedIncrement(&g_live);
    return p;
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    void* p = malloc(n ? n : 1);
    if (p)
        InterlockedIncrement(&g_live);
    return p;
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept
{
    if (p) {
        InterlockedDecrement(&g_live);
        free(p);
    }
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete(p); }
