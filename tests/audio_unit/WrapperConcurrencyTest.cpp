// The host's audio thread renders while another of its threads automates the gain, sends MIDI and
// switches bypass, or changes what the render uses: nothing may race (ThreadSanitizer) or be freed
// under the render (AddressSanitizer), every render answers a status the unit's state allows, and
// every block stays finite.
#include "tests/audio_unit/OpenWrapper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace autest;

namespace
{
bool AllFinite(HostBuffers& out)
{
    for (UInt32 c = 0; c < 4; ++c)
        for (UInt32 i = 0; i < OpenWrapper::kFrames; ++i)
            if (!std::isfinite(out.channel(c)[i]))
                return false;
    return true;
}

/** The render callback of the overlap rows: 0.25 everywhere, and the row's action first. */
struct Feeder
{
    OpenWrapper* open = nullptr;
    std::function<void(OpenWrapper&)> action;

    static OSStatus Feed(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                         UInt32 frames, AudioBufferList* list)
    {
        auto& feeder = *static_cast<Feeder*>(refCon);
        if (feeder.action)
            feeder.action(*feeder.open);
        for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            std::fill_n(static_cast<float*>(list->mBuffers[c].mData), frames, 0.25f);
        return noErr;
    }
};

OSStatus SetProperty(OpenWrapper& open, AudioUnitPropertyID id, AudioUnitScope scope,
                     const void* data, UInt32 size)
{
    return open.call(kAudioUnitSetPropertySelect, UInt32(id), UInt32(scope), 0u, data, size);
}
} // namespace

TEST(AudioUnitWrapperConcurrency, RenderRunsWhileTheHostAutomatesSendsMIDIAndBypasses)
{
    OpenWrapper open(true);
    ASSERT_EQ(open.initialize(), noErr);
    std::atomic<bool> rendering{true};
    std::atomic<int> failures{0};
    std::thread audio(
        [&]
        {
            for (int block = 0; block < 2000; ++block)
                if (open.render() != noErr || !std::isfinite(open.out.channel(0)[0]))
                    ++failures;
            rendering = false;
        });

    for (UInt32 i = 0; rendering; ++i)
    {
        const Float32 gain = Float32(i % 100) / 100.0f;
        open.call(kAudioUnitSetParameterSelect, 0u, UInt32(kAudioUnitScope_Global), 0u, gain, 0u);
        open.call(kMusicDeviceMIDIEventSelect, 0x90u, i % 128, 100u, 0u);
        const UInt32 bypass = i % 7 == 0 ? 1 : 0;
        open.call(kAudioUnitSetPropertySelect, UInt32(kAudioUnitProperty_BypassEffect),
                  UInt32(kAudioUnitScope_Global), 0u, static_cast<const void*>(&bypass),
                  UInt32(sizeof bypass));
        Float32 read = -1.0f;
        open.call(kAudioUnitGetParameterSelect, 0u, UInt32(kAudioUnitScope_Global), 0u, &read);
    }
    audio.join();
    EXPECT_EQ(failures, 0);
}

TEST(AudioUnitWrapperConcurrency,
     RendersOverlappingLifecycleAndPropertyCallsAnswerWhatTheStateAllows)
{
    // Each row renders until both have happened often enough, within a bound: on a loaded
    // machine one thread may otherwise finish before the other starts.
    constexpr int kRenders = 1000;
    constexpr int kOverlappingCalls = 200;
    constexpr int kMostRenders = 100000;
    const CAStreamBasicDescription four = FloatFormat(4);
    const CAStreamBasicDescription two = FloatFormat(2);
    // Larger than the unit's own memory for the most frames per slice, 16-byte aligned.
    std::vector<float> lent[2] = {std::vector<float>(8192), std::vector<float>(8192)};
    Feeder feeder;
    const AURenderCallbackStruct callback{Feeder::Feed, &feeder};
    const AURenderCallbackStruct none{nullptr, nullptr};

    using Call = std::function<void(OpenWrapper&, int)>;
    struct Row
    {
        const char* name;
        /** What the host's control thread keeps doing while the audio thread renders. */
        Call control;
        /** What the audio thread does before each render. */
        Call beforeRender;
        /** What the render callback does on the audio thread, every few calls. */
        std::function<void(OpenWrapper&)> inCallback;
        std::set<OSStatus> answers;
    };
    const Row rows[] = {
        {"saving the state while the audio thread automates",
         [](OpenWrapper& open, int)
         {
             CFPropertyListRef state = nullptr;
             UInt32 size = sizeof state;
             EXPECT_EQ(open.call(kAudioUnitGetPropertySelect, UInt32(kAudioUnitProperty_ClassInfo),
                                 0u, 0u, static_cast<void*>(&state), &size),
                       noErr);
             if (state != nullptr)
                 CFRelease(state);
         },
         [](OpenWrapper& open, int block)
         {
             open.call(kAudioUnitSetParameterSelect, 0u, UInt32(kAudioUnitScope_Global), 0u,
                       Float32(block % 90) / 100.0f, 0u);
         },
         {},
         {noErr}},
        {"setting the same render callback again",
         [&](OpenWrapper& open, int)
         {
             SetProperty(open, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                         &callback, sizeof callback);
         },
         {},
         {},
         {noErr}},
        {"setting the same stream formats again",
         [&](OpenWrapper& open, int)
         {
             for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
                 SetProperty(open, kAudioUnitProperty_StreamFormat, scope, &four, sizeof four);
         },
         {},
         {},
         {noErr}},
        {"lending external buffers to both buses",
         [&](OpenWrapper& open, int i)
         {
             const AudioUnitExternalBuffer buffer{reinterpret_cast<Byte*>(lent[i % 2].data()),
                                                  UInt32(lent[i % 2].size() * sizeof(float))};
             SetProperty(open, kAudioUnitProperty_SetExternalBuffer,
                         i % 4 < 2 ? kAudioUnitScope_Input : kAudioUnitScope_Output, &buffer,
                         sizeof buffer);
         },
         {},
         {},
         {noErr}},
        {"uninitialising and initialising",
         [](OpenWrapper& open, int)
         {
             open.call(kAudioUnitUninitializeSelect);
             open.call(kAudioUnitInitializeSelect);
         },
         {},
         {},
         {noErr, kAudioUnitErr_Uninitialized}},
        {"uninitialising from the render callback",
         [](OpenWrapper& open, int) { open.call(kAudioUnitInitializeSelect); },
         {},
         [](OpenWrapper& open) { open.call(kAudioUnitUninitializeSelect); },
         {noErr, kAudioUnitErr_Uninitialized}},
        {"re-setting the render callback from the render while another thread re-initialises",
         [](OpenWrapper& open, int)
         {
             open.call(kAudioUnitUninitializeSelect);
             open.call(kAudioUnitInitializeSelect);
         },
         {},
         [&](OpenWrapper& open)
         {
             SetProperty(open, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                         &callback, sizeof callback);
         },
         {noErr, kAudioUnitErr_Uninitialized}},
        {"disconnecting and reconnecting the input",
         [&](OpenWrapper& open, int i)
         {
             SetProperty(open, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                         i % 2 == 0 ? &none : &callback, sizeof callback);
         },
         {},
         {},
         {noErr, kAudioUnitErr_NoConnection}},
        {"changing the output format while uninitialised",
         [&](OpenWrapper& open, int)
         {
             open.call(kAudioUnitUninitializeSelect);
             for (const auto* format : {&two, &four})
                 SetProperty(open, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, format,
                             sizeof *format);
             open.call(kAudioUnitInitializeSelect);
         },
         {},
         {},
         {noErr, kAudioUnitErr_Uninitialized, kAudio_ParamError}},
    };

    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        OpenWrapper open(false);
        ASSERT_EQ(open.initialize(), noErr);
        feeder.open = &open;
        int callbackCalls = 0;
        feeder.action = [&](OpenWrapper& unit)
        {
            if (row.inCallback && ++callbackCalls % 3 == 0)
                row.inCallback(unit);
        };
        ASSERT_EQ(SetProperty(open, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                              &callback, sizeof callback),
                  noErr);

        std::atomic<bool> rendering{true};
        std::atomic<int> calls{0};
        std::vector<OSStatus> unexpected;
        int notFinite = 0;
        std::thread audio(
            [&]
            {
                for (int block = 0;
                     block < kMostRenders && (block < kRenders || calls.load() < kOverlappingCalls);
                     ++block)
                {
                    if (row.beforeRender)
                        row.beforeRender(open, block);
                    const OSStatus status = open.render();
                    if (row.answers.count(status) == 0)
                        unexpected.push_back(status);
                    if (!AllFinite(open.out))
                        ++notFinite;
                }
                rendering = false;
            });
        for (int i = 0; rendering; ++i)
        {
            row.control(open, i);
            ++calls;
            std::this_thread::yield();
        }
        audio.join();

        EXPECT_EQ(unexpected, std::vector<OSStatus>{});
        EXPECT_EQ(notFinite, 0);
        // Whatever overlapped, the unit comes back to rendering.
        feeder.action = {};
        SetProperty(open, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, &callback,
                    sizeof callback);
        EXPECT_EQ(open.call(kAudioUnitInitializeSelect), noErr);
        EXPECT_EQ(open.render(), noErr);
    }
}

TEST(AudioUnitWrapperConcurrency, HostCallsFromTwoThreadsTakeTurns)
{
    const CAStreamBasicDescription formats[] = {FloatFormat(4), FloatFormat(2)};
    Feeder feeder;
    const AURenderCallbackStruct callbacks[] = {{nullptr, nullptr}, {Feeder::Feed, &feeder}};
    const Owned<CFStringRef> names[] = {Owned(MakeString("one")), Owned(MakeString("two"))};
    using O = OpenWrapper&;
    constexpr AudioUnitScope G = kAudioUnitScope_Global, I = kAudioUnitScope_Input,
                             Out = kAudioUnitScope_Output;
    // clang-format off
    const auto get = [](O open, AudioUnitPropertyID id, AudioUnitScope scope) {
        Byte value[40];
        UInt32 size = sizeof value;
        open.call(kAudioUnitGetPropertySelect, id, scope, 0u, static_cast<void*>(value), &size); };
    const auto info = [](O open) { UInt32 size = 0; Boolean writable = false;
        open.call(kAudioUnitGetPropertyInfoSelect, 8u, I, 0u, &size, &writable); };
    const auto set = [](O open, AudioUnitPropertyID id, AudioUnitScope scope, const auto& value) {
        SetProperty(open, id, scope, &value, sizeof value); };
    const auto reinitialise = [](O open, int i) {
        open.call(i % 2 == 0 ? kAudioUnitUninitializeSelect : kAudioUnitInitializeSelect); };
    struct Row { const char* name; std::function<void(O unit, O other, int i)> first, second; };
    const Row rows[] = {
        {"a format get against a set", [&](O u, O, int) { get(u, 8, I); },
         [&](O u, O, int i) { set(u, 8, I, formats[i % 2]); }},
        {"latency against an output format set", [&](O u, O, int) { get(u, 12, G); },
         [&](O u, O, int i) { set(u, 8, Out, formats[i % 2]); }},
        {"property info against a render callback switch", [&](O u, O, int) { info(u); },
         [&](O u, O, int i) { set(u, 23, I, callbacks[i % 2]); }},
        {"initialising against an output format set", [&](O u, O, int i) { reinitialise(u, i); },
         [&](O u, O, int i) { set(u, 8, Out, formats[i % 2]); }},
        {"the context name from two threads", [&](O u, O, int) { set(u, 25, G, names[0].ref); },
         [&](O u, O, int) { set(u, 25, G, names[1].ref); }},
        {"reset and bypass against re-initialisation",
         [&](O u, O, int i) { u.call(kAudioUnitResetSelect, G, 0u); set(u, 21, G, UInt32(i % 2)); },
         [&](O u, O, int i) { reinitialise(u, i); }},
        // Only the entry's instances are reached through the platform; a block refuses at once.
        {"two units connected to each other",
         [&](O u, O other, int) { set(u, 1, I, AudioUnitConnection{other.instance, 0, 0}); },
         [&](O u, O other, int) { set(other, 1, I, AudioUnitConnection{u.instance, 0, 0}); }},
    };
    // clang-format on
    for (const bool componentManager : {true, false})
        for (const Row& row : rows)
        {
            SCOPED_TRACE(std::string(row.name) + (componentManager ? " (entry)" : " (block)"));
            OpenWrapper unit(componentManager), other(componentManager);
            ASSERT_EQ(unit.initialize(), noErr);
            const auto calls = [&](const auto& call)
            {
                for (int i = 0; i < 3000; ++i)
                    call(unit, other, i);
            };
            std::thread second(calls, row.second);
            calls(row.first);
            second.join();
            // Whatever the two threads left, the unit comes back to rendering.
            set(unit, 23, I, callbacks[1]);
            unit.call(kAudioUnitUninitializeSelect);
            EXPECT_EQ(unit.initialize(), noErr);
            EXPECT_EQ(unit.render(), noErr);
        }
}

TEST(AudioUnitWrapperConcurrency, TheAudioThreadsCallsNeverWaitForTheUnitsMutex)
{
    const AudioUnitParameterEvent event = Immediate(0, 0.5f);
    for (const bool componentManager : {true, false})
    {
        OpenWrapper open(componentManager);
        ASSERT_EQ(open.initialize(), noErr);
        ASSERT_TRUE(open.unit().GetMutex()->Lock());
        // clang-format off
        auto audio = std::async(std::launch::async, [&] { return std::vector{open.render(),
            open.call(kAudioUnitSetParameterSelect, 0u, 0u, 0u, 0.5f, 0u),
            open.call(kAudioUnitScheduleParametersSelect, &event, 1u),
            open.call(kMusicDeviceMIDIEventSelect, 0x90u, 60u, 1u, 0u)}; });
        // clang-format on
        const bool finished = audio.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        open.unit().GetMutex()->Unlock();
        EXPECT_TRUE(finished) << (componentManager ? "entry" : "block");
        EXPECT_EQ(audio.get(), std::vector<OSStatus>(4, noErr));
    }
}
