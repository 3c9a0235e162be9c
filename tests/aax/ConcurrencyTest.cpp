#include "tests/aax/AcfTestSupport.h"

#include <algorithm>
#include <thread>

namespace
{
// Two host threads let go of the last two references at once: whichever decrement reaches zero
// destroys the object, and only that one.
TEST(ComponentConcurrency, LastTwoReleasesOnTwoThreadsDestroyOnce)
{
    constexpr int kRounds = 500;
    for (int round = 0; round < kRounds; ++round)
    {
        std::atomic<int> destroyed{0};
        void* const held = (new TestComponent(destroyed))->hostInterface();
        fakeaax::addRef(held);
        fakeaax::addRef(held);

        std::atomic<bool> go{false};
        uint32_t remaining[2] = {};
        auto releaseOnce = [&](uint32_t& answer)
        {
            while (!go.load(std::memory_order_acquire))
            {
            }
            answer = fakeaax::release(held);
        };
        std::thread first(releaseOnce, std::ref(remaining[0]));
        std::thread second(releaseOnce, std::ref(remaining[1]));
        go.store(true, std::memory_order_release);
        first.join();
        second.join();

        ASSERT_EQ(destroyed, 1) << "round " << round;
        ASSERT_EQ(std::min(remaining[0], remaining[1]), 0u);
        ASSERT_EQ(std::max(remaining[0], remaining[1]), 1u);
    }
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 0u);
}
} // namespace
