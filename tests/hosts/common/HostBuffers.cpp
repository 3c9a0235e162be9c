#include "tests/hosts/common/HostBuffers.h"

#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <limits>

namespace
{
constexpr BufferLayout kLayouts[] = {BufferLayout::separate, BufferLayout::inPlace,
                                     BufferLayout::crossed};
} // namespace

BufferLayout parseBufferLayout(const std::string& name)
{
    for (auto layout : kLayouts)
        if (name == bufferLayoutName(layout))
            return layout;
    throw UsageError("unknown buffer layout '" + name + "' (separate, in-place, crossed)");
}

std::vector<std::string> bufferLayoutNames()
{
    std::vector<std::string> names;
    for (auto layout : kLayouts)
        names.push_back(bufferLayoutName(layout));
    return names;
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

HostBuffers::HostBuffers(BufferLayout bufferLayout, int32_t maxBlock) : layout(bufferLayout)
{
    for (int c = 0; c < kChannels; ++c)
    {
        inputStorage[size_t(c)].resize(size_t(maxBlock));
        outputStorage[size_t(c)].resize(size_t(maxBlock));
        inputPointers[size_t(c)] = inputStorage[size_t(c)].data();
    }
    for (int c = 0; c < kChannels; ++c)
    {
        switch (layout)
        {
        case BufferLayout::separate:
            outputPointers[size_t(c)] = outputStorage[size_t(c)].data();
            break;
        case BufferLayout::inPlace:
            outputPointers[size_t(c)] = inputPointers[size_t(c)];
            break;
        case BufferLayout::crossed:
            outputPointers[size_t(c)] = inputPointers[size_t((c + 1) % kChannels)];
            break;
        }
    }
}

void HostBuffers::load(const MultichannelAudio& input, int64_t offset, int32_t length)
{
    for (int c = 0; c < kChannels; ++c)
    {
        const float* from = input.channels[size_t(c)].data() + offset;
        std::copy(from, from + length, inputPointers[size_t(c)]);
    }
    // An output the plug-in forgets to write shows up as NaN instead of a plausible copy.
    if (layout == BufferLayout::separate)
        for (auto* channel : outputPointers)
            std::fill(channel, channel + length, std::numeric_limits<float>::quiet_NaN());
}

void HostBuffers::store(int64_t offset, int32_t length, MultichannelAudio& output) const
{
    for (int c = 0; c < kChannels; ++c)
        std::copy(outputPointers[size_t(c)], outputPointers[size_t(c)] + length,
                  output.channels[size_t(c)].begin() + offset);
}
