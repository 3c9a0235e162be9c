// The record layouts are fixed by static_assert next to each record; this test checks the bytes
// the records hold, as a host on the other side would read them.
#include "platform/AudioUnitTypes.h"
#include "platform/Reallocf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
template <typename Record> std::vector<UInt8> BytesOf(const Record& record)
{
    std::vector<UInt8> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}
} // namespace

TEST(PlatformLayout, RecordsHoldTheirFieldsAtTheAgreedBytes)
{
    const AudioStreamBasicDescription format{44100.0, kAudioFormatLinearPCM, 0x29, 4, 1, 4, 2, 32,
                                             0};
    EXPECT_EQ(BytesOf(format),
              (std::vector<UInt8>{0x00, 0x00, 0x00, 0x00, 0x80, 0x88, 0xE5, 0x40, 0x6D, 0x63,
                                  0x70, 0x6C, 0x29, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
                                  0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00,
                                  0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));

    AudioUnitParameterEvent ramp{};
    ramp.scope = kAudioUnitScope_Input;
    ramp.element = 2;
    ramp.parameter = 3;
    ramp.eventType = kParameterEvent_Ramped;
    ramp.eventValues.ramp = {-28, 100, 1.0f, 0.25f};
    EXPECT_EQ(BytesOf(ramp), (std::vector<UInt8>{1, 0, 0, 0, 2,    0,    0,    0,    3,    0,   0,
                                                 0, 2, 0, 0, 0,    0xE4, 0xFF, 0xFF, 0xFF, 100, 0,
                                                 0, 0, 0, 0, 0x80, 0x3F, 0,    0,    0x80, 0x3E}));

    AudioUnitParameterEvent immediate{};
    immediate.eventType = kParameterEvent_Immediate;
    immediate.eventValues.immediate = {7, 0.5f};
    const std::vector<UInt8> immediateBytes = BytesOf(immediate);
    EXPECT_EQ(std::vector<UInt8>(immediateBytes.begin() + 16, immediateBytes.begin() + 24),
              (std::vector<UInt8>{7, 0, 0, 0, 0, 0, 0, 0x3F}));

    ComponentParameters params{};
    params.flags = 0x11;
    params.paramSize = 8;
    params.what = kComponentCanDoSelect;
    params.params[0] = 0x0102030405060708;
    EXPECT_EQ(BytesOf(params),
              (std::vector<UInt8>{0x11, 8, 0xFD, 0xFF, 0, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(PlatformReallocf, KeepsTheContentsAndFreesTheBlockExactlyOnce)
{
    auto* block = static_cast<UInt8*>(reallocf(nullptr, 4));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abc", 4);
    block = static_cast<UInt8*>(reallocf(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(block), "abc");
    // A zero size still answers a block, so the old one is not freed twice.
    block = static_cast<UInt8*>(reallocf(block, 0));
    EXPECT_NE(block, nullptr);
    std::free(block);
}
