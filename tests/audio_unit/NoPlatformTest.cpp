// Built against the layer whose frameworks path names no file: the platform is absent.
#include "hosts/audio_unit/ComponentEntryPoint.h"
#include "platform/frameworks/ParameterBlock.h"

#include "tests/audio_unit/TestEffect.h"

#include <gtest/gtest.h>

using namespace autest;

TEST(PlatformAbsent, UnitsSeeFiveZeroWordsNoStorageAndNoUnitToConnectTo)
{
    int handleTarget = 0;
    const auto instance = reinterpret_cast<AudioComponentInstance>(&handleTarget);

    for (const auto type :
         {ComponentBase::kComponentMgrInstance, ComponentBase::kAudioComponentInstance})
    {
        SCOPED_TRACE(type);
        ComponentInitLocker lock;
        ComponentBase::sNewInstanceType = type;
        const TestUnit unit(1, 1, 2, instance);
        const AudioComponentDescription description = unit.GetComponentDescription();
        EXPECT_EQ(unit.GetInstanceType(), type);
        for (const UInt32 word : {description.componentType, description.componentSubType,
                                  description.componentManufacturer, description.componentFlags,
                                  description.componentFlagsMask})
            EXPECT_EQ(word, 0u);
    }

    ComponentBase::CMgr_SetComponentInstanceStorage(instance, &handleTarget);
    EXPECT_EQ(ComponentBase::CMgr_GetComponentInstanceStorage(instance), nullptr);

    AudioUnitRenderProc render = nullptr;
    UInt32 size = sizeof render;
    EXPECT_EQ(AudioUnitGetProperty(instance, kAudioUnitProperty_FastDispatch,
                                   kAudioUnitScope_Global, kAudioUnitRenderSelect, &render, &size),
              badComponentInstance);

    TestUnit unit;
    unit.BeginInitializing(64);
    AUInputElement& input = *unit.GetInput(0);
    input.SetConnection({instance, 0, 0});
    EXPECT_TRUE(input.HasConnection());
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time{};
    EXPECT_EQ(input.PullInput(flags, time, 0, 64), badComponentInstance);
}

TEST(PlatformAbsent, AComponentManagerOpenKeepsNoUnitItCannotStore)
{
    int handleTarget = 0;
    veridane::frameworks::ParameterBlock open(kComponentOpenSelect,
                                              reinterpret_cast<ComponentInstance>(&handleTarget));
    EXPECT_EQ(ComponentEntryPoint<TestEffect>::Dispatch(&open.Header(), nullptr),
              badComponentInstance);
    EXPECT_EQ(TestEffect::live, 0);
}
