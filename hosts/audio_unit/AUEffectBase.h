// An effect: one input bus and one output bus. It checks the channel configuration when the unit
// is initialised, pulls the input on every render call, passes the audio through unchanged when
// bypassed and otherwise hands both buffer lists to ProcessBufferLists, whose default runs one
// kernel per output channel. It also answers the bypass and in-place properties.
//
// Initialisation and clean-up on a host thread may overlap a render: the render takes the main
// buses and the kernels once, at its start, and the kernels it may be running are retired, not
// deleted.
#pragma once

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUKernelBase.h"

#include <atomic>
#include <memory>
#include <vector>

/** Whether the channel counts of a unit's buses match one of its supported pairs, in order
    (negative counts are wildcards: -1 any count, (-1, -1) equal counts, (-1, -2) and (-2, -1) any
    counts). Without a table the counts must be equal and not 0. Counts that do not fit a signed
    16-bit value match nothing. */
bool AUChannelConfigurationMatches(const AUChannelInfo* table, UInt32 tableSize, UInt32 numIn,
                                   UInt32 numOut);

class AUEffectBase : public AUBase
{
public:
    /** One input bus and one output bus. */
    AUEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace);
    ~AUEffectBase() override;

    /** The channel check, the kernels, the main buses and the output's sample format;
        kAudioUnitErr_FormatNotSupported for channel counts the unit cannot process. */
    OSStatus Initialize() override;
    void Cleanup() override;
    /** Resets every kernel, then the unit; the silence time-out runs on. */
    OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement) override;

    /** The bypass and in-place properties, in the global scope. */
    OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement, UInt32& outDataSize,
                             bool& outWritable) override;
    OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, void* outData) override;
    /** Both values are 32-bit words: a shorter one answers kAudioUnitErr_InvalidPropertyValue.
        Turning bypass off on an initialised unit resets it first. */
    OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, const void* inData,
                         UInt32 inDataSize) override;

    bool CanScheduleParameters() const override { return true; }
    /** Only while not initialised. */
    bool StreamFormatWritable(AudioUnitScope, AudioUnitElement) override
    {
        return !IsInitialized();
    }
    OSStatus ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                                const CAStreamBasicDescription& inPrevFormat,
                                const CAStreamBasicDescription& inNewFormat) override;

    /** Pulls the input, then copies it when bypassed, or processes it (slice by slice when
        parameter events are scheduled). */
    OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                    UInt32 inFramesToProcess) override;
    /** Runs the kernels on 32-bit float, 8.24 fixed-point or 16-bit samples; any other format
        throws CAException (kAudio_UnimplementedError), and lists whose buffers or channels per
        buffer differ throw CAException (kAudio_ParamError) before any kernel runs. */
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                const AudioBufferList& inBuffer, AudioBufferList& outBuffer,
                                UInt32 inFramesToProcess) override;
    OSStatus ProcessScheduledSlice(void* inUserData, UInt32 inStartFrameInBuffer,
                                   UInt32 inSliceFramesToProcess,
                                   UInt32 inTotalBufferFrames) override;

    /** A kernel for one output channel; null means none. */
    virtual std::unique_ptr<AUKernelBase> NewKernel() { return nullptr; }
    virtual bool ShouldBypassEffect() { return mBypassEffect.load(std::memory_order_relaxed); }
    virtual void SetBypassEffect(bool inFlag)
    {
        mBypassEffect.store(inFlag, std::memory_order_relaxed);
    }

    /** One kernel per output channel, each numbered by its channel. */
    void MaintainKernels();
    bool ProcessesInPlace() const { return mProcessesInPlace.load(std::memory_order_relaxed); }

protected:
    /** Whether the output may be reported silent: silent input, and the latency and tail of an
        earlier sound have run out. */
    bool IsInputSilent(AudioUnitRenderActionFlags inActionFlags, UInt32 inFramesToProcess);

    /** The kernels, owned here on the host's side; renders run them from the processing
        record, which points at them. */
    std::vector<std::unique_ptr<AUKernelBase>> mKernelList;

private:
    /** The frames still treated as sounding after the input turned silent. */
    struct AUSilentTimeout
    {
        SInt32 mTimeoutCounter = 0;
        bool mResetTimer = true;
    };

    /** What a render processes with, published whole by initialisation and by changes of the
        kernels. When a record is replaced it takes the kernels let go of with it, so they live
        until no render can run them. */
    struct Processing
    {
        std::vector<AUKernelBase*> kernels;
        CAStreamBasicDescription::CommonPCMFormat mCommonPCMFormat =
            CAStreamBasicDescription::kPCMFormatOther;
        UInt32 mBytesPerFrame = 0;
        std::vector<std::unique_ptr<AUKernelBase>> released;
    };
    using ProcessingRecord = AURetirableValue<Processing>;

    /** What Render hands each scheduled slice, and how far the slices have moved the lists. */
    struct ScheduledProcessParams
    {
        AudioUnitRenderActionFlags* actionFlags;
        AudioBufferList* inputBufferList;
        AudioBufferList* outputBufferList;
        UInt32 framesDone;
    };

    /** Runs every kernel on one sample format. */
    template <typename Sample>
    void ProcessKernels(const Processing& processing, const AudioBufferList& inBuffer,
                        AudioBufferList& outBuffer, UInt32 inFramesToProcess,
                        AudioUnitRenderActionFlags& ioActionFlags);
    /** Moves every buffer of a list by a number of frames and sizes it for that many frames. */
    void ShiftBuffers(AudioBufferList& list, SInt64 frameShift, UInt32 frames) const;
    /** A record with room for this many kernels (at least those of mKernelList). */
    std::unique_ptr<ProcessingRecord> NewProcessing(size_t room = 0) const;
    /** Publishes the record with the kernels of mKernelList; the record it replaces takes the
        kernels let go of. */
    void PublishProcessing(std::unique_ptr<ProcessingRecord> next,
                           std::vector<std::unique_ptr<AUKernelBase>> letGo) noexcept;
    /** The record the render in progress took, or else the present one. */
    const Processing* RenderProcessing() const;
    void CleanupKernelsAndBuses();

    std::atomic<bool> mBypassEffect{false};
    /** Never set in this system: parameters here do not depend on the sample rate. */
    bool mParamSRDep = false;
    std::atomic<bool> mProcessesInPlace;
    AUSilentTimeout mSilentTimeout;
    std::atomic<AUOutputElement*> mMainOutput{nullptr};
    std::atomic<AUInputElement*> mMainInput{nullptr};
    std::atomic<ProcessingRecord*> mProcessing{nullptr};
    /** Render thread: the record the render in progress took. */
    const ProcessingRecord* mRenderProcessing = nullptr;
};
