// Counts every allocation the program makes while a flag is up, to prove the audio path makes none.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void* countedAllocation(std::size_t size)
{
    if (counting.load())
        allocations.fetch_add(1);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

/** Counts allocations made by `work`. */
template <typename Work> int allocationsDuring(Work&& work)
{
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations.load();
}
} // namespace

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

TEST(AudioPath, ProcessesWithoutAllocatingInAnyStageMode)
{
    LoomcraftAudioProcessor p;
    auto settledBlock = veridane::test::rampBlock(512);
    auto longBlock = veridane::test::rampBlock(10000);
    juce::AudioBuffer<float> twoChannels(2, 512);
    juce::MidiBuffer midi;

    EXPECT_EQ(allocationsDuring([&] { p.processBlock(settledBlock, midi); }), 0);

    p.setConversionMode(1);
    p.setParameter(0, 0.3f);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(settledBlock, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(longBlock, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(twoChannels, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlockBypassed(longBlock, midi); }), 0);
}

TEST(AudioPath, CounterSeesAllocations)
{
    // Guards the test above against a counter that never counts.
    EXPECT_GT(allocationsDuring([] { delete new int(3); }), 0);
}
