#include "hosts/audio_unit/AUInputElement.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/CAMutex.h"

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

bool AUInputElement::Source::operator==(const Source& other) const
{
    return mInputType == other.mInputType && mInputProc == other.mInputProc &&
           mInputProcRefCon == other.mInputProcRefCon &&
           mConnection.sourceAudioUnit == other.mConnection.sourceAudioUnit &&
           mConnection.sourceOutputNumber == other.mConnection.sourceOutputNumber &&
           mConnection.destInputNumber == other.mConnection.destInputNumber &&
           mConnRenderProc == other.mConnRenderProc &&
           mConnInstanceStorage == other.mConnInstanceStorage;
}

void AUInputElement::Publish(std::unique_ptr<SourceRecord> source)
{
    // The same source again stays: a set repeated from every render would otherwise retire a
    // record each time.
    const SourceRecord* const current = mSource.load();
    if (current != nullptr && source != nullptr && current->value == source->value)
        return;
    // A render that is pulling from the old source keeps it until the render is over.
    mAudioUnit.GetRetirement().Retire(mSource.exchange(source.release()));
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
    // The record first, so that nothing fails once the source has been asked.
    auto source = std::make_unique<SourceRecord>();
    source->value.mInputType = kFromConnection;
    source->value.mConnection = connection;

    AudioUnitRenderProc renderProc = nullptr;
    UInt32 size = sizeof renderProc;
    OSStatus result;
    {
        const CAMutexReleaser askingTheSource(mAudioUnit.GetMutex());
        result = AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_FastDispatch,
                                      kAudioUnitScope_Global, kAudioUnitRenderSelect, &renderProc,
                                      &size);
    }
    // The fast function takes the source's storage in place of its handle: without storage
    // the source is rendered through AudioUnitRender.
    void* storage =
        result == noErr && size == sizeof renderProc && renderProc != nullptr
            ? ComponentBase::CMgr_GetComponentInstanceStorage(connection.sourceAudioUnit)
            : nullptr;
    if (storage != nullptr)
    {
        source->value.mConnInstanceStorage = storage;
        source->value.mConnRenderProc = renderProc;
    }
    Publish(std::move(source));
    AllocateBuffer();
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
    Publish(std::move(source));
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
