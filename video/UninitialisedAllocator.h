#pragma once
#include <memory>
#include <new>
#include <utility>

// An allocator whose containers leave new elements of plain types
// uninitialised on resize: for buffers whose every byte is written before
// it is read, so that making one costs no pass over its bytes.
template <typename T>
class UninitialisedAllocator : public std::allocator<T>
{
public:
    template <typename U>
    struct rebind
    {
        using other = UninitialisedAllocator<U>;
    };

    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {}

    template <typename U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
