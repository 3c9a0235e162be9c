#include "hosts/audio_unit/AUInputElement.h"

#include "hosts/audio_unit/AUBase.h"

#include <memory>

AUInputElement::AUInputElement(AUBase& audioUnit) : AUIOElement(audioUnit) {}

AUInputElement::~AUInputElement()
{
    delete mSource.load();
}

AUInputElement::EInputType AUInputElement::InputType() const
{
    const SourceRecord* source = mSource.load();
    return source != nullptr ? source->value.mInputType : kNoInput;
}

void AUInputElement::Publish(SourceRecord* source)
{
    // A render that is pulling from the old source keeps it until the render is over.
    mAudioUnit.GetRetirement().Retire(mSource.exchange(source));
}

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
    // Both records first, so that nothing fails once the connection is out. The fast function
    // of an earlier source must not outlive its connection, even when the allocation below
    // fails.
    auto plain = std::make_unique<SourceRecord>();
    auto fast = std::make_unique<SourceRecord>();
    plain->value.mInputType = kFromConnection;
    plain->value.mConnection = connection;
    fast->value = plain->value;
    Publish(plain.release());
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
    fast->value.mConnInstanceStorage = storage;
    fast->value.mConnRenderProc = renderProc;
    Publish(fast.release());
}

void AUInputElement::SetInputCallback(AURenderCallback proc, void* refCon)
{
    if (proc == nullptr)
    {
        Disconnect();
        return;
    }
    auto source = std::make_unique<SourceRecord>();
    source->value.mInputType = kFromCallback;
    source->value.mInputProc = proc;
    source->value.mInputProcRefCon = refCon;
    Publish(source.release());
    AllocateBuffer();
}

void AUInputElement::Disconnect()
{
    Publish(nullptr);
    if (!mAudioUnit.IsInitialized())
        mIOBuffer.Deallocate();
}

bool AUInputElement::DeliveredWholeBuffers(const AudioBufferList& list,
                                           const CAStreamBasicDescription& format,
                                           UInt32 frames) const
{
    if (list.mNumberBuffers != format.NumberChannelStreams())
        return false;
    const UInt64 bytesNeeded = UInt64(frames) * format.mBytesPerFrame;
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
    const SourceRecord* const record = mSource.load();
    if (record == nullptr)
        return kAudioUnitErr_NoConnection;
    const Source& source = record->value;
    const CAStreamBasicDescription& format = RenderStreamFormat();

    AudioBufferList& list = source.mInputType != kFromConnection && WillAllocateBuffer()
                                ? mIOBuffer.PrepareBuffer(format, inNumberFrames)
                                : mIOBuffer.PrepareNullBuffer(format, inNumberFrames);

    OSStatus result;
    if (source.mInputType == kFromConnection)
    {
        if (source.mConnRenderProc != nullptr)
            result = source.mConnRenderProc(source.mConnInstanceStorage, &ioActionFlags,
                                            &inTimeStamp, source.mConnection.sourceOutputNumber,
                                            inNumberFrames, &list);
        else
            result =
                AudioUnitRender(source.mConnection.sourceAudioUnit, &ioActionFlags, &inTimeStamp,
                                source.mConnection.sourceOutputNumber, inNumberFrames, &list);
    }
    else
    {
        result = source.mInputProc(source.mInputProcRefCon, &ioActionFlags, &inTimeStamp, inElement,
                                   inNumberFrames, &list);
    }

    if (InputType() == kNoInput)
        return kAudioUnitErr_NoConnection;
    if (result != noErr)
        return result;
    // Whoever reads the input next trusts the list: check what the source left in it.
    return DeliveredWholeBuffers(list, format, inNumberFrames) ? OSStatus(noErr)
                                                               : OSStatus(kAudio_ParamError);
}
