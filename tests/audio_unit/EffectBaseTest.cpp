#include "hosts/audio_unit/AUEffectBase.h"

#include "tests/audio_unit/TestEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

using namespace autest;

namespace
{
constexpr UInt32 kFrames = 512;

/** The host's input: sample i of channel c is c + 1 + i / 1024, or silence flagged as such. */
struct Input
{
    bool silent = false;
    /** What the host does in its callback first. */
    std::function<void()> during;

    static OSStatus Render(void* refCon, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*,
                           UInt32, UInt32 frames, AudioBufferList* list)
    {
        auto& input = *static_cast<Input*>(refCon);
        if (input.during)
            std::exchange(input.during, {})();
        const bool silent = input.silent;
        for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            for (UInt32 i = 0; i < frames; ++i)
                static_cast<float*>(list->mBuffers[c].mData)[i] = silent ? 0.0f : Sample(c, i);
        if (silent)
            *flags |= kAudioUnitRenderAction_OutputIsSilence;
        return noErr;
    }
    static float Sample(UInt32 c, UInt32 i) { return float(c + 1) + float(i) / 1024.0f; }
};

/** A two-channel effect fed by the host's callback, initialised at 48 kHz. */
struct RenderingEffect
{
    TestEffect unit;
    Input input;
    HostBuffers out{2, kFrames};
    Float64 sampleTime = 0.0;

    explicit RenderingEffect(const std::function<void(TestEffect&)>& beforeInitialize = {})
    {
        unit.PostConstructor();
        const Float64 rate = 48000.0;
        unit.DispatchSetProperty(kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate,
                                 sizeof rate);
        const AURenderCallbackStruct callback{Input::Render, &input};
        unit.DispatchSetProperty(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0,
                                 &callback, sizeof callback);
        if (beforeInitialize)
            beforeInitialize(unit);
        EXPECT_EQ(unit.DoInitialize(), noErr);
    }

    OSStatus Render(AudioUnitRenderActionFlags& flags)
    {
        AudioTimeStamp time{};
        time.mSampleTime = sampleTime;
        sampleTime += kFrames;
        return unit.DoRender(flags, time, 0, kFrames, out.list());
    }

    void SetWord(AudioUnitPropertyID id, UInt32 value)
    {
        EXPECT_EQ(unit.DispatchSetProperty(id, kAudioUnitScope_Global, 0, &value, sizeof value),
                  noErr);
    }
};
} // namespace

TEST(ChannelConfiguration, PairsMatchInOrderAndCountsPast32767MatchNothing)
{
    struct Row
    {
        const char* name;
        std::vector<AUChannelInfo> table;
        UInt32 in, out;
        bool matches;
    };
    const Row rows[] = {
        {"any equal counts", {{-1, -1}}, 2, 2, true},
        {"equal counts only", {{-1, -1}}, 2, 1, false},
        {"any counts (-1, -2)", {{-1, -2}}, 3, 7, true},
        {"any counts (-2, -1)", {{-2, -1}}, 7, 3, true},
        {"(-2, -2) none", {{-2, -2}}, 2, 2, false},
        {"exact pair", {{4, 4}}, 4, 4, true},
        {"exact pair refuses stereo", {{4, 4}}, 2, 2, false},
        {"any input, 2 out", {{-1, 2}}, 6, 2, true},
        {"second entry", {{1, 1}, {4, 4}}, 4, 4, true},
        {"no table, equal", {}, 2, 2, true},
        {"no table, none", {}, 0, 0, false},
        {"no table, unequal", {}, 1, 2, false},
        {"no table, past 32767", {}, 40000, 40000, false},
        {"wraps to a wildcard", {{-1, -1}}, 32768, 32768, false},
        {"wraps to a listed count", {{4, 4}}, 4, 65540, false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(AUChannelConfigurationMatches(row.table.data(), UInt32(row.table.size()), row.in,
                                                row.out),
                  row.matches);
    }
}

TEST(CommonPCMFormat, ClassifiesEachSampleFormat)
{
    using Format = CAStreamBasicDescription;
    struct Row
    {
        const char* name;
        AudioFormatFlags flags;
        UInt32 bytesPerFrame, channels, bits;
        Format::CommonPCMFormat expected;
    };
    const Row rows[] = {
        {"float non-interleaved", 0x29, 4, 1, 32, Format::kPCMFormatFloat32},
        {"float interleaved stereo", 0x09, 8, 2, 32, Format::kPCMFormatFloat32},
        {"16-bit", 0x0C, 2, 1, 16, Format::kPCMFormatInt16},
        {"8.24 fixed", 0x0C | (24u << 7), 4, 1, 32, Format::kPCMFormatFixed824},
        {"64-bit float", 0x09, 8, 1, 64, Format::kPCMFormatFloat64},
        {"big-endian float", 0x0B, 4, 1, 32, Format::kPCMFormatOther},
        {"float with fraction bits", 0x09 | (1u << 7), 4, 1, 32, Format::kPCMFormatOther},
        {"32-bit integer", 0x0C, 4, 1, 32, Format::kPCMFormatOther},
        {"frame not a whole sample per channel", 0x09, 6, 4, 32, Format::kPCMFormatOther},
        {"no channels", 0x29, 4, 0, 32, Format::kPCMFormatOther},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        Format format;
        format.mFormatID = kAudioFormatLinearPCM;
        format.mFormatFlags = row.flags;
        format.mBytesPerFrame = format.mBytesPerPacket = row.bytesPerFrame;
        format.mFramesPerPacket = 1;
        format.mChannelsPerFrame = row.channels;
        format.mBitsPerChannel = row.bits;
        EXPECT_EQ(format.IdentifyCommonPCMFormat(), row.expected);
    }
}

TEST(EffectProperties, WordsShorterThan4BytesAreRefusedAndBypassEndingResetsOnce)
{
    RenderingEffect effect;
    TestEffect& unit = effect.unit;
    const UInt16 half = 1;
    for (const AudioUnitPropertyID id :
         {kAudioUnitProperty_InPlaceProcessing, kAudioUnitProperty_BypassEffect})
    {
        SCOPED_TRACE(id);
        EXPECT_EQ(unit.DispatchSetProperty(id, kAudioUnitScope_Global, 0, &half, sizeof half),
                  kAudioUnitErr_InvalidPropertyValue);
        UInt32 value = 7;
        EXPECT_EQ(unit.DispatchGetProperty(id, kAudioUnitScope_Global, 0, &value), noErr);
        EXPECT_EQ(value, 0u);
        EXPECT_EQ(unit.DispatchSetProperty(id, kAudioUnitScope_Input, 0, &value, sizeof value),
                  kAudioUnitErr_InvalidProperty);
    }

    const int resetsBefore = unit.resets;
    effect.SetWord(kAudioUnitProperty_BypassEffect, 1);
    effect.SetWord(kAudioUnitProperty_BypassEffect, 1);
    EXPECT_EQ(unit.bypassSets, 1);
    EXPECT_EQ(unit.resets, resetsBefore);
    effect.SetWord(kAudioUnitProperty_BypassEffect, 0);
    EXPECT_EQ(unit.bypassSets, 2);
    EXPECT_EQ(unit.resets, resetsBefore + 1);
}

TEST(EffectRender, KernelsBypassInPlaceAndScheduledSlicesGiveTheExpectedOutput)
{
    struct Row
    {
        const char* name;
        std::function<void(RenderingEffect&)> setup;
        float factor;
        std::vector<UInt32> slices;
        /** Of the renders in turn; the output checked is the last one's, if it succeeds. */
        std::vector<OSStatus> answers = {noErr};
    };
    const Row rows[] = {
        {"kernels", [](RenderingEffect&) {}, 2.0f, {kFrames, kFrames}},
        {"bypassed",
         [](RenderingEffect& e) { e.SetWord(kAudioUnitProperty_BypassEffect, 1); },
         1.0f,
         {}},
        {"in place",
         [](RenderingEffect& e) { e.SetWord(kAudioUnitProperty_InPlaceProcessing, 1); },
         2.0f,
         {kFrames, kFrames}},
        {"an event at frame 100",
         [](RenderingEffect& e)
         {
             const auto event = Immediate(100, 0.5f);
             EXPECT_EQ(e.unit.ScheduleParameter(&event, 1), noErr);
         },
         2.0f,
         {100, 100, kFrames - 100, kFrames - 100}},
        // clang-format off
        {"a ramp the unit cannot apply fails one render only", [](RenderingEffect& e) {
             auto ramp = Ramp(0, 100, 0.0f, 1.0f);
             ramp.scope = 7;
             e.unit.ScheduleParameter(&ramp, 1); },
         2.0f, {kFrames, kFrames}, {kAudioUnitErr_InvalidScope, noErr}},
        {"kernels refuse an interleaved input for separate outputs", [](RenderingEffect& e) {
             e.unit.DoCleanup();
             e.unit.SetAPIVersion(1); // which takes interleaved formats
             const AudioStreamBasicDescription four = FloatFormat(4, true);
             e.unit.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                                        &four, sizeof four);
             e.unit.SetAPIVersion(2);
             e.unit.channels = {{-1, -2}};
             e.unit.DoInitialize(); },
         0.0f, {}, {-1}},
        {"four separate inputs, two outputs: a kernel each", [](RenderingEffect& e) {
             e.unit.DoCleanup();
             const AudioStreamBasicDescription four = FloatFormat(4);
             e.unit.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                                        &four, sizeof four);
             e.unit.channels = {{-1, -2}};
             e.unit.DoInitialize(); },
         2.0f, {kFrames, kFrames}},
        {"fed from itself, a render at a time it is not rendering fails", [](RenderingEffect& e) {
             e.sampleTime = std::nan("");
             const AURenderCallbackStruct itself{[](void* self, AudioUnitRenderActionFlags* flags,
                                                    const AudioTimeStamp* time, UInt32,
                                                    UInt32 frames, AudioBufferList*) {
                 auto& effect = *static_cast<RenderingEffect*>(self);
                 return effect.unit.DoRender(*flags, *time, 0, frames, effect.out.list()); }, &e};
             e.unit.DispatchSetProperty(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                                        0, &itself, sizeof itself); },
         0.0f, {}, {-1}},
        // clang-format on
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        RenderingEffect effect([](TestEffect& unit)
                               { unit.Globals().GetElement(0)->SetParameter(0, 0.0f); });
        row.setup(effect);
        AudioUnitRenderActionFlags flags = 0;
        for (const OSStatus answer : row.answers)
            ASSERT_EQ(effect.Render(flags), answer);
        EXPECT_EQ(effect.unit.kernelSlices, row.slices);
        if (row.answers.back() != noErr)
            continue;
        EXPECT_EQ(flags & kAudioUnitRenderAction_OutputIsSilence, 0u);
        for (UInt32 c = 0; c < 2; ++c)
            for (UInt32 i = 0; i < kFrames; ++i)
                ASSERT_EQ(effect.out.channel(c)[i], row.factor * Input::Sample(c, i))
                    << "channel " << c << " frame " << i;
    }
}

TEST(EffectRender, SilentInputIsReportedOnlyOnceLatencyAndTailHaveRunOut)
{
    // 0.5 s of tail at 48 kHz is 24,000 frames: 47 calls of 512 frames still sound.
    for (const auto& [tail, soundingCalls] : {std::pair{0.5, 47}, std::pair{0.0, 0}})
    {
        SCOPED_TRACE(tail);
        RenderingEffect effect([tail = tail](TestEffect& unit) { unit.tailSeconds = tail; });
        effect.input.silent = true;
        for (int call = 1; call <= soundingCalls + 1; ++call)
        {
            AudioUnitRenderActionFlags flags = 0;
            ASSERT_EQ(effect.Render(flags), noErr);
            const bool reportedSilent = (flags & kAudioUnitRenderAction_OutputIsSilence) != 0;
            ASSERT_EQ(reportedSilent, call > soundingCalls) << "call " << call;
        }
    }
}

TEST(EffectRender, UninitialisingDuringTheRenderAnswersWhatTheRenderFound)
{
    struct Row
    {
        const char* name;
        bool fromNotification;
        OSStatus answer;
        /** Initialised again at this rate after the clean-up, when not 0. */
        Float64 newRate = 0.0;
    };
    const Row rows[] = {
        {"from the render callback: the render goes on with what it took", false, noErr},
        {"from the pre-render notification: the unit is found uninitialised", true,
         kAudioUnitErr_Uninitialized},
        {"from the render callback, initialised anew: the render finds it changed", false,
         kAudioUnitErr_Uninitialized, 44100.0},
    };
    const AURenderCallback uninitialiseOnce = [](void* refCon, AudioUnitRenderActionFlags* flags,
                                                 const AudioTimeStamp*, UInt32, UInt32,
                                                 AudioBufferList*)
    {
        auto& input = *static_cast<Input*>(refCon);
        if ((*flags & kAudioUnitRenderAction_PreRender) != 0 && input.during)
            std::exchange(input.during, {})();
        return OSStatus(noErr);
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        RenderingEffect effect;
        // The notification takes the cleanup before the callback would.
        if (row.fromNotification)
            effect.unit.SetRenderNotification(uninitialiseOnce, &effect.input);
        effect.input.during = [&]
        {
            effect.unit.DoCleanup();
            if (row.newRate == 0.0)
                return;
            effect.unit.DispatchSetProperty(kAudioUnitProperty_SampleRate, kAudioUnitScope_Output,
                                            0, &row.newRate, sizeof row.newRate);
            effect.unit.DoInitialize();
        };
        const auto doubled = [&]
        {
            for (UInt32 c = 0; c < 2; ++c)
                EXPECT_EQ(effect.out.channel(c)[kFrames - 1], 2.0f * Input::Sample(c, kFrames - 1));
        };

        AudioUnitRenderActionFlags flags = 0;
        EXPECT_EQ(effect.Render(flags), row.answer);
        EXPECT_EQ(effect.unit.IsInitialized(), row.newRate != 0.0);
        if (row.answer == noErr)
            doubled();
        // Initialised again, it renders as before.
        ASSERT_EQ(effect.unit.DoInitialize(), noErr);
        flags = 0;
        EXPECT_EQ(effect.Render(flags), noErr);
        doubled();
    }
}
