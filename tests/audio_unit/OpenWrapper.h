// The plug-in's Audio Unit wrapper opened in-process on either road, as the bundle's entry points
// open it, with its input fed by a render callback: for tests that look inside the instance.
#pragma once

#include "hosts/audio_unit/AUPlugInDispatch.h"
#include "platform/frameworks/Frameworks.h"
#include "platform/frameworks/ParameterBlock.h"
#include "wrappers/audio_unit/AUEntry.h"
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace autest
{

class OpenWrapper
{
public:
    static constexpr UInt32 kFrames = 256;

    explicit OpenWrapper(bool componentManager) : entryRoad(componentManager)
    {
        if (entryRoad)
        {
            static const ComponentDescription description{1, 2, 3, 0, 0};
            static const Component component =
                VeridaneRegisterComponent(&description, veridane::au::entry);
            EXPECT_EQ(OpenAComponent(component, &instance), noErr);
            storage = GetComponentInstanceStorage(instance);
            return;
        }
        block = veridane::au::factory(nullptr);
        instance = reinterpret_cast<ComponentInstance>(block);
        EXPECT_EQ(block->Open(block, instance), noErr);
    }
    ~OpenWrapper() { EXPECT_EQ(entryRoad ? CloseComponent(instance) : block->Close(block), noErr); }

    veridane::au::VeridaneAUWrapper& unit()
    {
        return entryRoad
                   ? static_cast<veridane::au::VeridaneAUWrapper&>(*static_cast<AUBase*>(storage))
                   : AUPlugInUnit<veridane::au::VeridaneAUWrapper>(block);
    }

    /** Calls a selector with exactly the argument types given, on the instance's road. */
    template <typename... Args> OSStatus call(SInt16 selector, Args... args)
    {
        if (!entryRoad)
            return reinterpret_cast<OSStatus (*)(void*, Args...)>(block->Lookup(selector))(block,
                                                                                           args...);
        veridane::frameworks::ParameterBlock parameters(selector, instance);
        (parameters.Append(args), ...);
        return veridane::au::entry(&parameters.Header(), storage);
    }

    /** Four channels, input from the callback, initialised. */
    OSStatus initialize()
    {
        const CAStreamBasicDescription format = FloatFormat(4);
        const AURenderCallbackStruct callback{Feed, nullptr};
        AUBase& base = unit();
        for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
            EXPECT_EQ(base.DispatchSetProperty(kAudioUnitProperty_StreamFormat, scope, 0, &format,
                                               sizeof format),
                      noErr);
        EXPECT_EQ(base.DispatchSetProperty(kAudioUnitProperty_SetRenderCallback,
                                           kAudioUnitScope_Input, 0, &callback, sizeof callback),
                  noErr);
        return call(kAudioUnitInitializeSelect);
    }

    OSStatus render()
    {
        AudioTimeStamp time{};
        time.mSampleTime = sampleTime;
        sampleTime += kFrames;
        const AudioTimeStamp* stamp = &time;
        AudioUnitRenderActionFlags flags = 0;
        return call(kAudioUnitRenderSelect, &flags, stamp, UInt32(0), kFrames, &out.list());
    }

    ComponentInstance instance = nullptr;
    void* storage = nullptr;
    HostBuffers out{4, kFrames};

private:
    /** Every input sample is 0.25. */
    static OSStatus Feed(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                         UInt32 frames, AudioBufferList* list)
    {
        for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            std::fill_n(static_cast<float*>(list->mBuffers[c].mData), frames, 0.25f);
        return noErr;
    }

    const bool entryRoad;
    AudioComponentPlugInInterface* block = nullptr;
    double sampleTime = 0.0;
};

} // namespace autest
