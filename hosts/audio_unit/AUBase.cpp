// Construction and destruction, elements, the initialise / clean-up cycle and the buffers, stream
// formats, buses, connections and channel layouts.
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUInputElement.h"
#include "hosts/audio_unit/AUPresetKeys.h"
#include "hosts/audio_unit/AUStatus.h"
#include "hosts/audio_unit/CAAudioChannelLayout.h"

#include <algorithm>
#include <cstring>

AUBase::AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
               UInt32 numGroupElements)
    : ComponentBase(inInstance), mInitNumInputEls(numInputElements),
      mInitNumOutputEls(numOutputElements), mInitNumGroupEls(numGroupElements),
      mCurrentPreset(AUPreset{-1, AUPresetKeys::Get().untitled})
{
    ResetRenderTime();
    mAudioUnitAPIVersion = 2;
    // No listener can exist yet: the notice reaches nobody.
    AUBase::SetMaxFramesPerSlice(kDefaultMaxFramesPerSlice);
    Globals().Initialize(this, kAudioUnitScope_Global, 1);
}

AUBase::~AUBase()
{
    if (mContextName != nullptr)
        CFRelease(mContextName);
}

//==================================================================================================
// Elements

std::unique_ptr<AUElement> AUBase::CreateElement(AudioUnitScope scope, AudioUnitElement)
{
    switch (scope)
    {
    case kAudioUnitScope_Global:
    case kAudioUnitScope_Group:
    case kAudioUnitScope_Part:
        return std::make_unique<AUElement>(*this);
    case kAudioUnitScope_Input:
        return std::make_unique<AUInputElement>(*this);
    case kAudioUnitScope_Output:
        return std::make_unique<AUOutputElement>(*this);
    default:
        ThrowStatus(kAudioUnitErr_InvalidScope);
    }
}

void AUBase::CreateElements()
{
    if (mElementsCreated)
        return;
    Inputs().Initialize(this, kAudioUnitScope_Input, mInitNumInputEls);
    Outputs().Initialize(this, kAudioUnitScope_Output, mInitNumOutputEls);
    Groups().Initialize(this, kAudioUnitScope_Group, mInitNumGroupEls);
    CreateExtendedElements();
    mElementsCreated = true;
}

AUScope& AUBase::GetScope(AudioUnitScope inScope)
{
    if (inScope <= kAudioUnitScope_Group)
        return mScopes[inScope];
    AUScope* extended = GetScopeExtended(inScope);
    if (extended == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidScope);
    return *extended;
}

AUElement* AUBase::GetElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
    return GetScope(inScope).SafeGetElement(inElement);
}

AUIOElement* AUBase::GetIOElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
    return GetScope(inScope).GetIOElement(inElement);
}

AUInputElement* AUBase::GetInput(AudioUnitElement inElement)
{
    auto* input = dynamic_cast<AUInputElement*>(Inputs().SafeGetElement(inElement));
    if (input == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return input;
}

AUOutputElement* AUBase::GetOutput(AudioUnitElement inElement)
{
    auto* output = dynamic_cast<AUOutputElement*>(Outputs().SafeGetElement(inElement));
    if (output == nullptr)
        ThrowStatus(kAudioUnitErr_InvalidElement);
    return output;
}

//==================================================================================================
// Lifecycle

/** Counts the change in and out, also when it fails, and frees what it retired once no render
    holds it. */
class AUBase::LifecycleChange
{
public:
    explicit LifecycleChange(AUBase& unit) : mUnit(unit) { mUnit.mLifecycleChanges.fetch_add(1); }
    ~LifecycleChange()
    {
        mUnit.mLifecycleChanges.fetch_add(1);
        mUnit.mRetirement.FreeRetired();
    }

    LifecycleChange(const LifecycleChange&) = delete;
    LifecycleChange& operator=(const LifecycleChange&) = delete;

private:
    AUBase& mUnit;
};

OSStatus AUBase::DoInitialize()
{
    if (IsInitialized())
    {
        mRetirement.FreeRetired();
        return noErr;
    }
    const LifecycleChange change(*this);
    if (const OSStatus result = Initialize(); result != noErr)
        return result;
    if (CanScheduleParameters() && mParamList.capacity() < kInitialParameterEventRoom)
        mParamList.reserve(kInitialParameterEventRoom);
    mHasBegunInitializing = true;
    ReallocateBuffers();
    // A render that sees the unit initialised sees its buffers.
    mInitialized.store(true, std::memory_order_seq_cst);
    return noErr;
}

void AUBase::DoCleanup()
{
    // Nothing a render in flight holds is freed here: it is retired, and freed once no render
    // is in flight, on this thread or a later host call's.
    const LifecycleChange change(*this);
    if (IsInitialized())
        Cleanup();
    DeallocateIOBuffers();
    ResetRenderTime();
    mInitialized.store(false, std::memory_order_seq_cst);
    mHasBegunInitializing = false;
}

void AUBase::PreDestructor()
{
    const CAMutexLocker lock(mAUMutex);
    DoCleanup();
}

OSStatus AUBase::Reset(AudioUnitScope, AudioUnitElement)
{
    ResetRenderTime();
    return noErr;
}

void AUBase::ResetRenderTime()
{
    mCurrentRenderSampleTime.store(-1.0, std::memory_order_relaxed);
}

void AUBase::ReallocateBuffers()
{
    CreateElements();
    for (AUScope* scope : {&Outputs(), &Inputs()})
        for (UInt32 i = 0; i < scope->GetNumberOfElements(); ++i)
            scope->GetIOElement(i)->AllocateBuffer();
    mBuffersAllocated = true;
}

void AUBase::DeallocateIOBuffers()
{
    if (!mBuffersAllocated)
        return;
    for (AUScope* scope : {&Outputs(), &Inputs()})
        for (UInt32 i = 0; i < scope->GetNumberOfElements(); ++i)
            scope->GetIOElement(i)->DeallocateBuffer();
    mBuffersAllocated = false;
}

void AUBase::SetMaxFramesPerSlice(UInt32 nFrames)
{
    mMaxFramesPerSlice.store(nFrames, std::memory_order_relaxed);
    if (mBuffersAllocated)
        ReallocateBuffers();
    PropertyChanged(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
}

OSStatus AUBase::CanSetMaxFrames() const
{
    return IsInitialized() ? OSStatus(kAudioUnitErr_Initialized) : OSStatus(noErr);
}

//==================================================================================================
// Stream formats and buses

UInt32 AUBase::SupportedNumChannels(const AUChannelInfo**)
{
    return 0;
}

bool AUBase::ValidFormat(AudioUnitScope, AudioUnitElement, const CAStreamBasicDescription& format)
{
    if (format.mFormatID != kAudioFormatLinearPCM || format.mFramesPerPacket != 1 ||
        format.mBytesPerPacket != format.mBytesPerFrame)
        return false;
    if ((format.mFormatFlags & kAudioFormatFlagIsFloat) == 0)
        return false;
    const bool nonInterleaved = (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0;
    // Version 1 speaks interleaved, version 2 non-interleaved; one channel is both.
    if (format.mChannelsPerFrame > 1 && nonInterleaved != (mAudioUnitAPIVersion != 1))
        return false;
    if ((format.mFormatFlags & kAudioFormatFlagIsBigEndian) != 0 || format.mBitsPerChannel != 32)
        return false;
    const UInt64 frameBytes = nonInterleaved ? 4 : 4 * UInt64(format.mChannelsPerFrame);
    return format.mBytesPerFrame == frameBytes;
}

AUIOElement& AUBase::StreamFormatElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
    switch (inScope)
    {
    case kAudioUnitScope_Global:
        return *Outputs().GetIOElement(0);
    case kAudioUnitScope_Input:
    case kAudioUnitScope_Output:
        return *GetScope(inScope).GetIOElement(inElement);
    default:
        ThrowStatus(kAudioUnitErr_InvalidScope);
    }
}

const CAStreamBasicDescription& AUBase::GetStreamFormat(AudioUnitScope inScope,
                                                        AudioUnitElement inElement)
{
    return StreamFormatElement(inScope, inElement).GetStreamFormat();
}

OSStatus AUBase::ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                                    const CAStreamBasicDescription&,
                                    const CAStreamBasicDescription& inNewFormat)
{
    AUIOElement& element = StreamFormatElement(inScope, inElement);
    const CAStreamBasicDescription previous = element.GetStreamFormat();
    try
    {
        element.SetStreamFormat(inNewFormat);
    }
    catch (...)
    {
        // A set whose buffer cannot be had changes nothing: the plain set publishes the
        // previous format again, without a buffer to allocate.
        element.AUIOElement::SetStreamFormat(previous);
        throw;
    }
    PropertyChanged(kAudioUnitProperty_StreamFormat, inScope, inElement);
    return noErr;
}

OSStatus AUBase::SetBusCount(AudioUnitScope inScope, UInt32 inCount)
{
    if (IsInitialized())
        return kAudioUnitErr_Initialized;
    GetScope(inScope).SetNumberOfElements(inCount);
    return noErr;
}

OSStatus AUBase::SetConnection(const AudioUnitConnection& inConnection)
{
    // A missing input is refused before the source is asked.
    GetInput(inConnection.destInputNumber);
    if (inConnection.sourceAudioUnit != nullptr)
    {
        CAStreamBasicDescription sourceFormat;
        UInt32 size = sizeof sourceFormat;
        OSStatus result;
        {
            const CAMutexReleaser askingTheSource(mAUMutex);
            result = AudioUnitGetProperty(inConnection.sourceAudioUnit,
                                          kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output,
                                          inConnection.sourceOutputNumber, &sourceFormat, &size);
        }
        if (result != noErr)
            return result;
        result =
            DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input,
                                inConnection.destInputNumber, &sourceFormat, sizeof sourceFormat);
        if (result != noErr)
            return result;
    }
    // Looked up again: others had the unit while the source was asked.
    GetInput(inConnection.destInputNumber)->SetConnection(inConnection);
    PropertyChanged(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input,
                    inConnection.destInputNumber);
    return noErr;
}

OSStatus AUBase::SetInputCallback(UInt32 inPropertyID, AudioUnitElement inElement,
                                  AURenderCallback inProc, void* inRefCon)
{
    GetInput(inElement)->SetInputCallback(inProc, inRefCon);
    PropertyChanged(inPropertyID, kAudioUnitScope_Input, inElement);
    return noErr;
}

//==================================================================================================
// Channel layouts

UInt32 AUBase::GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element,
                                    AudioChannelLayoutTag* outLayoutTags)
{
    return GetIOElement(scope, element)->GetChannelLayoutTags(outLayoutTags);
}

UInt32 AUBase::GetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                     AudioChannelLayout* outLayoutPtr, bool& outWritable)
{
    Boolean writable = outWritable;
    const UInt32 size = GetIOElement(scope, element)->GetAudioChannelLayout(outLayoutPtr, writable);
    outWritable = writable != 0;
    return size;
}

OSStatus AUBase::SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                       const AudioChannelLayout* inLayout)
{
    AUIOElement* ioElement = GetIOElement(scope, element);
    if (inLayout == nullptr || ioElement->GetStreamFormat().mChannelsPerFrame !=
                                   CAAudioChannelLayout::NumberChannels(*inLayout))
        return kAudioUnitErr_InvalidPropertyValue;
    const UInt32 count = GetChannelLayoutTags(scope, element, nullptr);
    if (count == 0)
        return kAudioUnitErr_InvalidProperty;
    std::vector<AudioChannelLayoutTag> tags(count);
    GetChannelLayoutTags(scope, element, tags.data());
    const bool supported =
        std::any_of(tags.begin(), tags.end(),
                    [&](AudioChannelLayoutTag tag)
                    {
                        return tag == inLayout->mChannelLayoutTag ||
                               tag == kAudioChannelLayoutTag_UseChannelDescriptions;
                    });
    return supported ? ioElement->SetAudioChannelLayout(*inLayout)
                     : OSStatus(kAudioUnitErr_InvalidPropertyValue);
}

OSStatus AUBase::RemoveAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element)
{
    AUIOElement* ioElement = GetIOElement(scope, element);
    Boolean writable = false;
    if (ioElement->GetAudioChannelLayout(nullptr, writable) == 0)
        return noErr;
    return ioElement->RemoveAudioChannelLayout();
}
