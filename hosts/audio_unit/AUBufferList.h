// The AudioBufferList of one bus and the sample memory behind it. The list storage and the
// memory only grow; memory is obtained outside rendering (Allocate), and rendering only lays
// the list over it (PrepareBuffer) or hands the list to the audio's source (PrepareNullBuffer).
//
// Host threads allocate, lend and release while a render may be using the list: what the list
// holds is one record, replaced whole, and the record a render pinned stays alive (with its
// memory) until no render is in flight, through the unit's retirement.
#pragma once

#include "hosts/audio_unit/AURetirement.h"
#include "hosts/audio_unit/CAStreamBasicDescription.h"

#include "platform/AudioUnitTypes.h"

#include <atomic>
#include <memory>

class AUBufferList
{
public:
    /** Without a retirement, what the list lets go of is freed at once: nothing renders from it
        on another thread. */
    explicit AUBufferList(AURetirement* retirement = nullptr) : mRetirement(retirement) {}
    ~AUBufferList();

    /** Room for `frames` frames of `format`, each stream's share padded to 16 bytes. Throws
        std::bad_alloc when the sizes overflow or memory runs out; the capacities then describe
        what is really held. Host threads. */
    void Allocate(const CAStreamBasicDescription& format, UInt32 frames);
    /** Lets the memory go (a lent block is only forgotten). Host threads. */
    void Deallocate();

    /** The list over this list's memory. Throws kAudioUnitErr_TooManyFramesToProcess when the
        frames do not fit, kAudioUnitErr_FormatNotSupported when the list has too few buffers. */
    AudioBufferList& PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    /** The list with null data pointers, for the source of the audio to fill in. */
    AudioBufferList& PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    /** Takes over another list's pointers; throws -1 when they do not fit. */
    AudioBufferList& SetBufferList(const AudioBufferList& list);
    /** Marks the pointers unusable until the next prepare. */
    void InvalidateBufferList();
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
        stream is ignored. Host threads. */
    void UseExternalBuffer(const CAStreamBasicDescription& format,
                           const AudioUnitExternalBuffer& buffer);

    static void ZeroBuffer(AudioBufferList& list);

    /** Render thread: from here until Unpin the calls above that lay out, read and copy the
        list use what the list holds now, whatever a host thread replaces meanwhile. */
    void PinForRender() noexcept
    {
        mPinned = mCurrent.load();
        mRenderPinned = true;
    }
    void UnpinAfterRender() noexcept
    {
        mRenderPinned = false;
        mPinned = nullptr;
    }

    UInt32 GetAllocatedFrames() const;
    UInt32 GetAllocatedBytes() const;

    AUBufferList(const AUBufferList&) = delete;
    AUBufferList& operator=(const AUBufferList&) = delete;

private:
    enum EPtrState : UInt32
    {
        kPtrsInvalid = 0,
        kPtrsToMyMemory = 1,
        kPtrsToExternalMemory = 2,
    };

    /** What the list holds. Its capacities and blocks never change once published; the list
        laid out in `ptrs` and its state belong to whoever lays it out (the render). */
    struct Holding : AURetirable
    {
        /** Frees what the holding that replaced this one let go of. */
        ~Holding() override;
        /** The same blocks and capacities. */
        bool HoldsAsMuchAs(const Holding& other) const;

        Byte* memory = nullptr;
        bool externalMemory = false;
        /** Room for `streams` buffers. */
        AudioBufferList* ptrs = nullptr;
        UInt32 streams = 0;
        UInt32 frames = 0;
        UInt32 bytes = 0;
        EPtrState ptrState = kPtrsInvalid;

        Byte* releasedMemory = nullptr;
        AudioBufferList* releasedPtrs = nullptr;
    };

    /** A new holding with the present one's blocks and capacities, its list unusable. */
    static std::unique_ptr<Holding> Successor(const Holding* current);
    /** Publishes `next` and retires the present holding with the blocks `next` let go of;
        unless `next` holds just what the present one does, which stays. */
    void Replace(std::unique_ptr<Holding> next, Byte* letGoMemory, AudioBufferList* letGoPtrs);
    /** The holding the render pinned, or else the present one. */
    Holding* Active() const noexcept { return mRenderPinned ? mPinned : mCurrent.load(); }
    /** Lays out one buffer per stream `stride` bytes apart from `base` (or all null). */
    static AudioBufferList& LayOut(Holding* holding, const CAStreamBasicDescription& format,
                                   UInt32 frames, Byte* base, UInt64 stride);

    AURetirement* const mRetirement;
    std::atomic<Holding*> mCurrent{nullptr};
    Holding* mPinned = nullptr;
    bool mRenderPinned = false;
};
