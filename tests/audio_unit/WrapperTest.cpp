// The plug-in's Audio Unit wrapper seen from inside: where MIDI lands, what the host hears of the
// processor's own changes, what a restore takes, and that instances give back what they made.
#include "tests/audio_unit/OpenWrapper.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
std::vector<AudioUnitEvent> gEvents;

void Observe(void*, const AudioUnitEvent* event)
{
    gEvents.push_back(*event);
}

/** The gathered MIDI as (position, bytes) pairs. */
std::vector<std::pair<int, std::vector<UInt8>>> Gathered(veridane::au::VeridaneAUWrapper& unit)
{
    std::vector<std::pair<int, std::vector<UInt8>>> events;
    for (const auto metadata : unit.gatheredMidi())
        events.emplace_back(metadata.samplePosition,
                            std::vector<UInt8>(metadata.data, metadata.data + metadata.numBytes));
    return events;
}
} // namespace

TEST(AudioUnitWrapper, ANoteOnReachesTheGatheredMIDIThroughEveryRoadUntilTheNextRender)
{
    // Note-on, channel 15, middle C, velocity 100, at frame 7.
    const std::vector<std::pair<int, std::vector<UInt8>>> noteOn{{7, {0x9F, 60, 100}}};
    for (const char* road : {"plug-in method", "Component Manager selector", "fast function"})
    {
        SCOPED_TRACE(road);
        OpenWrapper open(road[0] != 'p');
        OSStatus answer;
        if (road[0] == 'f')
        {
            MusicDeviceMIDIEventProc fast = nullptr;
            UInt32 size = sizeof fast;
            ASSERT_EQ(open.call(kAudioUnitGetPropertySelect, kAudioUnitProperty_FastDispatch,
                                UInt32(kAudioUnitScope_Global), UInt32(kMusicDeviceMIDIEventSelect),
                                static_cast<void*>(&fast), &size),
                      noErr);
            answer = fast(open.storage, 0x90 | 15, 60, 100, 7);
        }
        else
        {
            answer = open.call(kMusicDeviceMIDIEventSelect, 0x90u | 15u, 60u, 100u, 7u);
        }
        // Channel messages are taken before initialisation; system-exclusive ones are not.
        EXPECT_EQ(answer, noErr);
        EXPECT_EQ(Gathered(open.unit()), noteOn);
        const UInt8 sysEx[] = {0xF0, 0x01, 0xF7};
        EXPECT_EQ(open.call(kMusicDeviceSysExSelect, sysEx, UInt32(sizeof sysEx)),
                  kAudioUnitErr_Uninitialized);

        ASSERT_EQ(open.initialize(), noErr);
        ASSERT_EQ(open.render(), noErr);
        EXPECT_TRUE(Gathered(open.unit()).empty());
    }
}

TEST(AudioUnitWrapper, TheProcessorsOwnChangesReachTheHostAsParameterEventsAndTheSavedRecords)
{
    OpenWrapper open(false);
    gEvents.clear();
    VeridaneSetAUEventObserver(Observe, nullptr);
    juce::AudioProcessor& processor = open.unit().getProcessor();
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    processor.beginParameterChangeGesture(0);
    processor.setParameterNotifyingHost(0, 0.25f);
    processor.endParameterChangeGesture(0);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    VeridaneSetAUEventObserver(nullptr, nullptr);

    ASSERT_EQ(gEvents.size(), 3u);
    const AudioUnitEventType types[] = {kAudioUnitEvent_BeginParameterChangeGesture,
                                        kAudioUnitEvent_ParameterValueChange,
                                        kAudioUnitEvent_EndParameterChangeGesture};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(gEvents[i].mEventType, types[i]);
        const AudioUnitParameter& parameter = gEvents[i].mArgument.mParameter;
        EXPECT_EQ(parameter.mAudioUnit, open.instance);
        EXPECT_EQ(parameter.mParameterID, 0u);
        EXPECT_EQ(parameter.mScope, kAudioUnitScope_Global);
    }

    CFPropertyListRef saved = nullptr;
    ASSERT_EQ(open.unit().SaveState(&saved), noErr);
    const Owned<CFDictionaryRef> state(static_cast<CFDictionaryRef>(saved));
    EXPECT_EQ(
        BytesOf(static_cast<CFDataRef>(CFDictionaryGetValue(state.get(), CFSTR("data")))),
        (std::vector<UInt8>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0x3E, 0x80, 0, 0}));
    // The processor's state is one more addition that memory running out refuses.
    EXPECT_GT(
        FailEachCoreFoundationAllocation([&](auto out) { return open.unit().SaveState(out); }), 12);
}

TEST(AudioUnitWrapper, ARestoreTakesOnlyDictionariesAndOnlyThePluginStateSetsTheProcessor)
{
    OpenWrapper source(true), target(true);
    ASSERT_EQ(source.unit().SetParameter(0, kAudioUnitScope_Global, 0, 0.35f, 0), noErr);
    CFPropertyListRef saved = nullptr;
    ASSERT_EQ(source.unit().SaveState(&saved), noErr);
    const Owned<CFMutableDictionaryRef> state(
        static_cast<CFMutableDictionaryRef>(const_cast<void*>(saved)));
    // A record for a parameter the unit does not have, which the records' own restore refuses:
    // the processor's state block (gain 0.35) is what counts, and the records are left out.
    const UInt8 records[] = {0, 0, 0, 0, 0, 0, 0,    0,    0,    0,
                             0, 1, 0, 0, 0, 5, 0x3D, 0xCC, 0xCC, 0xCD};
    const Owned<CFDataRef> data(CFDataCreate(kCFAllocatorDefault, records, sizeof records));
    CFDictionarySetValue(state.get(), CFSTR("data"), data.get());

    AUBase& unit = target.unit();
    const CFPropertyListRef notADictionary = data.get();
    EXPECT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_ClassInfo, 0, 0, &notADictionary,
                                       sizeof notADictionary),
              kAudioUnitErr_InvalidPropertyValue);
    const CFPropertyListRef dictionary = state.get();
    ASSERT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_ClassInfo, 0, 0, &dictionary,
                                       sizeof dictionary),
              noErr);
    Float32 gain = 0.0f;
    EXPECT_EQ(unit.GetParameter(0, kAudioUnitScope_Global, 0, gain), noErr);
    EXPECT_EQ(gain, 0.35f);
    EXPECT_EQ(unit.Globals().GetElement(0)->GetParameter(0), 0.35f);
}

TEST(AudioUnitWrapper, AThousandInstancesOnEachRoadGiveBackEveryCoreFoundationObject)
{
    for (const bool componentManager : {false, true})
    {
        SCOPED_TRACE(componentManager ? "Component Manager road" : "plug-in road");
        const CFIndex beforeOpen = VeridaneCFGetLiveObjectCount();
        CFIndex afterFirstOpen = -1;
        for (int cycle = 0; cycle < 1000; ++cycle)
        {
            OpenWrapper open(componentManager);
            const CFIndex afterOpen = VeridaneCFGetLiveObjectCount();
            if (cycle == 0)
                afterFirstOpen = afterOpen;
            ASSERT_EQ(afterOpen, afterFirstOpen) << "cycle " << cycle;
            ASSERT_EQ(open.initialize(), noErr);
            ASSERT_EQ(open.render(), noErr);
            CFPropertyListRef saved = nullptr;
            ASSERT_EQ(open.unit().SaveState(&saved), noErr);
            CFRelease(saved);
        }
        EXPECT_EQ(VeridaneCFGetLiveObjectCount(), beforeOpen);
    }
}
