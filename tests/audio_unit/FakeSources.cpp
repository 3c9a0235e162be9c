#include "tests/audio_unit/FakeSources.h"

#include <gtest/gtest.h>

namespace autest
{
namespace
{
FakeSource* gOpening = nullptr;

OSStatus Fill(FakeSource& source, UInt32 frames, AudioBufferList& list)
{
    source.memory.resize(list.mNumberBuffers);
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        AudioBuffer& buffer = list.mBuffers[i];
        const UInt32 samples = frames * buffer.mNumberChannels;
        if (buffer.mData == nullptr)
        {
            source.memory[i].assign(samples, 0.0f);
            buffer.mData = source.memory[i].data();
        }
        std::fill_n(static_cast<float*>(buffer.mData), samples, source.value);
        buffer.mDataByteSize = samples * sizeof(float);
    }
    return noErr;
}

OSStatus FastRender(void* storage, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                    UInt32 frames, AudioBufferList* list)
{
    auto& source = *static_cast<FakeSource*>(storage);
    ++source.rendersThroughFastFunction;
    source.fastFunctionStorage = storage;
    return Fill(source, frames, *list);
}

OSStatus GetProperty(FakeSource& source, AudioUnitPropertyID id, AudioUnitElement element,
                     void* data, UInt32* size)
{
    if (id == kAudioUnitProperty_StreamFormat && source.outputFormat)
    {
        *static_cast<AudioStreamBasicDescription*>(data) = *source.outputFormat;
        *size = sizeof(AudioStreamBasicDescription);
        return noErr;
    }
    if (id != kAudioUnitProperty_FastDispatch || element != kAudioUnitRenderSelect ||
        !source.answersFastDispatch)
        return kAudioUnitErr_InvalidProperty;
    *static_cast<AudioUnitRenderProc*>(data) = FastRender;
    *size = sizeof(AudioUnitRenderProc);
    return noErr;
}

OSStatus RenderThroughSelector(FakeSource& source, UInt32 frames, AudioBufferList* list)
{
    ++source.rendersThroughSelector;
    return Fill(source, frames, *list);
}

//==================================================================================================
// The plug-in block road

struct PlugIn
{
    AudioComponentPlugInInterface interface;
    FakeSource* source;
};

FakeSource& SourceOf(void* self)
{
    return *static_cast<PlugIn*>(self)->source;
}

OSStatus PlugInGetProperty(void* self, AudioUnitPropertyID id, AudioUnitScope,
                           AudioUnitElement element, void* data, UInt32* size)
{
    return GetProperty(SourceOf(self), id, element, data, size);
}

OSStatus PlugInRender(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                      UInt32 frames, AudioBufferList* list)
{
    return RenderThroughSelector(SourceOf(self), frames, list);
}

AudioComponentMethod PlugInLookup(SInt16 selector)
{
    switch (selector)
    {
    case kAudioUnitGetPropertySelect:
        return reinterpret_cast<AudioComponentMethod>(PlugInGetProperty);
    case kAudioUnitRenderSelect:
        return reinterpret_cast<AudioComponentMethod>(PlugInRender);
    default:
        return nullptr;
    }
}

AudioComponentPlugInInterface* PlugInFactory(const AudioComponentDescription*)
{
    auto* plugIn = new PlugIn{{[](void*, AudioComponentInstance) { return OSStatus(noErr); },
                               [](void* self)
                               {
                                   delete static_cast<PlugIn*>(self);
                                   return OSStatus(noErr);
                               },
                               PlugInLookup, nullptr},
                              gOpening};
    return &plugIn->interface;
}

//==================================================================================================
// The Component Manager road: the source is the instance's storage.

OSStatus Entry(ComponentParameters* params, void* storage)
{
    const intptr_t* words = params->params;
    switch (params->what)
    {
    case kComponentOpenSelect:
        SetComponentInstanceStorage(reinterpret_cast<ComponentInstance>(words[0]), gOpening);
        return noErr;
    case kComponentCloseSelect:
        return noErr;
    case kAudioUnitGetPropertySelect:
        return GetProperty(*static_cast<FakeSource*>(storage), UInt32(words[1]), UInt32(words[3]),
                           reinterpret_cast<void*>(words[4]), reinterpret_cast<UInt32*>(words[5]));
    case kAudioUnitRenderSelect:
        return RenderThroughSelector(*static_cast<FakeSource*>(storage), UInt32(words[4]),
                                     reinterpret_cast<AudioBufferList*>(words[5]));
    default:
        return badComponentSelector;
    }
}

/** 'aufx' 'fakp' 'Test' through the plug-in block, 'aufx' 'fakc' 'Test' through the entry. */
constexpr AudioComponentDescription kPlugInDescription{0x61756678, 0x66616B70, 0x54657374, 1, 2};
constexpr ComponentDescription kEntryDescription{0x61756678, 0x66616B63, 0x54657374, 3, 4};
} // namespace

OpenFakeSource::OpenFakeSource(FakeSource& source, Road road) : mRoad(road)
{
    static const AudioComponent plugInComponent =
        VeridaneRegisterAudioComponent(&kPlugInDescription, PlugInFactory);
    static const Component entryComponent = VeridaneRegisterComponent(&kEntryDescription, Entry);

    gOpening = &source;
    if (road == Road::plugInBlock)
        EXPECT_EQ(AudioComponentInstanceNew(plugInComponent, &mUnit), noErr);
    else
        EXPECT_EQ(OpenAComponent(entryComponent, &mUnit), noErr);
    gOpening = nullptr;
}

OpenFakeSource::~OpenFakeSource()
{
    if (mRoad == Road::plugInBlock)
        AudioComponentInstanceDispose(mUnit);
    else
        CloseComponent(mUnit);
}

} // namespace autest
