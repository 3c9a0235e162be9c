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
