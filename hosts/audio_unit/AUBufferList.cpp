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

AUBufferList::Holding::~Holding()
{
    std::free(releasedMemory);
    std::free(releasedPtrs);
}

AUBufferList::~AUBufferList()
{
    if (Holding* const last = mCurrent.load())
    {
        last->releasedMemory = last->externalMemory ? nullptr : last->memory;
        last->releasedPtrs = last->ptrs;
        delete last;
    }
}

std::unique_ptr<AUBufferList::Holding> AUBufferList::Successor(const Holding* current)
{
    auto next = std::make_unique<Holding>();
    if (current != nullptr)
    {
        next->memory = current->memory;
        next->externalMemory = current->externalMemory;
        next->ptrs = current->ptrs;
        next->streams = current->streams;
        next->frames = current->frames;
        next->bytes = current->bytes;
    }
    return next;
}

bool AUBufferList::Holding::HoldsAsMuchAs(const Holding& other) const
{
    return memory == other.memory && externalMemory == other.externalMemory && ptrs == other.ptrs &&
           streams == other.streams && frames == other.frames && bytes == other.bytes;
}

void AUBufferList::Replace(std::unique_ptr<Holding> next, Byte* letGoMemory,
                           AudioBufferList* letGoPtrs)
{
    // Asked again for what it holds: a new holding would only be retired, one for every render
    // whose notification or callback sets the same again.
    const Holding* const current = mCurrent.load();
    if (current != nullptr && letGoMemory == nullptr && letGoPtrs == nullptr &&
        next->HoldsAsMuchAs(*current))
        return;
    Holding* const previous = mCurrent.exchange(next.release());
    // A holding always comes before anything can be let go of it.
    if (previous == nullptr)
        return;
    previous->releasedMemory = letGoMemory;
    previous->releasedPtrs = letGoPtrs;
    RetireOrFree(mRetirement, previous);
}

void AUBufferList::Allocate(const CAStreamBasicDescription& format, UInt32 frames)
{
    // Every allocation, failed or not, gives a new holding whose list must be prepared again;
    // a render that pinned the old one goes on with it.
    std::unique_ptr<Holding> next = Successor(mCurrent.load());
    Byte* letGoMemory = nullptr;
    AudioBufferList* letGoPtrs = nullptr;
    const UInt32 streams = format.NumberChannelStreams();
    try
    {
        if (streams > next->streams)
        {
            if (streams >= 0x10000000)
                throw std::bad_alloc();
            // The old storage goes whether or not the new one comes, so a failure leaves no
            // stale capacity.
            letGoPtrs = std::exchange(next->ptrs, nullptr);
            next->streams = 0;
            next->ptrs =
                static_cast<AudioBufferList*>(reallocf(nullptr, AudioBufferListBytes(streams)));
            if (next->ptrs == nullptr)
                throw std::bad_alloc();
            next->streams = streams;
        }

        if (frames != 0 && format.mBytesPerFrame != 0 && streams != 0)
        {
            if (frames > 0xFFFFFFF0u / format.mBytesPerFrame)
                throw std::bad_alloc();
            const auto bytesPerStream = UInt32(PaddedTo16(UInt64(frames) * format.mBytesPerFrame));
            if (streams > 0xFFFFFFFFu / bytesPerStream)
                throw std::bad_alloc();
            const UInt32 total = streams * bytesPerStream;
            if (total > next->bytes)
            {
                // A lent block belongs to the host: it is let go without being released.
                if (!next->externalMemory)
                    letGoMemory = next->memory;
                next->memory = nullptr;
                next->externalMemory = false;
                next->bytes = 0;
                next->memory = static_cast<Byte*>(reallocf(nullptr, total));
                if (next->memory == nullptr)
                    throw std::bad_alloc();
                // A render of a sample time already rendered hands out what the buffer holds:
                // never memory nobody wrote.
                std::memset(next->memory, 0, total);
                next->bytes = total;
            }
        }
        next->frames = frames;
    }
    catch (...)
    {
        // Whatever memory is still held stays described, but holds no frames until the next
        // successful allocation, so every prepare refuses.
        next->frames = 0;
        Replace(std::move(next), letGoMemory, letGoPtrs);
        throw;
    }
    Replace(std::move(next), letGoMemory, letGoPtrs);
}

void AUBufferList::Deallocate()
{
    Holding* const previous = mCurrent.exchange(nullptr);
    if (previous == nullptr)
        return;
    previous->releasedMemory = previous->externalMemory ? nullptr : previous->memory;
    previous->releasedPtrs = previous->ptrs;
    RetireOrFree(mRetirement, previous);
}

UInt32 AUBufferList::GetAllocatedFrames() const
{
    const Holding* current = mCurrent.load();
    return current != nullptr ? current->frames : 0;
}

UInt32 AUBufferList::GetAllocatedBytes() const
{
    const Holding* current = mCurrent.load();
    return current != nullptr ? current->bytes : 0;
}

AudioBufferList& AUBufferList::LayOut(Holding* holding, const CAStreamBasicDescription& format,
                                      UInt32 frames, Byte* base, UInt64 stride)
{
    const UInt32 streams = format.NumberChannelStreams();
    if (streams > (holding != nullptr ? holding->streams : 0))
        ThrowStatus(kAudioUnitErr_FormatNotSupported);
    // A format of no streams never made the list's storage.
    if (holding == nullptr || holding->ptrs == nullptr)
        ThrowStatus(kUnusableBufferList);
    const UInt64 bytes = UInt64(frames) * format.mBytesPerFrame;
    if (bytes > 0xFFFFFFFFu)
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);

    AudioBufferList& list = *holding->ptrs;
    list.mNumberBuffers = streams;
    for (UInt32 i = 0; i < streams; ++i)
    {
        AudioBuffer& buffer = list.mBuffers[i];
        buffer.mNumberChannels = format.NumberInterleavedChannels();
        buffer.mDataByteSize = UInt32(bytes);
        buffer.mData = base != nullptr ? base + i * stride : nullptr;
    }
    return list;
}

AudioBufferList& AUBufferList::PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames)
{
    Holding* const holding = Active();
    const UInt32 heldFrames = holding != nullptr ? holding->frames : 0;
    if (frames > heldFrames)
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);
    if (format.NumberChannelStreams() > (holding != nullptr ? holding->streams : 0))
        ThrowStatus(kAudioUnitErr_FormatNotSupported);
    const UInt64 stride = PaddedTo16(UInt64(heldFrames) * format.mBytesPerFrame);
    if (format.NumberChannelStreams() * stride > (holding != nullptr ? holding->bytes : 0))
        ThrowStatus(kAudioUnitErr_TooManyFramesToProcess);

    AudioBufferList& list =
        LayOut(holding, format, frames, holding != nullptr ? holding->memory : nullptr, stride);
    holding->ptrState = kPtrsToMyMemory;
    return list;
}

AudioBufferList& AUBufferList::PrepareNullBuffer(const CAStreamBasicDescription& format,
                                                 UInt32 frames)
{
    Holding* const holding = Active();
    AudioBufferList& list = LayOut(holding, format, frames, nullptr, 0);
    holding->ptrState = kPtrsToExternalMemory;
    return list;
}

AudioBufferList& AUBufferList::SetBufferList(const AudioBufferList& list)
{
    Holding* const holding = Active();
    if (holding == nullptr || holding->ptrs == nullptr || holding->streams < list.mNumberBuffers)
        ThrowStatus(kUnusableBufferList);
    std::memcpy(static_cast<void*>(holding->ptrs), &list,
                AudioBufferListBytes(list.mNumberBuffers));
    holding->ptrState = kPtrsToExternalMemory;
    return *holding->ptrs;
}

void AUBufferList::InvalidateBufferList()
{
    if (Holding* const holding = Active())
        holding->ptrState = kPtrsInvalid;
}

AudioBufferList& AUBufferList::GetBufferList() const
{
    const Holding* const holding = Active();
    if (holding == nullptr || holding->ptrState == kPtrsInvalid)
        ThrowStatus(kUnusableBufferList);
    return *holding->ptrs;
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
    const Holding* const current = mCurrent.load();
    const UInt32 byteSize = buffer.size & ~UInt32(15);
    if (current == nullptr || current->memory == nullptr || buffer.buffer == nullptr ||
        byteSize < current->bytes)
        return;
    // Each stream's share is a whole number of 16-byte blocks, so that PrepareBuffer's padded
    // stride for the frames counted here fits the block.
    const UInt32 streams = format.NumberChannelStreams();
    const UInt32 share = streams != 0 ? (byteSize / streams) & ~UInt32(15) : 0;
    if (format.mBytesPerFrame == 0 || share < format.mBytesPerFrame)
        return;

    std::unique_ptr<Holding> next = Successor(current);
    next->memory = buffer.buffer;
    next->externalMemory = true;
    next->bytes = byteSize;
    next->frames = share / format.mBytesPerFrame;
    // A render still using the memory let go of keeps it until the render is over.
    Replace(std::move(next), current->externalMemory ? nullptr : current->memory, nullptr);
}

void AUBufferList::ZeroBuffer(AudioBufferList& list)
{
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        if (list.mBuffers[i].mData != nullptr)
            std::memset(list.mBuffers[i].mData, 0, list.mBuffers[i].mDataByteSize);
}
