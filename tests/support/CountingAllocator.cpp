#include "tests/support/CountingAllocator.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int allocations = 0;

void* countedAllocation(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

namespace veridane::test
{
void beginCountingAllocations() noexcept
{
    allocations = 0;
    counting = true;
}

int endCountingAllocations() noexcept
{
    counting = false;
    return allocations;
}
} // namespace veridane::test

void* operator new(std::size_t size)
{
    return countedAllocation(size);
}
void* operator new[](std::size_t size)
{
    return countedAllocation(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
