// The effect's lifecycle: the channel check, kernels and main buses at initialisation, and the
// bypass and in-place properties.
#include "hosts/audio_unit/AUEffectBase.h"

#include "hosts/audio_unit/AUInputElement.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
UInt32 ReadWord(const void* data)
{
    UInt32 value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

bool IsEffectProperty(AudioUnitPropertyID inID, AudioUnitScope inScope)
{
    return inScope == kAudioUnitScope_Global && (inID == kAudioUnitProperty_InPlaceProcessing ||
                                                 inID == kAudioUnitProperty_BypassEffect);
}
} // namespace

bool AUChannelConfigurationMatches(const AUChannelInfo* table, UInt32 tableSize, UInt32 numIn,
                                   UInt32 numOut)
{
    // Counts are compared as the table's signed 16-bit values; a larger count would wrap into a
    // wildcard or a small count.
    constexpr UInt32 kLargestCount = UInt32(std::numeric_limits<SInt16>::max());
    if (numIn > kLargestCount || numOut > kLargestCount)
        return false;
    const auto in = SInt16(numIn);
    const auto out = SInt16(numOut);
    if (table == nullptr || tableSize == 0)
        return in == out && in != 0;

    for (UInt32 i = 0; i < tableSize; ++i)
    {
        const AUChannelInfo& pair = table[i];
        if (pair.inChannels < 0 && pair.outChannels < 0)
        {
            const bool anyCounts = (pair.inChannels == -1 && pair.outChannels == -2) ||
                                   (pair.inChannels == -2 && pair.outChannels == -1);
            const bool equalCounts = pair.inChannels == -1 && pair.outChannels == -1 && in == out;
            if (anyCounts || equalCounts)
                return true;
            continue;
        }
        if ((pair.inChannels == in || pair.inChannels == -1) &&
            (pair.outChannels == out || pair.outChannels == -1))
            return true;
    }
    return false;
}

AUEffectBase::AUEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace)
    : AUBase(inInstance, 1, 1), mProcessesInPlace(inProcessesInPlace)
{
}

AUEffectBase::~AUEffectBase()
{
    CleanupKernelsAndBuses();
}

OSStatus AUEffectBase::Initialize()
{
    const UInt32 numIn = GetInput(0)->GetStreamFormat().mChannelsPerFrame;
    const UInt32 numOut = GetOutput(0)->GetStreamFormat().mChannelsPerFrame;
    const AUChannelInfo* table = nullptr;
    const UInt32 tableSize = SupportedNumChannels(&table);
    if (!AUChannelConfigurationMatches(table, tableSize, numIn, numOut))
        return kAudioUnitErr_FormatNotSupported;

    MaintainKernels();
    mMainOutput.store(GetOutput(0));
    mMainInput.store(GetInput(0));
    const CAStreamBasicDescription& format = GetStreamFormat(kAudioUnitScope_Output, 0);
    auto next = NewProcessing();
    next->value.mCommonPCMFormat = format.IdentifyCommonPCMFormat();
    next->value.mBytesPerFrame = format.mBytesPerFrame;
    PublishProcessing(std::move(next), {});
    return noErr;
}

void AUEffectBase::MaintainKernels()
{
    const UInt32 channels = GetOutput(0)->GetStreamFormat().mChannelsPerFrame;
    // Made before the list changes: a kernel let go of must reach a record, never be deleted
    // while a render may run it.
    auto next = NewProcessing(std::max<size_t>(channels, mKernelList.size()));
    if (const ProcessingRecord* current = mProcessing.load())
    {
        next->value.mCommonPCMFormat = current->value.mCommonPCMFormat;
        next->value.mBytesPerFrame = current->value.mBytesPerFrame;
    }
    std::vector<std::unique_ptr<AUKernelBase>> letGo;
    const size_t kept = std::min<size_t>(channels, mKernelList.size());
    if (mKernelList.size() < channels)
    {
        mKernelList.reserve(channels);
        while (mKernelList.size() < channels)
            mKernelList.push_back(NewKernel());
    }
    else
    {
        letGo.reserve(mKernelList.size() - channels);
        while (mKernelList.size() > channels)
        {
            letGo.push_back(std::move(mKernelList.back()));
            mKernelList.pop_back();
        }
    }
    // Kernels only come and go at the end, so those kept already carry their numbers (and a
    // render may be running them).
    for (size_t i = kept; i < channels; ++i)
        if (mKernelList[i] != nullptr)
            mKernelList[i]->SetChannelNum(UInt32(i));
    PublishProcessing(std::move(next), std::move(letGo));
}

std::unique_ptr<AUEffectBase::ProcessingRecord> AUEffectBase::NewProcessing(size_t room) const
{
    auto record = std::make_unique<ProcessingRecord>();
    record->value.kernels.reserve(std::max(room, mKernelList.size()));
    return record;
}

void AUEffectBase::PublishProcessing(std::unique_ptr<ProcessingRecord> next,
                                     std::vector<std::unique_ptr<AUKernelBase>> letGo) noexcept
{
    // The room was made with the record.
    next->value.kernels.clear();
    for (const auto& kernel : mKernelList)
        next->value.kernels.push_back(kernel.get());
    ProcessingRecord* const previous = mProcessing.exchange(next.release());
    // Without a previous record no render ever saw the kernels let go of: they go now.
    if (previous != nullptr)
    {
        previous->value.released = std::move(letGo);
        GetRetirement().Retire(previous);
    }
}

void AUEffectBase::Cleanup()
{
    CleanupKernelsAndBuses();
}

void AUEffectBase::CleanupKernelsAndBuses()
{
    mMainOutput.store(nullptr);
    mMainInput.store(nullptr);
    ProcessingRecord* const previous = mProcessing.exchange(nullptr);
    if (previous == nullptr)
    {
        mKernelList.clear();
        return;
    }
    // A render may still be running the kernels: they go with the record it may hold.
    previous->value.released = std::move(mKernelList);
    mKernelList.clear();
    GetRetirement().Retire(previous);
}

OSStatus AUEffectBase::Reset(AudioUnitScope inScope, AudioUnitElement inElement)
{
    for (const auto& kernel : mKernelList)
        if (kernel != nullptr)
            kernel->Reset();
    return AUBase::Reset(inScope, inElement);
}

OSStatus AUEffectBase::GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                       AudioUnitElement inElement, UInt32& outDataSize,
                                       bool& outWritable)
{
    if (!IsEffectProperty(inID, inScope))
        return AUBase::GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
    outDataSize = sizeof(UInt32);
    outWritable = true;
    return noErr;
}

OSStatus AUEffectBase::GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                   AudioUnitElement inElement, void* outData)
{
    if (!IsEffectProperty(inID, inScope))
        return AUBase::GetProperty(inID, inScope, inElement, outData);
    const bool setting = inID == kAudioUnitProperty_InPlaceProcessing
                             ? ProcessesInPlace()
                             : mBypassEffect.load(std::memory_order_relaxed);
    const auto word = UInt32(setting);
    std::memcpy(outData, &word, sizeof word);
    return noErr;
}

OSStatus AUEffectBase::SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                   AudioUnitElement inElement, const void* inData,
                                   UInt32 inDataSize)
{
    if (!IsEffectProperty(inID, inScope))
        return AUBase::SetProperty(inID, inScope, inElement, inData, inDataSize);
    if (inDataSize < sizeof(UInt32))
        return kAudioUnitErr_InvalidPropertyValue;
    const bool setting = ReadWord(inData) != 0;

    if (inID == kAudioUnitProperty_InPlaceProcessing)
    {
        mProcessesInPlace.store(setting, std::memory_order_relaxed);
        return noErr;
    }
    if (setting != mBypassEffect.load(std::memory_order_relaxed))
    {
        // Processing resumes from a clean state, not from where it stopped.
        if (!setting && IsInitialized())
            Reset(kAudioUnitScope_Global, 0);
        SetBypassEffect(setting);
    }
    return noErr;
}

OSStatus AUEffectBase::ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                                          const CAStreamBasicDescription& inPrevFormat,
                                          const CAStreamBasicDescription& inNewFormat)
{
    const OSStatus result =
        AUBase::ChangeStreamFormat(inScope, inElement, inPrevFormat, inNewFormat);
    // A NaN rate differs from every rate.
    if (result == noErr && mParamSRDep && !(inPrevFormat.mSampleRate == inNewFormat.mSampleRate))
        PropertyChanged(kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0);
    return result;
}
