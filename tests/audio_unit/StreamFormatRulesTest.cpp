#include "hosts/audio_unit/AUEntryCatch.h"

#include "tests/audio_unit/FakeSources.h"
#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace autest;

namespace
{
constexpr AudioUnitScope G = kAudioUnitScope_Global, I = kAudioUnitScope_Input,
                         O = kAudioUnitScope_Output;

OSStatus SetFormat(TestUnit& unit, AudioUnitScope scope, const AudioStreamBasicDescription& format,
                   UInt32 size = 40)
{
    std::vector<Byte> bytes(size, 0xEE);
    std::memcpy(bytes.data(), &format, std::min<size_t>(size, sizeof format));
    return AUEntryCatch([&] { return unit.DispatchSetProperty(8, scope, 0, bytes.data(), size); });
}

bool SameFormat(const AudioStreamBasicDescription& a, const AudioStreamBasicDescription& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

TEST(StreamFormatRules, RefusedInvalidEqualIsSilentNotWritableIsRefused)
{
    int notAUnit = 0;
    const auto dummySource = reinterpret_cast<AudioUnit>(&notAUnit);
    struct Row
    {
        const char* name;
        UInt8 apiVersion;
        bool initialized;
        bool inputConnected;
        AudioUnitScope scope;
        CAStreamBasicDescription format;
        UInt32 size;
        OSStatus expected;
        size_t notices;
    };
    CAStreamBasicDescription integer = FloatFormat(2);
    integer.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsNonInterleaved;
    CAStreamBasicDescription withReserved = FloatFormat(4);
    withReserved.mReserved = 0xEEEEEEEE;
    const CAStreamBasicDescription current = FloatFormat(2);
    // clang-format off
    const Row rows[] = {
        {"an invalid format", 2, false, false, O, integer, 40, kAudioUnitErr_FormatNotSupported, 0},
        {"the current format while initialised", 2, true, false, O, current, 40, noErr, 0},
        {"another format while initialised", 2, true, false, O, FloatFormat(4), 40,
         kAudioUnitErr_PropertyNotWritable, 0},
        {"another format before", 2, false, false, O, FloatFormat(4), 40, noErr, 1},
        {"the global scope is output 0", 2, false, false, G, FloatFormat(4), 40, noErr, 1},
        {"36 bytes, the reserved word left out", 2, false, false, I, FloatFormat(4), 36, noErr, 1},
        {"the reserved word is not taken", 2, false, false, I, withReserved, 40, noErr, 1},
        {"35 bytes", 2, false, false, I, FloatFormat(4), 35, kAudioUnitErr_InvalidPropertyValue, 0},
        {"an input fed by a connection", 2, false, true, I, FloatFormat(4), 40,
         kAudioUnitErr_PropertyNotWritable, 0},
        {"version 1 refuses non-interleaved", 1, false, false, O, FloatFormat(4), 40,
         kAudioUnitErr_FormatNotSupported, 0},
        {"version 1 takes interleaved", 1, false, false, O, FloatFormat(4, true), 40, noErr, 1},
        {"the group scope has no format", 2, false, false, kAudioUnitScope_Group, FloatFormat(4), 40,
         kAudioUnitErr_InvalidElement, 0},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        TestUnit unit(1, 1, row.apiVersion);
        if (row.inputConnected)
            unit.GetInput(0)->SetConnection({dummySource, 0, 0});
        if (row.initialized)
            unit.DoInitialize();
        ListenerLog log;
        log.Attach(unit, {kAudioUnitProperty_StreamFormat});
        const AudioUnitScope busScope = row.scope == I ? I : O;
        const CAStreamBasicDescription before = unit.GetStreamFormat(busScope, 0);

        EXPECT_EQ(SetFormat(unit, row.scope, row.format, row.size), row.expected);
        EXPECT_EQ(log.calls.size(), row.notices);
        CAStreamBasicDescription wanted = row.format;
        wanted.mReserved = 0;
        EXPECT_TRUE(
            SameFormat(unit.GetStreamFormat(busScope, 0), row.expected == noErr ? wanted : before));
        if (row.notices == 1)
            EXPECT_EQ(log.calls[0], (ListenerCall{&log, nullptr, 8, row.scope, 0}));
        bool writable = true;
        UInt32 size = 0;
        if (row.inputConnected)
            EXPECT_EQ(
                unit.DispatchGetPropertyInfo(kAudioUnitProperty_StreamFormat, I, 0, size, writable),
                noErr);
        EXPECT_EQ(writable, !row.inputConnected);
    }
}

TEST(StreamFormatRules, ValidFormatIsCanonicalFloatPCM)
{
    using Change = std::function<void(CAStreamBasicDescription&)>;
    // clang-format off
    const std::tuple<const char*, UInt32, Change, bool> rows[] = {
        {"2-channel non-interleaved float", 2, [](auto&) {}, true},
        {"1 channel either way", 1, [](auto& f) { f.mFormatFlags &= ~0x20u; }, true},
        {"not lpcm", 2, [](auto& f) { f.mFormatID = MakeFourCharCode('a', 'a', 'c', ' '); }, false},
        {"2 frames per packet", 2, [](auto& f) { f.mFramesPerPacket = 2; }, false},
        {"bytes per packet differ", 2, [](auto& f) { f.mBytesPerPacket = 8; }, false},
        {"not float", 2, [](auto& f) { f.mFormatFlags &= ~1u; }, false},
        {"interleaved stereo", 2, [](auto& f) { f.mFormatFlags &= ~0x20u; }, false},
        {"big-endian", 2, [](auto& f) { f.mFormatFlags |= 2; }, false},
        {"64 bits", 2, [](auto& f) { f.mBitsPerChannel = 64; }, false},
        {"8 bytes per frame", 2, [](auto& f) { f.mBytesPerFrame = f.mBytesPerPacket = 8; }, false},
    };
    // clang-format on
    TestUnit unit;
    for (const auto& [name, channels, change, valid] : rows)
    {
        CAStreamBasicDescription format = FloatFormat(channels);
        change(format);
        EXPECT_EQ(unit.ValidFormat(O, 0, format), valid) << name;
    }
}

TEST(StreamFormatRules, ConnectingTakesTheSourcesOutputFormatOrLeavesTheInputAlone)
{
    struct Row
    {
        const char* name;
        std::optional<AudioStreamBasicDescription> sourceFormat;
        AudioUnitElement destination;
        bool initialized;
        OSStatus expected;
        bool connected;
        UInt32 inputChannels;
    };
    CAStreamBasicDescription bigEndian = FloatFormat(4);
    bigEndian.mFormatFlags |= kAudioFormatFlagIsBigEndian;
    // clang-format off
    const Row rows[] = {
        {"a source with a format", FloatFormat(4), 0, false, noErr, true, 4},
        {"a source with the same format while initialised", FloatFormat(2), 0, true, noErr, true, 2},
        {"a source with another format while initialised", FloatFormat(4), 0, true,
         kAudioUnitErr_PropertyNotWritable, false, 2},
        {"a source that answers no format", std::nullopt, 0, false, kAudioUnitErr_InvalidProperty, false, 2},
        {"a source with a format this unit refuses", bigEndian, 0, false,
         kAudioUnitErr_FormatNotSupported, false, 2},
        {"an input that does not exist", FloatFormat(4), 3, false, kAudioUnitErr_InvalidElement, false, 2},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeSource source;
        source.outputFormat = row.sourceFormat;
        OpenFakeSource open(source, OpenFakeSource::Road::plugInBlock);
        TestUnit unit;
        if (row.initialized)
            unit.DoInitialize();
        ListenerLog log;
        log.Attach(unit, {kAudioUnitProperty_MakeConnection});
        const AudioUnitConnection connection{open.Unit(), 0, row.destination};
        const OSStatus answer =
            AUEntryCatch([&] { return unit.DispatchSetProperty(1, I, 0, &connection, 16); });
        EXPECT_EQ(answer, row.expected);
        EXPECT_EQ(unit.GetInput(0)->HasConnection(), row.connected);
        EXPECT_EQ(unit.GetStreamFormat(I, 0).mChannelsPerFrame, row.inputChannels);
        EXPECT_EQ(log.calls.size(), row.connected ? 1u : 0u);
    }
}
