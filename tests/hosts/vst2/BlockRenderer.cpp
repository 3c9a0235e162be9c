#include "tests/hosts/vst2/BlockRenderer.h"

#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <limits>

BufferLayout parseBufferLayout(const std::string& name)
{
    for (auto layout : {BufferLayout::separate, BufferLayout::inPlace, BufferLayout::crossed})
        if (name == bufferLayoutName(layout))
            return layout;
    throw UsageError("unknown buffer layout '" + name + "' (separate, in-place, crossed)");
}

const char* bufferLayoutName(BufferLayout layout)
{
    switch (layout)
    {
    case BufferLayout::separate:
        return "separate";
    case BufferLayout::inPlace:
        return "in-place";
    case BufferLayout::crossed:
        return "crossed";
    }
    return "?";
}

BlockRenderer::BlockRenderer(HostedEffect& hostedEffect, BufferLayout bufferLayout,
                             int32_t maxBlock)
    : effect(hostedEffect), layout(bufferLayout)
{
    for (int c = 0; c < kChannels; ++c)
    {
        inputStorage[size_t(c)].resize(size_t(maxBlock));
        outputStorage[size_t(c)].resize(size_t(maxBlock));
        inputs[size_t(c)] = inputStorage[size_t(c)].data();
    }
    for (int c = 0; c < kChannels; ++c)
    {
        switch (layout)
        {
        case BufferLayout::separate:
            outputs[size_t(c)] = outputStorage[size_t(c)].data();
            break;
        case BufferLayout::inPlace:
            outputs[size_t(c)] = inputs[size_t(c)];
            break;
        case BufferLayout::crossed:
            outputs[size_t(c)] = inputs[size_t((c + 1) % kChannels)];
            break;
        }
    }
}

void BlockRenderer::process(const MultichannelAudio& input, int64_t offset, int32_t length,
                            MultichannelAudio& output)
{
    for (int c = 0; c < kChannels; ++c)
    {
        const float* from = input.channels[size_t(c)].data() + offset;
        std::copy(from, from + length, inputs[size_t(c)]);
    }
    // An output the effect forgets to write shows up as NaN instead of a plausible copy.
    if (layout == BufferLayout::separate)
        for (auto* channel : outputs)
            std::fill(channel, channel + length, std::numeric_limits<float>::quiet_NaN());

    effect.process(inputs.data(), outputs.data(), length);

    for (int c = 0; c < kChannels; ++c)
        std::copy(outputs[size_t(c)], outputs[size_t(c)] + length,
                  output.channels[size_t(c)].begin() + offset);
}
