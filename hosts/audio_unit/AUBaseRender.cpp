// The render path: the request checks, the render notifications before and after, the bus
// render into the caller's or the unit's memory, and the recording of render errors. Nothing
// here allocates or locks; the one log line is throttled to once a second.
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUIOElement.h"
#include "hosts/audio_unit/AURenderLog.h"
#include "hosts/audio_unit/AUStatus.h"
#include "hosts/audio_unit/ScopedFlushToZero.h"

/** One render from its start to its end. It reads what host calls retire, so nothing it holds
    is freed under it. The outermost render of the unit notes where its initialisations and
    clean-ups stand; a render of the unit nested in it (a cycle through a connection) goes by the
    same note. The unit also knows which thread it is rendering on, so that a render nested in
    its own on that thread is found. */
class AUBase::RenderInFlight
{
public:
    explicit RenderInFlight(AUBase& unit)
        : mUnit(unit), mReading(unit.mRetirement), mSelf(pthread_self()),
          mNested(pthread_equal(unit.mRenderingThread.load(std::memory_order_relaxed), mSelf) != 0)
    {
        if (mReading.IsOutermost())
            mUnit.mRenderLifecycle = mUnit.mLifecycleChanges.load();
        if (!mNested)
            mUnit.mRenderingThread.store(mSelf, std::memory_order_relaxed);
    }
    ~RenderInFlight()
    {
        if (!mNested)
            mUnit.mRenderingThread.store(pthread_t{}, std::memory_order_relaxed);
    }
    /** Inside a render of the same unit on the same thread. */
    bool IsNested() const noexcept { return mNested; }

    RenderInFlight(const RenderInFlight&) = delete;
    RenderInFlight& operator=(const RenderInFlight&) = delete;

private:
    AUBase& mUnit;
    const AURetirement::Reading mReading;
    const pthread_t mSelf;
    const bool mNested;
};

OSStatus AUBase::DoRender(AudioUnitRenderActionFlags& ioActionFlags,
                          const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                          UInt32 inNumberFrames, AudioBufferList& ioData)
{
    const RenderInFlight rendering(*this);
    // A unit fed from its own output (directly or through other units) is asked to render again
    // from inside its render. At the sample time it is rendering, RenderBus answers from that
    // render; at any other (a NaN never equals one) it would recurse until the stack runs out.
    // Refused, and recorded like a refused request.
    if (rendering.IsNested() && !(inTimeStamp.mSampleTime == CurrentRenderSampleTime()))
    {
        RecordRenderError(-1);
        return -1;
    }
    const ScopedFlushToZero flushToZero;
    OSStatus result;
    bool requestChecked = false;
    try
    {
        AUIOElement* output = nullptr;
        AUIOElement::RenderPin outputPin;
        result = CheckRenderRequest(inBusNumber, inNumberFrames, ioData, output, outputPin);
        if (result == noErr)
        {
            requestChecked = true;
            if (mWantsRenderThreadID)
                mRenderThreadID.store(pthread_self(), std::memory_order_relaxed);
            const bool notifying = mRenderCallbacksTouched.load(std::memory_order_acquire);
            if (notifying)
            {
                mRenderCallbacks.Update();
                CallRenderNotifications(ioActionFlags | kAudioUnitRenderAction_PreRender,
                                        inTimeStamp, inBusNumber, inNumberFrames, ioData);
            }
            result = DoRenderBus(ioActionFlags, inTimeStamp, inBusNumber, *output, inNumberFrames,
                                 ioData);
            if (notifying)
            {
                AudioUnitRenderActionFlags flags =
                    ioActionFlags | kAudioUnitRenderAction_PostRender;
                if (result != noErr)
                {
                    RecordRenderError(result);
                    flags |= kAudioUnitRenderAction_PostRenderError;
                }
                CallRenderNotifications(flags, inTimeStamp, inBusNumber, inNumberFrames, ioData);
            }
            // The events of this cycle are spent; the storage stays for the next one.
            mParamList.clear();
            return result;
        }
    }
    catch (OSStatus status)
    {
        result = status;
    }
    catch (...)
    {
        result = -1;
    }
    // An event that made the render throw would make every later render throw too; a refused
    // request keeps its events for the next render.
    if (requestChecked)
        mParamList.clear();
    if (result != noErr)
        RecordRenderError(result);
    return result;
}

OSStatus AUBase::CheckRenderRequest(UInt32 inBusNumber, UInt32 inNumberFrames,
                                    AudioBufferList& ioData, AUIOElement*& outOutput,
                                    AUIOElement::RenderPin& outputPin)
{
    if (!IsInitialized() || !RenderStateIsCurrent())
        return kAudioUnitErr_Uninitialized;
    if (mAudioUnitAPIVersion < 2)
        return kAudio_ParamError;
    const UInt32 maxFrames = GetMaxFramesPerSlice();
    if (inNumberFrames > maxFrames)
    {
        AURenderLog::TooManyFrames(inNumberFrames, maxFrames);
        return kAudioUnitErr_TooManyFramesToProcess;
    }
    if (mUsesFixedBlockSize && inNumberFrames != maxFrames)
        return kAudio_ParamError;

    AUIOElement* output = Outputs().GetIOElement(inBusNumber);
    outputPin.Pin(*output);
    // A clean-up or initialisation that began since the render did may have changed what the
    // pin holds: the render then finds the unit uninitialised.
    if (!RenderStateIsCurrent())
        return kAudioUnitErr_Uninitialized;
    const CAStreamBasicDescription& format = output->RenderStreamFormat();
    if (ioData.mNumberBuffers != format.NumberChannelStreams())
        return kAudio_ParamError;

    const UInt64 expectedBytes = UInt64(inNumberFrames) * format.mBytesPerFrame;
    // The caller's memory is used only when all of it is there: a null pointer after a real
    // one would be rendered through.
    const bool callerGivesMemory =
        ioData.mNumberBuffers != 0 && ioData.mBuffers[0].mData != nullptr;
    for (UInt32 i = 0; i < ioData.mNumberBuffers; ++i)
    {
        AudioBuffer& buffer = ioData.mBuffers[i];
        if (buffer.mData == nullptr)
        {
            if (callerGivesMemory)
                return kAudio_ParamError;
            continue;
        }
        if (buffer.mDataByteSize < expectedBytes)
            return kAudio_ParamError;
        buffer.mDataByteSize = UInt32(expectedBytes);
    }
    outOutput = output;
    return noErr;
}

void AUBase::CallRenderNotifications(AudioUnitRenderActionFlags flags,
                                     const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                                     UInt32 inNumberFrames, AudioBufferList& ioData)
{
    for (const RenderCallback& callback : mRenderCallbacks)
        callback.mRenderNotify(callback.mRenderNotifyRefCon, &flags, &inTimeStamp, inBusNumber,
                               inNumberFrames, &ioData);
}

void AUBase::RecordRenderError(OSStatus inError)
{
    OSStatus none = noErr;
    if (mLastRenderError.compare_exchange_strong(none, inError))
        PropertyChanged(kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0);
}

OSStatus AUBase::DoRenderBus(AudioUnitRenderActionFlags& ioActionFlags,
                             const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                             AUIOElement& theOutput, UInt32 inNumberFrames, AudioBufferList& ioData)
{
    const bool callerGivesMemory =
        ioData.mNumberBuffers != 0 && ioData.mBuffers[0].mData != nullptr;
    AUBufferList& ownList = theOutput.IOBuffer();
    if (!callerGivesMemory ||
        (theOutput.WillAllocateBuffer() && Outputs().GetNumberOfElements() > 1))
    {
        if (!theOutput.WillAllocateBuffer())
            ThrowStatus(kAudioUnitErr_InvalidPropertyValue);
        theOutput.PrepareBuffer(inNumberFrames);
    }
    else
    {
        ownList.SetBufferList(ioData);
    }

    if (const OSStatus result = RenderBus(ioActionFlags, inTimeStamp, inBusNumber, inNumberFrames);
        result != noErr)
        return result;

    if (!callerGivesMemory)
    {
        ownList.CopyBufferListTo(ioData);
        return noErr;
    }
    ownList.CopyBufferContentsTo(ioData);
    ownList.InvalidateBufferList();
    return noErr;
}

OSStatus AUBase::RenderBus(AudioUnitRenderActionFlags& ioActionFlags,
                           const AudioTimeStamp& inTimeStamp, UInt32, UInt32 inNumberFrames)
{
    // A NaN sample time equals nothing, so it always renders.
    if (inTimeStamp.mSampleTime == CurrentRenderSampleTime())
        return noErr;
    mCurrentRenderSampleTime.store(inTimeStamp.mSampleTime, std::memory_order_relaxed);
    return Render(ioActionFlags, inTimeStamp, inNumberFrames);
}

OSStatus AUBase::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32)
{
    return noErr;
}

OSStatus AUBase::ProcessBufferLists(AudioUnitRenderActionFlags&, const AudioBufferList&,
                                    AudioBufferList&, UInt32)
{
    return kAudio_UnimplementedError;
}

//==================================================================================================
// Render notifications

OSStatus AUBase::SetRenderNotification(AURenderCallback inProc, void* inRefCon)
{
    if (inProc == nullptr)
        return kAudio_ParamError;
    mRenderCallbacksTouched.store(true, std::memory_order_release);
    mRenderCallbacks.deferred_add({inProc, inRefCon});
    return noErr;
}

OSStatus AUBase::RemoveRenderNotification(AURenderCallback inProc, void* inRefCon)
{
    mRenderCallbacks.deferred_remove({inProc, inRefCon});
    return noErr;
}
