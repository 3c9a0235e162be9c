#include "tests/hosts/audio_unit/InputFeed.h"

#include "platform/frameworks/Frameworks.h"
#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <cstring>

namespace
{
/** The feed whose source unit the stand-in is opening right now. */
InputFeed* gOpening = nullptr;

intptr_t word(const ComponentParameters& params, size_t n)
{
    const intptr_t* words = params.params;
    return words[n];
}
} // namespace

InputFeed::Kind InputFeed::parseKind(const std::string& name)
{
    for (Kind kind : {Kind::callback, Kind::connection})
        if (name == kindName(kind))
            return kind;
    throw UsageError("unknown input '" + name + "' (callback, connection)");
}

const char* InputFeed::kindName(Kind kind)
{
    return kind == Kind::callback ? "callback" : "connection";
}

InputFeed::InputFeed(Kind feedKind, const MultichannelAudio& feedSignal, UInt32 largestPull)
    : kind(feedKind), signal(feedSignal), maxFrames(largestPull), sampleRate(feedSignal.sampleRate)
{
    for (auto& channel : ownMemory)
        channel.assign(maxFrames, 0.0f);
}

InputFeed::~InputFeed()
{
    if (source != nullptr)
        CloseComponent(source);
}

OSStatus InputFeed::attach(HostedUnit& unit)
{
    if (kind == Kind::callback)
    {
        const AURenderCallbackStruct callback{renderCallback, this};
        return unit.set(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, callback);
    }
    static const Component sourceComponent = []
    {
        const ComponentDescription description{MakeFourCharCode('a', 'u', 'g', 'n'),
                                               MakeFourCharCode('f', 'e', 'e', 'd'),
                                               MakeFourCharCode('T', 'e', 's', 't'), 0, 0};
        return VeridaneRegisterComponent(&description, sourceEntry);
    }();
    gOpening = this;
    const OSErr opened = OpenAComponent(sourceComponent, &source);
    gOpening = nullptr;
    if (opened != noErr)
        return opened;
    const AudioUnitConnection connection{source, 0, 0};
    return unit.set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, connection);
}

OSStatus InputFeed::fill(AudioBufferList& list, UInt32 frames)
{
    ++pullCount;
    if (list.mNumberBuffers != kChannels || frames > maxFrames)
        return kAudio_ParamError;
    for (int c = 0; c < kChannels; ++c)
    {
        AudioBuffer& buffer = list.mBuffers[c];
        if (buffer.mData == nullptr)
            buffer.mData = ownMemory[size_t(c)].data();
        auto* out = static_cast<float*>(buffer.mData);
        const auto& channel = signal.channels[size_t(c)];
        for (UInt32 i = 0; i < frames; ++i)
        {
            const int64_t frame = position + i;
            out[i] = frame < int64_t(channel.size()) ? channel[size_t(frame)] : 0.0f;
        }
        buffer.mDataByteSize = UInt32(frames * sizeof(float));
    }
    return noErr;
}

OSStatus InputFeed::renderCallback(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                   UInt32, UInt32 frames, AudioBufferList* data)
{
    return data != nullptr ? static_cast<InputFeed*>(refCon)->fill(*data, frames)
                           : OSStatus(kAudio_ParamError);
}

OSStatus InputFeed::sourceRender(void* storage, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                 UInt32, UInt32 frames, AudioBufferList* data)
{
    return storage != nullptr && data != nullptr
               ? static_cast<InputFeed*>(storage)->fill(*data, frames)
               : OSStatus(kAudio_ParamError);
}

/** The source unit: opens, closes, answers its output format and its fast render function, and
    renders; nothing else. */
OSStatus InputFeed::sourceEntry(ComponentParameters* params, void* storage)
{
    switch (params->what)
    {
    case kComponentOpenSelect:
        SetComponentInstanceStorage(reinterpret_cast<ComponentInstance>(word(*params, 0)),
                                    gOpening);
        return noErr;
    case kComponentCloseSelect:
        return noErr;
    case kAudioUnitGetPropertySelect:
        return static_cast<InputFeed*>(storage)->answerSourceProperty(*params);
    case kAudioUnitRenderSelect:
        return sourceRender(storage, nullptr, nullptr, 0, UInt32(word(*params, 4)),
                            reinterpret_cast<AudioBufferList*>(word(*params, 5)));
    default:
        return badComponentSelector;
    }
}

OSStatus InputFeed::answerSourceProperty(const ComponentParameters& params)
{
    const auto id = AudioUnitPropertyID(word(params, 1));
    const auto element = AudioUnitElement(word(params, 3));
    void* data = reinterpret_cast<void*>(word(params, 4));
    auto* size = reinterpret_cast<UInt32*>(word(params, 5));
    if (data == nullptr || size == nullptr)
        return kAudio_ParamError;
    if (id == kAudioUnitProperty_StreamFormat && *size >= sizeof(AudioStreamBasicDescription))
    {
        AudioStreamBasicDescription format{};
        format.mSampleRate = sampleRate;
        format.mFormatID = kAudioFormatLinearPCM;
        format.mFormatFlags =
            kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
        format.mBytesPerPacket = format.mBytesPerFrame = sizeof(float);
        format.mFramesPerPacket = 1;
        format.mChannelsPerFrame = kChannels;
        format.mBitsPerChannel = 32;
        std::memcpy(data, &format, sizeof format);
        *size = sizeof format;
        return noErr;
    }
    if (id == kAudioUnitProperty_FastDispatch && element == kAudioUnitRenderSelect &&
        *size >= sizeof(AudioUnitRenderProc))
    {
        const AudioUnitRenderProc fast = sourceRender;
        std::memcpy(data, &fast, sizeof fast);
        *size = sizeof fast;
        return noErr;
    }
    return kAudioUnitErr_InvalidProperty;
}
