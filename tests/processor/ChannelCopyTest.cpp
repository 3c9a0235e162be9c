// The four-channel copy that feeds the wrappers' processBlock, on every vector width this machine
// has: separate, crossed and swapped buffers, at every alignment and across the masked edges.
#include "processor/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

using veridane::kernels::VectorWidth;

TEST(ChannelCopy, EveryOutputGetsItsOwnInputWhateverTheBuffersShare)
{
    const struct
    {
        const char* name;
        int outputBuffer[4]; // 0 to 3: the buffer of that input; 4 and up: buffers of their own
    } layouts[] = {
        {"separate", {4, 5, 6, 7}},
        {"crossed", {1, 2, 3, 0}},
        {"swapped pair", {1, 0, 6, 7}},
        {"in place", {0, 1, 2, 3}},
    };
    const VectorWidth widest = veridane::kernels::widestSupportedWidth();
    for (const auto width : {VectorWidth::baseline, VectorWidth::avx2, VectorWidth::avx512})
    {
        if (veridane::kernels::useVectorWidthForTesting(width) != width)
            continue;
        const auto& kernels = veridane::kernels::activeKernels();
        for (const auto& layout : layouts)
            for (const int numFrames : {0, 1, 7, 16, 31, 100})
                for (const int offset : {0, 3, 9})
                {
                    SCOPED_TRACE(std::string(layout.name) + ", width " +
                                 std::to_string(int(width)) + ", " + std::to_string(numFrames) +
                                 " frames at offset " + std::to_string(offset));
                    const int stride = 128;
                    std::vector<float> storage(8 * stride);
                    std::iota(storage.begin(), storage.end(), 1.0f);
                    const std::vector<float> before = storage;
                    const float* inputs[4];
                    float* outputs[4];
                    for (int c = 0; c < 4; ++c)
                    {
                        inputs[c] = storage.data() + c * stride + offset;
                        outputs[c] = storage.data() + layout.outputBuffer[c] * stride + offset;
                    }
                    kernels.copyChannels(outputs, inputs, numFrames);

                    for (int c = 0; c < 4; ++c)
                        for (int i = 0; i < numFrames; ++i)
                            ASSERT_EQ(outputs[c][i], before[size_t(c * stride + offset + i)])
                                << "output " << c << " frame " << i;
                    // Nothing outside the frames moved.
                    for (int c = 0; c < 4; ++c)
                    {
                        const auto start = size_t(layout.outputBuffer[c] * stride);
                        ASSERT_EQ(storage[start + size_t(offset + numFrames)],
                                  before[start + size_t(offset + numFrames)]);
                        if (offset > 0)
                            ASSERT_EQ(storage[start + size_t(offset) - 1],
                                      before[start + size_t(offset) - 1]);
                    }
                }
    }
    veridane::kernels::useVectorWidthForTesting(widest);
}
