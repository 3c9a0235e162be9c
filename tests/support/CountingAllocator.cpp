#include "tests/support/CountingAllocator.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int allocations = 0;
thread_local struct
{
    const char* library = nullptr;
    int skipped = 0;
    bool failed = false;
} failure;

void* countedAllocation(std::size_t size, const void* caller)
{
    if (counting)
        ++allocations;
    Dl_info info{};
    if (failure.library != nullptr && dladdr(caller, &info) != 0 && info.dli_fname != nullptr &&
        std::strstr(info.dli_fname, failure.library) != nullptr && failure.skipped-- == 0)
    {
        failure = {nullptr, 0, true};
        throw std::bad_alloc();
    }
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

void failAllocationFromLibrary(const char* library, int skipped) noexcept
{
    failure = {library, skipped, false};
}

bool stopFailingAllocation() noexcept
{
    failure.library = nullptr;
    return failure.failed;
}
} // namespace veridane::test

void* operator new(std::size_t size)
{
    return countedAllocation(size, __builtin_return_address(0));
}
void* operator new[](std::size_t size)
{
    return countedAllocation(size, __builtin_return_address(0));
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
