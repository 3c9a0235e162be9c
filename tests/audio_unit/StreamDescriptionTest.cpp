#include "hosts/audio_unit/CAAudioChannelLayout.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using namespace autest;

TEST(StreamDescription, EqualityComparesTheFirst36BytesExactly)
{
    struct Row
    {
        const char* name;
        std::function<void(CAStreamBasicDescription&)> change;
        bool equal;
    };
    const Row rows[] = {
        {"the same format", [](CAStreamBasicDescription&) {}, true},
        {"only the reserved word differs", [](CAStreamBasicDescription& f) { f.mReserved = 7; },
         true},
        {"sample rate 0 against 44100", [](CAStreamBasicDescription& f) { f.mSampleRate = 0.0; },
         false},
        {"bits per channel", [](CAStreamBasicDescription& f) { f.mBitsPerChannel = 24; }, false},
        {"interleaving flag",
         [](CAStreamBasicDescription& f) { f.mFormatFlags &= ~kAudioFormatFlagIsNonInterleaved; },
         false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        CAStreamBasicDescription other = FloatFormat(2);
        row.change(other);
        EXPECT_EQ(FloatFormat(2).IsEqual(other, false), row.equal);
    }

    struct RateRow
    {
        const char* name;
        double a;
        double b;
        bool equal;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const RateRow rates[] = {
        {"0.0 and -0.0 differ", 0.0, -0.0, false},
        {"NaN rates with the same bits are equal", nan, nan, true},
    };
    for (const RateRow& row : rates)
    {
        SCOPED_TRACE(row.name);
        CAStreamBasicDescription a = FloatFormat(2), b = FloatFormat(2);
        a.mSampleRate = row.a;
        b.mSampleRate = row.b;
        EXPECT_EQ(a.IsEqual(b, false), row.equal);
    }

    CAStreamBasicDescription zero;
    const std::vector<Byte> zeros(sizeof zero, 0);
    EXPECT_EQ(std::memcmp(&zero, zeros.data(), sizeof zero), 0);
}

TEST(StreamDescription, ChannelLayoutsCountTheirChannels)
{
    struct Row
    {
        const char* name;
        AudioChannelLayoutTag tag;
        AudioChannelBitmap bitmap;
        UInt32 descriptions;
        UInt32 channels;
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
    struct Row
    {
        UInt8 apiVersion;
        AudioFormatFlags flags;
        UInt32 bytes;
    };
    for (const Row& row : {Row{1, 0x9, 8}, Row{2, 0x29, 4}})
    {
        SCOPED_TRACE(int(row.apiVersion));
        TestUnit unit(1, 1, row.apiVersion);
        for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
        {
            const CAStreamBasicDescription& format = unit.GetIOElement(scope, 0)->GetStreamFormat();
            EXPECT_EQ(format.mSampleRate, 44100.0);
            EXPECT_EQ(format.mFormatID, 0x6C70636Du);
            EXPECT_EQ(format.mFormatFlags, row.flags);
            EXPECT_EQ(format.mBytesPerPacket, row.bytes);
            EXPECT_EQ(format.mBytesPerFrame, row.bytes);
            EXPECT_EQ(format.mFramesPerPacket, 1u);
            EXPECT_EQ(format.mChannelsPerFrame, 2u);
            EXPECT_EQ(format.mBitsPerChannel, 32u);
            EXPECT_EQ(format.mReserved, 0u);
        }
    }
}
