// The AudioBufferList of one bus and the sample memory behind it. The list storage and the
// memory only grow; memory is obtained outside rendering (Allocate), and rendering only lays
// the list over it (PrepareBuffer) or hands the list to the audio's source (PrepareNullBuffer).
#pragma once

#include "hosts/audio_unit/CAStreamBasicDescription.h"

#include "platform/AudioUnitTypes.h"

class AUBufferList
{
public:
    AUBufferList() = default;
    ~AUBufferList();

    /** Room for `frames` frames of `format`, each stream's share padded to 16 bytes. Throws
        std::bad_alloc when the sizes overflow or memory runs out; the capacities then describe
        what is really held. */
    void Allocate(const CAStreamBasicDescription& format, UInt32 frames);
    /** Lets the memory go (a lent block is only forgotten); the list storage stays. */
    void Deallocate();

    /** The list over this list's memory. Throws kAudioUnitErr_TooManyFramesToProcess when the
        frames do not fit, kAudioUnitErr_FormatNotSupported when the list has too few buffers. */
    AudioBufferList& PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    /** The list with null data pointers, for the source of the audio to fill in. */
    AudioBufferList& PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    /** Takes over another list's pointers; throws -1 when they do not fit. */
    AudioBufferList& SetBufferList(const AudioBufferList& list);
    /** Marks the pointers unusable until the next prepare. */
    void InvalidateBufferList() { mPtrState = kPtrsInvalid; }
    /** Throws -1 while the pointers are unusable. */
    AudioBufferList& GetBufferList() const;

    /** Makes `list` point where this list points; throws -1 while the pointers are unusable or
        the buffer counts differ. */
    void CopyBufferListTo(AudioBufferList& list) const;
    /** Copies each buffer's samples into the buffer of the same index of `list` (the last one
        again for extra buffers), never more than the destination holds. Throws -1 while the
        pointers are unusable, when this list has no buffers or a data pointer is null. */
    void CopyBufferContentsTo(AudioBufferList& list) const;

    /** Adopts a host's block as the memory when it holds at least what the list holds now,
        laid out for `format`; a block too small, null, or without room for one frame per
        stream is ignored. */
    void UseExternalBuffer(const CAStreamBasicDescription& format,
                           const AudioUnitExternalBuffer& buffer);

    static void ZeroBuffer(AudioBufferList& list);

    UInt32 GetAllocatedFrames() const { return mAllocatedFrames; }
    UInt32 GetAllocatedBytes() const { return mAllocatedBytes; }

    AUBufferList(const AUBufferList&) = delete;
    AUBufferList& operator=(const AUBufferList&) = delete;

private:
    enum EPtrState : UInt32
    {
        kPtrsInvalid = 0,
        kPtrsToMyMemory = 1,
        kPtrsToExternalMemory = 2,
    };

    /** Lays out one buffer per stream `stride` bytes apart from `base` (or all null). */
    AudioBufferList& LayOut(const CAStreamBasicDescription& format, UInt32 frames, Byte* base,
                            UInt64 stride);
    void ReleaseMemory();

    EPtrState mPtrState = kPtrsInvalid;
    bool mExternalMemory = false;
    AudioBufferList* mPtrs = nullptr;
    Byte* mMemory = nullptr;
    UInt32 mAllocatedStreams = 0;
    UInt32 mAllocatedFrames = 0;
    UInt32 mAllocatedBytes = 0;
};
