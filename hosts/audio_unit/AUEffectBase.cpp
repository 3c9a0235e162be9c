// The effect's lifecycle: the channel check, kernels and main buses at initialisation, and the
// bypass and in-place properties.
#include "hosts/audio_unit/AUEffectBase.h"

#include "hosts/audio_unit/AUInputElement.h"

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
    mMainOutput = GetOutput(0);
    mMainInput = GetInput(0);
    const CAStreamBasicDescription& format = GetStreamFormat(kAudioUnitScope_Output, 0);
    mCommonPCMFormat = format.IdentifyCommonPCMFormat();
    mBytesPerFrame = format.mBytesPerFrame;
    return noErr;
}

void AUEffectBase::MaintainKernels()
{
    const UInt32 channels = GetOutput(0)->GetStreamFormat().mChannelsPerFrame;
    if (mKernelList.size() < channels)
    {
        mKernelList.reserve(channels);
        while (mKernelList.size() < channels)
            mKernelList.push_back(NewKernel());
    }
    else
    {
        mKernelList.resize(channels);
    }
    for (UInt32 i = 0; i < channels; ++i)
        if (mKernelList[i] != nullptr)
            mKernelList[i]->SetChannelNum(i);
}

void AUEffectBase::Cleanup()
{
    CleanupKernelsAndBuses();
}

void AUEffectBase::CleanupKernelsAndBuses()
{
    mKernelList.clear();
    mMainOutput = nullptr;
    mMainInput = nullptr;
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
