#include "hosts/audio_unit/CAAudioChannelLayout.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

using namespace autest;

TEST(StreamDescription, EqualityComparesTheFirst36BytesExactly)
{
    using Change = std::function<void(CAStreamBasicDescription&)>;
    const auto rate = [](double value) -> Change
    { return [value](CAStreamBasicDescription& f) { f.mSampleRate = value; }; };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row
    {
        const char* name;
        Change first, second;
        bool equal;
    };
    // clang-format off
    const Row rows[] = {
        {"the same format", [](auto&) {}, [](auto&) {}, true},
        {"only the reserved word differs", [](auto&) {}, [](auto& f) { f.mReserved = 7; }, true},
        {"sample rate 0 against 44100", [](auto&) {}, rate(0.0), false},
        {"0.0 and -0.0 differ", rate(0.0), rate(-0.0), false},
        {"NaN rates with the same bits are equal", rate(nan), rate(nan), true},
        {"bits per channel", [](auto&) {}, [](auto& f) { f.mBitsPerChannel = 24; }, false},
        {"interleaving", [](auto&) {}, [](auto& f) { f.mFormatFlags = 0x9; }, false},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        CAStreamBasicDescription first = FloatFormat(2), second = FloatFormat(2);
        row.first(first);
        row.second(second);
        EXPECT_EQ(first.IsEqual(second, false), row.equal);
    }
}

TEST(StreamDescription, ChannelLayoutsCountTheirChannels)
{
    struct Row
    {
        const char* name;
        AudioChannelLayoutTag tag;
        AudioChannelBitmap bitmap;
        UInt32 descriptions, channels;
    };
    const Row rows[] = {
        {"bitmap 0xB", kAudioChannelLayoutTag_UseChannelBitmap, 0xB, 0, 3},
        {"five descriptions", kAudioChannelLayoutTag_UseChannelDescriptions, 0xFF, 5, 5},
        {"tag carrying 4 channels", (108u << 16) | 4, 0xFF, 9, 4},
        {"tag carrying 65535 channels", (1u << 16) | 0xFFFF, 0, 0, 65535},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        const AudioChannelLayout layout{row.tag, row.bitmap, row.descriptions, {}};
        EXPECT_EQ(CAAudioChannelLayout::NumberChannels(layout), row.channels);
    }
}

TEST(StreamDescription, BusesStartWithTheDefaultFormatOfTheUnitsApiVersion)
{
    // Rate, 'lpcm', flags, bytes per packet, frames per packet, bytes per frame, channels,
    // bits, reserved.
    const AudioStreamBasicDescription version1{44100, 0x6C70636D, 0x9, 8, 1, 8, 2, 32, 0};
    const AudioStreamBasicDescription version2{44100, 0x6C70636D, 0x29, 4, 1, 4, 2, 32, 0};
    for (const UInt8 apiVersion : {1, 2})
    {
        SCOPED_TRACE(int(apiVersion));
        TestUnit unit(1, 1, apiVersion);
        for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
        {
            const AudioStreamBasicDescription& format =
                unit.GetIOElement(scope, 0)->GetStreamFormat();
            EXPECT_EQ(std::memcmp(&format, apiVersion == 1 ? &version1 : &version2, sizeof format),
                      0);
        }
    }
}
