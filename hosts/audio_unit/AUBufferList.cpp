#include "hosts/audio_unit/AUBufferList.h"

#include "hosts/audio_unit/AUStatus.h"

#include "platform/Reallocf.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
/** Every stream's share of the memory starts on a 16-byte boundary. */
constexpr UInt64 PaddedTo16(UInt64 bytes)
{
    return (bytes + 15) & ~UInt64(15);
}

/** The buffer list's own status for a list that cannot be used as asked. */
constexpr OSStatus kUnusableBufferList = -1;
} // namespace

AUBufferList::~AUBufferList()
{
    Deallocate();
    std::free(mPtrs);
}

void AUBufferList::Allocate(const CAStreamBasicDescription& format, UInt32 frames)
{
    // The list must be prepared again after every allocation, failed or not.
    mPtrState = kPtrsInvalid;
    const UInt32 streams = format.NumberChannelStreams();
    try
    {
        if (streams > mAllocatedStreams)
        {
            if (streams >= 0x10000000)
                throw std::bad_alloc();
            // reallocf frees the old storage when it fails: forget it together with its size.
            mPtrs = static_cast<AudioBufferList*>(reallocf(mPtrs, AudioBufferListBytes(streams)));
            mAllocatedStreams = mPtrs != nullptr ? streams : 0;
            if (mPtrs == nullptr)
                throw std::bad_alloc();
        }

        if (frames != 0 && format.mBytesPerFrame != 0 && streams != 0)
        {
            if (frames > 0xFFFFFFF0u / format.mBytesPerFrame)
                throw std::bad_alloc();
            const auto bytesPerStream = UInt32(PaddedTo16(UInt64(frames) * format.mBytesPerFrame));
            if (streams > 0xFFFFFFFFu / bytesPerStream)
                throw std::bad_alloc();
            const UInt32 total = streams * bytesPerStream;
            if (total > mAllocatedBytes)
            {
                if (mExternalMemory)
                {
                    // A lent block belongs to the host: let it go without releasing it.
                    mExternalMemory = false;
                    mMemory = nullptr;
                }
                mMemory = static_cast<Byte*>(reallocf(mMemory, total));
                mAllocatedBytes = mMemory != nullptr ? total : 0;
                if (mMemory == nullptr)
                    throw std::bad_alloc();
            }
        }
        mAllocatedFrames = frames;
    }
    catch (...)
    {
        // Whatever memory is still held stays described, but holds no frames until the next
        // successful allocation, so every prepare refuses.
        mAllocatedFrames = 0;
        throw;
    }
}

void AUBufferList::ReleaseMemory()
{
    if (!mExternalMemory)
        std::free(mMemory);
    mMemory = nullptr;
    mExternalMemory = false;
}

void AUBufferList::Deallocate()
{
    mAllocatedStreams = 0;
    mAllocatedFrames = 0;
    mAllocatedBytes = 0;
    ReleaseMemory();
    mPtrState = kPtrsInvalid;
}

AudioBufferList& AUBufferList::LayOut(const CAStreamBasicDescription& format, UInt32 frames,
                                      Byte* base, UInt64 stride)
{
    const UInt32 streams = format.NumberChannelStreams();
    if (streams > mAllocatedStreams)
        ThrowStatus(kAudioUnitErr_FormatNotSupported);
    // A format of no streams never made the list's storage.
    if (mPtrs == nullptr)
        ThrowStatus(kUnusableBufferList);
    const UInt64 bytes = UInt64(frames) * format.mBytesPerFrame;
    if (bytes > 0xFFFFFFFFu)
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);

    mPtrs->mNumberBuffers = streams;
    for (UInt32 i = 0; i < streams; ++i)
    {
        AudioBuffer& buffer = mPtrs->mBuffers[i];
        buffer.mNumberChannels = format.NumberInterleavedChannels();
        buffer.mDataByteSize = UInt32(bytes);
        buffer.mData = base != nullptr ? base + i * stride : nullptr;
    }
    return *mPtrs;
}

AudioBufferList& AUBufferList::PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames)
{
    if (frames > mAllocatedFrames)
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);
    if (format.NumberChannelStreams() > mAllocatedStreams)
        ThrowStatus(kAudioUnitErr_FormatNotSupported);
    const UInt64 stride = PaddedTo16(UInt64(mAllocatedFrames) * format.mBytesPerFrame);
    if (format.NumberChannelStreams() * stride > mAllocatedBytes)
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);

    AudioBufferList& list = LayOut(format, frames, mMemory, stride);
    mPtrState = kPtrsToMyMemory;
    return list;
}

AudioBufferList& AUBufferList::PrepareNullBuffer(const CAStreamBasicDescription& format,
                                                 UInt32 frames)
{
    AudioBufferList& list = LayOut(format, frames, nullptr, 0);
    mPtrState = kPtrsToExternalMemory;
    return list;
}

AudioBufferList& AUBufferList::SetBufferList(const AudioBufferList& list)
{
    if (mPtrs == nullptr || mAllocatedStreams < list.mNumberBuffers)
        ThrowStatus(kUnusableBufferList);
    std::memcpy(static_cast<void*>(mPtrs), &list, AudioBufferListBytes(list.mNumberBuffers));
    mPtrState = kPtrsToExternalMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::GetBufferList() const
{
    if (mPtrState == kPtrsInvalid)
        ThrowStatus(kUnusableBufferList);
    return *mPtrs;
}

void AUBufferList::CopyBufferListTo(AudioBufferList& list) const
{
    const AudioBufferList& source = GetBufferList();
    // The caller's list has room for its own count of buffers only.
    if (source.mNumberBuffers != list.mNumberBuffers)
        ThrowStatus(kUnusableBufferList);
    std::memcpy(static_cast<void*>(&list), &source, AudioBufferListBytes(list.mNumberBuffers));
}

void AUBufferList::CopyBufferContentsTo(AudioBufferList& list) const
{
    const AudioBufferList& source = GetBufferList();
    if (source.mNumberBuffers == 0)
        ThrowStatus(kUnusableBufferList);
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        const AudioBuffer& from = source.mBuffers[std::min(i, source.mNumberBuffers - 1)];
        AudioBuffer& to = list.mBuffers[i];
        if (from.mData == to.mData)
        {
            to.mDataByteSize = from.mDataByteSize;
            continue;
        }
        const UInt32 bytes = std::min(from.mDataByteSize, to.mDataByteSize);
        if (bytes != 0 && (from.mData == nullptr || to.mData == nullptr))
            ThrowStatus(kUnusableBufferList);
        if (bytes != 0)
            std::memmove(to.mData, from.mData, bytes);
        to.mDataByteSize = bytes;
    }
}

void AUBufferList::UseExternalBuffer(const CAStreamBasicDescription& format,
                                     const AudioUnitExternalBuffer& buffer)
{
    const UInt32 byteSize = buffer.size & ~UInt32(15);
    if (mMemory == nullptr || buffer.buffer == nullptr || byteSize < mAllocatedBytes)
        return;
    // Each stream's share is a whole number of 16-byte blocks, so that PrepareBuffer's padded
    // stride for the frames counted here fits the block.
    const UInt32 streams = format.NumberChannelStreams();
    const UInt32 share = streams != 0 ? (byteSize / streams) & ~UInt32(15) : 0;
    if (format.mBytesPerFrame == 0 || share < format.mBytesPerFrame)
        return;

    ReleaseMemory();
    mMemory = buffer.buffer;
    mExternalMemory = true;
    mAllocatedBytes = byteSize;
    mAllocatedFrames = share / format.mBytesPerFrame;
    // The list still points into the memory just let go.
    mPtrState = kPtrsInvalid;
}

void AUBufferList::ZeroBuffer(AudioBufferList& list)
{
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        if (list.mBuffers[i].mData != nullptr)
            std::memset(list.mBuffers[i].mData, 0, list.mBuffers[i].mDataByteSize);
}
