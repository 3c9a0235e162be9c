// The host's audio thread renders while another of its threads automates the gain, sends MIDI and
// switches bypass: nothing may race (ThreadSanitizer) and every block stays finite.
#include "tests/audio_unit/OpenWrapper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

using namespace autest;

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
