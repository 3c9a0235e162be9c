#include "platform/frameworks/ParameterBlock.h"

#include "tests/audio_unit/TestEffect.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
/** An initialised two-channel MIDI effect. */
struct InitialisedEffect
{
    TestEffect unit;
    InitialisedEffect()
    {
        unit.PostConstructor();
        EXPECT_EQ(unit.DoInitialize(), noErr);
    }
};

OSStatus Dispatch(SInt16 selector, AUMIDIEffectBase* unit, std::initializer_list<UInt32> words,
                  const void* pointer = nullptr)
{
    veridane::frameworks::ParameterBlock block(selector, nullptr);
    if (pointer != nullptr)
        block.Append(pointer);
    for (const UInt32 word : words)
        block.Append(word);
    return AUMIDIEffectBase::ComponentEntryDispatch(&block.Header(), unit);
}
} // namespace

TEST(MIDIDecoding, EachChannelMessageReachesItsHandlerWithMaskedBytes)
{
    struct Row
    {
        UInt32 status, data1, data2, offset;
        const char* expected; // null: no handler
    };
    const Row rows[] = {
        {0x93, 60, 0, 10, "NoteOff 3 60 0 10"},     {0x9F, 0x13C, 0x164, 0, "NoteOn 15 60 100 0"},
        {0x80, 1, 2, 3, "NoteOff 0 1 2 3"},         {0xA1, 5, 6, 7, "PolyPressure 1 5 6 7"},
        {0xB2, 7, 50, 4, "ControlChange 2 7 50 4"}, {0xB2, 120, 9, 0, "AllSoundOff 2"},
        {0xB2, 121, 9, 0, "ResetAllControllers 2"}, {0xB2, 123, 9, 0, "AllNotesOff 2"},
        {0xC4, 9, 0, 0, "ProgramChange 4 9"},       {0xD5, 33, 0, 8, "ChannelPressure 5 33 8"},
        {0xE6, 1, 2, 3, "PitchWheel 6 1 2 3"},      {0xF8, 0, 0, 0, nullptr},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.status);
        InitialisedEffect effect;
        EXPECT_EQ(effect.unit.MIDIEvent(row.status, row.data1, row.data2, row.offset), noErr);
        EXPECT_EQ(effect.unit.calls, row.expected ? std::vector<std::string>{row.expected}
                                                  : std::vector<std::string>{});
    }
}

TEST(MIDIDecoding, MessagesWaitForInitialisationAndSystemExclusiveNeedsItsBytes)
{
    TestEffect unit;
    unit.PostConstructor();
    const UInt8 bytes[] = {0xF0, 0x01, 0xF7};
    EXPECT_EQ(unit.MIDIEvent(0x90, 60, 100, 0), kAudioUnitErr_Uninitialized);
    EXPECT_EQ(unit.SysEx(bytes, sizeof bytes), kAudioUnitErr_Uninitialized);
    ASSERT_EQ(unit.DoInitialize(), noErr);
    EXPECT_EQ(unit.SysEx(nullptr, 3), kAudio_ParamError);
    EXPECT_EQ(unit.SysEx(bytes, sizeof bytes), noErr);
    EXPECT_EQ(unit.calls, std::vector<std::string>{"SysEx 3"});
}

TEST(MIDIDispatch, SelectorsAndTheFastFunctionReachTheMIDISide)
{
    InitialisedEffect effect;
    TestEffect& unit = effect.unit;
    const UInt8 bytes[] = {0xF0, 0x7E, 0xF7};

    EXPECT_EQ(Dispatch(kMusicDeviceMIDIEventSelect, &unit, {0x91, 60, 100, 5}), noErr);
    EXPECT_EQ(Dispatch(kMusicDeviceSysExSelect, &unit, {3}, bytes), noErr);
    EXPECT_EQ(Dispatch(kMusicDeviceMIDIEventSelect, nullptr, {0x91, 60, 100, 5}),
              kAudio_ParamError);
    // Not MIDI: on to AUBase, which checks a render's pointers first.
    EXPECT_EQ(Dispatch(kAudioUnitRenderSelect, &unit, {0, 0, 0, 0, 0}), kAudio_ParamError);

    MusicDeviceMIDIEventProc fast = nullptr;
    EXPECT_EQ(unit.DispatchGetProperty(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                                       kMusicDeviceSysExSelect, &fast),
              kAudioUnitErr_InvalidElement);
    ASSERT_EQ(unit.DispatchGetProperty(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                                       kMusicDeviceMIDIEventSelect, &fast),
              noErr);
    EXPECT_EQ(fast(nullptr, 0x92, 61, 101, 6), kAudio_ParamError);
    EXPECT_EQ(fast(static_cast<AUBase*>(&unit), 0x92, 61, 101, 6), noErr);

    EXPECT_EQ(unit.calls,
              (std::vector<std::string>{"NoteOn 1 60 100 5", "SysEx 3", "NoteOn 2 61 101 6"}));
}

TEST(MIDIDispatch, TheNamesPropertyChecksScopeElementAndWhetherThereAreNames)
{
    TestEffect unit;
    unit.PostConstructor();
    struct Row
    {
        AudioUnitScope scope;
        AudioUnitElement element;
        OSStatus expected;
    };
    for (const Row& row : {Row{kAudioUnitScope_Global, 0, kAudioUnitErr_InvalidProperty},
                           Row{kAudioUnitScope_Input, 0, kAudioUnitErr_InvalidScope},
                           Row{kAudioUnitScope_Global, 1, kAudioUnitErr_InvalidElement}})
    {
        SCOPED_TRACE(row.scope * 10 + row.element);
        UInt32 size = 0;
        bool writable = false;
        EXPECT_EQ(unit.DispatchGetPropertyInfo(kMusicDeviceProperty_MIDIXMLNames, row.scope,
                                               row.element, size, writable),
                  row.expected);
    }
}
