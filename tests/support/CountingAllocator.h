#pragma once

// A test program that links CountingAllocator.cpp replaces the global allocator with one that
// counts what the calling thread allocates, to prove that an audio path allocates nothing.
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

} // namespace veridane::test
