#include "tests/hosts/audio_unit/UnitIO.h"

#include "platform/frameworks/Frameworks.h"
#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
/** The feed whose source unit the stand-in is opening right now. */
InputFeed* gOpening = nullptr;

intptr_t word(const ComponentParameters& params, size_t n)
{
    const intptr_t* words = params.params;
    return words[n];
}

template <typename T> OSStatus answer(void* data, UInt32* size, const T& value)
{
    std::memcpy(data, &value, sizeof value);
    *size = sizeof value;
    return noErr;
}
} // namespace

InputFeed::InputFeed(bool fromConnection, const MultichannelAudio& feedSignal, UInt32 maxFrames)
    : connection(fromConnection), signal(feedSignal),
      ownMemory(kChannels, std::vector<float>(maxFrames))
{
}

InputFeed::~InputFeed()
{
    if (source != nullptr)
        CloseComponent(source);
}

OSStatus InputFeed::attach(HostedUnit& unit)
{
    if (!connection)
        return unit.set(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0,
                        AURenderCallbackStruct{Render, this});
    static const ComponentDescription description{MakeFourCharCode('a', 'u', 'g', 'n'), 1, 2, 0, 0};
    static const Component component = VeridaneRegisterComponent(&description, SourceEntry);
    gOpening = this;
    const OSErr opened = OpenAComponent(component, &source);
    gOpening = nullptr;
    return opened != noErr ? opened
                           : unit.set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0,
                                      AudioUnitConnection{source, 0, 0});
}

OSStatus InputFeed::Render(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                           UInt32 frames, AudioBufferList* list)
{
    auto& feed = *static_cast<InputFeed*>(refCon);
    ++feed.pulls;
    if (list == nullptr || list->mNumberBuffers != kChannels || frames > feed.ownMemory[0].size())
        return kAudio_ParamError;
    for (int c = 0; c < kChannels; ++c)
    {
        AudioBuffer& buffer = list->mBuffers[c];
        if (buffer.mData == nullptr)
            buffer.mData = feed.ownMemory[size_t(c)].data();
        const auto& channel = feed.signal.channels[size_t(c)];
        for (UInt32 i = 0; i < frames; ++i)
        {
            const auto frame = size_t(feed.position + i);
            static_cast<float*>(buffer.mData)[i] = frame < channel.size() ? channel[frame] : 0.0f;
        }
        buffer.mDataByteSize = UInt32(frames * sizeof(float));
    }
    return noErr;
}

/** The source unit: opens, closes, answers its output format and its fast render function, and
    renders; nothing else. */
OSStatus InputFeed::SourceEntry(ComponentParameters* params, void* refCon)
{
    switch (params->what)
    {
    case kComponentOpenSelect:
        SetComponentInstanceStorage(reinterpret_cast<ComponentInstance>(word(*params, 0)),
                                    gOpening);
        return noErr;
    case kComponentCloseSelect:
        return noErr;
    case kAudioUnitRenderSelect:
        return Render(refCon, nullptr, nullptr, 0, UInt32(word(*params, 4)),
                      reinterpret_cast<AudioBufferList*>(word(*params, 5)));
    case kAudioUnitGetPropertySelect:
    {
        void* data = reinterpret_cast<void*>(word(*params, 4));
        auto* size = reinterpret_cast<UInt32*>(word(*params, 5));
        const auto& feed = *static_cast<InputFeed*>(refCon);
        if (AudioUnitPropertyID(word(*params, 1)) == kAudioUnitProperty_StreamFormat)
            return answer(data, size, floatFormat(feed.signal.sampleRate, kChannels));
        if (AudioUnitPropertyID(word(*params, 1)) == kAudioUnitProperty_FastDispatch &&
            AudioUnitElement(word(*params, 3)) == kAudioUnitRenderSelect)
            return answer(data, size, AudioUnitRenderProc(Render));
        return kAudioUnitErr_InvalidProperty;
    }
    default:
        return badComponentSelector;
    }
}

//==================================================================================================
std::vector<std::string> UnitRenderer::bufferNames()
{
    return {"host", "null", "in-place", "external"};
}

UnitRenderer::UnitRenderer(HostedUnit& hostedUnit, InputFeed& inputFeed, const std::string& layout,
                           UInt32 maxFrames)
    : unit(hostedUnit), feed(inputFeed), buffers(layout),
      hostMemory(kChannels, std::vector<float>(maxFrames)),
      list(AudioBufferListBytes(kChannels) / sizeof(AudioBuffer) + 1)
{
    const auto names = bufferNames();
    if (std::find(names.begin(), names.end(), buffers) == names.end())
        throw UsageError("unknown buffers '" + buffers + "' (host, null, in-place, external)");
    // Room for the unit's whole output: each channel's share padded to 16 bytes.
    lentBytes = kChannels * ((maxFrames * UInt32(sizeof(float)) + 15u) & ~15u);
    lentStorage.resize(lentBytes + 16);
    lent = lentStorage.data() + (16 - reinterpret_cast<uintptr_t>(lentStorage.data()) % 16) % 16;
}

OSStatus UnitRenderer::prepare()
{
    if (buffers == "in-place")
        return unit.set(kAudioUnitProperty_InPlaceProcessing, kAudioUnitScope_Global, 0, UInt32(1));
    if (buffers == "external")
        return unit.set(kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0,
                        AudioUnitExternalBuffer{lent, lentBytes});
    return noErr;
}

void UnitRenderer::render(int64_t offset, UInt32 length, MultichannelAudio& output)
{
    const bool hostMemoryGiven = buffers == "host" || buffers == "in-place";
    auto& data = *reinterpret_cast<AudioBufferList*>(list.data());
    data.mNumberBuffers = kChannels;
    for (int c = 0; c < kChannels; ++c)
    {
        // An output the unit forgets to write shows up as NaN instead of a plausible copy.
        std::fill_n(hostMemory[size_t(c)].begin(), length, std::numeric_limits<float>::quiet_NaN());
        data.mBuffers[c] = {1, UInt32(length * sizeof(float)),
                            hostMemoryGiven ? hostMemory[size_t(c)].data() : nullptr};
    }
    AudioTimeStamp time{};
    time.mSampleTime = double(offset);
    time.mFlags = 1; // the sample time is valid
    const AudioTimeStamp* stamp = &time;
    AudioUnitRenderActionFlags flags = 0;
    feed.position = offset;
    const std::string at = "render at frame " + std::to_string(offset);
    if (const OSStatus status =
            unit.call(kAudioUnitRenderSelect, &flags, stamp, UInt32(0), length, &data);
        status != noErr)
        return problems.push_back(at + " answered " + std::to_string(status));

    for (int c = 0; c < kChannels; ++c)
    {
        const auto* samples = static_cast<const Byte*>(data.mBuffers[c].mData);
        if (samples == nullptr || data.mBuffers[c].mDataByteSize < length * sizeof(float))
            return problems.push_back(at + " left a channel short");
        if (buffers == "external" && (samples < lent || samples >= lent + lentBytes))
            return problems.push_back(at + " did not use the lent block");
        std::memcpy(output.channels[size_t(c)].data() + offset, samples, length * sizeof(float));
    }
}
