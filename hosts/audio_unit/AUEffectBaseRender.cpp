// The effect's render: pull the input, pass it through when bypassed, otherwise process it, in
// slices when parameter events are scheduled; the default processing runs one kernel per output
// channel and keeps the silence time-out. Nothing here allocates or locks.
#include "hosts/audio_unit/AUEffectBase.h"

#include "hosts/audio_unit/AUInputElement.h"
#include "hosts/audio_unit/CAException.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

OSStatus AUEffectBase::Render(AudioUnitRenderActionFlags& ioActionFlags,
                              const AudioTimeStamp& inTimeStamp, UInt32 inFramesToProcess)
{
    // Taken once, before the check that the unit has not been cleaned up or initialised since
    // the render began: a clean-up on a host thread later in the render clears the fields, and
    // what they pointed at stays alive until the render is over.
    AUInputElement* const input = mMainInput.load();
    AUOutputElement* const output = mMainOutput.load();
    const ProcessingRecord* const processing = mProcessing.load();
    AUIOElement::RenderPin inputPin;
    if (input != nullptr)
        inputPin.Pin(*input);
    if (!RenderStateIsCurrent())
        return kAudioUnitErr_Uninitialized;
    if (input == nullptr || output == nullptr || !input->IsActive())
        return kAudioUnitErr_NoConnection;
    struct TakenProcessing
    {
        TakenProcessing(AUEffectBase& owner, const ProcessingRecord* record)
            : unit(owner), outer(std::exchange(owner.mRenderProcessing, record))
        {
        }
        ~TakenProcessing() { unit.mRenderProcessing = outer; }
        AUEffectBase& unit;
        const ProcessingRecord* const outer;
    } const taken(*this, processing);

    if (const OSStatus result = input->PullInput(ioActionFlags, inTimeStamp, 0, inFramesToProcess);
        result != noErr)
        return result;
    // A render callback that initialised the unit anew changed what this render took: it answers
    // as after a notification that did so. One that only uninitialised it built nothing new, and
    // the render goes on with what it took.
    if (IsInitialized() && !RenderStateIsCurrent())
        return kAudioUnitErr_Uninitialized;

    const bool inPlace = ProcessesInPlace();
    if (inPlace && output->WillAllocateBuffer())
        output->IOBuffer().SetBufferList(input->GetBufferList());
    AudioBufferList& inputList = input->GetBufferList();
    AudioBufferList& outputList = output->GetBufferList();

    if (ShouldBypassEffect())
    {
        // Shared buffers already hold the input: the copy skips them.
        input->IOBuffer().CopyBufferContentsTo(outputList);
        return noErr;
    }

    OSStatus result;
    if (mParamList.empty())
    {
        result = ProcessBufferLists(ioActionFlags, inputList, outputList, inFramesToProcess);
    }
    else
    {
        ScheduledProcessParams slices{&ioActionFlags, &inputList, &outputList, 0};
        result = ProcessForScheduledParams(mParamList, inFramesToProcess, &slices);
        // Back to where the lists started, sized for the whole call.
        ShiftBuffers(inputList, -SInt64(slices.framesDone), inFramesToProcess);
        ShiftBuffers(outputList, -SInt64(slices.framesDone), inFramesToProcess);
    }

    if ((ioActionFlags & kAudioUnitRenderAction_OutputIsSilence) != 0 && !inPlace)
        AUBufferList::ZeroBuffer(outputList);
    return result;
}

OSStatus AUEffectBase::ProcessScheduledSlice(void* inUserData, UInt32,
                                             UInt32 inSliceFramesToProcess, UInt32)
{
    // The slices arrive in order; the lists walk through the buffers and Render puts them back.
    auto& slices = *static_cast<ScheduledProcessParams*>(inUserData);
    ShiftBuffers(*slices.inputBufferList, 0, inSliceFramesToProcess);
    ShiftBuffers(*slices.outputBufferList, 0, inSliceFramesToProcess);
    const OSStatus result = ProcessBufferLists(*slices.actionFlags, *slices.inputBufferList,
                                               *slices.outputBufferList, inSliceFramesToProcess);
    ShiftBuffers(*slices.inputBufferList, inSliceFramesToProcess, inSliceFramesToProcess);
    ShiftBuffers(*slices.outputBufferList, inSliceFramesToProcess, inSliceFramesToProcess);
    slices.framesDone += inSliceFramesToProcess;
    return result;
}

const AUEffectBase::Processing* AUEffectBase::RenderProcessing() const
{
    const ProcessingRecord* record =
        mRenderProcessing != nullptr ? mRenderProcessing : mProcessing.load();
    return record != nullptr ? &record->value : nullptr;
}

void AUEffectBase::ShiftBuffers(AudioBufferList& list, SInt64 frameShift, UInt32 frames) const
{
    // mBytesPerFrame covers every channel a buffer carries, interleaved or not.
    const Processing* processing = RenderProcessing();
    const UInt32 bytesPerFrame = processing != nullptr ? processing->mBytesPerFrame : 0;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        AudioBuffer& buffer = list.mBuffers[i];
        buffer.mDataByteSize = frames * bytesPerFrame;
        if (buffer.mData != nullptr)
            buffer.mData = static_cast<Byte*>(buffer.mData) + frameShift * SInt64(bytesPerFrame);
    }
}

OSStatus AUEffectBase::ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                          const AudioBufferList& inBuffer,
                                          AudioBufferList& outBuffer, UInt32 inFramesToProcess)
{
    if (ShouldBypassEffect())
        return noErr;
    const Processing* processing = RenderProcessing();
    switch (processing != nullptr ? processing->mCommonPCMFormat
                                  : CAStreamBasicDescription::kPCMFormatOther)
    {
    case CAStreamBasicDescription::kPCMFormatFloat32:
        ProcessKernels<Float32>(*processing, inBuffer, outBuffer, inFramesToProcess, ioActionFlags);
        break;
    case CAStreamBasicDescription::kPCMFormatFixed824:
        ProcessKernels<SInt32>(*processing, inBuffer, outBuffer, inFramesToProcess, ioActionFlags);
        break;
    case CAStreamBasicDescription::kPCMFormatInt16:
        ProcessKernels<SInt16>(*processing, inBuffer, outBuffer, inFramesToProcess, ioActionFlags);
        break;
    default:
        throw CAException(kAudio_UnimplementedError);
    }
    return noErr;
}

namespace
{
/** Whether `buffer` holds `frames` frames of `channels` samples each. */
template <typename Sample> bool Holds(const AudioBuffer& buffer, UInt32 frames, UInt32 channels)
{
    return frames == 0 || (buffer.mData != nullptr &&
                           buffer.mDataByteSize >= UInt64(frames) * channels * sizeof(Sample));
}

/** How many kernels run, each inside the buffers it is given: with one input buffer, kernel c
    takes channel c of it and of output buffer 0 at the input's stride, so both buffers must have
    that many channels; otherwise kernel c takes buffer c of each list. Any other layout throws
    before a kernel runs. */
template <typename Sample>
size_t KernelsInside(const AudioBufferList& in, const AudioBufferList& out, UInt32 frames,
                     size_t numKernels)
{
    if (in.mNumberBuffers == 1)
    {
        const UInt32 channels = in.mBuffers[0].mNumberChannels;
        if (channels == 0 || out.mNumberBuffers == 0 ||
            out.mBuffers[0].mNumberChannels != channels ||
            !Holds<Sample>(in.mBuffers[0], frames, channels) ||
            !Holds<Sample>(out.mBuffers[0], frames, channels))
            throw CAException(kAudio_ParamError);
        return std::min<size_t>(numKernels, channels);
    }
    const size_t count = std::min<size_t>({numKernels, in.mNumberBuffers, out.mNumberBuffers});
    for (size_t c = 0; c < count; ++c)
        if (!Holds<Sample>(in.mBuffers[c], frames, 1) || !Holds<Sample>(out.mBuffers[c], frames, 1))
            throw CAException(kAudio_ParamError);
    return count;
}
} // namespace

template <typename Sample>
void AUEffectBase::ProcessKernels(const Processing& processing, const AudioBufferList& inBuffer,
                                  AudioBufferList& outBuffer, UInt32 inFramesToProcess,
                                  AudioUnitRenderActionFlags& ioActionFlags)
{
    const bool silentInput = IsInputSilent(ioActionFlags, inFramesToProcess);
    ioActionFlags |= kAudioUnitRenderAction_OutputIsSilence;
    const auto run = [&](AUKernelBase& kernel, const void* source, void* destination, UInt32 stride)
    {
        bool silence = silentInput;
        kernel.Process(static_cast<const Sample*>(source), static_cast<Sample*>(destination),
                       inFramesToProcess, stride, silence);
        if (!silence)
            ioActionFlags &= ~AudioUnitRenderActionFlags(kAudioUnitRenderAction_OutputIsSilence);
    };
    const std::vector<AUKernelBase*>& kernels = processing.kernels;
    const size_t count =
        KernelsInside<Sample>(inBuffer, outBuffer, inFramesToProcess, kernels.size());

    if (inBuffer.mNumberBuffers == 1)
    {
        const AudioBuffer& source = inBuffer.mBuffers[0];
        const AudioBuffer& destination = outBuffer.mBuffers[0];
        for (size_t c = 0; c < count; ++c)
            if (kernels[c] != nullptr)
                run(*kernels[c], static_cast<const Sample*>(source.mData) + c,
                    static_cast<Sample*>(destination.mData) + c, source.mNumberChannels);
        return;
    }
    for (size_t c = 0; c < count; ++c)
        if (kernels[c] != nullptr)
            run(*kernels[c], inBuffer.mBuffers[c].mData, outBuffer.mBuffers[c].mData, 1);
}

bool AUEffectBase::IsInputSilent(AudioUnitRenderActionFlags inActionFlags, UInt32 inFramesToProcess)
{
    const bool silent = (inActionFlags & kAudioUnitRenderAction_OutputIsSilence) != 0;
    const Float64 rate = Outputs().GetIOElement(0)->RenderStreamFormat().mSampleRate;
    const Float64 soundingSeconds = GetLatency() + GetTailTime();
    if (!silent)
    {
        mSilentTimeout.mResetTimer = true;
        return false;
    }
    if (mSilentTimeout.mResetTimer)
    {
        // Truncated toward zero through 64 bits, the low 32 bits kept; a rate or time that is
        // not a number, or out of range, counts nothing.
        const Float64 frames = std::trunc(rate * soundingSeconds);
        constexpr Float64 kLimit = 9.2e18;
        const SInt64 whole = frames > -kLimit && frames < kLimit ? SInt64(frames) : 0;
        mSilentTimeout.mTimeoutCounter = SInt32(UInt32(UInt64(whole)));
        mSilentTimeout.mResetTimer = false;
    }
    if (mSilentTimeout.mTimeoutCounter > 0)
    {
        mSilentTimeout.mTimeoutCounter =
            SInt32(std::max<SInt64>(SInt64(mSilentTimeout.mTimeoutCounter) - inFramesToProcess,
                                    std::numeric_limits<SInt32>::min()));
        return false;
    }
    return true;
}
