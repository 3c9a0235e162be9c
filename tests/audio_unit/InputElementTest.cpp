#include "tests/audio_unit/FakeSources.h"
#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <functional>

using namespace autest;

namespace
{
constexpr UInt32 kFrames = 64;

/** What a host's render callback does to the list it is given. */
struct CallbackInput
{
    enum class Act
    {
        fill,
        fail,
        disconnectItself,
        dropBuffer,
        nullData,
        shortenBuffer,
    };

    Act act = Act::fill;
    AUInputElement* element = nullptr;
    int calls = 0;

    static OSStatus Render(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                           UInt32 frames, AudioBufferList* list)
    {
        auto& self = *static_cast<CallbackInput*>(refCon);
        ++self.calls;
        switch (self.act)
        {
        case Act::fill:
            for (UInt32 i = 0; i < list->mNumberBuffers; ++i)
                std::fill_n(static_cast<float*>(list->mBuffers[i].mData), frames, 0.25f);
            return noErr;
        case Act::fail:
            return -1234;
        case Act::disconnectItself:
            self.element->SetInputCallback(nullptr, nullptr);
            return noErr;
        case Act::dropBuffer:
            --list->mNumberBuffers;
            return noErr;
        case Act::nullData:
            list->mBuffers[1].mData = nullptr;
            return noErr;
        case Act::shortenBuffer:
            list->mBuffers[0].mDataByteSize -= 4;
            return noErr;
        }
        return noErr;
    }
};

struct Fixture
{
    TestUnit unit;
    AUInputElement& input = *unit.GetInput(0);
    CallbackInput callback;
    FakeSource source;
    std::unique_ptr<OpenFakeSource> openSource;

    Fixture()
    {
        unit.BeginInitializing(kFrames);
        unit.SetInitialized(true);
        callback.element = &input;
    }

    void UseCallback(CallbackInput::Act act)
    {
        callback.act = act;
        input.SetInputCallback(CallbackInput::Render, &callback);
    }

    void Connect(OpenFakeSource::Road road, bool answersFastDispatch)
    {
        source.answersFastDispatch = answersFastDispatch;
        openSource = std::make_unique<OpenFakeSource>(source, road);
        input.SetConnection({openSource->Unit(), 0, 0});
    }

    OSStatus Pull()
    {
        AudioUnitRenderActionFlags flags = 0;
        const AudioTimeStamp time{};
        return input.PullInput(flags, time, 0, kFrames);
    }

    /** Every sample of both pulled buffers, or nothing when they hold other values. */
    float PulledValue()
    {
        const AudioBufferList& list = input.GetBufferList();
        const float first = static_cast<const float*>(list.mBuffers[0].mData)[0];
        for (UInt32 b = 0; b < list.mNumberBuffers; ++b)
            for (UInt32 i = 0; i < kFrames; ++i)
                if (static_cast<const float*>(list.mBuffers[b].mData)[i] != first)
                    return -1.0f;
        return first;
    }
};
} // namespace

TEST(PullInput, AnswersWhatTheSourceDeliveredAndRefusesAnIncompleteList)
{
    using Act = CallbackInput::Act;
    using Road = OpenFakeSource::Road;
    struct Row
    {
        const char* name;
        std::function<void(Fixture&)> attach;
        OSStatus status;
        float pulled;
        int throughSelector;
        int throughFastFunction;
    };
    const Row rows[] = {
        {"callback fills the bus's own buffers", [](Fixture& f) { f.UseCallback(Act::fill); },
         noErr, 0.25f, 0, 0},
        {"callback failure passes unchanged", [](Fixture& f) { f.UseCallback(Act::fail); }, -1234,
         0, 0, 0},
        {"callback that disconnects itself",
         [](Fixture& f) { f.UseCallback(Act::disconnectItself); }, kAudioUnitErr_NoConnection, 0, 0,
         0},
        {"callback drops a buffer", [](Fixture& f) { f.UseCallback(Act::dropBuffer); },
         kAudio_ParamError, 0, 0, 0},
        {"callback leaves a null data pointer", [](Fixture& f) { f.UseCallback(Act::nullData); },
         kAudio_ParamError, 0, 0, 0},
        {"callback shortens a buffer", [](Fixture& f) { f.UseCallback(Act::shortenBuffer); },
         kAudio_ParamError, 0, 0, 0},
        {"connection with storage uses the fast render function",
         [](Fixture& f) { f.Connect(Road::componentManager, true); }, noErr, 0.5f, 0, 1},
        {"connection without storage renders through AudioUnitRender",
         [](Fixture& f) { f.Connect(Road::plugInBlock, true); }, noErr, 0.5f, 1, 0},
        {"connection without a fast function renders through AudioUnitRender",
         [](Fixture& f) { f.Connect(Road::componentManager, false); }, noErr, 0.5f, 1, 0},
    };

    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        Fixture f;
        row.attach(f);
        ASSERT_EQ(f.Pull(), row.status);
        EXPECT_EQ(f.source.rendersThroughSelector, row.throughSelector);
        EXPECT_EQ(f.source.rendersThroughFastFunction, row.throughFastFunction);
        if (row.throughFastFunction != 0)
            EXPECT_EQ(f.source.fastFunctionStorage, &f.source);
        if (row.status == noErr)
            EXPECT_EQ(f.PulledValue(), row.pulled);
    }
}

TEST(PullInput, WithoutInputAnswersNoConnectionAndLeavesTheBufferAlone)
{
    Fixture f;
    EXPECT_EQ(f.Pull(), kAudioUnitErr_NoConnection);
    EXPECT_THROW(f.input.GetBufferList(), OSStatus);
}

TEST(Disconnect, KeepsTheSamplesWhileInitialisedAndReleasesThemOtherwise)
{
    for (const bool initialized : {true, false})
    {
        SCOPED_TRACE(initialized ? "initialised" : "not initialised");
        Fixture f;
        f.unit.SetInitialized(initialized);
        f.UseCallback(CallbackInput::Act::fill);
        ASSERT_EQ(f.Pull(), noErr);
        auto* samples = static_cast<float*>(f.input.GetBufferList().mBuffers[1].mData);

        f.input.SetInputCallback(nullptr, nullptr);

        EXPECT_FALSE(f.input.IsActive());
        EXPECT_EQ(f.Pull(), kAudioUnitErr_NoConnection);
        if (initialized)
        {
            // A render that took the pointers before the disconnect may still write them.
            samples[kFrames - 1] = 1.0f;
            EXPECT_EQ(f.input.IOBuffer().GetAllocatedBytes(), 2u * kFrames * 4);
        }
        else
        {
            EXPECT_EQ(f.input.IOBuffer().GetAllocatedBytes(), 0u);
        }
    }
}
