#include "tests/hosts/audio_unit/UnitRenderer.h"

#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <limits>

namespace
{
constexpr UInt32 kSampleTimeValid = 1;
/** Each bus stream's share of its memory is padded to 16 bytes. */
constexpr UInt32 streamBytes(UInt32 frames)
{
    return (frames * UInt32(sizeof(float)) + 15u) & ~15u;
}
} // namespace

OutputBuffers parseOutputBuffers(const std::string& name)
{
    for (auto buffers : {OutputBuffers::host, OutputBuffers::null, OutputBuffers::inPlace,
                         OutputBuffers::external})
        if (name == outputBuffersName(buffers))
            return buffers;
    throw UsageError("unknown buffers '" + name + "' (host, null, in-place, external)");
}

const char* outputBuffersName(OutputBuffers buffers)
{
    switch (buffers)
    {
    case OutputBuffers::host:
        return "host";
    case OutputBuffers::null:
        return "null";
    case OutputBuffers::inPlace:
        return "in-place";
    case OutputBuffers::external:
        return "external";
    }
    return "?";
}

UnitRenderer::UnitRenderer(HostedUnit& hostedUnit, InputFeed& inputFeed, OutputBuffers layout,
                           UInt32 maxFrames)
    : unit(hostedUnit), feed(inputFeed), buffers(layout),
      listStorage(AudioBufferListBytes(kChannels) / sizeof(AudioBuffer) + 1)
{
    for (auto& channel : hostMemory)
        channel.assign(maxFrames, 0.0f);
    if (buffers == OutputBuffers::external)
    {
        lentBytes = kChannels * streamBytes(maxFrames);
        lentStorage.assign(lentBytes + 16, 0);
        const auto address = reinterpret_cast<uintptr_t>(lentStorage.data());
        lentBlock = lentStorage.data() + ((16 - address % 16) % 16);
    }
}

OSStatus UnitRenderer::prepare()
{
    switch (buffers)
    {
    case OutputBuffers::inPlace:
        return unit.set(kAudioUnitProperty_InPlaceProcessing, kAudioUnitScope_Global, 0, UInt32(1));
    case OutputBuffers::external:
    {
        const AudioUnitExternalBuffer block{lentBlock, lentBytes};
        return unit.set(kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, block);
    }
    case OutputBuffers::host:
    case OutputBuffers::null:
        break;
    }
    return noErr;
}

bool UnitRenderer::insideLentBlock(const void* data) const
{
    const auto* byte = static_cast<const Byte*>(data);
    return byte >= lentBlock && byte < lentBlock + lentBytes;
}

OSStatus UnitRenderer::render(int64_t offset, UInt32 length, MultichannelAudio& output)
{
    const bool hostGivesMemory =
        buffers == OutputBuffers::host || buffers == OutputBuffers::inPlace;
    AudioBufferList& data = list();
    data.mNumberBuffers = kChannels;
    for (int c = 0; c < kChannels; ++c)
    {
        float* memory = hostMemory[size_t(c)].data();
        // An output the unit forgets to write shows up as NaN instead of a plausible copy.
        std::fill(memory, memory + length, std::numeric_limits<float>::quiet_NaN());
        data.mBuffers[c] = {1, UInt32(length * sizeof(float)), hostGivesMemory ? memory : nullptr};
    }

    AudioTimeStamp timeStamp{};
    timeStamp.mSampleTime = double(offset);
    timeStamp.mFlags = kSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp* stamp = &timeStamp;
    feed.setPosition(offset);
    const OSStatus status =
        unit.call(kAudioUnitRenderSelect, &flags, stamp, UInt32(0), length, &data);
    if (status != noErr)
    {
        found.push_back("render at frame " + std::to_string(offset) + " answered " +
                        std::to_string(status));
        return status;
    }

    for (int c = 0; c < kChannels; ++c)
    {
        const auto* samples = static_cast<const float*>(data.mBuffers[c].mData);
        if (samples == nullptr || data.mBuffers[c].mDataByteSize < length * sizeof(float))
        {
            found.push_back("render at frame " + std::to_string(offset) + " left channel " +
                            std::to_string(c + 1) + " without " + std::to_string(length) +
                            " frames");
            return kAudio_ParamError;
        }
        if (buffers == OutputBuffers::external && !insideLentBlock(samples))
            found.push_back("channel " + std::to_string(c + 1) +
                            " was not rendered into the lent block");
        std::copy(samples, samples + length, output.channels[size_t(c)].begin() + offset);
    }
    return noErr;
}
