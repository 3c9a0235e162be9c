// This program puts its own reallocf in front of the platform's, to make a chosen call fail.
#include "tests/audio_unit/TestUnit.h"

#include "platform/Reallocf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

using namespace autest;

namespace
{
int gCallsUntilFailure = -1;
int gCalls = 0;
} // namespace

void* reallocf(void* block, size_t size)
{
    ++gCalls;
    if (gCallsUntilFailure >= 0 && gCallsUntilFailure-- == 0)
    {
        std::free(block);
        return nullptr;
    }
    void* const grown = std::realloc(block, size != 0 ? size : 1);
    if (grown == nullptr)
        std::free(block);
    return grown;
}

TEST(BufferListAllocationFailure, LeavesNoStaleCapacityAndTheNextPrepareRefuses)
{
    struct Row
    {
        const char* name;
        /** A good allocation first, or none. */
        bool allocatedBefore;
        /** The reallocf call of the failing allocation that fails; -1 for none. */
        int failingCall;
        CAStreamBasicDescription format;
        UInt32 frames;
        int reallocCalls;
        OSStatus nextPrepare;
        OSStatus nextNullPrepare;
    };
    const auto stereo = FloatFormat(2);
    CAStreamBasicDescription wide = FloatFormat(2);
    wide.mBytesPerFrame = wide.mBytesPerPacket = 8;
    const Row rows[] = {
        {"list storage of a new list", false, 0, stereo, 512, 1,
         kAudioUnitErr_TooManyFramesToProcess, kAudioUnitErr_FormatNotSupported},
        {"memory of a new list", false, 1, stereo, 512, 2, kAudioUnitErr_TooManyFramesToProcess,
         noErr},
        {"growing the list storage", true, 0, FloatFormat(4), 512, 1,
         kAudioUnitErr_TooManyFramesToProcess, kAudioUnitErr_FormatNotSupported},
        {"growing the memory", true, 0, stereo, 1024, 1, kAudioUnitErr_TooManyFramesToProcess,
         noErr},
        {"frames times frame size overflows", true, -1, wide, 0x20000000, 0,
         kAudioUnitErr_TooManyFramesToProcess, noErr},
        {"streams times stride overflows", true, -1, FloatFormat(4), 0x10000000, 1,
         kAudioUnitErr_TooManyFramesToProcess, noErr},
        {"too many streams", true, -1, FloatFormat(0x10000000), 1, 0,
         kAudioUnitErr_TooManyFramesToProcess, noErr},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        AUBufferList buffers;
        if (row.allocatedBefore)
            buffers.Allocate(stereo, 512);
        gCalls = 0;
        gCallsUntilFailure = row.failingCall;
        EXPECT_THROW(buffers.Allocate(row.format, row.frames), std::bad_alloc);
        gCallsUntilFailure = -1;
        EXPECT_EQ(gCalls, row.reallocCalls);

        EXPECT_EQ(buffers.GetAllocatedFrames(), 0u);
        EXPECT_EQ(StatusOf([&] { buffers.PrepareBuffer(stereo, 1); }), row.nextPrepare);
        EXPECT_EQ(StatusOf([&] { buffers.PrepareNullBuffer(stereo, 1); }), row.nextNullPrepare);

        // A later allocation that succeeds makes the list usable again.
        buffers.Allocate(stereo, 64);
        AudioBufferList& list = buffers.PrepareBuffer(stereo, 64);
        static_cast<float*>(list.mBuffers[1].mData)[63] = 1.0f;
    }
}
