#pragma once

// A test program that links CountingAllocator.cpp replaces the global allocator with one that
// counts what the calling thread allocates, to prove that an audio path allocates nothing, and can
// make a chosen allocation fail.
namespace veridane::test
{

void beginCountingAllocations() noexcept;
/** Stops counting and answers the allocations made since beginCountingAllocations. */
int endCountingAllocations() noexcept;

/** The allocations this thread makes while `work` runs (other threads are not counted). */
template <typename Work> int allocationsDuring(Work&& work)
{
    beginCountingAllocations();
    work();
    return endCountingAllocations();
}

/** On this thread, of the allocations made by code of the shared library whose file name holds
    `library`, the one after the next `skipped` throws std::bad_alloc. */
void failAllocationFromLibrary(const char* library, int skipped) noexcept;
/** Disarms; answers whether that allocation happened (and failed). */
bool stopFailingAllocation() noexcept;

} // namespace veridane::test
