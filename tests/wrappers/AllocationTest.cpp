// Counts the allocations the test thread makes while processing through the record, to prove
// that the wrapper's audio path makes none on any buffer layout.
#include "tests/support/CountingAllocator.h"
#include "tests/wrappers/WrapperTestSupport.h"

using namespace wrappertest;
using veridane::test::allocationsDuring;

TEST(WrapperAudioPath, ProcessesWithoutAllocatingOnAnyLayout)
{
    Instance instance;
    instance.start();
    instance.setChunk(glidingState());
    auto a = testSignal(10000);
    auto b = testSignal(10000);
    float* in[numChannels];
    float* out[numChannels];
    float* crossed[numChannels];
    for (int c = 0; c < numChannels; ++c)
    {
        in[c] = a[size_t(c)].data();
        out[c] = b[size_t(c)].data();
        crossed[c] = a[size_t((c + 1) % numChannels)].data();
    }

    const int allocations = allocationsDuring(
        [&]
        {
            for (const int frames : {512, 10000})
            {
                instance.process(in, in, frames);
                instance.process(in, out, frames);
                instance.process(in, crossed, frames);
                instance.process(nullptr, out, frames);
            }
            instance.dispatch(effSetBypass, 0, 1);
            instance.process(in, crossed, 10000);
        });
    EXPECT_EQ(allocations, 0);
}
