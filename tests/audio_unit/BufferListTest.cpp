#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
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

uintptr_t Address(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

CAStreamBasicDescription WithBytesPerFrame(CAStreamBasicDescription format, UInt32 bytes)
{
    format.mBytesPerFrame = format.mBytesPerPacket = bytes;
    return format;
}

const CAStreamBasicDescription kStereo = FloatFormat(2);
} // namespace

TEST(BufferListAllocation, PadsEachStreamTo16BytesAndOnlyGrows)
{
    struct Row
    {
        const char* name;
        CAStreamBasicDescription format;
        UInt32 frames, buffers, channelsPerBuffer, stride, bytes;
    };
    const Row rows[] = {
        {"512 frames, 2 channels", kStereo, 512, 2, 1, 2048, 4096},
        {"511 frames round up to the same stride", kStereo, 511, 2, 1, 2048, 4096},
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
            EXPECT_EQ(list.mBuffers[i].mNumberChannels, row.channelsPerBuffer);
            EXPECT_EQ(list.mBuffers[i].mDataByteSize, row.frames * row.format.mBytesPerFrame);
            EXPECT_EQ(Address(list.mBuffers[i].mData) % 16, 0u);
            EXPECT_EQ(Address(list.mBuffers[i].mData) - Address(list.mBuffers[0].mData),
                      i * row.stride);
        }
    }

    AUBufferList buffers;
    buffers.Allocate(kStereo, 1156);
    void* const first = buffers.PrepareBuffer(kStereo, 1156).mBuffers[0].mData;
    buffers.Allocate(kStereo, 512);
    EXPECT_EQ(buffers.GetAllocatedBytes(), 2u * 4624);
    EXPECT_EQ(buffers.PrepareBuffer(kStereo, 512).mBuffers[0].mData, first);
    EXPECT_EQ(StatusOf([&] { buffers.PrepareBuffer(kStereo, 513); }),
              kAudioUnitErr_TooManyFramesToProcess);
}

TEST(BufferListAllocation, BusesOfAUnitNeverShareMemory)
{
    TestUnit unit(2, 2);
    unit.BeginInitializing(256);
    std::vector<std::pair<uintptr_t, uintptr_t>> ranges;
    for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
        for (AudioUnitElement e = 0; e < 2; ++e)
        {
            AUIOElement& element = *unit.GetIOElement(scope, e);
            if (scope == kAudioUnitScope_Input)
                unit.GetInput(e)->SetInputCallback([](void*, AudioUnitRenderActionFlags*,
                                                      const AudioTimeStamp*, UInt32, UInt32,
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
    enum class Act
    {
        prepare,
        prepareNull,
        read,
        takeOverThreeBuffers,
    };
    struct Row
    {
        const char* name;
        std::vector<std::pair<CAStreamBasicDescription, UInt32>> allocations;
        Act act;
        CAStreamBasicDescription format;
        UInt32 frames;
        OSStatus status;
    };
    const auto tooMany = kAudioUnitErr_TooManyFramesToProcess;
    const auto unsupported = kAudioUnitErr_FormatNotSupported;
    // clang-format off
    const Row rows[] = {
        {"more frames than allocated", {{kStereo, 512}}, Act::prepare, kStereo, 513, tooMany},
        {"any frame after a zero-frame allocation", {{kStereo, 512}, {kStereo, 0}}, Act::prepare,
         kStereo, 1, tooMany},
        {"more channels than buffers", {{kStereo, 16}}, Act::prepare, FloatFormat(3), 16,
         unsupported},
        {"interleaved list never allocated", {}, Act::prepare, FloatFormat(2, true), 0,
         unsupported},
        {"wider frames than the memory", {{kStereo, 512}}, Act::prepare,
         WithBytesPerFrame(kStereo, 8), 512, tooMany},
        {"null list with more channels than buffers", {{kStereo, 16}}, Act::prepareNull,
         FloatFormat(3), 16, unsupported},
        {"null list never allocated", {}, Act::prepareNull, FloatFormat(1, true), 16, unsupported},
        {"list read before it was prepared", {{kStereo, 16}}, Act::read, kStereo, 0, -1},
        {"taking over more buffers than there is room for", {{kStereo, 16}},
         Act::takeOverThreeBuffers, kStereo, 0, -1},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        AUBufferList buffers;
        for (const auto& [format, frames] : row.allocations)
            buffers.Allocate(format, frames);
        OwnedList three(3);
        EXPECT_EQ(StatusOf(
                      [&]
                      {
                          switch (row.act)
                          {
                          case Act::prepare:
                              return (void)buffers.PrepareBuffer(row.format, row.frames);
                          case Act::prepareNull:
                              return (void)buffers.PrepareNullBuffer(row.format, row.frames);
                          case Act::read:
                              return (void)buffers.GetBufferList();
                          case Act::takeOverThreeBuffers:
                              return (void)buffers.SetBufferList(three.List());
                          }
                      }),
                  row.status);
    }

    AUBufferList buffers;
    buffers.Allocate(kStereo, 0);
    const AudioBufferList& list = buffers.PrepareNullBuffer(kStereo, 256);
    ASSERT_EQ(list.mNumberBuffers, 2u);
    EXPECT_EQ(list.mBuffers[1].mData, nullptr);
    EXPECT_EQ(list.mBuffers[1].mDataByteSize, 1024u);
}

TEST(BufferListExternalMemory, AdoptsABlockThatHoldsAsMuchLaysFramesOutWithinItAndNeverFreesIt)
{
    struct Row
    {
        const char* name;
        UInt32 blockBytes;
        bool nullBlock;
        CAStreamBasicDescription format;
        UInt32 frames, bytes;
    };
    // The list holds 4096 bytes: 512 frames of 2 streams of 4-byte frames.
    const Row rows[] = {
        {"4100 bytes count as 4096", 4100, false, kStereo, 512, 4096},
        {"4112 bytes: frames from the padded stride", 4112, false, kStereo, 512, 4112},
        {"8200 bytes", 8200, false, kStereo, 1024, 8192},
        {"3 interleaved channels", 4096, false, FloatFormat(3, true), 341, 4096},
        {"4095 bytes are too few", 4095, false, kStereo, 0, 0},
        {"null block", 8192, true, kStereo, 0, 0},
        {"format without bytes per frame", 8192, false, WithBytesPerFrame(kStereo, 0), 0, 0},
        {"frames wider than a stream's share", 8192, false, WithBytesPerFrame(kStereo, 8192), 0, 0},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::vector<Byte> block(row.blockBytes);
        AUBufferList buffers;
        buffers.Allocate(kStereo, 512);
        buffers.PrepareBuffer(kStereo, 512);
        buffers.UseExternalBuffer(row.format,
                                  {row.nullBlock ? nullptr : block.data(), row.blockBytes});
        if (row.frames == 0)
        {
            EXPECT_EQ(buffers.GetAllocatedBytes(), 4096u) << "refused";
            EXPECT_EQ(StatusOf([&] { buffers.GetBufferList(); }), noErr);
            continue;
        }
        EXPECT_EQ(buffers.GetAllocatedFrames(), row.frames);
        EXPECT_EQ(buffers.GetAllocatedBytes(), row.bytes);
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

    // Lent blocks stay the host's (freeing one here would be a mismatched free): a second
    // block, a deallocation and growing past a block each only let go of it.
    std::vector<Byte> first(4096), second(8192);
    AUBufferList buffers;
    buffers.Allocate(kStereo, 512);
    buffers.UseExternalBuffer(kStereo, {first.data(), 4096});
    buffers.UseExternalBuffer(kStereo, {second.data(), 8192});
    buffers.Deallocate();
    buffers.Allocate(kStereo, 512);
    buffers.UseExternalBuffer(kStereo, {first.data(), 4096});
    buffers.Allocate(kStereo, 1024);
    EXPECT_EQ(buffers.GetAllocatedBytes(), 8192u);
}

TEST(BufferListCopies, MoveNoMoreThanTheDestinationHoldsAndRefuseUnusableLists)
{
    struct Row
    {
        const char* name;
        std::vector<UInt32> sourceBytes, destinationBytes;
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
        const auto sources = UInt32(row.sourceBytes.size());
        std::vector<std::vector<Byte>> sourceMemory, destinationMemory;
        OwnedList source(sources), destination(UInt32(row.destinationBytes.size()));
        for (UInt32 i = 0; i < sources; ++i)
        {
            sourceMemory.emplace_back(row.sourceBytes[i], Byte(0x10 + i));
            source.List().mBuffers[i] = {1, row.sourceBytes[i], sourceMemory.back().data()};
        }
        for (UInt32 i = 0; i < row.destinationBytes.size(); ++i)
        {
            // A guard byte after each destination buffer shows an overrun.
            destinationMemory.emplace_back(row.destinationBytes[i] + 1, Byte(0xEE));
            Byte* data = row.nullDestination ? nullptr : destinationMemory.back().data();
            destination.List().mBuffers[i] = {1, row.destinationBytes[i], data};
        }
        AUBufferList buffers;
        buffers.Allocate(FloatFormat(std::max(sources, 1u)), 0);
        buffers.SetBufferList(source.List());

        ASSERT_EQ(StatusOf([&] { buffers.CopyBufferContentsTo(destination.List()); }), row.status);
        for (UInt32 i = 0; i < row.copiedBytes.size(); ++i)
        {
            const auto from = Byte(0x10 + std::min(i, sources - 1));
            const std::vector<Byte>& memory = destinationMemory[i];
            EXPECT_EQ(destination.List().mBuffers[i].mDataByteSize, row.copiedBytes[i]);
            EXPECT_EQ(std::count(memory.begin(), memory.end() - 1, from), row.copiedBytes[i]);
            EXPECT_EQ(memory.back(), 0xEE);
        }
    }

    // Copying the list itself: same buffer count and usable pointers only.
    AUBufferList buffers;
    buffers.Allocate(kStereo, 16);
    const AudioBufferList& own = buffers.PrepareBuffer(kStereo, 16);
    OwnedList two(2), three(3);
    buffers.CopyBufferListTo(two.List());
    EXPECT_EQ(two.List().mBuffers[1].mData, own.mBuffers[1].mData);
    EXPECT_EQ(StatusOf([&] { buffers.CopyBufferListTo(three.List()); }), -1);
    buffers.InvalidateBufferList();
    EXPECT_EQ(StatusOf([&] { buffers.CopyBufferListTo(two.List()); }), -1);
}
