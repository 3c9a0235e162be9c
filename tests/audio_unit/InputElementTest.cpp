#include "tests/audio_unit/FakeSources.h"
#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace autest;

namespace
{
constexpr UInt32 kFrames = 64;

/** What a host's render callback does to the list it is given. */
using Callback = std::function<OSStatus(AudioBufferList&, AUInputElement&)>;

OSStatus Fill(AudioBufferList& list)
{
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        std::fill_n(static_cast<float*>(list.mBuffers[i].mData), kFrames, 0.25f);
    return noErr;
}

struct Fixture
{
    TestUnit unit;
    AUInputElement& input = *unit.GetInput(0);
    Callback callback;
    FakeSource source;
    std::unique_ptr<OpenFakeSource> openSource;

    Fixture()
    {
        unit.BeginInitializing(kFrames);
        unit.SetInitialized(true);
    }

    static OSStatus Render(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                           UInt32, AudioBufferList* list)
    {
        auto& self = *static_cast<Fixture*>(refCon);
        return self.callback(*list, self.input);
    }

    void UseCallback(Callback act)
    {
        callback = std::move(act);
        input.SetInputCallback(Render, this);
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

    /** The value every pulled sample holds, or -1 when they differ. */
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
    using Road = OpenFakeSource::Road;
    struct Row
    {
        const char* name;
        Callback callback;
        std::optional<Road> road;
        bool fastDispatch;
        OSStatus status;
        float pulled;
        int throughSelector, throughFastFunction;
    };
    // clang-format off
    const Row rows[] = {
        {"callback fills the bus's own buffers", [](auto& l, auto&) { return Fill(l); }, {},
         false, noErr, 0.25f, 0, 0},
        {"callback failure passes unchanged", [](auto&, auto&) { return OSStatus(-1234); }, {},
         false, -1234, 0, 0, 0},
        {"callback that disconnects itself",
         [](auto&, auto& e) { e.SetInputCallback(nullptr, nullptr); return OSStatus(noErr); }, {},
         false, kAudioUnitErr_NoConnection, 0, 0, 0},
        {"callback drops a buffer", [](auto& l, auto&) { --l.mNumberBuffers; return Fill(l); }, {},
         false, kAudio_ParamError, 0, 0, 0},
        {"callback leaves a null data pointer",
         [](auto& l, auto&) { l.mBuffers[1].mData = nullptr; return OSStatus(noErr); }, {}, false,
         kAudio_ParamError, 0, 0, 0},
        {"callback shortens a buffer",
         [](auto& l, auto&) { l.mBuffers[0].mDataByteSize -= 4; return Fill(l); }, {}, false,
         kAudio_ParamError, 0, 0, 0},
        {"no input", {}, {}, false, kAudioUnitErr_NoConnection, 0, 0, 0},
        {"connection with storage uses the fast render function", {}, Road::componentManager,
         true, noErr, 0.5f, 0, 1},
        {"connection without storage renders through AudioUnitRender", {}, Road::plugInBlock, true,
         noErr, 0.5f, 1, 0},
        {"connection without a fast function renders through AudioUnitRender", {},
         Road::componentManager, false, noErr, 0.5f, 1, 0},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        Fixture f;
        if (row.callback)
            f.UseCallback(row.callback);
        if (row.road)
            f.Connect(*row.road, row.fastDispatch);
        ASSERT_EQ(f.Pull(), row.status);
        EXPECT_EQ(f.source.rendersThroughSelector, row.throughSelector);
        EXPECT_EQ(f.source.rendersThroughFastFunction, row.throughFastFunction);
        if (row.throughFastFunction != 0)
            EXPECT_EQ(f.source.fastFunctionStorage, &f.source);
        if (row.status == noErr)
            EXPECT_EQ(f.PulledValue(), row.pulled);
        if (!row.callback && !row.road)
            EXPECT_EQ(StatusOf([&] { f.input.GetBufferList(); }), -1) << "buffer left alone";
    }
}

TEST(Disconnect, KeepsTheSamplesWhileInitialisedAndReleasesThemOtherwise)
{
    for (const bool initialized : {true, false})
    {
        SCOPED_TRACE(initialized ? "initialised" : "not initialised");
        Fixture f;
        f.unit.SetInitialized(initialized);
        f.UseCallback([](auto& l, auto&) { return Fill(l); });
        ASSERT_EQ(f.Pull(), noErr);
        auto* samples = static_cast<float*>(f.input.GetBufferList().mBuffers[1].mData);

        f.input.SetInputCallback(nullptr, nullptr);
        EXPECT_EQ(f.Pull(), kAudioUnitErr_NoConnection);
        // A render that took the pointers before the disconnect may still write them.
        if (initialized)
            samples[kFrames - 1] = 1.0f;
        EXPECT_EQ(f.input.IOBuffer().GetAllocatedBytes(), initialized ? 2u * kFrames * 4 : 0u);
    }
}
