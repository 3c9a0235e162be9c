#include "hosts/audio_unit/AUInputElement.h"

#include "hosts/audio_unit/AUBase.h"

AUInputElement::AUInputElement(AUBase& audioUnit) : AUIOElement(audioUnit) {}

OSStatus AUInputElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    const OSStatus result = AUIOElement::SetStreamFormat(format);
    if (result == noErr)
        AllocateBuffer();
    return result;
}

void AUInputElement::SetConnection(const AudioUnitConnection& connection)
{
    if (connection.sourceAudioUnit == nullptr)
    {
        Disconnect();
        return;
    }
    // The fast function of an earlier source must not outlive its connection, even when the
    // allocation below fails.
    mConnection = connection;
    mConnRenderProc = nullptr;
    mConnInstanceStorage = nullptr;
    mInputType.store(kFromConnection, std::memory_order_release);
    AllocateBuffer();

    AudioUnitRenderProc renderProc = nullptr;
    UInt32 size = sizeof renderProc;
    if (AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_FastDispatch,
                             kAudioUnitScope_Global, kAudioUnitRenderSelect, &renderProc,
                             &size) != noErr ||
        size != sizeof renderProc || renderProc == nullptr)
        return;
    // The fast function takes the source's storage in place of its handle: without storage
    // the source is rendered through AudioUnitRender.
    void* storage = ComponentBase::CMgr_GetComponentInstanceStorage(connection.sourceAudioUnit);
    if (storage == nullptr)
        return;
    mConnInstanceStorage = storage;
    mConnRenderProc = renderProc;
}

void AUInputElement::SetInputCallback(AURenderCallback proc, void* refCon)
{
    if (proc == nullptr)
    {
        Disconnect();
        return;
    }
    mInputProc = proc;
    mInputProcRefCon = refCon;
    mInputType.store(kFromCallback, std::memory_order_release);
    AllocateBuffer();
}

void AUInputElement::Disconnect()
{
    mInputType.store(kNoInput, std::memory_order_release);
    if (!mAudioUnit.IsInitialized())
        mIOBuffer.Deallocate();
}

bool AUInputElement::DeliveredWholeBuffers(const AudioBufferList& list, UInt32 frames) const
{
    if (list.mNumberBuffers != mStreamFormat.NumberChannelStreams())
        return false;
    const UInt64 bytesNeeded = UInt64(frames) * mStreamFormat.mBytesPerFrame;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        const AudioBuffer& buffer = list.mBuffers[i];
        if (buffer.mDataByteSize < bytesNeeded || (buffer.mData == nullptr && bytesNeeded != 0))
            return false;
    }
    return true;
}

OSStatus AUInputElement::PullInput(AudioUnitRenderActionFlags& ioActionFlags,
                                   const AudioTimeStamp& inTimeStamp, AudioUnitElement inElement,
                                   UInt32 inNumberFrames)
{
    const EInputType inputType = InputType();
    if (inputType == kNoInput)
        return kAudioUnitErr_NoConnection;

    AudioBufferList& list = inputType != kFromConnection && mWillAllocate
                                ? mIOBuffer.PrepareBuffer(mStreamFormat, inNumberFrames)
                                : mIOBuffer.PrepareNullBuffer(mStreamFormat, inNumberFrames);

    OSStatus result;
    if (inputType == kFromConnection)
    {
        if (mConnRenderProc != nullptr)
            result = mConnRenderProc(mConnInstanceStorage, &ioActionFlags, &inTimeStamp,
                                     mConnection.sourceOutputNumber, inNumberFrames, &list);
        else
            result = AudioUnitRender(mConnection.sourceAudioUnit, &ioActionFlags, &inTimeStamp,
                                     mConnection.sourceOutputNumber, inNumberFrames, &list);
    }
    else
    {
        result = mInputProc(mInputProcRefCon, &ioActionFlags, &inTimeStamp, inElement,
                            inNumberFrames, &list);
    }

    if (InputType() == kNoInput)
        return kAudioUnitErr_NoConnection;
    if (result != noErr)
        return result;
    // Whoever reads the input next trusts the list: check what the source left in it.
    return DeliveredWholeBuffers(list, inNumberFrames) ? OSStatus(noErr)
                                                       : OSStatus(kAudio_ParamError);
}
