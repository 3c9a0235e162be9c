#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

using namespace autest;

namespace
{
/** An AudioBufferList with room for n buffers, all zero. */
struct OwnedList
{
    explicit OwnedList(UInt32 buffers) : words(AudioBufferListBytes(buffers) / 8 + 1)
    {
        List().mNumberBuffers = buffers;
    }
    AudioBufferList& List() { return *reinterpret_cast<AudioBufferList*>(words.data()); }
    std::vector<UInt64> words;
};

template <typename Action> OSStatus StatusOf(Action&& action)
{
    try
    {
        action();
        return noErr;
    }
    catch (OSStatus status)
    {
        return status;
    }
}

uintptr_t Address(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

CAStreamBasicDescription WithBytesPerFrame(CAStreamBasicDescription format, UInt32 bytes)
{
    format.mBytesPerFrame = bytes;
    format.mBytesPerPacket = bytes;
    return format;
}
} // namespace

TEST(BufferListAllocation, PadsEachStreamTo16BytesAndLaysTheBuffersOutByThatStride)
{
    struct Row
    {
        const char* name;
        CAStreamBasicDescription format;
        UInt32 frames;
        UInt32 buffers;
        UInt32 channelsPerBuffer;
        uintptr_t stride;
        UInt32 bytes;
    };
    const Row rows[] = {
        {"512 frames, 2 channels", FloatFormat(2), 512, 2, 1, 2048, 4096},
        {"511 frames round up to the same stride", FloatFormat(2), 511, 2, 1, 2048, 4096},
        {"4 channels of 1156 frames", FloatFormat(4), 1156, 4, 1, 4624, 18496},
        {"1 frame of 1 channel", FloatFormat(1), 1, 1, 1, 16, 16},
        {"interleaved stereo is one buffer", FloatFormat(2, true), 512, 1, 2, 4096, 4096},
        {"3 interleaved channels pad 12-byte frames", FloatFormat(3, true), 5, 1, 3, 64, 64},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        AUBufferList buffers;
        buffers.Allocate(row.format, row.frames);
        EXPECT_EQ(buffers.GetAllocatedBytes(), row.bytes);

        const AudioBufferList& list = buffers.PrepareBuffer(row.format, row.frames);
        ASSERT_EQ(list.mNumberBuffers, row.buffers);
        for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        {
            const AudioBuffer& buffer = list.mBuffers[i];
            EXPECT_EQ(buffer.mNumberChannels, row.channelsPerBuffer);
            EXPECT_EQ(buffer.mDataByteSize, row.frames * row.format.mBytesPerFrame);
            EXPECT_EQ(Address(buffer.mData) % 16, 0u);
            EXPECT_EQ(Address(buffer.mData) - Address(list.mBuffers[0].mData), i * row.stride);
        }
    }
}

TEST(BufferListAllocation, MemoryOnlyGrowsAndFramesFollowTheLastAllocation)
{
    AUBufferList buffers;
    buffers.Allocate(FloatFormat(2), 1156);
    void* const first = buffers.PrepareBuffer(FloatFormat(2), 1156).mBuffers[0].mData;

    buffers.Allocate(FloatFormat(2), 512);
    EXPECT_EQ(buffers.GetAllocatedBytes(), 2u * 4624);
    EXPECT_EQ(buffers.PrepareBuffer(FloatFormat(2), 512).mBuffers[0].mData, first);
    EXPECT_EQ(StatusOf([&] { buffers.PrepareBuffer(FloatFormat(2), 513); }),
              kAudioUnitErr_TooManyFramesToProcess);
}

TEST(BufferListAllocation, ElementsOfAUnitNeverShareMemory)
{
    TestUnit unit(2, 2);
    unit.BeginInitializing(256);
    std::vector<std::pair<uintptr_t, uintptr_t>> ranges;
    for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
        for (AudioUnitElement e = 0; e < 2; ++e)
        {
            AUIOElement& element = *unit.GetIOElement(scope, e);
            if (scope == kAudioUnitScope_Input)
                static_cast<AUInputElement&>(element).SetInputCallback(
                    [](void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                       AudioBufferList*) { return OSStatus(noErr); },
                    nullptr);
            element.AllocateBuffer();
            const AudioBufferList& list = element.PrepareBuffer(256);
            for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
                ranges.emplace_back(Address(list.mBuffers[i].mData),
                                    Address(list.mBuffers[i].mData) + 1024);
        }
    ASSERT_EQ(ranges.size(), 8u);
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i)
        EXPECT_LE(ranges[i - 1].second, ranges[i].first) << "buffers " << i - 1 << " and " << i;
}

TEST(BufferListPreparation, RefusesWhatTheAllocationCannotHold)
{
    struct Row
    {
        const char* name;
        std::function<void(AUBufferList&)> action;
        OSStatus status;
    };
    const auto stereo = FloatFormat(2);
    const Row rows[] = {
        {"more frames than allocated",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 512);
             b.PrepareBuffer(stereo, 513);
         },
         kAudioUnitErr_TooManyFramesToProcess},
        {"any frame after a zero-frame allocation",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 512);
             b.Allocate(stereo, 0);
             b.PrepareBuffer(stereo, 1);
         },
         kAudioUnitErr_TooManyFramesToProcess},
        {"more channels than buffers",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 16);
             b.PrepareBuffer(FloatFormat(3), 16);
         },
         kAudioUnitErr_FormatNotSupported},
        {"interleaved list that was never allocated",
         [&](AUBufferList& b) { b.PrepareBuffer(FloatFormat(2, true), 0); },
         kAudioUnitErr_FormatNotSupported},
        {"wider frames than the memory",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 512);
             b.PrepareBuffer(WithBytesPerFrame(stereo, 8), 512);
         },
         kAudioUnitErr_TooManyFramesToProcess},
        {"null list with more channels than buffers",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 16);
             b.PrepareNullBuffer(FloatFormat(3), 16);
         },
         kAudioUnitErr_FormatNotSupported},
        {"null list that was never allocated",
         [&](AUBufferList& b) { b.PrepareNullBuffer(FloatFormat(1, true), 16); },
         kAudioUnitErr_FormatNotSupported},
        {"list read before it was prepared",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 16);
             b.GetBufferList();
         },
         -1},
        {"taking over more buffers than there is room for",
         [&](AUBufferList& b)
         {
             b.Allocate(stereo, 16);
             OwnedList three(3);
             b.SetBufferList(three.List());
         },
         -1},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        AUBufferList buffers;
        EXPECT_EQ(StatusOf([&] { row.action(buffers); }), row.status);
    }
}

TEST(BufferListPreparation, NullListCarriesSizesForTheSource)
{
    AUBufferList buffers;
    buffers.Allocate(FloatFormat(2), 0);
    const AudioBufferList& list = buffers.PrepareNullBuffer(FloatFormat(2), 256);
    ASSERT_EQ(list.mNumberBuffers, 2u);
    for (UInt32 i = 0; i < 2; ++i)
    {
        EXPECT_EQ(list.mBuffers[i].mData, nullptr);
        EXPECT_EQ(list.mBuffers[i].mDataByteSize, 1024u);
    }
}

TEST(BufferListExternalMemory, AdoptsABlockThatHoldsAsMuchAndLaysFramesOutWithinIt)
{
    struct Row
    {
        const char* name;
        UInt32 blockBytes;
        bool nullBlock;
        CAStreamBasicDescription format;
        bool adopted;
        UInt32 frames;
        UInt32 bytes;
    };
    // The list holds 4096 bytes: 512 frames of 2 streams of 4-byte frames.
    const auto stereo = FloatFormat(2);
    const Row rows[] = {
        {"4100 bytes count as 4096", 4100, false, stereo, true, 512, 4096},
        {"4095 bytes are too few", 4095, false, stereo, false, 512, 4096},
        {"4112 bytes: frames from the padded stride", 4112, false, stereo, true, 512, 4112},
        {"8200 bytes", 8200, false, stereo, true, 1024, 8192},
        {"3 interleaved channels", 4096, false, FloatFormat(3, true), true, 341, 4096},
        {"null block", 8192, true, stereo, false, 512, 4096},
        {"format without bytes per frame", 8192, false, WithBytesPerFrame(stereo, 0), false, 512,
         4096},
        {"frames wider than a stream's share", 8192, false, WithBytesPerFrame(stereo, 8192), false,
         512, 4096},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::vector<Byte> block(row.blockBytes);
        AUBufferList buffers;
        buffers.Allocate(stereo, 512);
        buffers.PrepareBuffer(stereo, 512);

        buffers.UseExternalBuffer(row.format,
                                  {row.nullBlock ? nullptr : block.data(), row.blockBytes});

        EXPECT_EQ(buffers.GetAllocatedFrames(), row.frames);
        EXPECT_EQ(buffers.GetAllocatedBytes(), row.bytes);
        if (!row.adopted)
            continue;
        // The old list pointed into memory that is gone.
        EXPECT_EQ(StatusOf([&] { buffers.GetBufferList(); }), -1);
        const AudioBufferList& list = buffers.PrepareBuffer(row.format, row.frames);
        for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        {
            EXPECT_GE(Address(list.mBuffers[i].mData), Address(block.data()));
            EXPECT_LE(Address(list.mBuffers[i].mData) + list.mBuffers[i].mDataByteSize,
                      Address(block.data() + block.size()));
        }
    }
}

TEST(BufferListExternalMemory, ALentBlockIsNeverReleased)
{
    std::vector<Byte> first(4096);
    std::vector<Byte> second(8192);
    AUBufferList buffers;
    buffers.Allocate(FloatFormat(2), 512);
    buffers.UseExternalBuffer(FloatFormat(2), {first.data(), 4096});
    buffers.UseExternalBuffer(FloatFormat(2), {second.data(), 8192});
    buffers.Deallocate();
    EXPECT_EQ(buffers.GetAllocatedBytes(), 0u);
    // Growing past a lent block takes memory of its own; the lent block stays the host's.
    buffers.Allocate(FloatFormat(2), 512);
    buffers.UseExternalBuffer(FloatFormat(2), {first.data(), 4096});
    buffers.Allocate(FloatFormat(2), 1024);
    EXPECT_EQ(buffers.GetAllocatedBytes(), 8192u);
}

TEST(BufferListCopies, MoveNoMoreThanTheDestinationHoldsAndRefuseUnusableLists)
{
    struct Row
    {
        const char* name;
        std::vector<UInt32> sourceBytes;
        std::vector<UInt32> destinationBytes;
        bool nullDestination;
        OSStatus status;
        std::vector<UInt32> copiedBytes;
    };
    const Row rows[] = {
        {"one source into four buffers", {16}, {16, 16, 16, 16}, false, noErr, {16, 16, 16, 16}},
        {"last source repeated", {16, 8}, {16, 16, 16}, false, noErr, {16, 8, 8}},
        {"destination smaller than the source", {32}, {16}, false, noErr, {16}},
        {"source without buffers", {}, {16}, false, -1, {}},
        {"null destination data", {16}, {16}, true, -1, {}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        const auto count = [](const std::vector<UInt32>& v) { return UInt32(v.size()); };
        std::vector<std::vector<Byte>> sourceMemory, destinationMemory;
        OwnedList source(count(row.sourceBytes)), destination(count(row.destinationBytes));
        for (UInt32 i = 0; i < count(row.sourceBytes); ++i)
        {
            sourceMemory.emplace_back(row.sourceBytes[i], Byte(0x10 + i));
            source.List().mBuffers[i] = {1, row.sourceBytes[i], sourceMemory.back().data()};
        }
        for (UInt32 i = 0; i < count(row.destinationBytes); ++i)
        {
            // A guard byte after each destination buffer shows an overrun.
            destinationMemory.emplace_back(row.destinationBytes[i] + 1, Byte(0xEE));
            destination.List().mBuffers[i] = {
                1, row.destinationBytes[i],
                row.nullDestination ? nullptr : destinationMemory.back().data()};
        }

        AUBufferList buffers;
        buffers.Allocate(FloatFormat(std::max(count(row.sourceBytes), 1u)), 0);
        buffers.SetBufferList(source.List());
        ASSERT_EQ(StatusOf([&] { buffers.CopyBufferContentsTo(destination.List()); }), row.status);
        for (UInt32 i = 0; i < count(row.copiedBytes); ++i)
        {
            const UInt32 from = std::min(i, count(row.sourceBytes) - 1);
            EXPECT_EQ(destination.List().mBuffers[i].mDataByteSize, row.copiedBytes[i]);
            const std::vector<Byte>& memory = destinationMemory[i];
            EXPECT_EQ(
                std::count(memory.begin(), memory.begin() + row.copiedBytes[i], Byte(0x10 + from)),
                row.copiedBytes[i]);
            EXPECT_EQ(memory.back(), 0xEE);
        }
    }
}

TEST(BufferListCopies, CopyingTheListNeedsUsablePointersAndTheSameBufferCount)
{
    AUBufferList buffers;
    buffers.Allocate(FloatFormat(2), 16);
    const AudioBufferList& own = buffers.PrepareBuffer(FloatFormat(2), 16);

    OwnedList two(2), three(3);
    buffers.CopyBufferListTo(two.List());
    EXPECT_EQ(two.List().mBuffers[1].mData, own.mBuffers[1].mData);
    EXPECT_EQ(two.List().mBuffers[1].mDataByteSize, 64u);
    EXPECT_EQ(StatusOf([&] { buffers.CopyBufferListTo(three.List()); }), -1);

    buffers.InvalidateBufferList();
    EXPECT_EQ(StatusOf([&] { buffers.CopyBufferListTo(two.List()); }), -1);
    EXPECT_EQ(StatusOf([&] { buffers.CopyBufferContentsTo(two.List()); }), -1);
}
